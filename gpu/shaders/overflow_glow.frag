#version 120
// Only light above 1 glows.
uniform sampler2D colBuffer;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(colBuffer, vTexCoord);
  c.rgb = max(vec3(0.0), c.rgb - 1.0);
  if (length(c.rgb) > 0.0) c.rgb = sqrt(c.rgb);
  gl_FragColor = c;
}
