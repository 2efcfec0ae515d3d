#version 120
// Round dab carrying a picture: the amount limits its coverage and, with
// `colormode` above 0, the colour tints it.
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
uniform float falloff;
uniform int colormode;
varying vec2 vTexCoord;

void main() {
  vec4 colour = gl_Color;
  if (colormode > 0) colour *= texture2D(colbuffer, vTexCoord);
  colour.a *= min(1.0, texture2D(matbuffer, vTexCoord).r);
  float g = 1.0 - length(2.0 * (vTexCoord - 0.5));
  if (g <= 0.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  if (falloff > 0.0) g = pow(g, falloff);
  g = g * g * g * (g * (6.0 * g - 15.0) + 10.0);
  gl_FragColor = vec4(colour.rgb, colour.a * g);
}
