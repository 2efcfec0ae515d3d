#version 120
// Passes two texture-coordinate pairs: the second pair travels in the third
// and fourth components of the first texture coordinate.
varying vec4 vTexCoord;
varying vec4 v;

void main() {
  vTexCoord = gl_MultiTexCoord0;
  gl_FrontColor = gl_Color;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
  v = gl_Position;
}
