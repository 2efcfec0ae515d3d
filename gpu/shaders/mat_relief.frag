#version 120
// Paint a layer adds over the one below: the part of its film that the lower
// layer lacks, plus its relief scaled by `bump`.
uniform sampler2D matbuffer;
uniform sampler2D dstbuffer;
uniform float visibility, bump;
varying vec2 vTexCoord;

void main() {
  float a = texture2D(matbuffer, vTexCoord).r;
  float d = texture2D(dstbuffer, vTexCoord).r;
  float base = min(a, 1.0);
  float r = max(0.0, base - min(d, 1.0)) + base * (a - base) * bump;
  gl_FragColor = gl_Color * vec4(r * visibility, 0.0, 0.0, 1.0);
}
