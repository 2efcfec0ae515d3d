#version 120
// Nine-tap blur vertically, only where paint is: none below 0.01, partly below 1.
uniform sampler2D oldBuffer;
uniform sampler2D matBuffer;
uniform float offset;
uniform float kcenter;
uniform vec4 kernel;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec4 o = texture2D(oldBuffer, uv);
  float m = texture2D(matBuffer, uv).r;
  if (m <= 0.01) {
    gl_FragColor = o;
    return;
  }
  vec2 e = vec2(0.0, offset);
  vec4 s = o * kcenter;
  s += (texture2D(oldBuffer, uv + 4.0 * e) + texture2D(oldBuffer, uv - 4.0 * e)) * kernel.x;
  s += (texture2D(oldBuffer, uv + 3.0 * e) + texture2D(oldBuffer, uv - 3.0 * e)) * kernel.y;
  s += (texture2D(oldBuffer, uv + 2.0 * e) + texture2D(oldBuffer, uv - 2.0 * e)) * kernel.z;
  s += (texture2D(oldBuffer, uv + e) + texture2D(oldBuffer, uv - e)) * kernel.w;
  if (m < 1.0) s = mix(o, s, m);
  gl_FragColor = s;
}
