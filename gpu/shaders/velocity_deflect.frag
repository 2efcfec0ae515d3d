#version 120
// The flow over the canvas: flow into empty canvas stops, flow climbing onto
// thicker paint slows, and steep canvas grain reflects it (thick paint above 1
// flattens the grain).
uniform sampler2D vecBuffer;
uniform sampler2D canBuffer;
uniform sampler2D matBuffer;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec2 t = texture2D(vecBuffer, uv).xy;
  vec2 n = t;
  float len = length(t);
  if (len > 0.001) {
    float m = texture2D(matBuffer, uv).r;
    float mb = texture2D(matBuffer, uv - t).r;
    if (mb == 0.0) {
      gl_FragColor = vec4(0.0, 0.0, 0.0, 1.0);
      return;
    }
    len *= clamp(1.0 + 2.0 * (mb - m), 0.1, 1.0);
    vec3 g = texture2D(canBuffer, uv).rgb;
    g.z += 0.25 * max(0.0, m - 1.0);
    // A canvas whose normals were never built has none: flat.
    if (g.z < 1.0 && dot(g, g) > 0.0) g = normalize(g);
    vec3 d = vec3(t, 0.0);
    vec3 r = dot(d, g) > 0.0 ? vec3(-g.y, g.x, g.z) : g;
    n = (reflect(normalize(d), r) * len).xy;
  }
  if (uv.y - n.y < 0.0 || uv.y - n.y > 1.0) n.y *= 0.5;
  if (uv.x - n.x < 0.0 || uv.x - n.x > 1.0) n.x *= 0.5;
  gl_FragColor = vec4(n, 0.0, 1.0);
}
