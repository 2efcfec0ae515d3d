#version 120
// Negative divergence of the velocity, scaled by the curls strength.
uniform sampler2D dbuffer;
uniform vec2 offset;
uniform float power;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec2 ox = vec2(offset.x, 0.0), oy = vec2(0.0, offset.y);
  float d = -power * ((texture2D(dbuffer, uv + ox).r - texture2D(dbuffer, uv - ox).r) +
                      (texture2D(dbuffer, uv + oy).g - texture2D(dbuffer, uv - oy).g));
  gl_FragColor = vec4(d, 0.0, 0.0, 1.0);
}
