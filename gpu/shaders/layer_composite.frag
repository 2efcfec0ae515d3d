#version 120
// Flat compositing of a layer (merges, export, thumbnails): coverage from the
// paint amount scaled by the vertex alpha.
uniform sampler2D matbuffer;
uniform sampler2D colbuffer;
uniform int premul;
uniform float visibility;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(colbuffer, vTexCoord);
  float m = texture2D(matbuffer, vTexCoord).r;
  float a = min(m * gl_Color.a, 1.0) * visibility;
  if (premul == 1) c *= a;
  gl_FragColor = gl_Color * vec4(c.rgb, a);
}
