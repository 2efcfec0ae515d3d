#version 120
// One layer lit as a relief of paint: height from the paint amount, canvas
// grain through thin paint, glossy and metallic highlights. Vertex colour is
// the layer's tint with its opacity in alpha.
uniform sampler2D matBuffer;
uniform sampler2D colBuffer;
uniform sampler2D accBuffer;
uniform sampler2D canBuffer;
uniform float depth, ratio, diffusion, glossiness, metallic, visibility, desaturation, perception, gamma;
uniform int premul, canvas_active;
uniform vec2 offset;
uniform vec3 lpos, lcol, ambcol;
varying vec2 vTexCoord;

// Display colour mapping for gamma gm; values above 1 pass through.
vec3 imap(vec3 f, float gm) {
  vec3 fm = clamp(f, 0.0, 1.0);
  vec3 fr = f - min(vec3(1.0), f);
  vec3 dta = 0.24 + 0.32 * fm;
  vec3 av = dta - dta / (1.0 + 40.0 * fm);
  vec3 bv = 1.0 + (fm - 0.8) * (1.25 - 0.875 / (1.7 - fm));
  fm = max(av + (bv - av) * fm, 0.0);
  return pow(fm, vec3(4.0 / gm)) + fr;
}

void main() {
  vec2 uv = vTexCoord;
  vec3 paper = vec3(uv.x, uv.y * ratio, 0.0);
  vec4 c = texture2D(colBuffer, uv);
  float m = texture2D(matBuffer, uv).r;
  if (m == 0.0) discard;
  vec3 i = c.rgb;
  if (gamma > 0.0) i = imap(i, gamma);

  float gm = min(1.0, 0.5 * m);
  float gloss = gm * gm * glossiness * (1.0 + metallic);
  float gd = gloss * gloss * diffusion;
  vec3 eye = normalize(paper - vec3(0.5, 0.5, 125.0));
  vec3 l = normalize(lpos - paper);

  vec3 n = vec3((texture2D(matBuffer, uv + vec2(offset.x, 0.0)).r - m) * depth,
                (texture2D(matBuffer, uv + vec2(0.0, offset.y)).r - m) * depth, -(1.0 - depth));
  // Amounts up to 1 are a flat film; relief builds between 1 and 2.
  n.xy *= min(max(m - 1.0, 0.0), 1.0);
  // Thin paint shows the canvas grain, thick paint hides it.
  float b = (2.0 - texture2D(accBuffer, uv).r) * 0.5;
  if (b > 0.0 && canvas_active == 1) n -= b * texture2D(canBuffer, uv).rgb;
  n = -normalize(n);

  float s = max(dot(reflect(eye, n), l), 0.0);
  if (gd != 0.0) gd = pow(s, gd);
  float d = dot(n, l);
  // pow(0, 0) is undefined: no metal means no darkening of slopes.
  float tilt = metallic > 0.0 ? pow(max(n.z, 0.0), 4.0 * metallic) : 1.0;
  vec3 ambient = i * ambcol * tilt;
  vec3 rgb = i * max(1.0 + d, 0.0) * 0.5 * lcol * mix(i, vec3(1.0), d) +
             mix(vec3(1.0), i, metallic) * gloss * lcol * gd + ambient;

  float opacity = gl_Color.a;
  float alpha = clamp(opacity * m - (1.0 - opacity), 0.0, 1.0) * visibility;
  if (premul == 1) rgb *= alpha;

  float sum = rgb.r + rgb.g + rgb.b;
  float g = sum > 0.0 ? sum / 3.0 : 0.0;
  if (desaturation > 0.0 && g > 0.0) {
    g = mix(g, length(vec3(0.52 * rgb.r, 0.77 * rgb.g, 0.31 * rgb.b)) / 0.97948966303887046, perception);
    rgb = mix(rgb, vec3(g), desaturation);
  }
  gl_FragColor = vec4(rgb * gl_Color.rgb, alpha);
}
