#version 120
// Passes only the texels whose red or green is not exactly zero, so an
// occlusion query counts where a field still holds a value.
uniform sampler2D buffer;
varying vec2 vTexCoord;

void main() {
  vec2 v = texture2D(buffer, vTexCoord).rg;
  if (v.x == 0.0 && v.y == 0.0) discard;
  gl_FragColor = vec4(1.0);
}
