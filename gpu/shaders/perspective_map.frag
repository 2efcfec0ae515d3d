#version 120
// Places a picture in the quadrilateral pa, pb, pc, pd (canvas texture
// coordinates): (h, k) runs over the picture and picks the matching point of
// the quad. `perspective` 1 foreshortens towards the shorter edges. The
// picture's amount travels on unit 1 for callers that place both buffers.
uniform sampler2D colbuffer;
uniform sampler2D matbuffer;
uniform vec2 pa;
uniform vec2 pb;
uniform vec2 pc;
uniform vec2 pd;
uniform int perspective;
varying vec4 vTexCoord;

void main() {
  float h = vTexCoord.x, k = vTexCoord.y;
  if (perspective == 1) {
    h *= length(pa - pb) / mix(length(pc - pd), length(pa - pb), h);
    k *= length(pb - pc) / mix(length(pa - pd), length(pb - pc), k);
  }
  vec2 top = pb + (pc - pb) * h;
  vec2 bottom = pa + (pd - pa) * h;
  gl_FragColor = texture2D(colbuffer, mix(top, bottom, k));
}
