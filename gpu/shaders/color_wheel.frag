#version 120
// Colour picker: hue wheel inside, brightness ramp on the lower half ring,
// opacity ramp over a checkerboard on the upper half ring. The vertex colour
// is the current colour, its alpha the current opacity.
uniform float midpoint, gamma, alpha;
varying vec2 vTexCoord;

vec3 imap(vec3 f, float gm) {
  vec3 fm = clamp(f, 0.0, 1.0);
  vec3 fr = f - min(vec3(1.0), f);
  vec3 dta = 0.24 + 0.32 * fm;
  vec3 av = dta - dta / (1.0 + 40.0 * fm);
  vec3 bv = 1.0 + (fm - 0.8) * (1.25 - 0.875 / (1.7 - fm));
  fm = max(av + (bv - av) * fm, 0.0);
  return pow(fm, vec3(4.0 / gm)) + fr;
}

float lobe(float x) {
  return sqrt(max(1.0 - abs(x) / 0.6666667, 0.0));
}

void main() {
  vec2 d = 2.0 * vTexCoord - 1.0;
  float r = length(d);
  if (r > 1.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  float deg = atan(d.y, d.x) / 3.14159265;
  if (r < 0.72) {
    float fade = clamp(1.0 - (r - 0.7) / 0.02, 0.0, 1.0);
    float gx = deg < -0.333 ? deg + 2.0 - 0.6666667 : deg - 0.6666667;
    float bx = deg > 0.333 ? deg - 2.0 + 0.6666667 : deg + 0.6666667;
    vec3 wheel = vec3(lobe(deg), lobe(gx), lobe(bx));
    float top = max(wheel.r, max(wheel.g, wheel.b));
    if (top > 0.0) wheel /= top;
    wheel += (1.0 - wheel) * sqrt(1.0 - min(1.0, r / 0.7));
    if (gamma > 0.0) wheel = imap(wheel, gamma);
    gl_FragColor = vec4(wheel * midpoint, fade * alpha);
    return;
  }
  float fade = clamp(1.0 - (r - 0.98) / 0.02, 0.0, 1.0) * clamp((r - 0.72) / 0.2, 0.0, 1.0);
  vec3 base = gl_Color.rgb;
  float top = max(base.r, max(base.g, base.b));
  if (deg < 0.0) {
    float t = 1.0 + deg;
    vec3 c = top > 0.0 ? base / top * t : vec3(t);
    if (gamma > 0.0) c = imap(c, gamma);
    float indicator = 1.0 - max(1.0 - abs(t - midpoint) / 0.01, 0.0);
    c = mix(vec3(1.0, 0.0, 0.0), c, indicator);
    gl_FragColor = vec4(c, fade * alpha);
    return;
  }
  vec2 cell = floor(vTexCoord * 10.0);
  float checker = mod(cell.x + cell.y, 2.0) == 0.0 ? 0.4 : 0.6;
  float t = 1.0 - deg;
  vec3 c = mix(vec3(checker), gl_Color.rgb, deg);
  float marker = max(1.0 - abs(t - sqrt(max(gl_Color.a, 0.0))) / 0.01, 0.0);
  vec3 mark = gl_Color.g > gl_Color.r ? vec3(1.0, 0.0, 0.0) : vec3(0.0, 1.0, 1.0);
  c = mix(c, mark, marker);
  gl_FragColor = vec4(c, clamp(fade + (1.0 - 2.0 * t) * marker, 0.0, 1.0) * alpha);
}
