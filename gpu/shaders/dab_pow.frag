#version 120
// Round dab whose profile is raised to `falloff` before the smoothstep.
uniform float falloff;
varying vec2 vTexCoord;

void main() {
  float g = 1.0 - length(2.0 * (vTexCoord - 0.5));
  if (g <= 0.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  if (falloff > 0.0) g = pow(g, falloff);
  g = g * g * g * (g * (6.0 * g - 15.0) + 10.0);
  gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * g);
}
