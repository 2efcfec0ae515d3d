#version 120
// Brush-image deposit over the canvas grain: the image (footprint frame turned
// by 90 degrees) gives colour and coverage, the grain decides where it lands.
// `mode` 2 takes white instead of the image colour.
uniform sampler2D canbuffer;
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
uniform sampler2D alpbuffer;
uniform int mode;
uniform vec2 offset;
uniform vec2 velo;
varying vec4 vTexCoord;

void main() {
  vec2 it = vec2(0.5 - 0.5 * vTexCoord.y, 0.5 + 0.5 * vTexCoord.x);
  vec4 colour = mode < 2 ? texture2D(colbuffer, it) : vec4(1.0);
  colour.a *= clamp(texture2D(alpbuffer, it).r, 0.0, 1.0);
  colour *= gl_Color;
  vec2 vt = vec2(vTexCoord.z, 1.0 - vTexCoord.w);
  float c = 1.0;
  if (length(velo) > 0.0) {
    float m = min(texture2D(matbuffer, vt).r * 0.2, 1.0);
    float h = texture2D(canbuffer, vt).r;
    vec2 slope = normalize(vec2(offset.x, h - texture2D(canbuffer, vt - velo).r));
    vec2 motion = normalize(vec2(length(velo), offset.x));
    c = mix(max(0.0, dot(slope, motion)), 1.0, m * m);
  }
  gl_FragColor = vec4(colour.rgb, colour.a * c);
}
