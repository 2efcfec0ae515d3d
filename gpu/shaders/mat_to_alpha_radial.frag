#version 120
// Paint amount as coverage (up to 1), faded towards the rim when `radial` > 0.
uniform sampler2D matbuffer;
uniform float radial;
varying vec2 vTexCoord;

void main() {
  float m = min(1.0, texture2D(matbuffer, vTexCoord).r);
  if (radial > 0.0) m *= clamp((1.0 / radial) * (1.0 - 2.0 * length(vTexCoord - 0.5)), 0.0, 1.0);
  gl_FragColor = vec4(1.0, 1.0, 1.0, m) * gl_Color;
}
