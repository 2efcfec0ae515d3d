#version 120
// One direction of a separable Gaussian blur with a one-sided kernel.
uniform sampler2D colBuffer;
uniform int direction, ksize;
uniform float kernel[20];
uniform float offset;
varying vec2 vTexCoord;

void main() {
  vec2 e = direction == 0 ? vec2(1.0, 0.0) : vec2(0.0, 1.0);
  vec4 sum = texture2D(colBuffer, vTexCoord) * kernel[0];
  float p = offset;
  for (int i = 1; i < 20; ++i) {
    if (i >= ksize) break;
    sum += (texture2D(colBuffer, vTexCoord + p * e) + texture2D(colBuffer, vTexCoord - p * e)) * kernel[i];
    p += offset;
  }
  gl_FragColor = sum;
}
