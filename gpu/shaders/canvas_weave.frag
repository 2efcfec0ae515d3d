#version 120
// Woven canvas height: threads along both directions, alternate rows shifted
// by half a period (over-under), jittered by value noise.
uniform float ratio, size, brisize, brisize_cmp;
varying vec2 vTexCoord;

float hash(vec2 i) {
  return fract(sin(dot(i, vec2(12.9898, 78.233))) * 43758.5453);
}

float value_noise(vec2 p) {
  vec2 q = p * size;
  vec2 f = fract(q);
  vec2 i = q - f;
  return mix(mix(hash(i), hash(i + vec2(1.0, 0.0)), f.x), mix(hash(i + vec2(0.0, 1.0)), hash(i + vec2(1.0, 1.0)), f.x),
             f.y);
}

void main() {
  vec2 uv = vTexCoord;
  vec2 c = vec2(uv.x + brisize * value_noise(uv * brisize_cmp * ratio),
                uv.y + brisize * value_noise((uv + vec2(1.5, 2.77)) * brisize_cmp));
  c *= vec2(size * ratio, size);
  float x = c.x + 0.333;
  if (mod(floor(c.y / 3.14159265), 2.0) == 0.0) x += 1.5708;
  float wh = abs(sin(c.y));
  float wv = sqrt(abs(sin(x)));
  c.x *= 4.0;
  float w = max(1.5 * max(0.0, 0.6 - sin(c.x)), 2.0 * (abs(sin(2.0 * c.y)) + wh) * wv);
  gl_FragColor = vec4(gl_Color.a * w * 0.1);
}
