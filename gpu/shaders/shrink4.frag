#version 120
// A quarter-size copy: each texel the mean of the 4 x 4 pixels of oldBuffer
// around its centre, four linear fetches of 2 x 2 each. `offset` is one
// pixel of oldBuffer.
uniform sampler2D oldBuffer;
uniform vec2 offset;
varying vec2 vTexCoord;

void main() {
  gl_FragColor = 0.25 * (texture2D(oldBuffer, vTexCoord - offset) + texture2D(oldBuffer, vTexCoord + offset) +
                         texture2D(oldBuffer, vTexCoord + vec2(offset.x, -offset.y)) +
                         texture2D(oldBuffer, vTexCoord + vec2(-offset.x, offset.y)));
}
