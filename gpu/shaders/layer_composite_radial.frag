#version 120
// Flat layer composite faded towards the rim of the quad when `radial` > 0.
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
uniform int premul;
uniform float visibility;
uniform float radial;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(colbuffer, vTexCoord);
  float a = min(texture2D(matbuffer, vTexCoord).r * gl_Color.a, 1.0) * visibility;
  if (radial > 0.0) a *= clamp((1.0 / radial) * (1.0 - 2.0 * length(vTexCoord - 0.5)), 0.0, 1.0);
  if (premul == 1) c.rgb *= a;
  gl_FragColor = gl_Color * vec4(c.rgb, a);
}
