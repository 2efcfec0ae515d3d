#version 120
// Even-odd fill: pixels covered an odd number of times (0.001 per covering).
uniform sampler2D buffer;
varying vec2 vTexCoord;

void main() {
  float r = texture2D(buffer, vTexCoord).r;
  if (r > 0.0) r = mod(r, 0.002) < 0.001 ? gl_Color.a : 0.0;
  gl_FragColor = vec4(r);
}
