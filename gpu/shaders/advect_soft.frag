#version 120
// Advection that keeps part of what is here: `softness` 1 moves fully.
uniform sampler2D vecBuffer;
uniform sampler2D colBuffer;
uniform float ratio;
uniform float softness;
varying vec2 vTexCoord;

void main() {
  vec4 here = texture2D(colBuffer, vTexCoord);
  vec2 t = texture2D(vecBuffer, vTexCoord).xy;
  if (t == vec2(0.0)) {
    gl_FragColor = here;
    return;
  }
  t.y *= ratio;
  gl_FragColor = mix(here, texture2D(colBuffer, vTexCoord - t), softness);
}
