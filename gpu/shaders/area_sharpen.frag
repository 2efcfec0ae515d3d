#version 120
// Local sharpen inside the brush disc, with the taps of the display's sharpen
// and the same guard against edges that are already strong; `spdiff` caps the
// result.
uniform sampler2D oldBuffer;
uniform vec4 area;
uniform vec2 offset;
uniform float spread;
uniform float spdiff;
varying vec2 vTexCoord;

void main() {
  vec2 p = vec2(vTexCoord.x * area.z + area.x, area.y - vTexCoord.y * area.w);
  float q = 2.0 * length(vTexCoord - 0.5);
  vec4 c = texture2D(oldBuffer, p);
  if (q >= 1.0) {
    gl_FragColor = c;
    return;
  }
  float k = (1.0 - q) * spread;
  vec2 dx = vec2(offset.x, 0.0), dy = vec2(0.0, offset.y);
  vec4 t = texture2D(oldBuffer, p + dx) + texture2D(oldBuffer, p - dx) + texture2D(oldBuffer, p + dy) +
           texture2D(oldBuffer, p - dy) + 2.0 * texture2D(oldBuffer, p - dx + dy) +
           2.0 * texture2D(oldBuffer, p - dx - dy);
  float diff = 9.0 * length(c.rgb) - length(t.rgb);
  k *= abs(1.0 - 2.0 * min(1.0, diff * diff));
  gl_FragColor = min(vec4(spdiff), max(vec4(0.0), c * (1.0 + 8.0 * k) - t * k));
}
