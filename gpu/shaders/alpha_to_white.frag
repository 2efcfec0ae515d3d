#version 120
// A picture's coverage as white: used to lay pasted or loaded pictures.
uniform sampler2D colbuffer;
varying vec2 vTexCoord;

void main() {
  gl_FragColor = vec4(1.0, 1.0, 1.0, texture2D(colbuffer, vTexCoord).a) * gl_Color;
}
