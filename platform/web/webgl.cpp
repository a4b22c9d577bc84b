// The WebGL 2 side of the platform layer: what reaches WebGL from the state
// the GL entry points keep. Blocks drawn under the same state (the state's
// serial unchanged) and of the same primitive kind are joined into one batch,
// converted to lists (strips, fans, loops, quads and polygons as independent
// lines and triangles, keeping GL's provoking vertex for flat shading), and
// drawn with one upload and one draw call when the state changes or the
// frame ends. The shader (shaderSource.h) is compiled per set of features the
// state uses; its uniforms are sent when they differ from what its program
// last had. Polygon modes line and point, stippled, smooth and wide lines are
// prepared on the CPU from window coordinates, as GL decides facing and the
// stipple counter there. Everything handed to WebGL in pixels is multiplied by
// the device pixel ratio.
#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/web/glState.h"
#include "platform/web/shaderSource.h"
#include "platform/web/webglPass.h"

namespace zw {

bool submit = true;

unsigned drawCalls = 0;  // WebGL draw calls so far, for the benchmark page and the checks

namespace {

// ---- Programs -------------------------------------------------------------------

// Shader features, one bit each, in the order of their #define names.
enum Feature : unsigned {
    FLAT = 1u << 0,
    LIGHT = 1u << 1,
    TWO_SIDE = 1u << 2,
    TEX = 1u << 3,
    TEX1D = 1u << 4,
    TEXGEN = 1u << 5,
    FOG = 1u << 6,
    ALPHA_TEST = 1u << 7,
    CLIP = 1u << 8,
    PSTIPPLE = 1u << 9,
    LINE = 1u << 10,
    LSTIPPLE = 1u << 11,
    LSMOOTH = 1u << 12,
    PSMOOTH = 1u << 13,
    POLYMODE = 1u << 14,
};
const char* const featureNames[] = {"FLAT", "LIGHT", "TWO_SIDE", "TEX", "TEX1D", "TEXGEN", "FOG", "ALPHA_TEST",
                                    "CLIP", "PSTIPPLE", "LINE", "LSTIPPLE", "LSMOOTH", "PSMOOTH", "POLYMODE"};

// A uniform and the bytes last sent to it, so that an unchanged value costs
// no WebGL call.
struct Uniform {
    GLint at = -1;
    std::vector<unsigned char> sent;
};

struct Program {
    GLuint id = 0;
    std::map<std::string, Uniform> uniforms;
    unsigned syncedSerial = 0;
};

std::map<unsigned, Program> programs;
GLuint stream = 0, vao = 0;
bool ready = false;

GLuint compile(GLenum type, const std::string& defines, const char* body) {
    std::string head = "#version 300 es\nprecision highp float;\nprecision highp int;\n" + defines;
    if (type == GL_FRAGMENT_SHADER) head += alphaTestSource;
    const char* parts[2] = {head.c_str(), body};
    GLuint s = emscripten_glCreateShader(type);
    emscripten_glShaderSource(s, 2, parts, nullptr);
    emscripten_glCompileShader(s);
    GLint ok = 0;
    emscripten_glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "web GL: shader does not compile: %s\n", log);
    }
    return s;
}

GLuint link(const std::string& defines, const char* vertex, const char* fragment) {
    GLuint id = emscripten_glCreateProgram();
    emscripten_glAttachShader(id, compile(GL_VERTEX_SHADER, defines, vertex));
    emscripten_glAttachShader(id, compile(GL_FRAGMENT_SHADER, defines, fragment));
    emscripten_glLinkProgram(id);
    return id;
}

Program& program(unsigned key) {
    auto it = programs.find(key);
    if (it != programs.end()) return it->second;
    std::string defines = key & FLAT ? "#define SHADE flat\n" : "#define SHADE\n";
    for (unsigned b = 1; b < sizeof featureNames / sizeof featureNames[0]; ++b)
        if (key & (1u << b)) defines += std::string("#define ") + featureNames[b] + "\n";
    Program& p = programs[key];
    p.id = link(defines, vertexSource, fragmentSource);
    return p;
}

Program* current = nullptr;

enum Kind { F1, I1, UI1, F2, F4, I4, M3, M4 };

// Sends `n` values of a uniform (arrays: n elements) unless the program has them.
void send(const char* name, Kind kind, const void* data, int n = 1) {
    Program& p = *current;
    auto it = p.uniforms.find(name);
    if (it == p.uniforms.end()) {
        it = p.uniforms.emplace(name, Uniform()).first;
        it->second.at = emscripten_glGetUniformLocation(p.id, name);
    }
    Uniform& u = it->second;
    if (u.at < 0) return;
    static const int sizes[] = {4, 4, 4, 8, 16, 16, 36, 64};
    const size_t bytes = size_t(sizes[kind]) * size_t(n);
    if (u.sent.size() == bytes && std::memcmp(u.sent.data(), data, bytes) == 0) return;
    u.sent.assign((const unsigned char*)data, (const unsigned char*)data + bytes);
    const float* f = (const float*)data;
    const GLint* i = (const GLint*)data;
    switch (kind) {
    case F1: emscripten_glUniform1fv(u.at, n, f); break;
    case I1: emscripten_glUniform1iv(u.at, n, i); break;
    case UI1: emscripten_glUniform1uiv(u.at, n, (const GLuint*)data); break;
    case F2: emscripten_glUniform2fv(u.at, n, f); break;
    case F4: emscripten_glUniform4fv(u.at, n, f); break;
    case I4: emscripten_glUniform4iv(u.at, n, i); break;
    case M3: emscripten_glUniformMatrix3fv(u.at, n, GL_FALSE, f); break;
    case M4: emscripten_glUniformMatrix4fv(u.at, n, GL_FALSE, f); break;
    }
}
void send1f(const char* name, float v) { send(name, F1, &v); }
void send1i(const char* name, int v) { send(name, I1, &v); }

void setUp() {
    emscripten_glGenVertexArrays(1, &vao);
    emscripten_glBindVertexArray(vao);
    emscripten_glGenBuffers(1, &stream);
    ready = true;
}

// ---- State as WebGL applies it ----------------------------------------------------

// What WebGL was last given, so an unchanged setting costs no call.
struct Fixed {
    int caps[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    GLint viewport[4] = {-1, -1, -1, -1}, scissor[4] = {-1, -1, -1, -1};
    GLenum blendSrc = 0, blendDst = 0, depthFunc = 0, cullMode = 0, frontFace = 0;
    GLenum stencilFunc = 0, stencilFail = 0, stencilZFail = 0, stencilZPass = 0;
    GLint stencilRef = -1;
    GLuint stencilValueMask = 0x5a5a5a5a, stencilWriteMask = 0x5a5a5a5a;
    int depthMask = -1, colorMask = -1;
    float depthRange[2] = {-1, -1}, offset[2] = {NAN, NAN};
} fixed;

const GLenum capNames[8] = {GL_BLEND, GL_DEPTH_TEST, GL_CULL_FACE, GL_POLYGON_OFFSET_FILL,
                            GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_DITHER, 0};

void cap(int k, bool on) {
    if (fixed.caps[k] == int(on)) return;
    fixed.caps[k] = on;
    if (on)
        emscripten_glEnable(capNames[k]);
    else
        emscripten_glDisable(capNames[k]);
}

}  // namespace

void scaled(const GLint in[4], GLint out[4]) {
    const float r = pixelRatio;
    const GLint x0 = GLint(std::lround(in[0] * r)), y0 = GLint(std::lround(in[1] * r));
    out[0] = x0, out[1] = y0;
    out[2] = GLint(std::lround((in[0] + in[2]) * r)) - x0;
    out[3] = GLint(std::lround((in[1] + in[3]) * r)) - y0;
}

namespace {

void viewportTo(const GLint v[4]) {
    if (std::memcmp(v, fixed.viewport, sizeof fixed.viewport) == 0) return;
    std::memcpy(fixed.viewport, v, sizeof fixed.viewport);
    emscripten_glViewport(v[0], v[1], v[2], v[3]);
}

void depthRangeTo(float n, float f) {
    if (fixed.depthRange[0] == n && fixed.depthRange[1] == f) return;
    fixed.depthRange[0] = n, fixed.depthRange[1] = f;
    emscripten_glDepthRangef(n, f);
}

// The per-fragment operations and masks, as the state has them.
void applyFragmentOps() {
    const State& s = state();
    cap(0, s.blend);
    if (fixed.blendSrc != s.blendSrc || fixed.blendDst != s.blendDst) {
        fixed.blendSrc = s.blendSrc, fixed.blendDst = s.blendDst;
        emscripten_glBlendFunc(s.blendSrc, s.blendDst);
    }
    cap(1, s.depthTest);
    if (fixed.depthFunc != s.depthFunc) emscripten_glDepthFunc(fixed.depthFunc = s.depthFunc);
    if (fixed.depthMask != int(s.depthMask)) emscripten_glDepthMask(GLboolean(fixed.depthMask = s.depthMask));
    const int mask = s.colorMask[0] | s.colorMask[1] << 1 | s.colorMask[2] << 2 | s.colorMask[3] << 3;
    if (fixed.colorMask != mask) {
        fixed.colorMask = mask;
        emscripten_glColorMask(s.colorMask[0], s.colorMask[1], s.colorMask[2], s.colorMask[3]);
    }
    cap(4, s.scissorTest);
    GLint box[4];
    scaled(s.scissor, box);
    if (std::memcmp(box, fixed.scissor, sizeof box) != 0) {
        std::memcpy(fixed.scissor, box, sizeof box);
        emscripten_glScissor(box[0], box[1], box[2], box[3]);
    }
    cap(5, s.stencilTest);
    if (fixed.stencilFunc != s.stencilFunc || fixed.stencilRef != s.stencilRef ||
        fixed.stencilValueMask != s.stencilValueMask) {
        fixed.stencilFunc = s.stencilFunc, fixed.stencilRef = s.stencilRef, fixed.stencilValueMask = s.stencilValueMask;
        emscripten_glStencilFunc(s.stencilFunc, s.stencilRef, s.stencilValueMask);
    }
    if (fixed.stencilFail != s.stencilFail || fixed.stencilZFail != s.stencilZFail ||
        fixed.stencilZPass != s.stencilZPass) {
        fixed.stencilFail = s.stencilFail, fixed.stencilZFail = s.stencilZFail, fixed.stencilZPass = s.stencilZPass;
        emscripten_glStencilOp(s.stencilFail, s.stencilZFail, s.stencilZPass);
    }
    if (fixed.stencilWriteMask != s.stencilWriteMask)
        emscripten_glStencilMask(fixed.stencilWriteMask = s.stencilWriteMask);
    cap(6, s.dither);
}

// Everything WebGL applies to a draw. `fill`: real polygons (WebGL's culling
// and polygon offset apply), not lines drawn as triangles.
void applyFixed(bool fill, bool cpuFacing) {
    const State& s = state();
    applyFragmentOps();
    GLint v[4];
    scaled(s.viewport, v);
    viewportTo(v);
    depthRangeTo(s.depthRange[0], s.depthRange[1]);
    cap(2, fill && !cpuFacing && s.cullFace);
    if (fixed.cullMode != s.cullFaceMode) emscripten_glCullFace(fixed.cullMode = s.cullFaceMode);
    if (fixed.frontFace != s.frontFace) emscripten_glFrontFace(fixed.frontFace = s.frontFace);
    cap(3, fill && s.offsetFill);
    // The depth slope is per CSS pixel in GL's terms; WebGL takes it per device pixel.
    const float factor = s.offsetFactor * pixelRatio;
    if (fixed.offset[0] != factor || fixed.offset[1] != s.offsetUnits) {
        fixed.offset[0] = factor, fixed.offset[1] = s.offsetUnits;
        emscripten_glPolygonOffset(factor, s.offsetUnits);
    }
}

// ---- Textures ---------------------------------------------------------------------

struct SentParams {
    GLenum wrapS = 0, wrapT = 0, minFilter = 0, magFilter = 0;
    int maxLevel = -1;
};
std::map<unsigned, SentParams> sentParams;  // by WebGL texture
unsigned boundWebGL = 0;

GLenum webglWrap(GLenum wrap) { return wrap == GL_REPEAT ? GL_REPEAT : GL_CLAMP_TO_EDGE; }

bool mipmapped(GLenum filter) { return filter != GL_NEAREST && filter != GL_LINEAR; }

// The texture that applies and can be sampled, or null.
Texture* sampled() {
    Texture* t = boundTexture();
    if (!t || t->webgl == 0 || !textureComplete(*t)) return nullptr;
    return t;
}

void bindForDrawing(Texture& t) {
    if (boundWebGL != t.webgl) {
        emscripten_glActiveTexture(GL_TEXTURE0);
        emscripten_glBindTexture(GL_TEXTURE_2D, boundWebGL = t.webgl);
    }
    SentParams& p = sentParams[t.webgl];
    auto param = [](GLenum name, GLenum& sent, GLenum want) {
        if (sent != want) emscripten_glTexParameteri(GL_TEXTURE_2D, name, GLint(sent = want));
    };
    param(GL_TEXTURE_WRAP_S, p.wrapS, webglWrap(t.wrapS));
    param(GL_TEXTURE_WRAP_T, p.wrapT, webglWrap(t.wrapT));
    param(GL_TEXTURE_MIN_FILTER, p.minFilter, t.minFilter);
    param(GL_TEXTURE_MAG_FILTER, p.magFilter, t.magFilter);
    // The levels a complete texture has: down to 1x1 when it mipmaps.
    int levels = 0;
    if (mipmapped(t.minFilter))
        while (levels + 1 < ZW_TEXTURE_LEVELS && (t.levelsDefined >> (levels + 1) & 1)) ++levels;
    if (p.maxLevel != levels) emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, p.maxLevel = levels);
}

int baseFormatCode(GLenum f) {
    switch (f) {
    case GL_ALPHA: return 0;
    case GL_LUMINANCE: return 1;
    case GL_LUMINANCE_ALPHA: return 2;
    case GL_INTENSITY: return 3;
    case GL_RGB: return 4;
    default: return 5;
    }
}

int envModeCode(GLenum m) {
    switch (m) {
    case GL_DECAL: return 1;
    case GL_REPLACE: return 2;
    case GL_BLEND: return 3;
    default: return 0;
    }
}

// ---- What a batch draws -------------------------------------------------------------

enum Class { POINTS, LINES, TRIANGLES };

// The features the state asks of a primitive class; `lineQuads`: lines drawn
// as triangles (wide, stippled or smooth), `cpu`: polygons whose facing the
// CPU decided (polygon modes).
unsigned features(Class cls, bool lineQuads, bool cpu) {
    const State& s = state();
    unsigned f = 0;
    if (s.shadeModel == GL_FLAT) f |= FLAT;
    if (s.lighting) {
        f |= LIGHT;
        if (s.twoSide && (cls == TRIANGLES || cpu)) f |= TWO_SIDE;
    }
    if (Texture* t = sampled()) {
        f |= TEX;
        if (t->target == GL_TEXTURE_1D) f |= TEX1D;
        if (s.texGenOn[0] || s.texGenOn[1] || s.texGenOn[2] || s.texGenOn[3]) f |= TEXGEN;
    }
    if (s.fog) f |= FOG;
    if (s.alphaTest) f |= ALPHA_TEST;
    for (bool on : s.clipOn) f |= on ? CLIP : 0;
    if (cls == TRIANGLES && !lineQuads && s.polygonStipple) f |= PSTIPPLE;
    if (lineQuads) {
        f |= LINE;
        if (s.lineStipple) f |= LSTIPPLE;
        if (s.lineSmooth) f |= LSMOOTH;
    }
    if (cls == POINTS && s.pointSmooth) f |= PSMOOTH;
    if (cpu) f |= POLYMODE;
    return f;
}

// The width GL draws an aliased line: the set width rounded, at least one pixel.
float aliasedWidth() {
    const float w = std::round(state().lineWidth);
    return w < 1 ? 1 : w;
}

// Lines WebGL cannot draw itself: wider than one device pixel (at a device
// pixel ratio above 1 every line is), stippled or smooth.
bool specialLines() {
    const State& s = state();
    return aliasedWidth() * pixelRatio > 1 || s.lineStipple || s.lineSmooth;
}

// The matrices a draw uses: those current when its batch opened (a matrix
// call may change the matrix before the batch is drawn).
struct Matrices {
    Mat projection, modelview, texture;
};
Matrices currentMatrices() {
    const State& s = state();
    return {s.projection.back(), s.modelview.back(), s.texture.back()};
}

void sendUniforms(unsigned f, const Matrices& mats) {
    const State& s = state();
    send("uProjection", M4, mats.projection.m);
    send("uModelview", M4, mats.modelview.m);
    GLint vp[4];
    scaled(s.viewport, vp);
    const float viewport[4] = {float(vp[0]), float(vp[1]), float(vp[2] > 0 ? vp[2] : 1), float(vp[3] > 0 ? vp[3] : 1)};
    send("uViewport", F4, viewport);
    send1f("uRatio", pixelRatio);
    const float size = (s.pointSmooth ? s.pointSize + 2 : std::max(std::round(s.pointSize), 1.0f)) * pixelRatio;
    send1f("uPointSize", size);
    if (f & PSMOOTH) send1f("uPointRadius", s.pointSize / 2);
    if (f & (LIGHT | TEXGEN)) {
        // The inverse transpose of the model-view's upper 3x3, which takes
        // normals to eye coordinates; the rescale factor is one over the
        // length of its third column.
        const float* m = mats.modelview.m;
        const float a = m[0], b = m[4], c = m[8], d = m[1], e = m[5], g = m[9], h = m[2], i = m[6], k = m[10];
        const float C[3][3] = {{e * k - g * i, -(d * k - g * h), d * i - e * h},
                               {-(b * k - c * i), a * k - c * h, -(a * i - b * h)},
                               {b * g - c * e, -(a * g - c * d), a * e - b * d}};
        const float det = a * C[0][0] + b * C[0][1] + c * C[0][2];
        const float inv = det == 0 ? 0 : 1 / det;
        float n[9];
        for (int col = 0; col < 3; ++col)
            for (int row = 0; row < 3; ++row) n[col * 3 + row] = C[row][col] * inv;
        send("uNormalMatrix", M3, n);
        float rescale = 1;
        if (s.rescaleNormal && !s.normalize) {
            const float len = std::sqrt(n[6] * n[6] + n[7] * n[7] + n[8] * n[8]);
            rescale = len > 0 ? 1 / len : 1;
        }
        send1f("uRescale", rescale);
        send1i("uNormalize", s.normalize);
    }
    if (f & LIGHT) {
        int mask = 0;
        float pos[32], amb[32], dif[32], spe[32], spot[32], att[32];
        for (int i = 0; i < ZW_LIGHTS; ++i) {
            const Light& l = s.light[i];
            mask |= s.lightOn[i] << i;
            std::memcpy(pos + 4 * i, l.position, 16);
            std::memcpy(amb + 4 * i, l.ambient, 16);
            std::memcpy(dif + 4 * i, l.diffuse, 16);
            std::memcpy(spe + 4 * i, l.specular, 16);
            const float* sd = l.spotDirection;
            const float len = std::sqrt(sd[0] * sd[0] + sd[1] * sd[1] + sd[2] * sd[2]);
            const float k = len > 0 ? 1 / len : 0;
            spot[4 * i] = sd[0] * k, spot[4 * i + 1] = sd[1] * k, spot[4 * i + 2] = sd[2] * k;
            spot[4 * i + 3] = l.spotCutoff == 180 ? -2.0f : std::cos(l.spotCutoff * float(M_PI) / 180);
            std::memcpy(att + 4 * i, l.attenuation, 12);
            att[4 * i + 3] = l.spotExponent;
        }
        send1i("uLights", mask);
        send("uLightPos", F4, pos, 8);
        send("uLightAmbient", F4, amb, 8);
        send("uLightDiffuse", F4, dif, 8);
        send("uLightSpecular", F4, spe, 8);
        send("uLightSpot", F4, spot, 8);
        send("uLightAtten", F4, att, 8);
        send("uModelAmbient", F4, s.modelAmbient);
        float ma[8], md[8], ms[8], me[8], sh[2];
        for (int side = 0; side < 2; ++side) {
            const Material& mt = s.material[side];
            std::memcpy(ma + 4 * side, mt.ambient, 16);
            std::memcpy(md + 4 * side, mt.diffuse, 16);
            std::memcpy(ms + 4 * side, mt.specular, 16);
            std::memcpy(me + 4 * side, mt.emission, 16);
            sh[side] = mt.shininess;
        }
        send("uMatAmbient", F4, ma, 2);
        send("uMatDiffuse", F4, md, 2);
        send("uMatSpecular", F4, ms, 2);
        send("uMatEmission", F4, me, 2);
        send("uMatShininess", F1, sh, 2);
        int faces = 0;
        if (s.colorMaterial) {
            if (s.colorMaterialFace != GL_BACK) faces |= 1;
            if (s.colorMaterialFace != GL_FRONT) faces |= 2;
        }
        send1i("uColorFaces", faces);
        const GLenum cm = s.colorMaterialMode;
        send1i("uColorMode", cm == GL_AMBIENT ? 1 : cm == GL_DIFFUSE ? 2 : cm == GL_SPECULAR ? 3 : cm == GL_EMISSION ? 4 : 0);
        send1i("uLocalViewer", s.localViewer);
    }
    if (f & TEX) {
        Texture* t = sampled();
        bindForDrawing(*t);
        send1i("uTexture", 0);
        send("uTextureMatrix", M4, mats.texture.m);
        send1i("uBaseFormat", baseFormatCode(t->baseFormat));
        send1i("uEnvMode", envModeCode(s.texEnvMode));
        send("uEnvColor", F4, s.texEnvColor);
        if (f & TEXGEN) {
            GLint modes[4];
            for (int k = 0; k < 4; ++k) {
                const GLenum m = s.texGenMode[k];
                modes[k] = !s.texGenOn[k] ? 0 : m == GL_OBJECT_LINEAR ? 1 : m == GL_EYE_LINEAR ? 2 : 3;
            }
            send("uTexGen", I4, modes);
            send("uObjectPlane", F4, s.objectPlane, 4);
            send("uEyePlane", F4, s.eyePlane, 4);
        }
    }
    if (f & FOG) {
        send1i("uFogMode", s.fogMode == GL_LINEAR ? 0 : s.fogMode == GL_EXP ? 1 : 2);
        const float fog[4] = {s.fogStart, s.fogEnd, s.fogDensity, 0};
        send("uFog", F4, fog);
        send("uFogColor", F4, s.fogColor);
    }
    if (f & ALPHA_TEST) {
        send1i("uAlphaFunc", int(s.alphaFunc - GL_NEVER));
        send1f("uAlphaRef", std::min(std::max(s.alphaRef, 0.0f), 1.0f));
    }
    if (f & CLIP) {
        int on = 0;
        for (int i = 0; i < ZW_CLIP_PLANES; ++i) on |= s.clipOn[i] << i;
        send1i("uClipOn", on);
        send("uClipPlane", F4, s.clipPlane, 6);
    }
    if (f & PSTIPPLE) send("uPolygonStipple", UI1, s.polygonStippleRows, 32);
    if (f & LINE) {
        const float w = (f & LSMOOTH) ? std::max(s.lineWidth, 1.0f) : aliasedWidth();  // CSS pixels
        send1f("uLineWidth", ((f & LSMOOTH) ? w + 2 : w) * pixelRatio);
        send1f("uLineHalf", w / 2);
        send1i("uLinePattern", int(s.lineStipplePattern & 0xffff));
        send1f("uLineFactor", float(std::max(1, std::min(256, int(s.lineStippleFactor)))) * pixelRatio);
    }
}

// The vertex layout of a batch: each Vertex as it is (so that a block goes in
// with one copy), then the polygon modes' and the line quads' parts when the
// features need them.
const size_t vertexFloats = sizeof(Vertex) / sizeof(float);
static_assert(sizeof(Vertex) == 15 * sizeof(float) && offsetof(Vertex, color) == 3 * sizeof(float) &&
                  offsetof(Vertex, normal) == 7 * sizeof(float) && offsetof(Vertex, tex) == 10 * sizeof(float),
              "a Vertex is position, colour, normal, texture coordinates and edge flag, in floats");
struct Layout {
    bool extra, line;
    int stride() const { return int(vertexFloats) + (extra ? 2 : 0) + (line ? 6 : 0); }
};

Layout layoutOf(unsigned f) { return {(f & POLYMODE) != 0, (f & LINE) != 0}; }

struct Batch {
    std::vector<float> data;  // grows, never shrinks: `used` floats of it are the batch
    size_t used = 0;
    int count = 0;
    GLenum mode = GL_POINTS;
    unsigned serial = 0, features = 0;
    Layout layout{};
    Matrices matrices;
} batch;

bool flushScheduled = false;

// Before the browser shows the frame, what is batched is drawn, even for a
// program that neither swaps nor flushes.
void scheduleFlush() {
    if (flushScheduled) return;
    flushScheduled = true;
    EM_ASM({ queueMicrotask(function() { _zwFlush(); }); });
}

void pointAttributes(const Layout& l, GLintptr base) {
    const GLsizei stride = GLsizei(l.stride() * sizeof(float));
    GLintptr at = base;
    auto attribute = [&](GLuint index, int size, bool on) {
        if (!on) {
            emscripten_glDisableVertexAttribArray(index);
            return;
        }
        emscripten_glEnableVertexAttribArray(index);
        emscripten_glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride, (void*)at);
        at += size * GLintptr(sizeof(float));
    };
    attribute(0, 3, true);
    attribute(1, 4, true);
    attribute(2, 3, true);
    attribute(3, 4, true);
    at += GLintptr(sizeof(float));  // the edge flag
    attribute(4, 2, l.extra);
    attribute(5, 3, l.line);
    attribute(6, 3, l.line);
}

// Makes the batch's program current with the state's uniforms and WebGL's
// own state.
void prepare(unsigned f, bool fill, unsigned serial, const Matrices& mats) {
    if (!ready) setUp();
    Program& p = program(f);
    emscripten_glUseProgram(p.id);  // other drawing code (glText.cpp) may have changed it
    current = &p;
    // Under an unchanged state the program has its uniforms already; its
    // texture may have been unbound by an upload since.
    if (p.syncedSerial != serial || serial == 0) {
        sendUniforms(f, mats);
        p.syncedSerial = serial;
    } else if (f & TEX) {
        bindForDrawing(*sampled());
    }
    applyFixed(fill, (f & POLYMODE) != 0);
}

// Starts or continues the batch for `mode` (GL_POINTS, GL_LINES,
// GL_TRIANGLES) under the current state.
void open(GLenum mode, unsigned f) {
    const unsigned serial = state().serial;
    if (batch.count > 0 && (batch.serial != serial || batch.mode != mode || batch.features != f)) flushBatch();
    if (batch.count > 0) return;
    batch.mode = mode;
    batch.serial = serial;
    batch.features = f;
    batch.layout = layoutOf(f);
    batch.matrices = currentMatrices();
    batch.used = 0;
    scheduleFlush();
}

struct Extra {
    float offset = 0, facing = 1;
};
struct LinePart {
    const float* other;
    float side, end, count;
};

// Room for `floats` more in the batch.
float* grow(size_t floats) {
    std::vector<float>& d = batch.data;
    if (batch.used + floats > d.size()) d.resize(std::max(2 * d.size(), batch.used + floats + 4096));
    float* to = d.data() + batch.used;
    batch.used += floats;
    return to;
}

void put(const Vertex& v, const Extra& e = Extra(), const LinePart* line = nullptr) {
    const Layout& l = batch.layout;
    float* to = grow(size_t(l.stride()));
    ++batch.count;
    std::memcpy(to, &v, sizeof v);
    to += vertexFloats;
    if (l.extra) *to++ = e.offset, *to++ = e.facing;
    if (l.line) {
        std::memcpy(to, line->other, 3 * sizeof(float));
        to[3] = line->side, to[4] = line->end, to[5] = line->count;
    }
}

// Vertices already in list form, in one copy.
void putAll(const Vertex* v, int n) {
    if (batch.layout.extra || batch.layout.line) {
        for (int i = 0; i < n; ++i) put(v[i]);
        return;
    }
    std::memcpy(grow(size_t(n) * vertexFloats), v, size_t(n) * sizeof(Vertex));
    batch.count += n;
}

// ---- Window coordinates on the CPU ----------------------------------------------------

struct Window {
    float x, y, z, w;  // device pixels, depth in the depth range
};

Mat mvp;  // projection * model-view, for the block being converted

Window toWindow(const Vertex& v) {
    const State& s = state();
    const float p[4] = {v.pos[0], v.pos[1], v.pos[2], 1};
    float c[4];
    for (int r = 0; r < 4; ++r)
        c[r] = mvp.m[r] * p[0] + mvp.m[4 + r] * p[1] + mvp.m[8 + r] * p[2] + mvp.m[12 + r] * p[3];
    const float w = c[3] != 0 ? c[3] : 1e-30f;
    const float r = pixelRatio;
    const float x = (c[0] / w * 0.5f + 0.5f) * float(s.viewport[2]) * r + float(s.viewport[0]) * r;
    const float y = (c[1] / w * 0.5f + 0.5f) * float(s.viewport[3]) * r + float(s.viewport[1]) * r;
    const float z = s.depthRange[0] + (c[2] / w * 0.5f + 0.5f) * (s.depthRange[1] - s.depthRange[0]);
    return {x, y, z, c[3]};
}

// ---- Lines as triangles: wide, stippled, smooth ------------------------------------

// GL's count of fragments of a segment: the pixels it starts in and leaves
// along the major axis (the shader counts from the same pixel).
float fragmentsOf(const Window& a, const Window& b) {
    const bool xMajor = std::fabs(b.x - a.x) >= std::fabs(b.y - a.y);
    const float from = xMajor ? a.x : a.y, to = xMajor ? b.x : b.y;
    return to >= from ? std::floor(to) - std::floor(from) : std::ceil(from) - std::ceil(to);
}

// One segment as two triangles, both ending on b (the provoking vertex);
// `count` is the stipple counter at a.
void quadSegment(const Vertex& a, const Vertex& b, float count, const Extra& e) {
    const LinePart aS{b.pos, -1, 0, count}, aT{b.pos, 1, 0, count};
    const LinePart bS{a.pos, -1, 1, count}, bT{a.pos, 1, 1, count};
    put(a, e, &aS), put(a, e, &aT), put(b, e, &bT);
    put(a, e, &aS), put(b, e, &bT), put(b, e, &bS);
}

// Segments (pairs of indices into v) of one line primitive, drawn as quads
// with the stipple counter running from the first segment on.
void quadLine(const Vertex* v, const int* pairs, int segments, bool resetEach, const Extra& e) {
    float count = 0;
    const bool counting = state().lineStipple;
    for (int k = 0; k < segments; ++k) {
        const Vertex& a = v[pairs[2 * k]];
        const Vertex& b = v[pairs[2 * k + 1]];
        if (resetEach) count = 0;
        quadSegment(a, b, count, e);
        if (counting) count += fragmentsOf(toWindow(a), toWindow(b));
    }
}

// ---- Primitives as lists ----------------------------------------------------------------

void emitLines(GLenum mode, const Vertex* v, int n) {
    if (specialLines()) {
        if (state().lineStipple) mvp = multiply(state().projection.back(), state().modelview.back());
        open(GL_TRIANGLES, features(LINES, true, false));
        std::vector<int> pairs;
        if (mode == GL_LINES) {
            for (int i = 0; i + 1 < n; i += 2) pairs.push_back(i), pairs.push_back(i + 1);
        } else {
            for (int i = 0; i + 1 < n; ++i) pairs.push_back(i), pairs.push_back(i + 1);
            if (mode == GL_LINE_LOOP && n > 2) pairs.push_back(n - 1), pairs.push_back(0);
        }
        quadLine(v, pairs.data(), int(pairs.size() / 2), mode == GL_LINES, Extra());
        return;
    }
    open(GL_LINES, features(LINES, false, false));
    if (mode == GL_LINES) {
        putAll(v, n & ~1);
        return;
    }
    // A strip's segment i ends on vertex i+1, which gives its flat colour;
    // a loop's closing segment ends on the first vertex, as GL takes it.
    for (int i = 0; i + 1 < n; ++i) put(v[i]), put(v[i + 1]);
    if (mode == GL_LINE_LOOP && n > 2) put(v[n - 1]), put(v[0]);
}

// The polygons of a block: for each, its vertex indices in order and the
// index whose colour flat shading takes; `flags`: whether edge flags apply.
struct Polygons {
    std::vector<int> index;
    std::vector<int> start;  // first index of each polygon in `index`, plus the end
    std::vector<int> provoking;
    bool flags = false;
    void add(std::initializer_list<int> p, int provokingVertex) {
        start.push_back(int(index.size()));
        index.insert(index.end(), p.begin(), p.end());
        provoking.push_back(provokingVertex);
    }
};

void polygonsOf(GLenum mode, int n, Polygons& out) {
    out.flags = mode == GL_TRIANGLES || mode == GL_QUADS || mode == GL_POLYGON;
    switch (mode) {
    case GL_TRIANGLES:
        for (int i = 0; i + 2 < n; i += 3) out.add({i, i + 1, i + 2}, i + 2);
        break;
    case GL_TRIANGLE_STRIP:
        for (int i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0) out.add({i, i + 1, i + 2}, i + 2);
            else out.add({i + 1, i, i + 2}, i + 2);
        }
        break;
    case GL_TRIANGLE_FAN:
        for (int i = 1; i + 1 < n; ++i) out.add({0, i, i + 1}, i + 1);
        break;
    case GL_QUADS:
        for (int q = 0; q + 3 < n; q += 4) out.add({q, q + 1, q + 2, q + 3}, q + 3);
        break;
    case GL_QUAD_STRIP:
        for (int j = 0; 2 * j + 3 < n; ++j) out.add({2 * j, 2 * j + 1, 2 * j + 3, 2 * j + 2}, 2 * j + 3);
        break;
    case GL_POLYGON:
        if (n >= 3) {
            out.start.push_back(0);
            for (int i = 0; i < n; ++i) out.index.push_back(i);
            out.provoking.push_back(0);
        }
        break;
    }
    out.start.push_back(int(out.index.size()));
}

// Filled triangles straight to the batch, each ending on its provoking vertex.
void emitTriangles(GLenum mode, const Vertex* v, int n) {
    open(GL_TRIANGLES, features(TRIANGLES, false, false));
    switch (mode) {
    case GL_TRIANGLES:
        putAll(v, n - n % 3);
        return;
    case GL_TRIANGLE_STRIP:
        for (int i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0) put(v[i]), put(v[i + 1]), put(v[i + 2]);
            else put(v[i + 1]), put(v[i]), put(v[i + 2]);
        }
        return;
    case GL_TRIANGLE_FAN:
        for (int i = 1; i + 1 < n; ++i) put(v[0]), put(v[i]), put(v[i + 1]);
        return;
    case GL_QUADS:
        for (int q = 0; q + 3 < n; q += 4) {
            put(v[q]), put(v[q + 1]), put(v[q + 3]);
            put(v[q + 1]), put(v[q + 2]), put(v[q + 3]);
        }
        return;
    case GL_QUAD_STRIP:
        for (int j = 0; 2 * j + 3 < n; ++j) {
            put(v[2 * j]), put(v[2 * j + 1]), put(v[2 * j + 3]);
            put(v[2 * j + 2]), put(v[2 * j]), put(v[2 * j + 3]);
        }
        return;
    case GL_POLYGON:
        for (int i = 1; i + 1 < n; ++i) put(v[i]), put(v[i + 1]), put(v[0]);
        return;
    }
}

// Polygon modes: each polygon's facing from its window area, as GL decides
// it; culled, filled, or its edges (those whose starting vertex has the edge
// flag) or vertices drawn, offset in depth by its own slope when asked.
void emitPolygonModes(GLenum mode, const Vertex* v, int n) {
    const State& s = state();
    mvp = multiply(s.projection.back(), s.modelview.back());
    std::vector<Window> win(size_t(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) win[i] = toWindow(v[i]);
    Polygons polys;
    polygonsOf(mode, n, polys);
    std::vector<Vertex> own;
    for (size_t k = 0; k + 1 < polys.start.size(); ++k) {
        const int* idx = polys.index.data() + polys.start[k];
        const int m = polys.start[k + 1] - polys.start[k];
        float area = 0;
        for (int i = 0; i < m; ++i) {
            const Window& a = win[idx[i]];
            const Window& b = win[idx[(i + 1) % m]];
            area += a.x * b.y - b.x * a.y;
        }
        const bool front = (area > 0) == (s.frontFace == GL_CCW);
        if (s.cullFace && (s.cullFaceMode == GL_FRONT_AND_BACK || (s.cullFaceMode == GL_FRONT) == front)) continue;
        const GLenum pm = s.polygonMode[front ? 0 : 1];
        Extra e;
        e.facing = front ? 1 : -1;
        // The polygon's own vertices; with flat shading each takes the
        // provoking vertex's colour and normal.
        own.assign(size_t(m), Vertex());
        const Vertex& pv = v[polys.provoking[k]];
        for (int i = 0; i < m; ++i) {
            own[i] = v[idx[i]];
            if (s.shadeModel == GL_FLAT) {
                std::memcpy(own[i].color, pv.color, sizeof pv.color);
                std::memcpy(own[i].normal, pv.normal, sizeof pv.normal);
            }
        }
        if (pm == GL_FILL) {
            open(GL_TRIANGLES, features(TRIANGLES, false, true));
            for (int i = 1; i + 1 < m; ++i) put(own[i], e), put(own[i + 1], e), put(own[0], e);
            continue;
        }
        const bool offset = pm == GL_LINE ? s.offsetLine : s.offsetPoint;
        if (offset && m >= 3) {
            // GL's offset: factor times the depth slope (per CSS pixel) plus
            // units times the depth buffer's resolution; in NDC for the shader.
            const Window &a = win[idx[0]], &b = win[idx[1]], &c = win[idx[2]];
            const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z, vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
            const float nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
            const float slope = nz != 0 ? std::max(std::fabs(nx / nz), std::fabs(ny / nz)) * pixelRatio : 0;
            const float o = slope * s.offsetFactor + s.offsetUnits / 16777215.0f;
            const float range = s.depthRange[1] - s.depthRange[0];
            e.offset = range != 0 ? 2 * o / range : 0;
        }
        auto edge = [&](int i) { return !polys.flags || own[i].edgeFlag != 0; };
        if (pm == GL_POINT) {
            open(GL_POINTS, features(POINTS, false, true));
            for (int i = 0; i < m; ++i)
                if (edge(i)) put(own[i], e);
            continue;
        }
        std::vector<int> pairs;
        for (int i = 0; i < m; ++i)
            if (edge(i)) pairs.push_back(i), pairs.push_back((i + 1) % m);
        if (specialLines()) {
            open(GL_TRIANGLES, features(LINES, true, true));
            quadLine(own.data(), pairs.data(), int(pairs.size() / 2), false, e);
        } else {
            open(GL_LINES, features(LINES, false, true));
            for (size_t i = 0; i < pairs.size(); ++i) put(own[pairs[i]], e);
        }
    }
}

// ---- Kept blocks (display lists) ------------------------------------------------------

struct Kept {
    GLenum mode;
    std::vector<Vertex> vertices;
    GLuint buffer = 0;  // the list form in the full layout, for large plain blocks
    GLenum listMode = GL_TRIANGLES;
    int listCount = 0;
};
std::vector<Kept> kept(1);  // 0 is no block

// A block drawn from its own buffer rather than joined to a batch: large
// enough that the upload it saves outweighs a draw call.
const int keepOnWebGL = 2048;

bool plainState(GLenum mode) {
    const State& s = state();
    const bool lines = mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP;
    const bool polys = mode >= GL_TRIANGLES;
    return !(lines && specialLines()) && !(polys && (s.polygonMode[0] != GL_FILL || s.polygonMode[1] != GL_FILL));
}

}  // namespace

// ---- The interface ---------------------------------------------------------------

void flushBatch() {
    if (batch.count == 0) return;
    const int count = batch.count;
    batch.count = 0;
    if (!submit) return;
    prepare(batch.features, batch.mode == GL_TRIANGLES && !(batch.features & LINE), batch.serial, batch.matrices);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, stream);
    emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(batch.used * sizeof(float)), batch.data.data(),
                            GL_STREAM_DRAW);
    pointAttributes(batch.layout, 0);
    emscripten_glDrawArrays(batch.mode, 0, count);
    ++drawCalls;
}

void drawBlock(GLenum mode, const Vertex* v, int n) {
    if (n <= 0) return;
    if (renderMode() != GL_RENDER) return feedbackBlock(mode, v, n);
    const State& s = state();
    switch (mode) {
    case GL_POINTS:
        open(GL_POINTS, features(POINTS, false, false));
        putAll(v, n);
        return;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        emitLines(mode, v, n);
        return;
    default:
        if (s.polygonMode[0] != GL_FILL || s.polygonMode[1] != GL_FILL)
            emitPolygonModes(mode, v, n);
        else
            emitTriangles(mode, v, n);
    }
}

unsigned keepBlock(GLenum mode, const Vertex* vertices, int count) {
    Kept k;
    k.mode = mode;
    k.vertices.assign(vertices, vertices + count);
    if (count >= keepOnWebGL) {
        // The list form in the full layout, uploaded once.
        if (!ready) setUp();
        Batch saved = std::move(batch);
        batch = Batch();
        batch.layout = {false, false};
        if (mode == GL_LINES || mode == GL_LINE_STRIP || mode == GL_LINE_LOOP) {
            k.listMode = GL_LINES;
            for (int i = 0; i + 1 < count; i += mode == GL_LINES ? 2 : 1) put(vertices[i]), put(vertices[i + 1]);
            if (mode == GL_LINE_LOOP && count > 2) put(vertices[count - 1]), put(vertices[0]);
        } else if (mode == GL_POINTS) {
            k.listMode = GL_POINTS;
            for (int i = 0; i < count; ++i) put(vertices[i]);
        } else {
            // emitTriangles' order, without opening a batch.
            Polygons polys;
            polygonsOf(mode, count, polys);
            for (size_t p = 0; p + 1 < polys.start.size(); ++p) {
                const int* idx = polys.index.data() + polys.start[p];
                const int m = polys.start[p + 1] - polys.start[p];
                // Rotated so that every triangle ends on the provoking vertex.
                int first = 0;
                while (idx[first] != polys.provoking[p]) ++first;
                for (int i = 1; i + 1 < m; ++i)
                    put(vertices[idx[(first + i) % m]]), put(vertices[idx[(first + i + 1) % m]]), put(vertices[idx[first]]);
            }
        }
        k.listCount = batch.count;
        emscripten_glGenBuffers(1, &k.buffer);
        emscripten_glBindBuffer(GL_ARRAY_BUFFER, k.buffer);
        emscripten_glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(batch.used * sizeof(float)), batch.data.data(),
                                GL_STATIC_DRAW);
        batch = std::move(saved);
    }
    kept.push_back(std::move(k));
    return unsigned(kept.size() - 1);
}

void drawKept(unsigned id, GLenum mode, int count) {
    (void)mode, (void)count;
    if (id == 0 || id >= kept.size()) return;
    const Kept& k = kept[id];
    if (k.buffer == 0 || !plainState(k.mode) || renderMode() != GL_RENDER) {
        drawBlock(k.mode, k.vertices.data(), int(k.vertices.size()));
        return;
    }
    flushBatch();
    if (!submit) return;
    const Class cls = k.listMode == GL_POINTS ? POINTS : k.listMode == GL_LINES ? LINES : TRIANGLES;
    prepare(features(cls, false, false), cls == TRIANGLES, state().serial, currentMatrices());
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, k.buffer);
    pointAttributes({false, false}, 0);
    emscripten_glDrawArrays(k.listMode, 0, k.listCount);
    ++drawCalls;
}

void uploadTexture(Texture& t, int level, int x, int y, int w, int h, const unsigned char* rgba, bool whole) {
    flushBatch();
    if (!ready) setUp();
    if (t.webgl == 0) {
        GLuint id = 0;
        emscripten_glGenTextures(1, &id);
        t.webgl = id;
    }
    emscripten_glActiveTexture(GL_TEXTURE0);
    emscripten_glBindTexture(GL_TEXTURE_2D, boundWebGL = t.webgl);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (whole)
        emscripten_glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    else
        emscripten_glTexSubImage2D(GL_TEXTURE_2D, level, x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void freeTexture(Texture& t) {
    if (t.webgl == 0) return;
    flushBatch();
    GLuint id = t.webgl;
    emscripten_glDeleteTextures(1, &id);
    sentParams.erase(t.webgl);
    if (boundWebGL == t.webgl) boundWebGL = 0;
    t.webgl = 0;
}

void clearBuffers(GLbitfield mask) {
    flushBatch();
    if (!submit) return;
    if (!ready) setUp();
    const State& s = state();
    applyFragmentOps();
    if (mask & GL_COLOR_BUFFER_BIT) emscripten_glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
    if (mask & GL_DEPTH_BUFFER_BIT) emscripten_glClearDepthf(s.clearDepth);
    if (mask & GL_STENCIL_BUFFER_BIT) emscripten_glClearStencil(s.clearStencil);
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void readPixels(int x, int y, int w, int h, unsigned char* rgba) {
    flushBatch();
    if (w <= 0 || h <= 0) return;
    const float r = pixelRatio;
    if (r == 1) {
        emscripten_glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return;
    }
    // Each CSS pixel is read at its centre in the device-resolution buffer.
    const int x0 = int(std::floor((x + 0.5f) * r)), y0 = int(std::floor((y + 0.5f) * r));
    const int x1 = int(std::floor((x + w - 0.5f) * r)), y1 = int(std::floor((y + h - 0.5f) * r));
    const int dw = x1 - x0 + 1, dh = y1 - y0 + 1;
    std::vector<unsigned char> device(size_t(dw) * size_t(dh) * 4);
    emscripten_glReadPixels(x0, y0, dw, dh, GL_RGBA, GL_UNSIGNED_BYTE, device.data());
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const int dx = int(std::floor((x + i + 0.5f) * r)) - x0, dy = int(std::floor((y + j + 0.5f) * r)) - y0;
            std::memcpy(rgba + (size_t(j) * size_t(w) + size_t(i)) * 4, device.data() + (size_t(dy) * size_t(dw) + size_t(dx)) * 4, 4);
        }
}

GLuint linkProgram(const std::string& defines, const char* vertex, const char* fragment) {
    if (!ready) setUp();
    return link(defines, vertex, fragment);
}

void windowPass(GLuint program, int& width, int& height, PassOps ops) {
    flushBatch();
    if (!ready) setUp();
    emscripten_webgl_get_drawing_buffer_size(emscripten_webgl_get_current_context(), &width, &height);
    const GLint whole[4] = {0, 0, width, height};
    applyFragmentOps();
    if (ops != PassOps::All) cap(0, false), cap(1, false), cap(5, false);
    if (ops == PassOps::None) {
        cap(4, false), cap(6, false);
        if (fixed.colorMask != 15) emscripten_glColorMask(1, 1, 1, 1), fixed.colorMask = 15;
    }
    viewportTo(whole);
    depthRangeTo(0, 1);
    cap(2, false);
    cap(3, false);
    current = nullptr;
    emscripten_glUseProgram(program);
}

void rasterFog(float c[4]) {
    const State& s = state();
    if (!s.fog) return;
    const float d = std::fabs(s.rasterDistance);
    float f = s.fogMode == GL_LINEAR ? (s.fogEnd - d) / (s.fogEnd - s.fogStart)
              : s.fogMode == GL_EXP  ? std::exp(-s.fogDensity * d)
                                     : std::exp(-(s.fogDensity * d) * (s.fogDensity * d));
    f = std::min(std::max(f, 0.0f), 1.0f);
    for (int k = 0; k < 3; ++k) c[k] = f * c[k] + (1 - f) * s.fogColor[k];
}

void forgetFragmentOps() { fixed = Fixed(); }

void sendAlphaTest(GLuint program) {
    const State& s = state();
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "uAlphaFunc"),
                           s.alphaTest ? int(s.alphaFunc - GL_NEVER) : 7);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(program, "uAlphaRef"),
                           std::min(std::max(s.alphaRef, 0.0f), 1.0f));
}

void drawWindowQuad(GLuint program, float x0, float y0, float x1, float y1, float z) {
    static GLuint corners = 0;
    if (!corners) {
        emscripten_glGenBuffers(1, &corners);
        emscripten_glBindBuffer(GL_ARRAY_BUFFER, corners);
        const float quad[8] = {0, 0, 1, 0, 0, 1, 1, 1};
        emscripten_glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    }
    emscripten_glUniform4f(emscripten_glGetUniformLocation(program, "uRect"), x0, y0, x1, y1);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(program, "uZ"), z);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, corners);
    for (GLuint a = 1; a < 7; ++a) emscripten_glDisableVertexAttribArray(a);
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    emscripten_glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    ++drawCalls;
}

void drawBitmap(float x, float y, int w, int h, const unsigned char* coverage, const float color[4], float z) {
    flushBatch();
    if (!submit || w <= 0 || h <= 0) return;
    if (!ready) setUp();
    static GLuint prog = 0, bits = 0;
    if (!prog) {
        prog = linkProgram("", bitmapVertexSource, bitmapFragmentSource);
        emscripten_glGenTextures(1, &bits);
    }
    // Fog is the same over the whole bitmap: the raster position's distance.
    float c[4] = {color[0], color[1], color[2], color[3]};
    rasterFog(c);
    emscripten_glActiveTexture(GL_TEXTURE1);
    emscripten_glBindTexture(GL_TEXTURE_2D, bits);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_R8UI, w, h, 0, GL_RED_INTEGER, GL_UNSIGNED_BYTE, coverage);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glActiveTexture(GL_TEXTURE0);
    // The bitmap is placed in the window, whatever the viewport.
    int bw = 0, bh = 0;
    windowPass(prog, bw, bh);
    const float r = pixelRatio;
    const float x0 = x * r, y0 = y * r, x1 = (x + float(w)) * r, y1 = (y + float(h)) * r;
    emscripten_glUniform2f(emscripten_glGetUniformLocation(prog, "uOrigin"), x0, y0);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(prog, "uRatio"), r);
    emscripten_glUniform4fv(emscripten_glGetUniformLocation(prog, "uColor"), 1, c);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(prog, "uBits"), 1);
    sendAlphaTest(prog);
    drawWindowQuad(prog, x0 / float(bw) * 2 - 1, y0 / float(bh) * 2 - 1, x1 / float(bw) * 2 - 1, y1 / float(bh) * 2 - 1,
                   z * 2 - 1);
}

}  // namespace zw

extern "C" EMSCRIPTEN_KEEPALIVE void zwFlush() {
    zw::flushScheduled = false;
    zw::flushBatch();
}

// The WebGL draw calls made so far (the benchmark page counts them per frame).
extern "C" EMSCRIPTEN_KEEPALIVE unsigned zwDrawCalls() { return zw::drawCalls; }
