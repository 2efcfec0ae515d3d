#version 120
// A moving brush touches the canvas only where the grain rises against its
// motion; paint already there (the amount at the stroke's start) fills the
// valleys, and from an amount of 5 up the brush touches everywhere.
// vTexCoord.zw is the canvas position (y down).
uniform sampler2D canbuffer;
uniform sampler2D matbuffer;
uniform vec2 offset;
uniform vec2 velo;
varying vec4 vTexCoord;

void main() {
  vec2 vt = vec2(vTexCoord.z, 1.0 - vTexCoord.w);
  float c = 1.0;
  if (length(velo) > 0.0) {
    float m = min(texture2D(matbuffer, vt).r * 0.2, 1.0);
    float h = texture2D(canbuffer, vt).r;
    vec2 slope = normalize(vec2(offset.x, texture2D(canbuffer, vt - velo).r - h));
    vec2 motion = normalize(vec2(length(velo), offset.x));
    c = mix(max(0.0, dot(slope, motion)), 1.0, m * m);
  }
  gl_FragColor = vec4(gl_Color.rgb, gl_Color.a * c);
}
