#version 120
// Keeps a buffer inside a circle; outside, the circle's edge repeats outward.
uniform sampler2D dbuffer;
uniform vec2 center;
uniform float radius, ratio;
varying vec2 vTexCoord;

void main() {
  vec2 r = vTexCoord - center;
  r.y *= ratio;
  if (length(r) <= radius) {
    gl_FragColor = texture2D(dbuffer, vTexCoord);
    return;
  }
  vec2 e = normalize(r) * radius;
  gl_FragColor = texture2D(dbuffer, center + vec2(e.x, e.y / ratio));
}
