// OpenGL 1.x state calls on WebGL: capabilities, light and material
// parameters, the per-fragment state WebGL keeps itself (blending, depth test,
// face orientation, viewport, clearing), and the glGet queries. Lighting and
// colour material are emulated in the shader (webgl.cpp) from what is kept here.
#include <GL/gl.h>
#include <webgl/webgl1.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "platform/web/glState.h"

namespace zw {

static void set4(float* to, float a, float b, float c, float d) {
    to[0] = a, to[1] = b, to[2] = c, to[3] = d;
}

// GL's start values (OpenGL 1.1, tables 6.5 to 6.22).
static State makeState() {
    State s{};
    s.modelview.assign(1, identity());
    s.projection.assign(1, identity());
    s.texture.assign(1, identity());
    s.matrixMode = GL_MODELVIEW;
    set4(s.color, 1, 1, 1, 1);
    s.normal[0] = 0, s.normal[1] = 0, s.normal[2] = 1;
    set4(s.tex, 0, 0, 0, 1);
    s.edgeFlag = true;
    s.index = 1;
    set4(s.rasterPos, 0, 0, 0, 1);
    set4(s.rasterColor, 1, 1, 1, 1);
    set4(s.rasterTex, 0, 0, 0, 1);
    s.rasterDistance = 0;
    s.rasterValid = true;
    s.rasterIndex = 1;
    // Every capability is off but dithering.
    s.dither = true;
    for (int i = 0; i < ZW_LIGHTS; ++i) {
        Light& l = s.light[i];
        set4(l.ambient, 0, 0, 0, 1);
        // Light 0 is white; the others are dark until set.
        if (i == 0) {
            set4(l.diffuse, 1, 1, 1, 1);
            set4(l.specular, 1, 1, 1, 1);
        } else {
            set4(l.diffuse, 0, 0, 0, 1);
            set4(l.specular, 0, 0, 0, 1);
        }
        set4(l.position, 0, 0, 1, 0);
        l.spotDirection[0] = 0, l.spotDirection[1] = 0, l.spotDirection[2] = -1;
        l.spotExponent = 0;
        l.spotCutoff = 180;
        l.attenuation[0] = 1, l.attenuation[1] = 0, l.attenuation[2] = 0;
    }
    for (Material& m : s.material) {
        set4(m.ambient, 0.2f, 0.2f, 0.2f, 1);
        set4(m.diffuse, 0.8f, 0.8f, 0.8f, 1);
        set4(m.specular, 0, 0, 0, 1);
        set4(m.emission, 0, 0, 0, 1);
        m.shininess = 0;
        m.colorIndexes[0] = 0, m.colorIndexes[1] = 1, m.colorIndexes[2] = 1;
    }
    set4(s.modelAmbient, 0.2f, 0.2f, 0.2f, 1);
    s.colorMaterialFace = GL_FRONT_AND_BACK;
    s.colorMaterialMode = GL_AMBIENT_AND_DIFFUSE;
    s.shadeModel = GL_SMOOTH;
    s.frontFace = GL_CCW;
    s.cullFaceMode = GL_BACK;
    s.polygonMode[0] = s.polygonMode[1] = GL_FILL;
    s.depthFunc = GL_LESS;
    s.depthMask = true;
    s.depthRange[0] = 0, s.depthRange[1] = 1;
    s.clearDepth = 1;
    s.blendSrc = GL_ONE;
    s.blendDst = GL_ZERO;
    s.alphaFunc = GL_ALWAYS;
    s.logicOp = GL_COPY;
    s.colorMask[0] = s.colorMask[1] = s.colorMask[2] = s.colorMask[3] = true;
    s.indexMask = ~0u;
    s.stencilFunc = GL_ALWAYS;
    s.stencilValueMask = s.stencilWriteMask = ~0u;
    s.stencilFail = s.stencilZFail = s.stencilZPass = GL_KEEP;
    s.lineWidth = s.pointSize = 1;
    s.lineStippleFactor = 1;
    s.lineStipplePattern = 0xffff;
    for (GLuint& row : s.polygonStippleRows) row = ~0u;
    s.fogMode = GL_EXP;
    s.fogDensity = 1;
    s.fogStart = 0;
    s.fogEnd = 1;
    s.texEnvMode = GL_MODULATE;
    for (int i = 0; i < 4; ++i) s.texGenMode[i] = GL_EYE_LINEAR;
    // s and t planes: the object's x and y.
    s.objectPlane[0][0] = s.eyePlane[0][0] = 1;
    s.objectPlane[1][1] = s.eyePlane[1][1] = 1;
    s.hintPerspective = s.hintPoint = s.hintLine = s.hintPolygon = s.hintFog = GL_DONT_CARE;
    s.zoom[0] = s.zoom[1] = 1;
    s.drawBuffer = s.readBuffer = GL_BACK;
    s.unpack.alignment = s.pack.alignment = 4;
    s.blockMode = GL_POINTS;
    s.error = GL_NO_ERROR;
    s.serial = s.matrixSerial = s.lightSerial = 1;
    return s;
}

float pixelRatio = 1;

void changing() {
    flushBatch();
    State& s = state();
    ++s.serial;
    ++s.lightSerial;
}

void notDrawn(const char* name) {
    static std::set<std::string> said;
    if (said.insert(name).second) std::fprintf(stderr, "%s: not drawn in a web page\n", name);
}

State& state() {
    static State s = makeState();
    return s;
}

void setError(GLenum e) {
    if (state().error == GL_NO_ERROR) state().error = e;
}

void trackColorMaterial() {
    State& s = state();
    if (!s.colorMaterial) return;
    for (int face = 0; face < 2; ++face) {
        const GLenum want = face == 0 ? GL_FRONT : GL_BACK;
        if (s.colorMaterialFace != GL_FRONT_AND_BACK && s.colorMaterialFace != want) continue;
        Material& m = s.material[face];
        const GLenum mode = s.colorMaterialMode;
        if (mode == GL_AMBIENT || mode == GL_AMBIENT_AND_DIFFUSE) std::memcpy(m.ambient, s.color, sizeof m.ambient);
        if (mode == GL_DIFFUSE || mode == GL_AMBIENT_AND_DIFFUSE) std::memcpy(m.diffuse, s.color, sizeof m.diffuse);
        if (mode == GL_SPECULAR) std::memcpy(m.specular, s.color, sizeof m.specular);
        if (mode == GL_EMISSION) std::memcpy(m.emission, s.color, sizeof m.emission);
    }
    ++s.lightSerial;
}

// The flag behind a capability, and whether WebGL applies it itself; null for
// a capability the layer does not know.
static bool* capability(GLenum cap, bool* passOn) {
    State& s = state();
    *passOn = false;
    if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + ZW_LIGHTS) return &s.lightOn[cap - GL_LIGHT0];
    switch (cap) {
    case GL_LIGHTING: return &s.lighting;
    case GL_COLOR_MATERIAL: return &s.colorMaterial;
    case GL_NORMALIZE: return &s.normalize;
    case GL_RESCALE_NORMAL: return &s.rescaleNormal;
    // Texturing and evaluators are accepted and recorded: nothing the
    // framework draws binds a texture or evaluates a map.
    case GL_TEXTURE_2D: return &s.texture2D;
    case GL_AUTO_NORMAL: return &s.autoNormal;
    case GL_LINE_SMOOTH: return &s.lineSmooth;
    case GL_POINT_SMOOTH: return &s.pointSmooth;
    case GL_BLEND: *passOn = true; return &s.blend;
    case GL_DEPTH_TEST: *passOn = true; return &s.depthTest;
    case GL_CULL_FACE: *passOn = true; return &s.cullFace;
    case GL_POLYGON_OFFSET_FILL: *passOn = true; return &s.offsetFill;
    default: return nullptr;
    }
}

static void enable(GLenum cap, bool on) {
    State& s = state();
    if (s.inBlock) {
        setError(GL_INVALID_OPERATION);
        return;
    }
    bool passOn;
    bool* flag = capability(cap, &passOn);
    if (!flag) {
        setError(GL_INVALID_ENUM);
        return;
    }
    *flag = on;
    if (passOn) {
        if (on)
            emscripten_glEnable(cap);
        else
            emscripten_glDisable(cap);
    }
    if (cap == GL_COLOR_MATERIAL && on) trackColorMaterial();
    ++s.lightSerial;
}

static Material* faces(GLenum face, int* count) {
    State& s = state();
    *count = 1;
    switch (face) {
    case GL_FRONT: return &s.material[0];
    case GL_BACK: return &s.material[1];
    case GL_FRONT_AND_BACK: *count = 2; return &s.material[0];
    default: setError(GL_INVALID_ENUM); return nullptr;
    }
}

// How many values a light or material parameter takes.
static int paramSize(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT: case GL_DIFFUSE: case GL_SPECULAR: case GL_POSITION: case GL_EMISSION:
    case GL_AMBIENT_AND_DIFFUSE: case GL_LIGHT_MODEL_AMBIENT:
        return 4;
    case GL_SPOT_DIRECTION: return 3;
    default: return 1;
    }
}

// ---- The attribute stack ---------------------------------------------------------

struct Saved {
    GLbitfield mask;
    State state;
};
static std::vector<Saved> attribStack;

// WebGL's own copy of the state it applies, after a pop changed the layer's.
static void resync() {
    const State& s = state();
    const struct {
        GLenum cap;
        bool on;
    } caps[] = {{GL_BLEND, s.blend}, {GL_DEPTH_TEST, s.depthTest}, {GL_CULL_FACE, s.cullFace},
                {GL_POLYGON_OFFSET_FILL, s.offsetFill}};
    for (const auto& c : caps) {
        if (c.on)
            emscripten_glEnable(c.cap);
        else
            emscripten_glDisable(c.cap);
    }
    emscripten_glBlendFunc(s.blendSrc, s.blendDst);
    emscripten_glDepthFunc(s.depthFunc);
    emscripten_glFrontFace(s.frontFace);
    emscripten_glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
    emscripten_glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    emscripten_glPolygonOffset(s.offsetFactor, s.offsetUnits);
}

static void restore(GLbitfield mask, const State& from) {
    State& s = state();
    if (mask & GL_CURRENT_BIT) {
        std::memcpy(s.color, from.color, sizeof s.color);
        std::memcpy(s.normal, from.normal, sizeof s.normal);
        std::memcpy(s.tex, from.tex, sizeof s.tex);
    }
    if (mask & (GL_ENABLE_BIT | GL_LIGHTING_BIT)) {
        s.lighting = from.lighting;
        s.colorMaterial = from.colorMaterial;
        std::memcpy(s.lightOn, from.lightOn, sizeof s.lightOn);
    }
    if (mask & (GL_ENABLE_BIT | GL_TRANSFORM_BIT)) s.normalize = from.normalize, s.rescaleNormal = from.rescaleNormal;
    if (mask & GL_ENABLE_BIT) {
        s.texture2D = from.texture2D, s.autoNormal = from.autoNormal;
        s.lineSmooth = from.lineSmooth, s.pointSmooth = from.pointSmooth;
    }
    if (mask & (GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT)) s.blend = from.blend;
    if (mask & (GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT)) s.depthTest = from.depthTest;
    if (mask & (GL_ENABLE_BIT | GL_POLYGON_BIT)) s.cullFace = from.cullFace, s.offsetFill = from.offsetFill;
    if (mask & GL_LIGHTING_BIT) {
        std::memcpy(s.light, from.light, sizeof s.light);
        std::memcpy(s.material, from.material, sizeof s.material);
        std::memcpy(s.modelAmbient, from.modelAmbient, sizeof s.modelAmbient);
        s.twoSide = from.twoSide;
        s.colorMaterialFace = from.colorMaterialFace, s.colorMaterialMode = from.colorMaterialMode;
        s.shadeModel = from.shadeModel;
    }
    if (mask & GL_COLOR_BUFFER_BIT) {
        s.blendSrc = from.blendSrc, s.blendDst = from.blendDst;
        std::memcpy(s.clearColor, from.clearColor, sizeof s.clearColor);
    }
    if (mask & GL_DEPTH_BUFFER_BIT) s.depthFunc = from.depthFunc;
    if (mask & GL_POLYGON_BIT) {
        s.frontFace = from.frontFace;
        s.offsetFactor = from.offsetFactor, s.offsetUnits = from.offsetUnits;
    }
    if (mask & GL_VIEWPORT_BIT) std::memcpy(s.viewport, from.viewport, sizeof s.viewport);
    if (mask & GL_POINT_BIT) s.pointSize = from.pointSize, s.pointSmooth = from.pointSmooth;
    if (mask & GL_LINE_BIT) s.lineWidth = from.lineWidth, s.lineSmooth = from.lineSmooth;
    if (mask & GL_TRANSFORM_BIT) s.matrixMode = from.matrixMode;
    ++s.lightSerial;
    resync();
}

}  // namespace zw

using zw::state;

extern "C" {

void zwSetPixelRatio(double ratio) {
    if (!(ratio > 0) || ratio > 16) return;
    zw::changing();
    zw::pixelRatio = float(ratio);
}

void glEnable(GLenum cap) {
    if (zw::record([=] { glEnable(cap); })) zw::enable(cap, true);
}

void glDisable(GLenum cap) {
    if (zw::record([=] { glDisable(cap); })) zw::enable(cap, false);
}

GLboolean glIsEnabled(GLenum cap) {
    bool passOn;
    bool* flag = zw::capability(cap, &passOn);
    if (!flag) {
        zw::setError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    return *flag ? GL_TRUE : GL_FALSE;
}

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    float p[4] = {0, 0, 0, 0};
    for (int i = 0; i < zw::paramSize(pname); ++i) p[i] = params[i];
    if (!zw::record([=] { glLightfv(light, pname, p); })) return;
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + ZW_LIGHTS) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    zw::Light& l = state().light[light - GL_LIGHT0];
    switch (pname) {
    case GL_AMBIENT: std::memcpy(l.ambient, p, sizeof l.ambient); break;
    case GL_DIFFUSE: std::memcpy(l.diffuse, p, sizeof l.diffuse); break;
    case GL_SPECULAR: std::memcpy(l.specular, p, sizeof l.specular); break;
    case GL_POSITION: {
        // GL keeps the position in eye coordinates: transformed by the
        // model-view matrix current at this call.
        const zw::Mat& m = state().modelview.back();
        for (int r = 0; r < 4; ++r)
            l.position[r] = m.m[r] * p[0] + m.m[4 + r] * p[1] + m.m[8 + r] * p[2] + m.m[12 + r] * p[3];
        break;
    }
    case GL_CONSTANT_ATTENUATION: l.attenuation[0] = p[0]; break;
    case GL_LINEAR_ATTENUATION: l.attenuation[1] = p[0]; break;
    case GL_QUADRATIC_ATTENUATION: l.attenuation[2] = p[0]; break;
    default: zw::setError(GL_INVALID_ENUM); return;
    }
    ++state().lightSerial;
}

void glLightf(GLenum light, GLenum pname, GLfloat param) { glLightfv(light, pname, &param); }

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    float p[4] = {0, 0, 0, 0};
    for (int i = 0; i < zw::paramSize(pname); ++i) p[i] = params[i];
    if (!zw::record([=] { glMaterialfv(face, pname, p); })) return;
    int n;
    zw::Material* m = zw::faces(face, &n);
    if (!m) return;
    for (int i = 0; i < n; ++i) {
        switch (pname) {
        case GL_AMBIENT: std::memcpy(m[i].ambient, p, sizeof p); break;
        case GL_DIFFUSE: std::memcpy(m[i].diffuse, p, sizeof p); break;
        case GL_AMBIENT_AND_DIFFUSE:
            std::memcpy(m[i].ambient, p, sizeof p);
            std::memcpy(m[i].diffuse, p, sizeof p);
            break;
        case GL_SPECULAR: std::memcpy(m[i].specular, p, sizeof p); break;
        case GL_EMISSION: std::memcpy(m[i].emission, p, sizeof p); break;
        case GL_SHININESS:
            if (p[0] < 0 || p[0] > 128) {
                zw::setError(GL_INVALID_VALUE);
                return;
            }
            m[i].shininess = p[0];
            break;
        default: zw::setError(GL_INVALID_ENUM); return;
        }
    }
    ++state().lightSerial;
}

void glMaterialf(GLenum face, GLenum pname, GLfloat param) { glMaterialfv(face, pname, &param); }

void glLightModelfv(GLenum pname, const GLfloat* params) {
    float p[4] = {0, 0, 0, 0};
    for (int i = 0; i < zw::paramSize(pname); ++i) p[i] = params[i];
    if (!zw::record([=] { glLightModelfv(pname, p); })) return;
    if (pname == GL_LIGHT_MODEL_AMBIENT)
        std::memcpy(state().modelAmbient, p, sizeof p);
    else if (pname == GL_LIGHT_MODEL_TWO_SIDE)
        state().twoSide = p[0] != 0;
    else if (pname == GL_LIGHT_MODEL_LOCAL_VIEWER)
        ;  // the eye stays at infinity: nothing the framework draws sets a local viewer
    else {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    ++state().lightSerial;
}

void glLightModeli(GLenum pname, GLint param) {
    const GLfloat p = GLfloat(param);
    glLightModelfv(pname, &p);
}

void glColorMaterial(GLenum face, GLenum mode) {
    if (!zw::record([=] { glColorMaterial(face, mode); })) return;
    const bool faceOk = face == GL_FRONT || face == GL_BACK || face == GL_FRONT_AND_BACK;
    const bool modeOk = mode == GL_AMBIENT || mode == GL_DIFFUSE || mode == GL_AMBIENT_AND_DIFFUSE ||
                        mode == GL_SPECULAR || mode == GL_EMISSION;
    if (!faceOk || !modeOk) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    state().colorMaterialFace = face;
    state().colorMaterialMode = mode;
    zw::trackColorMaterial();
}

void glShadeModel(GLenum mode) {
    if (!zw::record([=] { glShadeModel(mode); })) return;
    if (mode != GL_SMOOTH && mode != GL_FLAT) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    state().shadeModel = mode;
}

void glFrontFace(GLenum mode) {
    if (!zw::record([=] { glFrontFace(mode); })) return;
    if (mode != GL_CW && mode != GL_CCW) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    state().frontFace = mode;
    emscripten_glFrontFace(mode);
}

void glCullFace(GLenum mode) {
    if (zw::record([=] { glCullFace(mode); })) emscripten_glCullFace(mode);
}

void glDepthFunc(GLenum func) {
    if (!zw::record([=] { glDepthFunc(func); })) return;
    if (func < GL_NEVER || func > GL_ALWAYS) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    state().depthFunc = func;
    emscripten_glDepthFunc(func);
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    if (!zw::record([=] { glBlendFunc(sfactor, dfactor); })) return;
    state().blendSrc = sfactor;
    state().blendDst = dfactor;
    emscripten_glBlendFunc(sfactor, dfactor);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    if (!zw::record([=] { glClearColor(r, g, b, a); })) return;
    zw::set4(state().clearColor, r, g, b, a);
    emscripten_glClearColor(r, g, b, a);
}

void glClear(GLbitfield mask) {
    if (!zw::record([=] { glClear(mask); })) return;
    if (state().inBlock) {
        zw::setError(GL_INVALID_OPERATION);
        return;
    }
    if (zw::submit) emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    if (!zw::record([=] { glViewport(x, y, w, h); })) return;
    if (w < 0 || h < 0) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    GLint* v = state().viewport;
    v[0] = x, v[1] = y, v[2] = w, v[3] = h;
    emscripten_glViewport(x, y, w, h);
}

// A line width or point size: positive, or GL_INVALID_VALUE and no change.
static void setSize(float* to, GLfloat size) {
    if (size > 0)
        *to = size;
    else
        zw::setError(GL_INVALID_VALUE);
}

void glLineWidth(GLfloat width) {
    // WebGL draws only one-pixel lines; wider ones are drawn as triangles.
    if (zw::record([=] { glLineWidth(width); })) setSize(&state().lineWidth, width);
}

void glPointSize(GLfloat size) {
    if (zw::record([=] { glPointSize(size); })) setSize(&state().pointSize, size);
}

void glPolygonOffset(GLfloat factor, GLfloat units) {
    if (!zw::record([=] { glPolygonOffset(factor, units); })) return;
    state().offsetFactor = factor;
    state().offsetUnits = units;
    emscripten_glPolygonOffset(factor, units);
}

void glPushAttrib(GLbitfield mask) {
    if (!zw::record([=] { glPushAttrib(mask); })) return;
    if (zw::attribStack.size() >= 16) {
        zw::setError(GL_STACK_OVERFLOW);
        return;
    }
    zw::attribStack.push_back({mask, state()});
    // The copy needs no matrices, block or list of its own.
    zw::State& saved = zw::attribStack.back().state;
    saved.modelview.clear();
    saved.projection.clear();
    saved.block.clear();
}

void glPopAttrib(void) {
    if (!zw::record([] { glPopAttrib(); })) return;
    if (zw::attribStack.empty()) {
        zw::setError(GL_STACK_UNDERFLOW);
        return;
    }
    const zw::Saved saved = zw::attribStack.back();
    zw::attribStack.pop_back();
    zw::restore(saved.mask, saved.state);
}

void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid* pixels) {
    // WebGL reads RGBA bytes; that is what the framework's screen grabs use.
    if (format != GL_RGBA || type != GL_UNSIGNED_BYTE) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    emscripten_glReadPixels(x, y, w, h, format, type, pixels);
}

void glHint(GLenum target, GLenum mode) { (void)target, (void)mode; }

void glFlush(void) { emscripten_glFlush(); }
void glFinish(void) { emscripten_glFinish(); }

GLenum glGetError(void) {
    const GLenum e = state().error;
    state().error = GL_NO_ERROR;
    return e;
}

// ---- Queries ---------------------------------------------------------------------

// Every query answered in floats; the typed versions convert. Returns the
// number of values, 0 for a name the layer does not answer.
static int query(GLenum pname, float* out) {
    const zw::State& s = state();
    auto copy = [out](const float* from, int n) {
        for (int i = 0; i < n; ++i) out[i] = from[i];
        return n;
    };
    switch (pname) {
    case GL_MODELVIEW_MATRIX: return copy(s.modelview.back().m, 16);
    case GL_PROJECTION_MATRIX: return copy(s.projection.back().m, 16);
    case GL_MODELVIEW_STACK_DEPTH: out[0] = float(s.modelview.size()); return 1;
    case GL_PROJECTION_STACK_DEPTH: out[0] = float(s.projection.size()); return 1;
    case GL_MAX_MODELVIEW_STACK_DEPTH: case GL_MAX_PROJECTION_STACK_DEPTH: out[0] = ZW_STACK_DEPTH; return 1;
    case GL_MAX_LIGHTS: out[0] = ZW_LIGHTS; return 1;
    case GL_MATRIX_MODE: out[0] = float(s.matrixMode); return 1;
    case GL_VIEWPORT:
        for (int i = 0; i < 4; ++i) out[i] = float(s.viewport[i]);
        return 4;
    case GL_CURRENT_COLOR: return copy(s.color, 4);
    case GL_CURRENT_NORMAL: return copy(s.normal, 3);
    case GL_COLOR_CLEAR_VALUE: return copy(s.clearColor, 4);
    case GL_LIGHT_MODEL_AMBIENT: return copy(s.modelAmbient, 4);
    case GL_LIGHT_MODEL_TWO_SIDE: out[0] = s.twoSide; return 1;
    case GL_LINE_WIDTH: out[0] = s.lineWidth; return 1;
    case GL_POINT_SIZE: out[0] = s.pointSize; return 1;
    case GL_SHADE_MODEL: out[0] = float(s.shadeModel); return 1;
    case GL_POLYGON_OFFSET_FACTOR: out[0] = s.offsetFactor; return 1;
    case GL_POLYGON_OFFSET_UNITS: out[0] = s.offsetUnits; return 1;
    case GL_ATTRIB_STACK_DEPTH: out[0] = float(zw::attribStack.size()); return 1;
    case GL_FRONT_FACE: out[0] = float(s.frontFace); return 1;
    case GL_DEPTH_FUNC: out[0] = float(s.depthFunc); return 1;
    case GL_BLEND_SRC: out[0] = float(s.blendSrc); return 1;
    case GL_BLEND_DST: out[0] = float(s.blendDst); return 1;
    case GL_COLOR_MATERIAL_FACE: out[0] = float(s.colorMaterialFace); return 1;
    case GL_COLOR_MATERIAL_PARAMETER: out[0] = float(s.colorMaterialMode); return 1;
    default: {
        // A capability answers whether it is on.
        bool passOn;
        const bool* flag = zw::capability(pname, &passOn);
        if (!flag) {
            zw::setError(GL_INVALID_ENUM);
            return 0;
        }
        out[0] = *flag ? 1.0f : 0.0f;
        return 1;
    }
    }
}

void glGetFloatv(GLenum pname, GLfloat* params) { query(pname, params); }

void glGetDoublev(GLenum pname, GLdouble* params) {
    float v[16];
    const int n = query(pname, v);
    for (int i = 0; i < n; ++i) params[i] = v[i];
}

void glGetIntegerv(GLenum pname, GLint* params) {
    float v[16];
    const int n = query(pname, v);
    for (int i = 0; i < n; ++i) params[i] = GLint(v[i]);
}

void glGetBooleanv(GLenum pname, GLboolean* params) {
    float v[16];
    const int n = query(pname, v);
    for (int i = 0; i < n; ++i) params[i] = v[i] != 0 ? GL_TRUE : GL_FALSE;
}

}  // extern "C"
