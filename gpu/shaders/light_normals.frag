#version 120
// The bare canvas lit once: vertex rgb is the paper colour, vertex alpha the
// weight of the highlight.
uniform sampler2D colBuffer;
uniform float glossiness, depth, ratio;
uniform vec2 offset;
uniform vec3 lpos, lcol, ambcol;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec3 paper = vec3(uv.x, uv.y * ratio, 0.0);
  vec3 n = texture2D(colBuffer, uv).rgb;
  vec3 l = normalize(lpos - paper);
  vec3 eye = normalize(paper - vec3(0.5, 0.5, 125.0));
  float s = max(dot(reflect(eye, n), l), 0.0);
  float a = gl_Color.a;
  vec3 c = gl_Color.rgb;
  float gloss = (1.0 - depth) * a * a * glossiness;
  float d = dot(n, l);
  float p = dot(vec3(0.0, 0.0, 1.0), l);
  vec3 rgb = c * p * max(1.0 + d, 0.0) * 0.5 * mix(c, vec3(1.0), d) * lcol +
             gloss * lcol * pow(s, 100.0 * gloss) * 0.25 + c * max(0.5 * n.z + 0.5, 0.0) * ambcol;
  gl_FragColor = vec4(rgb, a);
}
