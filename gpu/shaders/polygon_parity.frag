#version 120
// Even-odd fill: pixels covered an odd number of times (0.001 per covering).
// The count is rounded, since the 16-bit target stores 0.001 only nearly.
uniform sampler2D buffer;
varying vec2 vTexCoord;

void main() {
  float r = texture2D(buffer, vTexCoord).r;
  float coverings = floor(r / 0.001 + 0.5);
  r = mod(coverings, 2.0) > 0.5 ? gl_Color.a : 0.0;
  gl_FragColor = vec4(r);
}
