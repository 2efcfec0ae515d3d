#version 120
// Lines of the perspective guide fade with their distance from the camera;
// the factor keeps the sign of a negative vertex alpha.
uniform float front;
varying vec4 v;

void main() {
  float fade = clamp(1.0 + abs(front) - 0.001 * v.w, -1.0, 1.0);
  gl_FragColor = gl_Color * fade;
}
