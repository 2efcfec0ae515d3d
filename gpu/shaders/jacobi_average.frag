#version 120
// One relaxation step of the pressure: the divergence plus the neighbours'
// pressure, averaged.
uniform sampler2D oldBuffer;
uniform sampler2D newBuffer;
uniform vec2 offset;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  float t = texture2D(newBuffer, uv + vec2(offset.x, 0.0)).r + texture2D(newBuffer, uv - vec2(offset.x, 0.0)).r +
            texture2D(newBuffer, uv + vec2(0.0, offset.y)).r + texture2D(newBuffer, uv - vec2(0.0, offset.y)).r;
  gl_FragColor = vec4((texture2D(oldBuffer, uv).r + t) / 4.0);
}
