#version 120
// Round dab filling the sub-rectangle `uv_coords` (x0, y0, x1, y1) of the quad.
uniform float falloff;
uniform vec4 uv_coords;
varying vec2 vTexCoord;

void main() {
  vec2 half_size = 0.5 * (uv_coords.zw - uv_coords.xy);
  vec2 d = (vTexCoord - (uv_coords.xy + half_size)) / half_size;
  float g = 1.0 - length(d);
  if (g <= 0.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  if (falloff > 0.0) g = pow(g, falloff);
  g = g * g * g * (g * (6.0 * g - 15.0) + 10.0);
  gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * g);
}
