#version 120
// Brightness gain above a black point; light that overflows a channel spills
// towards white instead of clipping the hue.
uniform sampler2D colbuffer;
uniform float bri, drk;
varying vec2 vTexCoord;

void main() {
  vec4 c = texture2D(colbuffer, vTexCoord);
  float len0 = length(c.rgb);
  if (len0 > 0.0) {
    vec3 dir = c.rgb / len0;
    c.rgb = max(vec3(0.0), dir * ((len0 - drk) * bri));
  }
  vec3 m = min(vec3(1.0), c.rgb);
  float rest = length(c.rgb - m);
  vec3 towards = vec3(1.0) - m;
  if (length(towards) > 0.0)
    c.rgb = min(vec3(1.0), m + rest * normalize(towards));
  else
    c.rgb = m;
  gl_FragColor = c;
}
