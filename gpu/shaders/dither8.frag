#version 120
// Float colour to 8-bit steps with noise, so gradients do not band.
uniform sampler2D dBuffer;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(dBuffer, vTexCoord);
  vec4 f = fract(255.0 * c);
  if (c.r + c.g + c.b > 0.0) c = floor(255.0 * c) / 255.0;
  float rnd = fract(sin(dot(100.0 * vTexCoord, vec2(12.9898, 78.233))) * 43758.5453);
  if (f.r > rnd) c.r += 0.00390625;
  if (f.g > rnd) c.g += 0.00390625;
  if (f.b > rnd) c.b += 0.00390625;
  c.a = 1.0;
  gl_FragColor = max(vec4(0.0), c);
}
