#version 120
// Brush-image deposit without the canvas grain. `mode` 0: image colour with the
// image amount as coverage; 1: the amount itself (red, clamped), opaque;
// 2: white with the image amount as coverage.
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
uniform int mode;
varying vec4 vTexCoord;

void main() {
  vec2 it = vec2(0.5 - 0.5 * vTexCoord.y, 0.5 + 0.5 * vTexCoord.x);
  vec4 colour = mode < 2 ? texture2D(colbuffer, it) : vec4(1.0);
  if (mode == 1) {
    colour.r = clamp(colour.r, 0.0, 1.0);
    colour.a = 1.0;
  } else {
    colour.a *= clamp(texture2D(matbuffer, it).r, 0.0, 1.0);
  }
  gl_FragColor = colour * gl_Color;
}
