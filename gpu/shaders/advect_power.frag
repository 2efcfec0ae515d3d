#version 120
// As advect, with the step scaled by `power`.
uniform sampler2D vecBuffer;
uniform sampler2D colBuffer;
uniform float power;
uniform float ratio;
varying vec2 vTexCoord;

void main() {
  vec2 t = texture2D(vecBuffer, vTexCoord).xy;
  if (t == vec2(0.0)) {
    gl_FragColor = texture2D(colBuffer, vTexCoord);
    return;
  }
  t.y *= ratio;
  gl_FragColor = texture2D(colBuffer, vTexCoord - t * power);
}
