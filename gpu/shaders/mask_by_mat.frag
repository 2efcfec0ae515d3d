#version 120
// The picture, opaque wherever any paint is present.
uniform sampler2D dbuffer;
uniform sampler2D matbuffer;
varying vec2 vTexCoord;

void main() {
  float m = texture2D(matbuffer, vTexCoord).r;
  gl_FragColor = vec4(texture2D(dbuffer, vTexCoord).rgb, min(max(0.0, m), 0.001) / 0.001);
}
