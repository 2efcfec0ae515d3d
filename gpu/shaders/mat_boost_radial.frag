#version 120
// Paint amount scaled by the vertex red (never below 1) with the amount, up to
// 1, as coverage; faded towards the rim when `radial` > 0.
uniform sampler2D matbuffer;
uniform float radial;
varying vec2 vTexCoord;

void main() {
  float m = texture2D(matbuffer, vTexCoord).r;
  if (radial > 0.0) m *= clamp((1.0 / radial) * (1.0 - 2.0 * length(vTexCoord - 0.5)), 0.0, 1.0);
  gl_FragColor = vec4(max(1.0, m * gl_Color.r), 1.0, 1.0, min(1.0, m) * gl_Color.a);
}
