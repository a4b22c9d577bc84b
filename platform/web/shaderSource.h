// The web layer's one shader: OpenGL 1.1's fixed-function vertex and fragment
// stages, compiled per combination of the features in use (each feature a
// #define: FLAT, LIGHT, TWO_SIDE, TEX, TEX1D, TEXGEN, FOG, ALPHA_TEST, CLIP,
// PSTIPPLE, LINE, LSTIPPLE, LSMOOTH, PSMOOTH, POLYMODE), so that a fragment
// pays only for what the state asks. Included by webgl.cpp only.
#pragma once

namespace zw {

// Lighting is GL 1.1's formula (section 2.13.1), for each side of a primitive:
//   c = e + a_m a_s + sum over lights i of att_i spot_i (a_m a_i
//       + max(n.L, 0) d_m d_i + f_i max(n.h, 0)^s s_m s_i),
// h = normalize(L + (0, 0, 1)), or L + the unit vector to the eye for a local
// viewer; f_i = 1 where n.L > 0; att_i = 1 / (k0 + k1 d + k2 d^2) and the spot
// factor for a light at a position, 1 for a directional one; the alpha is the
// diffuse material's. The back side uses -n and the back material. A colour
// material replaces the chosen material colour by the vertex colour.
const char* const vertexSource = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aColor;
layout(location = 2) in vec3 aNormal;
layout(location = 3) in vec4 aTex;
layout(location = 4) in vec2 aExtra;  // polygon mode: depth offset (NDC), facing (+1 front, -1 back)
layout(location = 5) in vec3 aOther;  // line quads: the segment's other end
layout(location = 6) in vec3 aLine;   // line quads: side (-1, +1), 0 at the start 1 at the end, stipple count at the start

uniform mat4 uProjection, uModelview;
uniform vec4 uViewport;  // device pixels
uniform float uRatio;    // device pixels per CSS pixel
uniform float uPointSize;

SHADE out vec4 vFront;
#ifdef TWO_SIDE
SHADE out vec4 vBack;
#endif
#ifdef TEX
uniform mat4 uTextureMatrix;
out vec4 vTex;
#endif
#ifdef TEXGEN
uniform ivec4 uTexGen;  // per coordinate: 0 off, 1 object linear, 2 eye linear, 3 sphere map
uniform vec4 uObjectPlane[4], uEyePlane[4];
#endif
#ifdef FOG
out float vFogZ;
#endif
#ifdef CLIP
uniform vec4 uClipPlane[6];
out vec3 vClipA, vClipB;
#endif
#ifdef POLYMODE
flat out float vFacing;
#endif
#ifdef LINE
uniform float uLineWidth;  // device pixels: the drawn width, or the smooth line's coverage extent
flat out vec4 vSeg;        // the segment's start and end in window coordinates
flat out float vCount0;
#endif

#if defined(LIGHT) || defined(TEXGEN)
uniform mat3 uNormalMatrix;
uniform float uRescale;
uniform bool uNormalize;
#endif

#ifdef LIGHT
uniform int uLights;
uniform vec4 uLightPos[8], uLightAmbient[8], uLightDiffuse[8], uLightSpecular[8];
uniform vec4 uLightSpot[8];   // unit direction, cos(cut-off) (-2 for none)
uniform vec4 uLightAtten[8];  // k0, k1, k2, spot exponent
uniform vec4 uModelAmbient;
uniform vec4 uMatAmbient[2], uMatDiffuse[2], uMatSpecular[2], uMatEmission[2];
uniform float uMatShininess[2];
uniform int uColorFaces;  // bit 0 front, bit 1 back
uniform int uColorMode;   // 0 ambient and diffuse, 1 ambient, 2 diffuse, 3 specular, 4 emission
uniform bool uLocalViewer;

vec4 shade(int side, vec3 n, vec3 eye) {
    vec4 a = uMatAmbient[side], d = uMatDiffuse[side], s = uMatSpecular[side], e = uMatEmission[side];
    if ((uColorFaces & (1 << side)) != 0) {
        if (uColorMode == 0 || uColorMode == 1) a = aColor;
        if (uColorMode == 0 || uColorMode == 2) d = aColor;
        if (uColorMode == 3) s = aColor;
        if (uColorMode == 4) e = aColor;
    }
    vec3 c = e.rgb + a.rgb * uModelAmbient.rgb;
    vec3 toEye = uLocalViewer ? -normalize(eye) : vec3(0.0, 0.0, 1.0);
    for (int i = 0; i < 8; ++i) {
        if ((uLights & (1 << i)) == 0) continue;
        vec3 L;
        float att = 1.0;
        if (uLightPos[i].w == 0.0) {
            L = normalize(uLightPos[i].xyz);
        } else {
            vec3 toLight = uLightPos[i].xyz / uLightPos[i].w - eye;
            float dist = length(toLight);
            L = toLight / dist;
            att = 1.0 / (uLightAtten[i].x + uLightAtten[i].y * dist + uLightAtten[i].z * dist * dist);
            if (uLightSpot[i].w > -1.5) {
                float cosine = dot(-L, uLightSpot[i].xyz);
                if (cosine < uLightSpot[i].w) att = 0.0;
                else if (uLightAtten[i].w != 0.0) att *= pow(max(cosine, 0.0), uLightAtten[i].w);
            }
        }
        float nl = dot(n, L);
        vec3 term = a.rgb * uLightAmbient[i].rgb + max(nl, 0.0) * d.rgb * uLightDiffuse[i].rgb;
        if (nl > 0.0) {
            float nh = max(dot(n, normalize(L + toEye)), 0.0);
            float shine = uMatShininess[side] == 0.0 ? 1.0 : pow(nh, uMatShininess[side]);
            term += shine * s.rgb * uLightSpecular[i].rgb;
        }
        c += att * term;
    }
    return clamp(vec4(c, d.a), 0.0, 1.0);
}
#endif

vec2 toWindow(vec4 clip) { return (clip.xy / clip.w * 0.5 + 0.5) * uViewport.zw + uViewport.xy; }

void main() {
    vec4 eye = uModelview * vec4(aPos, 1.0);
    gl_Position = uProjection * eye;
    gl_PointSize = uPointSize;
#ifdef POLYMODE
    gl_Position.z += aExtra.x * gl_Position.w;
    vFacing = aExtra.y;
#endif
#ifdef LINE
    // GL's wide line: the segment widened by the width along the window's
    // minor axis; a smooth one covers a rectangle around the segment, widened
    // across it and lengthened, for its coverage to fall off in.
    vec4 other = uProjection * (uModelview * vec4(aOther, 1.0));
    vec2 self = toWindow(gl_Position), there = toWindow(other);
    vec2 start = aLine.y < 0.5 ? self : there, end = aLine.y < 0.5 ? there : self;
    vSeg = vec4(start, end);
    vCount0 = aLine.z;
    vec2 d = end - start;
#ifdef LSMOOTH
    vec2 dir = length(d) > 0.0 ? normalize(d) : vec2(1.0, 0.0);
    vec2 move = vec2(-dir.y, dir.x) * aLine.x * uLineWidth * 0.5 + dir * (aLine.y < 0.5 ? -uRatio : uRatio);
#else
    vec2 across = abs(d.x) >= abs(d.y) ? vec2(0.0, 1.0) : vec2(1.0, 0.0);
    vec2 move = across * aLine.x * uLineWidth * 0.5;
#endif
    gl_Position.xy += move * 2.0 / uViewport.zw * gl_Position.w;
#endif
#ifdef FOG
    vFogZ = abs(eye.z);
#endif
#ifdef CLIP
    vClipA = vec3(dot(uClipPlane[0], eye), dot(uClipPlane[1], eye), dot(uClipPlane[2], eye));
    vClipB = vec3(dot(uClipPlane[3], eye), dot(uClipPlane[4], eye), dot(uClipPlane[5], eye));
#endif
#if defined(LIGHT) || defined(TEXGEN)
    vec3 n = uNormalMatrix * aNormal * uRescale;
    if (uNormalize) n = normalize(n);
#endif
#ifdef TEX
    vec4 tc = aTex;
#ifdef TEXGEN
    vec3 u = normalize(eye.xyz);
    vec3 r = u - 2.0 * n * dot(n, u);
    float m = 2.0 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1.0) * (r.z + 1.0));
    vec2 sphere = r.xy / m + 0.5;
    for (int k = 0; k < 4; ++k) {
        int mode = uTexGen[k];
        if (mode == 1) tc[k] = dot(uObjectPlane[k], vec4(aPos, 1.0));
        else if (mode == 2) tc[k] = dot(uEyePlane[k], eye);
        else if (mode == 3) tc[k] = k == 0 ? sphere.x : sphere.y;
    }
#endif
    vTex = uTextureMatrix * tc;
#endif
#ifdef LIGHT
    vFront = shade(0, n, eye.xyz / eye.w);
#ifdef TWO_SIDE
    vBack = shade(1, -n, eye.xyz / eye.w);
#endif
#else
    vFront = clamp(aColor, 0.0, 1.0);
#ifdef TWO_SIDE
    vBack = vFront;
#endif
#endif
}
)";

// Texturing per GL 1.1's tables 3.11 and 3.12: the texture's colour Tc and
// alpha Ta by base format (luminance and intensity read from red), then the
// environment: REPLACE, MODULATE, DECAL (RGB and RGBA only; other formats
// leave the fragment), BLEND with the environment colour. Fog blends with
// f from the eye distance |z_eye|; alpha test compares in the framebuffer's
// 8 bits, as its reference is kept.
const char* const fragmentSource = R"(
SHADE in vec4 vFront;
#ifdef TWO_SIDE
SHADE in vec4 vBack;
#endif
out vec4 fragColor;
uniform float uRatio;  // device pixels per CSS pixel
#ifdef TEX
in vec4 vTex;
uniform sampler2D uTexture;
uniform int uBaseFormat;  // 0 alpha, 1 luminance, 2 luminance alpha, 3 intensity, 4 RGB, 5 RGBA
uniform int uEnvMode;     // 0 modulate, 1 decal, 2 replace, 3 blend
uniform vec4 uEnvColor;
#endif
#ifdef FOG
in float vFogZ;
uniform int uFogMode;  // 0 linear, 1 exp, 2 exp2
uniform vec4 uFog;     // start, end, density
uniform vec4 uFogColor;
#endif
#ifdef CLIP
in vec3 vClipA, vClipB;
uniform int uClipOn;
#endif
#ifdef PSTIPPLE
uniform uint uPolygonStipple[32];
#endif
#ifdef POLYMODE
flat in float vFacing;
#endif
#ifdef LINE
flat in vec4 vSeg;
flat in float vCount0;
uniform int uLinePattern;
uniform float uLineFactor;  // the repeat factor in device pixels
uniform float uLineHalf;    // half the smooth line's width, CSS pixels
#endif
#ifdef PSMOOTH
uniform float uPointRadius;  // CSS pixels
#endif

void main() {
#ifdef CLIP
    float clipDist[6] = float[6](vClipA.x, vClipA.y, vClipA.z, vClipB.x, vClipB.y, vClipB.z);
    for (int i = 0; i < 6; ++i)
        if ((uClipOn & (1 << i)) != 0 && clipDist[i] < 0.0) discard;
#endif
#ifdef PSTIPPLE
    ivec2 cell = ivec2(floor(gl_FragCoord.xy / uRatio));
    if (((uPolygonStipple[cell.y & 31] >> uint(31 - (cell.x & 31))) & 1u) == 0u) discard;
#endif
#ifdef LINE
    vec2 d = vSeg.zw - vSeg.xy;
    vec2 p = gl_FragCoord.xy - vSeg.xy;
#endif
#ifdef LSTIPPLE
    // GL's pattern counter: one step per fragment along the major axis,
    // from the pixel the segment starts in.
    bool xMajor = abs(d.x) >= abs(d.y);
    float forward = xMajor ? d.x : d.y, from = xMajor ? vSeg.x : vSeg.y;
    float pixel = floor(xMajor ? gl_FragCoord.x : gl_FragCoord.y);
    float count = vCount0 + max(forward >= 0.0 ? pixel - floor(from) : ceil(from) - 1.0 - pixel, 0.0);
    int bit = int(mod(floor(count / uLineFactor), 16.0));
    if (((uLinePattern >> bit) & 1) == 0) discard;
#endif
    vec4 c = vFront;
#ifdef TWO_SIDE
#ifdef POLYMODE
    c = vFacing > 0.0 ? vFront : vBack;
#else
    c = gl_FrontFacing ? vFront : vBack;
#endif
#endif
#ifdef TEX
#ifdef TEX1D
    vec4 t = texture(uTexture, vec2(vTex.x / vTex.w, 0.5));
#else
    vec4 t = textureProj(uTexture, vTex.xyw);
#endif
    bool hasC = uBaseFormat != 0, hasA = uBaseFormat == 0 || uBaseFormat == 2 || uBaseFormat == 3 || uBaseFormat == 5;
    vec3 tc = uBaseFormat >= 4 ? t.rgb : vec3(t.r);
    float ta = uBaseFormat == 3 ? t.r : t.a;
    if (uEnvMode == 2) {
        if (hasC) c.rgb = tc;
        if (hasA) c.a = ta;
    } else if (uEnvMode == 0) {
        if (hasC) c.rgb *= tc;
        if (hasA) c.a *= ta;
    } else if (uEnvMode == 1) {
        if (uBaseFormat == 4) c.rgb = tc;
        else if (uBaseFormat == 5) c.rgb = mix(c.rgb, tc, ta);
    } else {
        if (hasC) c.rgb = mix(c.rgb, uEnvColor.rgb, tc);
        if (uBaseFormat == 3) c.a = mix(c.a, uEnvColor.a, ta);
        else if (hasA) c.a *= ta;
    }
#endif
#ifdef FOG
    float f = uFogMode == 0 ? (uFog.y - vFogZ) / (uFog.y - uFog.x)
            : uFogMode == 1 ? exp(-uFog.z * vFogZ) : exp(-(uFog.z * vFogZ) * (uFog.z * vFogZ));
    c.rgb = mix(uFogColor.rgb, c.rgb, clamp(f, 0.0, 1.0));
#endif
#ifdef LSMOOTH
    float len = length(d);
    vec2 dir = len > 0.0 ? d / len : vec2(1.0, 0.0);
    // Coverage in CSS pixels: at any device pixel ratio the edge fades over one.
    float at = dot(p, dir) / uRatio, off = abs(dot(p, vec2(-dir.y, dir.x))) / uRatio;
    len /= uRatio;
    c.a *= clamp(uLineHalf + 0.5 - off, 0.0, 1.0) * clamp(at + 0.5, 0.0, 1.0) * clamp(len - at + 0.5, 0.0, 1.0);
#endif
#ifdef PSMOOTH
    float r = length(gl_PointCoord - 0.5) * (2.0 * uPointRadius + 2.0);
    c.a *= clamp(uPointRadius + 0.5 - r, 0.0, 1.0);
#endif
#ifdef ALPHA_TEST
    if (!alphaPasses(c.a)) discard;
#endif
    fragColor = c;
}
)";

// GL's alpha test, on alpha in the framebuffer's 8-bit steps. Every fragment
// shader starts with it (webgl.cpp's compile); uAlphaFunc is the function
// minus GL_NEVER, 7 (GL_ALWAYS) while the test is off.
const char* const alphaTestSource = R"(
uniform int uAlphaFunc;
uniform float uAlphaRef;
bool alphaPasses(float alpha) {
    float a = floor(alpha * 255.0 + 0.5), ref = floor(uAlphaRef * 255.0 + 0.5);
    return uAlphaFunc == 7 || (uAlphaFunc == 1 && a < ref) || (uAlphaFunc == 2 && a == ref) ||
           (uAlphaFunc == 3 && a <= ref) || (uAlphaFunc == 4 && a > ref) || (uAlphaFunc == 5 && a != ref) ||
           (uAlphaFunc == 6 && a >= ref);
}
)";

// glBitmap's fragments: the bitmap's cells where it has a 1, at its window
// place, in the raster colour and depth.
const char* const bitmapVertexSource = R"(
layout(location = 0) in vec2 aCorner;
uniform vec4 uRect;  // NDC x0, y0, x1, y1
uniform float uZ;    // NDC
void main() { gl_Position = vec4(mix(uRect.xy, uRect.zw, aCorner), uZ, 1.0); }
)";

const char* const bitmapFragmentSource = R"(
uniform highp usampler2D uBits;
uniform vec2 uOrigin;  // the lower-left corner, device pixels
uniform float uRatio;
uniform vec4 uColor;
out vec4 fragColor;
void main() {
    ivec2 cell = ivec2(floor((gl_FragCoord.xy - uOrigin) / uRatio));
    if (texelFetch(uBits, cell, 0).r == 0u) discard;
    if (!alphaPasses(uColor.a)) discard;
    fragColor = uColor;
}
)";

}  // namespace zw
