#version 120
// Passes only the texels with a channel of `channels` (1 for those checked)
// that is not exactly zero, so an occlusion query counts where a field still
// holds a value.
uniform sampler2D buffer;
uniform vec4 channels;
varying vec2 vTexCoord;

void main() {
  if (dot(abs(texture2D(buffer, vTexCoord)), channels) == 0.0) discard;
  gl_FragColor = vec4(1.0);
}
