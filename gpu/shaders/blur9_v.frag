#version 120
// Nine-tap Gaussian blur vertically; kernel holds the weights for 4, 3, 2 and 1 steps.
uniform sampler2D oldBuffer;
uniform float offset, kcenter;
uniform vec4 kernel;
varying vec2 vTexCoord;

void main() {
  vec2 e = vec2(0.0, offset);
  vec4 s = texture2D(oldBuffer, vTexCoord) * kcenter;
  s += (texture2D(oldBuffer, vTexCoord + 4.0 * e) + texture2D(oldBuffer, vTexCoord - 4.0 * e)) * kernel.x;
  s += (texture2D(oldBuffer, vTexCoord + 3.0 * e) + texture2D(oldBuffer, vTexCoord - 3.0 * e)) * kernel.y;
  s += (texture2D(oldBuffer, vTexCoord + 2.0 * e) + texture2D(oldBuffer, vTexCoord - 2.0 * e)) * kernel.z;
  s += (texture2D(oldBuffer, vTexCoord + e) + texture2D(oldBuffer, vTexCoord - e)) * kernel.w;
  gl_FragColor = s;
}
