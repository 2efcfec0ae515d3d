#version 120
// Round dab with a soft edge: `falloff` is the share of the radius that stays
// fully opaque; the rest fades with a quintic smoothstep.
uniform float falloff;
varying vec2 vTexCoord;

void main() {
  float g = 1.0 - length(2.0 * (vTexCoord - 0.5));
  if (g <= 0.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  float f = min(falloff, 0.9999);
  g = max(0.0, min(g + f, 1.0) - f) / (1.0 - f);
  g = g * g * g * (g * (6.0 * g - 15.0) + 10.0);
  gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * g);
}
