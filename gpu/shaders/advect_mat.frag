#version 120
// Moves the paint amount (red channel). What arrives from upstream is
// amplified with the speed, so paint piles up in front of a fast stroke.
uniform sampler2D vecBuffer;
uniform sampler2D colBuffer;
uniform float power;
uniform float ratio;
uniform float softness;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec2 t = texture2D(vecBuffer, uv).xy;
  // Where nothing moves the target keeps its paint exactly: resampling it in
  // place would let it creep by the filter's rounding every frame.
  if (t == vec2(0.0)) discard;
  t.y *= ratio;
  float o = texture2D(colBuffer, uv).r;
  float f = mix(o, texture2D(colBuffer, uv - power * t).r, softness);
  f += max(-f, (f - o) * length(t) * 3.33);
  f = max(0.0, f);
  gl_FragColor = vec4(f, f, f, 1.0);
}
