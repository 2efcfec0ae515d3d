#version 120
// A colour whose coverage is limited by another buffer's alpha (the mask).
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(colbuffer, vTexCoord);
  gl_FragColor = vec4(c.rgb, c.a * texture2D(matbuffer, vTexCoord).a);
}
