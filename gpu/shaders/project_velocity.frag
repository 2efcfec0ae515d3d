#version 120
// Removes the pressure gradient from the velocity and applies friction: every
// velocity loses `fspeed` of its length, and slower flow stops.
uniform sampler2D vecBuffer;
uniform sampler2D divBuffer;
uniform vec2 offset;
uniform float fspeed;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec2 t = texture2D(vecBuffer, uv).xy;
  vec2 ox = vec2(offset.x, 0.0), oy = vec2(0.0, offset.y);
  vec2 ab = t - vec2(texture2D(divBuffer, uv + ox).x - texture2D(divBuffer, uv - ox).x,
                     texture2D(divBuffer, uv + oy).x - texture2D(divBuffer, uv - oy).x);
  float l = length(ab);
  t = l > fspeed ? (l - fspeed) * (ab / l) : vec2(0.0);
  gl_FragColor = vec4(t, 0.0, 1.0);
}
