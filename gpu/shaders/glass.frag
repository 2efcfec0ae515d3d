#version 120
// A GUI panel as frosted glass: the eye ray refracted through the panel's
// relief fetches the blurred picture behind it (colbuffer, a quarter-size
// blur of the window). xy of vTexCoord addresses the normal map, zw the
// position inside the panel. The refraction's shift is kept within `reach`
// (screen texture units), which bounds the area the glass depends on.
uniform sampler2D nrmbuffer;
uniform sampler2D colbuffer;
uniform float ri, ratio, specular, transparency;
uniform vec2 wh_relative, eye, pos, reach;
uniform vec3 lpos;
varying vec4 vTexCoord;

void main() {
  vec4 nrm = texture2D(nrmbuffer, vTexCoord.xy);
  if (nrm.a < 0.25) discard;
  vec2 img = pos + vTexCoord.zw * wh_relative;
  vec3 l = normalize(vec3(img, 1.5 + 0.5 * nrm.a) - lpos);
  l.z = -l.z;
  vec3 eyedir = normalize(vec3(img - eye, -20.0));
  vec3 r = refract(eyedir, nrm.xyz, ri);
  vec2 shift = clamp(-r.xy * wh_relative, -reach, reach);
  vec3 behind = texture2D(colbuffer, img + shift).rgb;
  float lit = 0.5 + 0.5 * max(0.0, dot(l, nrm.xyz));
  vec3 e = normalize(vec3(img - eye, -10.0));
  float nz = pow(max(nrm.z, 0.0), 0.25);
  gl_FragColor = vec4(mix(lit * gl_Color.rgb, behind, 0.25 + nz * transparency), gl_Color.a * nrm.a) +
                 specular * pow(max(dot(reflect(e, nrm.xyz), l), 0.0), 5.0);
}
