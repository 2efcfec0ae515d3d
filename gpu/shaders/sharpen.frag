#version 120
// Restores edge contrast after a 2 x 2 mipmap reduction.
uniform sampler2D oldBuffer;
uniform vec2 offset;
uniform float strength;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  float dx = offset.x, dy = offset.y;
  vec4 c = texture2D(oldBuffer, uv);
  vec4 t = texture2D(oldBuffer, uv + vec2(dx, 0.0)) + texture2D(oldBuffer, uv - vec2(dx, 0.0)) +
           texture2D(oldBuffer, uv + vec2(0.0, dy)) + texture2D(oldBuffer, uv - vec2(0.0, dy)) +
           2.0 * texture2D(oldBuffer, uv + vec2(-dx, dy)) + 2.0 * texture2D(oldBuffer, uv + vec2(-dx, -dy));
  float diff = 9.0 * length(c.rgb) - length(t.rgb);
  float k = strength * abs(1.0 - 2.0 * min(1.0, diff * diff));
  gl_FragColor = max(vec4(0.0), c * (1.0 + 8.0 * k) - t * k) * gl_Color;
}
