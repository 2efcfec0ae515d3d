#version 120
// Relief normals of a panel image from its alpha.
uniform sampler2D dbuffer;
uniform vec2 offset;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  float a = texture2D(dbuffer, uv).a;
  if (a < 0.01) discard;
  vec3 g = vec3(texture2D(dbuffer, uv + vec2(offset.x, 0.0)).a - a, texture2D(dbuffer, uv + vec2(0.0, offset.y)).a - a,
                -0.01);
  float d = 1.0 - (g.x * g.x + g.y * g.y);
  if (d > 0.0) {
    g.z = 0.02 * sqrt(d);
    g = normalize(g);
  } else {
    g = vec3(0.0, 0.0, 1.0);
  }
  a = (a - 0.01) * 1.0101;
  gl_FragColor = vec4(g, min(10.0 * a, min(3.0 * a, 1.0)));
}
