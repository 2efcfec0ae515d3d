#version 120
// A GUI panel as frosted glass: 36 jittered eye rays refracted through the
// panel's relief sample the picture behind it. xy of vTexCoord addresses the
// normal map, zw the position inside the panel.
uniform sampler2D nrmbuffer;
uniform sampler2D colbuffer;
uniform float ri, ratio, specular, transparency;
uniform vec2 wh_relative, eye, pos;
uniform vec3 lpos;
varying vec4 vTexCoord;

void main() {
  vec4 nrm = texture2D(nrmbuffer, vTexCoord.xy);
  if (nrm.a < 0.25) discard;
  vec2 zw = vTexCoord.zw;
  vec2 img = pos + zw * wh_relative;
  vec3 l = normalize(vec3(img, 1.5 + 0.5 * nrm.a) - lpos);
  l.z = -l.z;
  vec2 mul = 0.25 / wh_relative;
  mul.y *= ratio;
  float angle = fract(sin(dot(zw * wh_relative, vec2(12.9898, 78.233))) * 43758.5453);
  vec3 acc = vec3(0.0);
  for (int i = 0; i < 36; ++i) {
    angle += 1.18776;
    float fi = float(i) / 36.0;
    float io = 1.0 - (1.0 - fi) * (1.0 - fi);
    vec3 eyedir = normalize(vec3(img - (eye + vec2(sin(angle) * io * mul.x, cos(angle) * io * mul.y)), -20.0));
    vec3 r = refract(eyedir, nrm.xyz, ri);
    acc += texture2D(colbuffer, img - r.xy * wh_relative).rgb;
  }
  acc = min(max(acc / 36.0, 0.0), 1.0);
  float lit = 0.5 + 0.5 * max(0.0, dot(l, nrm.xyz));
  vec3 e = normalize(vec3(img - eye, -10.0));
  float nz = pow(max(nrm.z, 0.0), 0.25);
  gl_FragColor = vec4(mix(lit * gl_Color.rgb, acc, 0.25 + nz * transparency), gl_Color.a * nrm.a) +
                 specular * pow(max(dot(reflect(e, nrm.xyz), l), 0.0), 5.0);
}
