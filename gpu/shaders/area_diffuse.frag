#version 120
// Local blur inside the brush disc, strongest at its centre. `area` maps the
// quad's (u, v) to source coordinates: (left, top, width, height), v downwards.
uniform sampler2D oldBuffer;
uniform vec4 area;
uniform vec2 offset;
uniform float spread;
// The cap area_sharpen takes; a weighted average needs none.
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
  float s = (1.0 - q) * (1.0 - q) * spread;
  vec4 t = texture2D(oldBuffer, p + vec2(offset.x, 0.0)) + texture2D(oldBuffer, p - vec2(offset.x, 0.0)) +
           texture2D(oldBuffer, p + vec2(0.0, offset.y)) + texture2D(oldBuffer, p - vec2(0.0, offset.y));
  gl_FragColor = (c + t * s) / (4.0 * s + 1.0);
}
