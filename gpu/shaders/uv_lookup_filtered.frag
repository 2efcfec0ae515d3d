#version 120
// Resampling through the warp map that averages over the area a pixel's
// footprint spans in the source, so stretched-down regions do not alias.
uniform sampler2D colBuffer;
uniform sampler2D vecBuffer;
uniform vec2 offset;
varying vec2 vTexCoord;

void main() {
  vec2 uv = vTexCoord;
  vec2 o = texture2D(vecBuffer, uv).xy;
  if (length(uv - o) < length(offset)) {
    gl_FragColor = texture2D(colBuffer, o);
    return;
  }
  float dx = offset.x, dy = offset.y;
  vec2 a = texture2D(vecBuffer, uv + vec2(dx, dy)).xy;
  vec2 b = texture2D(vecBuffer, uv + vec2(-dx, dy)).xy;
  vec2 c = texture2D(vecBuffer, uv + vec2(-dx, -dy)).xy;
  vec2 d = texture2D(vecBuffer, uv + vec2(dx, -dy)).xy;
  // Shoelace sum: twice the area the pixel's neighbourhood maps onto.
  float twice_area = abs((a.x * b.y - b.x * a.y) + (b.x * c.y - c.x * b.y) + (c.x * d.y - d.x * c.y) +
                         (d.x * a.y - a.x * d.y));
  float n = clamp(sqrt(twice_area / (2.0 * dx * dy)), 10.0, 30.0);
  int steps = int(n);
  vec2 step = offset / (n / 2.0);
  vec4 sum = vec4(0.0);
  for (int j = 0; j < 30; ++j) {
    if (j >= steps) break;
    for (int i = 0; i < 30; ++i) {
      if (i >= steps) break;
      vec2 p = uv - offset + vec2(float(i), float(j)) * step;
      sum += texture2D(colBuffer, texture2D(vecBuffer, p).xy);
    }
  }
  // Divided by the samples taken: n itself may have a fraction.
  gl_FragColor = sum / float(steps * steps);
}
