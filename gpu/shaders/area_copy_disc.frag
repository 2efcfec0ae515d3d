#version 120
// Copies the brush disc back with the vertex alpha as coverage.
uniform sampler2D oldBuffer;
uniform vec4 area;
varying vec2 vTexCoord;

void main() {
  if (2.0 * length(vTexCoord - 0.5) >= 1.0) discard;
  vec2 p = vec2(vTexCoord.x * area.z + area.x, area.y - vTexCoord.y * area.w);
  gl_FragColor = texture2D(oldBuffer, p) * vec4(1.0, 1.0, 1.0, gl_Color.a);
}
