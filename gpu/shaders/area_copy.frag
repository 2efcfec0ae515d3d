#version 120
// Copies the brush square back from the scratch buffer.
uniform sampler2D cBuffer;
uniform vec4 area;
varying vec2 vTexCoord;

void main() {
  gl_FragColor = texture2D(cBuffer, vec2(vTexCoord.x * area.z + area.x, area.y - vTexCoord.y * area.w));
}
