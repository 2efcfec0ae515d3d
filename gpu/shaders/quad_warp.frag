#version 120
// Four-handle warp: finds the picture coordinates (u, v) of the canvas point
// vTexCoord.xy inside the quadrilateral pa (u 0, v 0), pb (0, 1), pc (1, 1),
// pd (1, 0). Lines of constant v run towards `ucross` (where the edges ad and
// bc meet; `udiv` 0 when they are parallel), lines of constant u towards
// `vcross` (edges ab and dc). Points outside the quad are discarded.
uniform sampler2D colbuffer;
uniform float ablen;
uniform float bclen;
uniform float dclen;
uniform float adlen;
uniform float udiv;
uniform float vdiv;
uniform vec2 ucross;
uniform vec2 vcross;
uniform vec2 pa;
uniform vec2 pb;
uniform vec2 pc;
uniform vec2 pd;
uniform vec4 xuv;
varying vec4 vTexCoord;

float cross2(vec2 a, vec2 b) { return a.x * b.y - a.y * b.x; }

// Where the line through cp along dir meets the edge from e0 to e1: the hit as
// a fraction of the edge (scaled by its length len) in x, and the hit relative
// to cp in yz.
vec3 hit_edge(vec2 cp, vec2 dir, vec2 e0, vec2 e1, float len) {
  vec2 e = e1 - e0;
  float den = dir.y * e.x - dir.x * e.y;
  float t = den != 0.0 ? cross2(cp - e0, dir) / den : 0.0;
  vec2 hit = e0 + t * e;
  return vec3(t * length(e) / max(len, 1e-9), hit - cp);
}

void main() {
  vec2 cp = vTexCoord.xy;
  vec2 hor = udiv != 0.0 ? ucross - cp : pb - pc;
  vec3 a = hit_edge(cp, hor, pa, pb, ablen);
  vec3 b = hit_edge(cp, hor, pd, pc, dclen);
  if (dot(a.yz, b.yz) > 0.0) discard;
  vec2 ver = vdiv != 0.0 ? vcross - cp : pa - pb;
  vec3 c = hit_edge(cp, ver, pb, pc, bclen);
  vec3 d = hit_edge(cp, ver, pa, pd, adlen);
  if (dot(c.yz, d.yz) > 0.0) discard;
  float u = 0.5, v = 0.5;
  for (int i = 0; i < 100; ++i) {
    v = mix(a.x, b.x, u);
    u = mix(c.x, d.x, 1.0 - v);
  }
  gl_FragColor = texture2D(colbuffer, vec2(xuv.x + xuv.y * u, xuv.z + xuv.w * v));
}
