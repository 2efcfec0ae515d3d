#version 120
// Canvas normals from its height; the vertex red (1 or -1) sets the sign of
// the slopes, so -1 inverts the relief.
uniform sampler2D colBuffer;
uniform vec2 offset;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  float h = texture2D(colBuffer, uv).r;
  vec3 n = vec3(texture2D(colBuffer, uv + vec2(offset.x, 0.0)).r - h,
                texture2D(colBuffer, uv + vec2(0.0, offset.y)).r - h, 0.0);
  float d = 1.0 - (n.x * n.x + n.y * n.y);
  if (d > 0.0) n.z = -0.02 * sqrt(d);
  n = normalize(vec3(n.xy * gl_Color.r, n.z));
  gl_FragColor = vec4(-n, gl_Color.a);
}
