#version 120
// Passes one texture-coordinate pair and the vertex colour.
varying vec2 vTexCoord;
varying vec4 v;

void main() {
  vTexCoord = gl_MultiTexCoord0.xy;
  gl_FrontColor = gl_Color;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
  v = gl_Position;
}
