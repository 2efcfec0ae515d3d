#version 120
// Paint above a flat film, as grey, with the film's coverage.
uniform sampler2D matbuffer;
varying vec2 vTexCoord;

void main() {
  float m = texture2D(matbuffer, vTexCoord).r;
  float x = max(0.0, m - 1.0);
  gl_FragColor = vec4(x, x, x, min(m, 1.0) * gl_Color.a);
}
