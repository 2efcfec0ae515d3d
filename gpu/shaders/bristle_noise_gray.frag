#version 120
// Grey bristle mask (coverage in every channel): fractal value noise cut at `brisize` gives hair-like streaks
// along u, faded towards the edges in v.
uniform float size;
uniform float brisize;
uniform float brisize_cmp;
varying vec2 vTexCoord;

float hash(vec2 i) { return fract(sin(dot(i, vec2(12.9898, 78.233))) * 43758.5453); }

float value_noise(vec2 p) {
  vec2 q = p * size;
  vec2 f = fract(q);
  vec2 i = q - f;
  return mix(mix(hash(i), hash(i + vec2(1.0, 0.0)), f.x), mix(hash(i + vec2(0.0, 1.0)), hash(i + vec2(1.0, 1.0)), f.x),
             f.y);
}

void main() {
  float n = 0.0;
  float frq = 1.0;
  vec2 pos = vTexCoord;
  for (int o = 0; o < 8; ++o) {
    n += abs(max(-0.5, -value_noise(pos) * pow(frq, -0.597)));
    frq *= 2.399;
    pos *= 2.399;
  }
  float e = abs(2.0 * (vTexCoord.y - 0.5));
  float a = clamp(brisize_cmp * max(0.0, brisize - n), 0.0, 1.0) * (1.0 - e * e);
  gl_FragColor = vec4(gl_Color.a * a);
}
