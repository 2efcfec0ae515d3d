#version 120
// Moves the paint colour. Colours mix in proportion to the paint that carries
// them: where there is no paint the colour is invisible and must not tint the
// paint that arrives or stays. With `chroma` above 0 a moving mix keeps the
// saturation of the more saturated colour, so complementary colours smudge
// into a saturated hue instead of mud.
uniform sampler2D vecBuffer;
uniform sampler2D colBuffer;
uniform sampler2D matBuffer;
uniform float power;
uniform float ratio;
uniform float softness;
uniform float chroma;
varying vec2 vTexCoord;

const float k = 0.577350538379377;
const vec3 gray = vec3(k, k, k);

vec4 chroma_mix(vec4 a, vec4 b, float m) {
  if (a == b) return a;
  vec4 p = a * k, q = b * k;
  vec3 gp = gray * dot(gray, p.xyz);
  vec3 vp = p.xyz - gp;
  float sp = length(vp);
  vec3 gq = gray * dot(gray, q.xyz);
  vec3 vq = q.xyz - gq;
  float sq = length(vq);
  float dc = 0.5 * length(vp - vq);
  vec4 c = mix(p, q, m);
  vec3 w = c.xyz - gray * dot(gray, c.xyz);
  float lw = length(w);
  // A grey mix has no hue to saturate.
  vec3 hue = lw > 1e-7 ? w / lw : vec3(0.0);
  float bl = chroma / max(1.0, dc);
  w = mix(gp, gq, m) + hue * mix(mix(sp, sq, m), max(sp, sq), bl);
  w = mix(c.xyz, w, bl);
  if (w.r < 0.0) {
    w.gb -= w.r;
    w.r = 0.0;
  }
  if (w.g < 0.0) {
    w.rb -= w.g;
    w.g = 0.0;
  }
  if (w.b < 0.0) {
    w.rg -= w.b;
    w.b = 0.0;
  }
  w = max(vec3(0.0), w);
  return vec4(w, c.a) * 1.732050807568877;
}

void main() {
  vec2 uv = vTexCoord;
  vec2 t = texture2D(vecBuffer, uv).xy;
  // Where nothing moves the target keeps its colour exactly (see advect_mat).
  if (t == vec2(0.0)) discard;
  vec4 a = texture2D(colBuffer, uv);
  float len = length(t);
  t.y *= ratio;
  vec2 q = uv - power * t;
  vec4 b = texture2D(colBuffer, q);
  float stay = (1.0 - softness) * max(0.0, texture2D(matBuffer, uv).r);
  float come = softness * max(0.0, texture2D(matBuffer, q).r);
  float m = stay + come > 1e-6 ? come / (stay + come) : softness;
  vec4 linear = max(vec4(0.0), mix(a, b, m));
  if (chroma > 0.0)
    gl_FragColor = mix(linear, chroma_mix(a, b, m), clamp(1000.0 * len, 0.0, 1.0));
  else
    gl_FragColor = linear;
}
