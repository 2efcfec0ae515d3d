#version 120
// Paint amount where there is paint, the canvas height where there is none.
uniform sampler2D matbuffer;
uniform sampler2D htbuffer;
varying vec2 vTexCoord;

void main() {
  float m = texture2D(matbuffer, vTexCoord).r;
  float h = texture2D(htbuffer, vTexCoord).r;
  float k = min(1.0, m);
  float x = m * k + (1.0 - k) * h;
  gl_FragColor = vec4(x, x, x, 1.0);
}
