#version 120
// Resamples a buffer through a map of texture coordinates (the warp map).
uniform sampler2D colBuffer;
uniform sampler2D vecBuffer;
varying vec2 vTexCoord;

void main() {
  gl_FragColor = texture2D(colBuffer, texture2D(vecBuffer, vTexCoord).xy);
}
