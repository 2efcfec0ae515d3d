#version 120
// Spreads every channel to the four neighbours with weight `spread`; `spdiff`
// above 1 + 4 spread makes it decay.
uniform sampler2D oldBuffer;
uniform sampler2D newBuffer;
uniform vec2 offset;
uniform float spread;
uniform float spdiff;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec4 t = texture2D(newBuffer, uv + vec2(offset.x, 0.0)) + texture2D(newBuffer, uv - vec2(offset.x, 0.0)) +
           texture2D(newBuffer, uv + vec2(0.0, offset.y)) + texture2D(newBuffer, uv - vec2(0.0, offset.y));
  gl_FragColor = (texture2D(oldBuffer, uv) + t * spread) / spdiff;
}
