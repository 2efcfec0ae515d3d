#version 120
// Paint amount (up to 1) as coverage, read in the footprint frame (x and y in
// -1..1, turned by 90 degrees like the brush images).
uniform sampler2D matbuffer;
varying vec2 vTexCoord;

void main() {
  float m = min(1.0, texture2D(matbuffer, vec2(0.5 - 0.5 * vTexCoord.y, 0.5 + 0.5 * vTexCoord.x)).r);
  gl_FragColor = vec4(1.0, 1.0, 1.0, m) * gl_Color;
}
