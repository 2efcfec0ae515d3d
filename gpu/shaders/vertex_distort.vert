#version 120
// Bends positions towards the view direction, so flat geometry reads as a
// curved lens; distortion 0 is the plain projection.
uniform float distortion;
varying vec4 v;

void main() {
  vec4 p = gl_ModelViewProjectionMatrix * gl_Vertex;
  vec3 n = normalize(p.xyz / p.w);
  p.xy = mix(p.xy, n.xy * p.w, distortion);
  gl_FrontColor = gl_Color;
  gl_Position = p;
  v = p;
}
