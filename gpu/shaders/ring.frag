#version 120
// Anti-aliased circle outline across the quad; `thickness` is the line width
// as a fraction of the radius.
uniform float thickness;
varying vec2 vTexCoord;

void main() {
  float g = 1.0 - length(2.0 * (vTexCoord - 0.5));
  if (g <= 0.0 || g > thickness) {
    gl_FragColor = vec4(0.0);
    return;
  }
  float hh = 0.5 * thickness;
  float t = (g - hh) / hh;
  gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * (1.0 - t * t));
}
