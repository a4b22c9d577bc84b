// OpenGL 1.1's server and client state on the CPU, driven by the one state
// table (glStateTable.h): capabilities, the parameter calls, the glGet
// queries with GL's conversions, the attribute stacks, and the calls that set
// lights, materials, clip planes, texture coordinate generation and the
// stipple. The WebGL side reads what is kept here when it draws (every
// change first draws what is batched: changing()).
#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <webgl/webgl1.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/web/glState.h"
#include "platform/web/glStateTable.h"

namespace zw {

static void set4(float* to, float a, float b, float c, float d) {
    to[0] = a, to[1] = b, to[2] = c, to[3] = d;
}

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
    s.grid1Domain[1] = s.grid2Domain[1] = s.grid2Domain[3] = 1;
    s.grid1Segments = s.grid2Segments[0] = s.grid2Segments[1] = 1;
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
    for (float& k : s.pixelScale) k = 1;
    s.drawBuffer = s.readBuffer = GL_BACK;
    s.unpack.alignment = s.pack.alignment = 4;
    // Arrays of four floats, but normals (three), indices and edge flags (one).
    const GLint arraySizes[6] = {4, 3, 4, 1, 4, 1};
    for (int i = 0; i < 6; ++i) s.arraySize[i] = arraySizes[i], s.arrayType[i] = GL_FLOAT;
    s.arrayType[ARRAY_EDGE_FLAG] = GL_UNSIGNED_BYTE;  // GLboolean, which glGet does not ask
    s.blockMode = GL_POINTS;
    s.error = GL_NO_ERROR;
    s.serial = s.matrixSerial = s.lightSerial = 1;
    return s;
}

State& state() {
    static State s = makeState();
    return s;
}

void setError(GLenum e) {
    if (state().error == GL_NO_ERROR) state().error = e;
}

bool outsideBlock() {
    if (!state().inBlock) return true;
    setError(GL_INVALID_OPERATION);
    return false;
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

// The part of material `m` (face 0 front, 1 back) that colour material
// replaces by `color`.
static void colorInto(int face, const float color[4], Material& m) {
    const State& s = state();
    const GLenum want = face == 0 ? GL_FRONT : GL_BACK;
    if (s.colorMaterialFace != GL_FRONT_AND_BACK && s.colorMaterialFace != want) return;
    const GLenum mode = s.colorMaterialMode;
    if (mode == GL_AMBIENT || mode == GL_AMBIENT_AND_DIFFUSE) std::memcpy(m.ambient, color, sizeof m.ambient);
    if (mode == GL_DIFFUSE || mode == GL_AMBIENT_AND_DIFFUSE) std::memcpy(m.diffuse, color, sizeof m.diffuse);
    if (mode == GL_SPECULAR) std::memcpy(m.specular, color, sizeof m.specular);
    if (mode == GL_EMISSION) std::memcpy(m.emission, color, sizeof m.emission);
}

void trackColorMaterial() {
    State& s = state();
    if (!s.colorMaterial) return;
    for (int face = 0; face < 2; ++face) colorInto(face, s.color, s.material[face]);
    ++s.lightSerial;
}

Material vertexMaterial(int face, const float color[4]) {
    const State& s = state();
    Material m = s.material[face];
    if (s.colorMaterial) colorInto(face, color, m);
    return m;
}

// ---- The table -------------------------------------------------------------------

namespace {

enum class Kind { B, E, I, U, F, C, R };
enum class Check {
    Any, Box, Clamp01, ClampSigned, ShadeModel, Face, MaterialMode, Positive, NonNegative, StippleRepeat,
    Pattern16, FrontFace, PolygonMode, EnvMode, FogMode, CompareFunc, BlendSrc, BlendDst, LogicOp,
    DrawBuffer, ReadBuffer, StencilOp, HintMode, Alignment
};

typedef unsigned long long Groups;
constexpr Groups CURRENT = GL_CURRENT_BIT, POINT = GL_POINT_BIT, LINE = GL_LINE_BIT, POLYGON = GL_POLYGON_BIT,
                 POLYGON_STIPPLE = GL_POLYGON_STIPPLE_BIT, PIXEL_MODE = GL_PIXEL_MODE_BIT,
                 LIGHTING = GL_LIGHTING_BIT, FOG = GL_FOG_BIT, DEPTH = GL_DEPTH_BUFFER_BIT,
                 ACCUM = GL_ACCUM_BUFFER_BIT, STENCIL = GL_STENCIL_BUFFER_BIT, VIEWPORT = GL_VIEWPORT_BIT,
                 TRANSFORM = GL_TRANSFORM_BIT, ENABLE = GL_ENABLE_BIT, COLOR = GL_COLOR_BUFFER_BIT,
                 HINT = GL_HINT_BIT, EVAL = GL_EVAL_BIT, LIST = GL_LIST_BIT, TEXTURE = GL_TEXTURE_BIT,
                 SCISSOR = GL_SCISSOR_BIT;
// The client groups, above the server ones.
constexpr Groups CLIENT_PIXEL = Groups(GL_CLIENT_PIXEL_STORE_BIT) << 32,
                 CLIENT_ARRAY = Groups(GL_CLIENT_VERTEX_ARRAY_BIT) << 32;

struct Row {
    GLenum name;
    By by;
    Groups groups;
    Kind kind;
    Check check;
    unsigned size;  // bytes
    void* (*at)(State&);
};

#define ZW_MAKE_ROW(name, by, groups, kind, field, check)                                                     \
    {GLenum(name), By::by, Groups(groups) | (By::by == By::Enable ? ENABLE : 0), Kind::kind, Check::check,  \
     unsigned(sizeof(std::declval<State&>().field)), [](State& s) -> void* { return &s.field; }},

const Row rows[] = {ZW_STATE_ROWS(ZW_MAKE_ROW)};

unsigned kindSize(Kind k) {
    switch (k) {
    case Kind::B: return sizeof(bool);
    case Kind::E: return sizeof(GLenum);
    case Kind::I: return sizeof(GLint);
    case Kind::U: return sizeof(GLuint);
    case Kind::F: case Kind::C: return sizeof(float);
    default: return 1;
    }
}

int count(const Row& r) { return int(r.size / kindSize(r.kind)); }

const Row* find(GLenum name) {
    if (name == 0) return nullptr;
    for (const Row& r : rows)
        if (r.name == name) return &r;
    return nullptr;
}

double read(const Row& r, State& s, int i) {
    void* p = r.at(s);
    switch (r.kind) {
    case Kind::B: return static_cast<bool*>(p)[i] ? 1 : 0;
    case Kind::E: return static_cast<GLenum*>(p)[i];
    case Kind::I: return static_cast<GLint*>(p)[i];
    case Kind::U: return static_cast<GLuint*>(p)[i];
    case Kind::F: case Kind::C: return static_cast<float*>(p)[i];
    default: return 0;
    }
}

void write(const Row& r, State& s, int i, double v) {
    void* p = r.at(s);
    switch (r.kind) {
    case Kind::B: static_cast<bool*>(p)[i] = v != 0; break;
    case Kind::E: static_cast<GLenum*>(p)[i] = GLenum(v); break;
    case Kind::I: static_cast<GLint*>(p)[i] = GLint(std::lround(v)); break;
    case Kind::U: static_cast<GLuint*>(p)[i] = GLuint(GLint64(v)); break;
    case Kind::F: case Kind::C: static_cast<float*>(p)[i] = float(v); break;
    default: break;
    }
}

bool oneOf(double v, std::initializer_list<GLenum> allowed) {
    for (GLenum e : allowed)
        if (v == e) return true;
    return false;
}

// GL_NO_ERROR when v may be set as element i of a row checked so (v may be
// clamped as GL clamps it), else the error.
GLenum validate(Check c, double& v, int i) {
    auto enumIf = [](bool ok) { return ok ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_ENUM); };
    auto valueIf = [](bool ok) { return ok ? GLenum(GL_NO_ERROR) : GLenum(GL_INVALID_VALUE); };
    switch (c) {
    case Check::Any: return GL_NO_ERROR;
    case Check::Box: return valueIf(i < 2 || v >= 0);
    case Check::Clamp01: v = v < 0 ? 0 : v > 1 ? 1 : v; return GL_NO_ERROR;
    case Check::ClampSigned: v = v < -1 ? -1 : v > 1 ? 1 : v; return GL_NO_ERROR;
    case Check::ShadeModel: return enumIf(oneOf(v, {GL_SMOOTH, GL_FLAT}));
    case Check::Face: return enumIf(oneOf(v, {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK}));
    case Check::MaterialMode:
        return enumIf(oneOf(v, {GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_AMBIENT_AND_DIFFUSE}));
    case Check::Positive: return valueIf(v > 0);
    case Check::NonNegative: return valueIf(v >= 0);
    case Check::StippleRepeat: v = v < 1 ? 1 : v > 256 ? 256 : v; return GL_NO_ERROR;
    case Check::Pattern16: v = double(GLuint(GLint64(v)) & 0xffffu); return GL_NO_ERROR;
    case Check::FrontFace: return enumIf(oneOf(v, {GL_CW, GL_CCW}));
    case Check::PolygonMode: return enumIf(oneOf(v, {GL_POINT, GL_LINE, GL_FILL}));
    case Check::EnvMode: return enumIf(oneOf(v, {GL_MODULATE, GL_DECAL, GL_BLEND, GL_REPLACE}));
    case Check::FogMode: return enumIf(oneOf(v, {GL_LINEAR, GL_EXP, GL_EXP2}));
    case Check::CompareFunc: return enumIf(v >= GL_NEVER && v <= GL_ALWAYS && v == std::floor(v));
    case Check::BlendSrc:
        return enumIf(oneOf(v, {GL_ZERO, GL_ONE, GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA,
                                GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE}));
    case Check::BlendDst:
        return enumIf(oneOf(v, {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
                                GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA}));
    case Check::LogicOp: return enumIf(v >= GL_CLEAR && v <= GL_SET && v == std::floor(v));
    case Check::DrawBuffer:
        // The canvas has one front and one back buffer, no right or auxiliary ones.
        if (oneOf(v, {GL_NONE, GL_FRONT, GL_BACK, GL_LEFT, GL_FRONT_LEFT, GL_BACK_LEFT, GL_FRONT_AND_BACK}))
            return GL_NO_ERROR;
        return oneOf(v, {GL_RIGHT, GL_FRONT_RIGHT, GL_BACK_RIGHT, GL_AUX0, GL_AUX1, GL_AUX2, GL_AUX3})
                   ? GL_INVALID_OPERATION
                   : GL_INVALID_ENUM;
    case Check::ReadBuffer:
        if (oneOf(v, {GL_FRONT, GL_BACK, GL_LEFT, GL_FRONT_LEFT, GL_BACK_LEFT})) return GL_NO_ERROR;
        return oneOf(v, {GL_RIGHT, GL_FRONT_RIGHT, GL_BACK_RIGHT, GL_AUX0, GL_AUX1, GL_AUX2, GL_AUX3})
                   ? GL_INVALID_OPERATION
                   : GL_INVALID_ENUM;
    case Check::StencilOp: return enumIf(oneOf(v, {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT}));
    case Check::HintMode: return enumIf(oneOf(v, {GL_FASTEST, GL_NICEST, GL_DONT_CARE}));
    case Check::Alignment: return valueIf(oneOf(v, {1, 2, 4, 8}));
    }
    return GL_NO_ERROR;
}

// An integer colour component as GL maps it to [-1, 1].
double fromIntColor(double c) { return (2 * c + 1) / 4294967295.0; }

// Writes checked values; false (error set, nothing written) when one fails.
bool apply(std::vector<Assign> values, bool fromInt) {
    State& s = state();
    for (Assign& a : values) {
        const Row* r = find(a.name);
        if (!r || a.first + a.count > count(*r)) {
            setError(GL_INVALID_ENUM);
            return false;
        }
        for (int i = 0; i < a.count; ++i) {
            if (fromInt && r->kind == Kind::C) a.v[i] = fromIntColor(a.v[i]);
            const GLenum e = validate(r->check, a.v[i], a.first + i);
            if (e != GL_NO_ERROR) {
                setError(e);
                return false;
            }
        }
    }
    bool client = true;
    for (const Assign& a : values) client = client && find(a.name)->by == By::PixelStore;
    if (!client) changing();
    for (const Assign& a : values) {
        const Row* r = find(a.name);
        for (int i = 0; i < a.count; ++i) write(*r, s, a.first + i, a.v[i]);
    }
    return true;
}

}  // namespace

bool set(std::initializer_list<Assign> values, bool fromInt) {
    std::vector<Assign> list(values);
    // Client state is not compiled into lists, and may be set inside a block.
    const Row* first = list.empty() ? nullptr : find(list[0].name);
    const bool client = first && first->by == By::PixelStore;
    // Only an open list needs the call kept (and the copy it makes).
    if (!client && compilingList() && !record([=] { apply(list, fromInt); })) return false;
    if (!outsideBlock()) return false;
    return apply(list, fromInt);
}

bool setParam(By by, GLenum pname, const double* v, bool fromInt) {
    const Row* r = find(pname);
    if (!r || r->by != by) {
        // Checked when it runs, as any other call.
        if (by != By::PixelStore && !record([=] { setError(GL_INVALID_ENUM); })) return false;
        setError(GL_INVALID_ENUM);
        return false;
    }
    Assign a{pname, 0, count(*r), {0, 0, 0, 0}};
    for (int i = 0; i < a.count; ++i) a.v[i] = v[i];
    return set({a}, fromInt);
}

int getParam(By by, GLenum pname, double* out) {
    const Row* r = find(pname);
    if (!r || r->by != by) return 0;
    State& s = state();
    for (int i = 0; i < count(*r); ++i) out[i] = read(*r, s, i);
    return count(*r);
}

// ---- Capabilities ---------------------------------------------------------------

static void enable(GLenum cap, bool on, By by) {
    const Row* r = find(cap);
    if (!r || r->by != by) {
        setError(GL_INVALID_ENUM);
        return;
    }
    if (by == By::Enable && !outsideBlock()) return;
    State& s = state();
    if (read(*r, s, 0) == (on ? 1 : 0)) return;
    changing();
    write(*r, s, 0, on);
    if (cap == GL_COLOR_MATERIAL && on) trackColorMaterial();
}

// ---- The attribute stacks --------------------------------------------------------

namespace {

struct Saved {
    Groups mask;
    State state;
    TextureParams textures[2];
};
std::vector<Saved> attribStack, clientStack;

void push(std::vector<Saved>& stack, Groups mask) {
    if (stack.size() >= ZW_ATTRIB_STACK_DEPTH) {
        setError(GL_STACK_OVERFLOW);
        return;
    }
    stack.push_back({mask, state(), {}});
    if (mask & TEXTURE) saveTextureParams(stack.back().textures);
    // The copy needs no matrices or block of its own.
    State& saved = stack.back().state;
    saved.modelview.clear();
    saved.projection.clear();
    saved.texture.clear();
    saved.block.clear();
}

void pop(std::vector<Saved>& stack) {
    if (stack.empty()) {
        setError(GL_STACK_UNDERFLOW);
        return;
    }
    Saved saved = std::move(stack.back());
    stack.pop_back();
    State& s = state();
    changing();
    for (const Row& r : rows)
        if (r.groups & saved.mask) std::memcpy(r.at(s), r.at(saved.state), r.size);
    if (saved.mask & TEXTURE) restoreTextureParams(saved.textures);
}

}  // namespace

// ---- Queries ----------------------------------------------------------------------

// GL's implementation limits, with WebGL's texture size.
static int maxTextureSize() {
    static GLint size = 0;
    if (size == 0) {
        emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
        if (size <= 0) size = 2048;
    }
    return size;
}

int maxTexture() { return maxTextureSize(); }

// Every query answered in doubles, with the kind the conversions follow.
// Returns the number of values, 0 (GL_INVALID_ENUM) for a name GL does not have.
static int query(GLenum pname, double* out, Kind* kind) {
    State& s = state();
    *kind = Kind::F;
    auto matrix = [out](const Mat& m) {
        for (int i = 0; i < 16; ++i) out[i] = m.m[i];
        return 16;
    };
    auto one = [out, kind](double v, Kind k = Kind::I) {
        out[0] = v;
        *kind = k;
        return 1;
    };
    auto two = [out](double a, double b) {
        out[0] = a, out[1] = b;
        return 2;
    };
    switch (pname) {
    case GL_MODELVIEW_MATRIX: return matrix(s.modelview.back());
    case GL_PROJECTION_MATRIX: return matrix(s.projection.back());
    case GL_TEXTURE_MATRIX: return matrix(s.texture.back());
    case GL_MODELVIEW_STACK_DEPTH: return one(double(s.modelview.size()));
    case GL_PROJECTION_STACK_DEPTH: return one(double(s.projection.size()));
    case GL_TEXTURE_STACK_DEPTH: return one(double(s.texture.size()));
    case GL_MAX_MODELVIEW_STACK_DEPTH: case GL_MAX_PROJECTION_STACK_DEPTH: return one(ZW_STACK_DEPTH);
    case GL_MAX_TEXTURE_STACK_DEPTH: return one(ZW_TEXTURE_STACK_DEPTH);
    case GL_MAX_ATTRIB_STACK_DEPTH: case GL_MAX_CLIENT_ATTRIB_STACK_DEPTH: return one(ZW_ATTRIB_STACK_DEPTH);
    case GL_ATTRIB_STACK_DEPTH: return one(double(attribStack.size()));
    case GL_CLIENT_ATTRIB_STACK_DEPTH: return one(double(clientStack.size()));
    case GL_MAX_LIGHTS: return one(ZW_LIGHTS);
    case GL_MAX_CLIP_PLANES: return one(ZW_CLIP_PLANES);
    case GL_MAX_LIST_NESTING: return one(ZW_LIST_NESTING);
    case GL_MAX_TEXTURE_SIZE: return one(maxTextureSize());
    case GL_MAX_VIEWPORT_DIMS: *kind = Kind::I; return two(16384, 16384);
    case GL_MAX_EVAL_ORDER: return one(ZW_MAX_EVAL_ORDER);
    case GL_MAX_PIXEL_MAP_TABLE: return one(256);
    case GL_MAX_NAME_STACK_DEPTH: return one(ZW_NAME_STACK_DEPTH);
    case GL_SUBPIXEL_BITS: return one(4);
    case GL_RED_BITS: case GL_GREEN_BITS: case GL_BLUE_BITS: case GL_ALPHA_BITS: case GL_STENCIL_BITS: return one(8);
    case GL_DEPTH_BITS: return one(24);
    case GL_INDEX_BITS: case GL_AUX_BUFFERS: return one(0);
    case GL_ACCUM_RED_BITS: case GL_ACCUM_GREEN_BITS: case GL_ACCUM_BLUE_BITS: case GL_ACCUM_ALPHA_BITS:
        return one(accumBits);
    case GL_RGBA_MODE: case GL_DOUBLEBUFFER: return one(1, Kind::B);
    case GL_INDEX_MODE: case GL_STEREO: return one(0, Kind::B);
    case GL_POINT_SIZE_RANGE: case GL_LINE_WIDTH_RANGE: return two(1, 64);
    case GL_POINT_SIZE_GRANULARITY: case GL_LINE_WIDTH_GRANULARITY: return one(1, Kind::F);
    case GL_RENDER_MODE: return one(renderMode(), Kind::E);
    case GL_NAME_STACK_DEPTH: return one(nameStackDepth());
    case GL_PIXEL_MAP_I_TO_I_SIZE: case GL_PIXEL_MAP_S_TO_S_SIZE: case GL_PIXEL_MAP_I_TO_R_SIZE:
    case GL_PIXEL_MAP_I_TO_G_SIZE: case GL_PIXEL_MAP_I_TO_B_SIZE: case GL_PIXEL_MAP_I_TO_A_SIZE:
    case GL_PIXEL_MAP_R_TO_R_SIZE: case GL_PIXEL_MAP_G_TO_G_SIZE: case GL_PIXEL_MAP_B_TO_B_SIZE:
    case GL_PIXEL_MAP_A_TO_A_SIZE: return one(pixelMapSize(pname - GL_PIXEL_MAP_I_TO_I_SIZE + GL_PIXEL_MAP_I_TO_I));
    case GL_LIST_INDEX: return one(listIndex());
    case GL_LIST_MODE: return one(listMode(), Kind::E);
    default: break;
    }
    const Row* r = find(pname);
    if (!r || r->by == By::TexEnv || r->by == By::Push) {
        setError(GL_INVALID_ENUM);
        return 0;
    }
    *kind = r->kind;
    for (int i = 0; i < count(*r); ++i) out[i] = read(*r, s, i);
    return count(*r);
}

// A double as glGetIntegerv gives it: colours, normals and depths mapped
// linearly over the integer range, the rest rounded.
static GLint toInt(double v, Kind kind) {
    if (kind == Kind::C) {
        const double i = std::floor((4294967295.0 * v - 1) / 2 + 0.5);
        return GLint(i < -2147483648.0 ? -2147483648.0 : i > 2147483647.0 ? 2147483647.0 : i);
    }
    if (kind == Kind::U) return GLint(GLuint(GLint64(v)));
    const double r = std::floor(v + 0.5);
    return GLint(r < -2147483648.0 ? -2147483648.0 : r > 2147483647.0 ? 2147483647.0 : r);
}

}  // namespace zw

using zw::state;

extern "C" {

void zwSetPixelRatio(double ratio) {
    if (!(ratio > 0) || ratio > 16) return;
    zw::changing();
    zw::pixelRatio = float(ratio);
}

// GL's viewport and scissor box start as the window: glut.js calls this
// when it makes the canvas.
EMSCRIPTEN_KEEPALIVE void zwWindowCreated(int width, int height) {
    zw::State& s = state();
    s.viewport[0] = s.viewport[1] = s.scissor[0] = s.scissor[1] = 0;
    s.viewport[2] = s.scissor[2] = width;
    s.viewport[3] = s.scissor[3] = height;
    zw::changing();
}

void glEnable(GLenum cap) {
    if (zw::record([=] { glEnable(cap); })) zw::enable(cap, true, zw::By::Enable);
}

void glDisable(GLenum cap) {
    if (zw::record([=] { glDisable(cap); })) zw::enable(cap, false, zw::By::Enable);
}

void glEnableClientState(GLenum array) { zw::enable(array, true, zw::By::Client); }
void glDisableClientState(GLenum array) { zw::enable(array, false, zw::By::Client); }

GLboolean glIsEnabled(GLenum cap) {
    const zw::Row* r = zw::find(cap);
    if (!r || (r->by != zw::By::Enable && r->by != zw::By::Client)) {
        zw::setError(GL_INVALID_ENUM);
        return GL_FALSE;
    }
    if (!zw::outsideBlock()) return GL_FALSE;
    return zw::read(*r, state(), 0) != 0 ? GL_TRUE : GL_FALSE;
}

void glGetDoublev(GLenum pname, GLdouble* params) {
    if (!zw::outsideBlock()) return;
    double v[16];
    zw::Kind kind;
    const int n = zw::query(pname, v, &kind);
    for (int i = 0; i < n; ++i) params[i] = v[i];
}

void glGetFloatv(GLenum pname, GLfloat* params) {
    if (!zw::outsideBlock()) return;
    double v[16];
    zw::Kind kind;
    const int n = zw::query(pname, v, &kind);
    for (int i = 0; i < n; ++i) params[i] = GLfloat(v[i]);
}

void glGetIntegerv(GLenum pname, GLint* params) {
    if (!zw::outsideBlock()) return;
    double v[16];
    zw::Kind kind;
    const int n = zw::query(pname, v, &kind);
    for (int i = 0; i < n; ++i) params[i] = zw::toInt(v[i], kind);
}

void glGetBooleanv(GLenum pname, GLboolean* params) {
    if (!zw::outsideBlock()) return;
    double v[16];
    zw::Kind kind;
    const int n = zw::query(pname, v, &kind);
    for (int i = 0; i < n; ++i) params[i] = v[i] != 0 ? GL_TRUE : GL_FALSE;
}

GLenum glGetError(void) {
    // Inside glBegin/glEnd it is itself an error, and answers nothing.
    if (!zw::outsideBlock()) return GL_NO_ERROR;
    const GLenum e = state().error;
    state().error = GL_NO_ERROR;
    return e;
}

const GLubyte* glGetString(GLenum name) {
    const char* s = nullptr;
    switch (name) {
    case GL_VENDOR: s = "zou"; break;
    case GL_RENDERER: s = "zou GL 1.1 layer on WebGL 2"; break;
    case GL_VERSION: s = "1.1 zou web"; break;
    case GL_EXTENSIONS: s = ""; break;
    default: zw::setError(GL_INVALID_ENUM); return nullptr;
    }
    if (!zw::outsideBlock()) return nullptr;
    return reinterpret_cast<const GLubyte*>(s);
}

void glPushAttrib(GLbitfield mask) {
    if (zw::record([=] { glPushAttrib(mask); }) && zw::outsideBlock()) zw::push(zw::attribStack, mask);
}

void glPopAttrib(void) {
    if (zw::record([] { glPopAttrib(); }) && zw::outsideBlock()) zw::pop(zw::attribStack);
}

void glPushClientAttrib(GLbitfield mask) {
    if (zw::outsideBlock()) zw::push(zw::clientStack, zw::Groups(mask) << 32);
}
void glPopClientAttrib(void) {
    if (zw::outsideBlock()) zw::pop(zw::clientStack);
}

// ---- Calls that set rows ------------------------------------------------------------

void glShadeModel(GLenum mode) { zw::set({{GL_SHADE_MODEL, 0, 1, {double(mode)}}}); }
void glFrontFace(GLenum mode) { zw::set({{GL_FRONT_FACE, 0, 1, {double(mode)}}}); }
void glCullFace(GLenum mode) { zw::set({{GL_CULL_FACE_MODE, 0, 1, {double(mode)}}}); }
void glDepthFunc(GLenum func) { zw::set({{GL_DEPTH_FUNC, 0, 1, {double(func)}}}); }
void glDepthMask(GLboolean flag) { zw::set({{GL_DEPTH_WRITEMASK, 0, 1, {double(flag != 0)}}}); }
void glDepthRange(GLclampd zNear, GLclampd zFar) { zw::set({{GL_DEPTH_RANGE, 0, 2, {zNear, zFar}}}); }
void glClearDepth(GLclampd depth) { zw::set({{GL_DEPTH_CLEAR_VALUE, 0, 1, {depth}}}); }
void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    zw::set({{GL_BLEND_SRC, 0, 1, {double(sfactor)}}, {GL_BLEND_DST, 0, 1, {double(dfactor)}}});
}
void glAlphaFunc(GLenum func, GLclampf ref) {
    zw::set({{GL_ALPHA_TEST_FUNC, 0, 1, {double(func)}}, {GL_ALPHA_TEST_REF, 0, 1, {ref}}});
}
void glLogicOp(GLenum opcode) { zw::set({{GL_LOGIC_OP_MODE, 0, 1, {double(opcode)}}}); }
void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    zw::set({{GL_COLOR_WRITEMASK, 0, 4, {double(r != 0), double(g != 0), double(b != 0), double(a != 0)}}});
}
void glIndexMask(GLuint mask) { zw::set({{GL_INDEX_WRITEMASK, 0, 1, {double(mask)}}}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
    zw::set({{GL_COLOR_CLEAR_VALUE, 0, 4, {r, g, b, a}}});
}
void glClearIndex(GLfloat c) { zw::set({{GL_INDEX_CLEAR_VALUE, 0, 1, {c}}}); }
void glClearAccum(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    zw::set({{GL_ACCUM_CLEAR_VALUE, 0, 4, {r, g, b, a}}});
}
void glClearStencil(GLint s) { zw::set({{GL_STENCIL_CLEAR_VALUE, 0, 1, {double(s)}}}); }
void glStencilFunc(GLenum func, GLint ref, GLuint mask) {
    zw::set({{GL_STENCIL_FUNC, 0, 1, {double(func)}},
             {GL_STENCIL_REF, 0, 1, {double(ref)}},
             {GL_STENCIL_VALUE_MASK, 0, 1, {double(mask)}}});
}
void glStencilOp(GLenum fail, GLenum zfail, GLenum zpass) {
    zw::set({{GL_STENCIL_FAIL, 0, 1, {double(fail)}},
             {GL_STENCIL_PASS_DEPTH_FAIL, 0, 1, {double(zfail)}},
             {GL_STENCIL_PASS_DEPTH_PASS, 0, 1, {double(zpass)}}});
}
void glStencilMask(GLuint mask) { zw::set({{GL_STENCIL_WRITEMASK, 0, 1, {double(mask)}}}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    zw::set({{GL_VIEWPORT, 0, 4, {double(x), double(y), double(w), double(h)}}});
}
void glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    zw::set({{GL_SCISSOR_BOX, 0, 4, {double(x), double(y), double(w), double(h)}}});
}
void glLineWidth(GLfloat width) { zw::set({{GL_LINE_WIDTH, 0, 1, {width}}}); }
void glPointSize(GLfloat size) { zw::set({{GL_POINT_SIZE, 0, 1, {size}}}); }
void glLineStipple(GLint factor, GLushort pattern) {
    zw::set({{GL_LINE_STIPPLE_REPEAT, 0, 1, {double(factor)}}, {GL_LINE_STIPPLE_PATTERN, 0, 1, {double(pattern)}}});
}
void glPolygonOffset(GLfloat factor, GLfloat units) {
    zw::set({{GL_POLYGON_OFFSET_FACTOR, 0, 1, {factor}}, {GL_POLYGON_OFFSET_UNITS, 0, 1, {units}}});
}
void glPolygonMode(GLenum face, GLenum mode) {
    // The face picks the elements of the row.
    const int first = face == GL_BACK ? 1 : 0, n = face == GL_FRONT_AND_BACK ? 2 : 1;
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
        if (zw::record([] { zw::setError(GL_INVALID_ENUM); })) zw::setError(GL_INVALID_ENUM);
        return;
    }
    zw::set({{GL_POLYGON_MODE, first, n, {double(mode), double(mode)}}});
}
void glColorMaterial(GLenum face, GLenum mode) {
    if (zw::set({{GL_COLOR_MATERIAL_FACE, 0, 1, {double(face)}}, {GL_COLOR_MATERIAL_PARAMETER, 0, 1, {double(mode)}}}))
        zw::trackColorMaterial();
}
void glListBase(GLuint base) { zw::set({{GL_LIST_BASE, 0, 1, {double(base)}}}); }
void glPixelZoom(GLfloat x, GLfloat y) { zw::set({{GL_ZOOM_X, 0, 1, {x}}, {GL_ZOOM_Y, 0, 1, {y}}}); }
void glDrawBuffer(GLenum mode) { zw::set({{GL_DRAW_BUFFER, 0, 1, {double(mode)}}}); }
void glReadBuffer(GLenum mode) { zw::set({{GL_READ_BUFFER, 0, 1, {double(mode)}}}); }

// ---- Parameter calls ------------------------------------------------------------------

void glHint(GLenum target, GLenum mode) {
    const double v = mode;
    zw::setParam(zw::By::Hint, target, &v, false);
}

void glFogfv(GLenum pname, const GLfloat* params) {
    double v[4];
    zw::paramValues(pname, GL_FOG_COLOR, params, v);
    zw::setParam(zw::By::Fog, pname, v, false);
}
void glFogiv(GLenum pname, const GLint* params) {
    double v[4];
    zw::paramValues(pname, GL_FOG_COLOR, params, v);
    zw::setParam(zw::By::Fog, pname, v, true);
}
// The one-value forms take no vectors.
static bool scalarParam(GLenum pname, std::initializer_list<GLenum> vectors) {
    for (GLenum v : vectors)
        if (v == pname) {
            if (zw::record([] { zw::setError(GL_INVALID_ENUM); })) zw::setError(GL_INVALID_ENUM);
            return false;
        }
    return true;
}
void glFogf(GLenum pname, GLfloat param) {
    if (scalarParam(pname, {GL_FOG_COLOR})) glFogfv(pname, &param);
}
void glFogi(GLenum pname, GLint param) {
    if (scalarParam(pname, {GL_FOG_COLOR})) glFogiv(pname, &param);
}

void glLightModelfv(GLenum pname, const GLfloat* params) {
    double v[4];
    zw::paramValues(pname, GL_LIGHT_MODEL_AMBIENT, params, v);
    zw::setParam(zw::By::LightModel, pname, v, false);
}
void glLightModeliv(GLenum pname, const GLint* params) {
    double v[4];
    zw::paramValues(pname, GL_LIGHT_MODEL_AMBIENT, params, v);
    zw::setParam(zw::By::LightModel, pname, v, true);
}
void glLightModelf(GLenum pname, GLfloat param) {
    if (scalarParam(pname, {GL_LIGHT_MODEL_AMBIENT})) glLightModelfv(pname, &param);
}
void glLightModeli(GLenum pname, GLint param) {
    if (scalarParam(pname, {GL_LIGHT_MODEL_AMBIENT})) glLightModeliv(pname, &param);
}

void glTexEnvfv(GLenum target, GLenum pname, const GLfloat* params) {
    if (target != GL_TEXTURE_ENV) {
        if (zw::record([] { zw::setError(GL_INVALID_ENUM); })) zw::setError(GL_INVALID_ENUM);
        return;
    }
    double v[4];
    zw::paramValues(pname, GL_TEXTURE_ENV_COLOR, params, v);
    zw::setParam(zw::By::TexEnv, pname, v, false);
}
void glTexEnviv(GLenum target, GLenum pname, const GLint* params) {
    if (target != GL_TEXTURE_ENV) {
        if (zw::record([] { zw::setError(GL_INVALID_ENUM); })) zw::setError(GL_INVALID_ENUM);
        return;
    }
    double v[4];
    zw::paramValues(pname, GL_TEXTURE_ENV_COLOR, params, v);
    zw::setParam(zw::By::TexEnv, pname, v, true);
}
void glTexEnvf(GLenum target, GLenum pname, GLfloat param) {
    if (scalarParam(pname, {GL_TEXTURE_ENV_COLOR})) glTexEnvfv(target, pname, &param);
}
void glTexEnvi(GLenum target, GLenum pname, GLint param) {
    if (scalarParam(pname, {GL_TEXTURE_ENV_COLOR})) glTexEnviv(target, pname, &param);
}
void glGetTexEnvfv(GLenum target, GLenum pname, GLfloat* params) {
    double v[4];
    const int n = target == GL_TEXTURE_ENV ? zw::getParam(zw::By::TexEnv, pname, v) : 0;
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i) params[i] = GLfloat(v[i]);
}
void glGetTexEnviv(GLenum target, GLenum pname, GLint* params) {
    double v[4];
    const int n = target == GL_TEXTURE_ENV ? zw::getParam(zw::By::TexEnv, pname, v) : 0;
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i) params[i] = zw::toInt(v[i], pname == GL_TEXTURE_ENV_COLOR ? zw::Kind::C : zw::Kind::E);
}

void glPixelStoref(GLenum pname, GLfloat param) {
    // Booleans and integers: a float is rounded, as GL does.
    const double v = (pname == GL_PACK_SWAP_BYTES || pname == GL_PACK_LSB_FIRST || pname == GL_UNPACK_SWAP_BYTES ||
                      pname == GL_UNPACK_LSB_FIRST)
                         ? double(param != 0)
                         : std::floor(double(param) + 0.5);
    zw::setParam(zw::By::PixelStore, pname, &v, false);
}
void glPixelStorei(GLenum pname, GLint param) {
    const double v = param;
    zw::setParam(zw::By::PixelStore, pname, &v, false);
}
static void pixelTransfer(GLenum pname, double v) { zw::setParam(zw::By::PixelTransfer, pname, &v, false); }
void glPixelTransferf(GLenum pname, GLfloat param) { pixelTransfer(pname, param); }
void glPixelTransferi(GLenum pname, GLint param) { pixelTransfer(pname, param); }

}  // extern "C"

// ---- Lights, materials, planes, stipple ------------------------------------------------

namespace zw {
namespace {

// How many values a light or material parameter takes, 0 for none.
int lightSize(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT: case GL_DIFFUSE: case GL_SPECULAR: case GL_POSITION: return 4;
    case GL_SPOT_DIRECTION: return 3;
    case GL_SPOT_EXPONENT: case GL_SPOT_CUTOFF: case GL_CONSTANT_ATTENUATION: case GL_LINEAR_ATTENUATION:
    case GL_QUADRATIC_ATTENUATION: return 1;
    default: return 0;
    }
}

int materialSize(GLenum pname) {
    switch (pname) {
    case GL_AMBIENT: case GL_DIFFUSE: case GL_SPECULAR: case GL_EMISSION: case GL_AMBIENT_AND_DIFFUSE: return 4;
    case GL_COLOR_INDEXES: return 3;
    case GL_SHININESS: return 1;
    default: return 0;
    }
}

bool isColor(GLenum pname) {
    return pname == GL_AMBIENT || pname == GL_DIFFUSE || pname == GL_SPECULAR || pname == GL_EMISSION ||
           pname == GL_AMBIENT_AND_DIFFUSE;
}

// A recorded GL error: raised when the call runs.
void fail(GLenum e) {
    if (record([=] { setError(e); })) setError(e);
}

void setLight(GLenum light, GLenum pname, const float* p) {
    if (!record([=] {
            const float q[4] = {p[0], p[1], p[2], p[3]};
            setLight(light, pname, q);
        }))
        return;
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + ZW_LIGHTS || lightSize(pname) == 0) {
        setError(GL_INVALID_ENUM);
        return;
    }
    const bool bad = (pname == GL_SPOT_EXPONENT && (p[0] < 0 || p[0] > 128)) ||
                     (pname == GL_SPOT_CUTOFF && (p[0] < 0 || p[0] > 90) && p[0] != 180) ||
                     (pname >= GL_CONSTANT_ATTENUATION && pname <= GL_QUADRATIC_ATTENUATION && p[0] < 0);
    if (bad) {
        setError(GL_INVALID_VALUE);
        return;
    }
    if (!outsideBlock()) return;
    changing();
    Light& l = state().light[light - GL_LIGHT0];
    const Mat& m = state().modelview.back();
    switch (pname) {
    case GL_AMBIENT: std::memcpy(l.ambient, p, sizeof l.ambient); break;
    case GL_DIFFUSE: std::memcpy(l.diffuse, p, sizeof l.diffuse); break;
    case GL_SPECULAR: std::memcpy(l.specular, p, sizeof l.specular); break;
    // GL keeps positions and directions in eye coordinates: transformed by
    // the model-view matrix current at this call (a direction by its 3x3).
    case GL_POSITION: transform(m, p, l.position); break;
    case GL_SPOT_DIRECTION: {
        const float d[4] = {p[0], p[1], p[2], 0};
        float e[4];
        transform(m, d, e);
        std::memcpy(l.spotDirection, e, sizeof l.spotDirection);
        break;
    }
    case GL_SPOT_EXPONENT: l.spotExponent = p[0]; break;
    case GL_SPOT_CUTOFF: l.spotCutoff = p[0]; break;
    default: l.attenuation[pname - GL_CONSTANT_ATTENUATION] = p[0]; break;
    }
}

void setMaterial(GLenum face, GLenum pname, const float* p) {
    if (!record([=] {
            const float q[4] = {p[0], p[1], p[2], p[3]};
            setMaterial(face, pname, q);
        }))
        return;
    if ((face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) || materialSize(pname) == 0) {
        setError(GL_INVALID_ENUM);
        return;
    }
    if (pname == GL_SHININESS && (p[0] < 0 || p[0] > 128)) {
        setError(GL_INVALID_VALUE);
        return;
    }
    // Allowed inside a block: the block is drawn with the last material.
    changing();
    for (int f = 0; f < 2; ++f) {
        if (face == (f == 0 ? GL_BACK : GL_FRONT)) continue;
        Material& m = state().material[f];
        switch (pname) {
        case GL_AMBIENT: std::memcpy(m.ambient, p, sizeof m.ambient); break;
        case GL_DIFFUSE: std::memcpy(m.diffuse, p, sizeof m.diffuse); break;
        case GL_AMBIENT_AND_DIFFUSE:
            std::memcpy(m.ambient, p, sizeof m.ambient);
            std::memcpy(m.diffuse, p, sizeof m.diffuse);
            break;
        case GL_SPECULAR: std::memcpy(m.specular, p, sizeof m.specular); break;
        case GL_EMISSION: std::memcpy(m.emission, p, sizeof m.emission); break;
        case GL_SHININESS: m.shininess = p[0]; break;
        default: std::memcpy(m.colorIndexes, p, sizeof m.colorIndexes); break;
        }
    }
}

// Integer parameters: colours map linearly, the rest convert as they are.
void intsToFloats(const GLint* in, int n, bool color, float* out) {
    for (int i = 0; i < n; ++i) out[i] = color ? float((2.0 * in[i] + 1) / 4294967295.0) : float(in[i]);
}

void floatsToInts(const float* in, int n, bool color, GLint* out) {
    for (int i = 0; i < n; ++i) out[i] = toInt(in[i], color ? Kind::C : Kind::F);
}

// A plane given in object coordinates, in eye coordinates: p M^-1 with the
// model-view current now.
void eyePlane(const double* in, float* out) {
    Mat inv;
    if (!invert(state().modelview.back(), inv)) inv = identity();
    for (int c = 0; c < 4; ++c) {
        double v = 0;
        for (int r = 0; r < 4; ++r) v += in[r] * inv.m[c * 4 + r];
        out[c] = float(v);
    }
}

int texGenCoord(GLenum coord) {
    switch (coord) {
    case GL_S: return 0;
    case GL_T: return 1;
    case GL_R: return 2;
    case GL_Q: return 3;
    default: return -1;
    }
}

void setTexGen(GLenum coord, GLenum pname, const double* p) {
    if (!record([=] {
            const double q[4] = {p[0], p[1], p[2], p[3]};
            setTexGen(coord, pname, q);
        }))
        return;
    const int c = texGenCoord(coord);
    if (c < 0) {
        setError(GL_INVALID_ENUM);
        return;
    }
    State& s = state();
    switch (pname) {
    case GL_TEXTURE_GEN_MODE: {
        const GLenum mode = GLenum(p[0]);
        // The sphere map gives s and t only.
        const bool ok = mode == GL_OBJECT_LINEAR || mode == GL_EYE_LINEAR || (mode == GL_SPHERE_MAP && c < 2);
        if (!ok) {
            setError(GL_INVALID_ENUM);
            return;
        }
        if (!outsideBlock()) return;
        changing();
        s.texGenMode[c] = mode;
        return;
    }
    case GL_OBJECT_PLANE:
        if (!outsideBlock()) return;
        changing();
        for (int i = 0; i < 4; ++i) s.objectPlane[c][i] = float(p[i]);
        return;
    case GL_EYE_PLANE:
        if (!outsideBlock()) return;
        changing();
        eyePlane(p, s.eyePlane[c]);
        return;
    default: setError(GL_INVALID_ENUM); return;
    }
}

// The texgen values GL answers, 0 for a bad name.
int getTexGen(GLenum coord, GLenum pname, double* out) {
    const int c = texGenCoord(coord);
    const State& s = state();
    if (c < 0) return 0;
    switch (pname) {
    case GL_TEXTURE_GEN_MODE: out[0] = s.texGenMode[c]; return 1;
    case GL_OBJECT_PLANE: for (int i = 0; i < 4; ++i) out[i] = s.objectPlane[c][i]; return 4;
    case GL_EYE_PLANE: for (int i = 0; i < 4; ++i) out[i] = s.eyePlane[c][i]; return 4;
    default: return 0;
    }
}

}  // namespace
}  // namespace zw

extern "C" {

void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
    float p[4] = {0, 0, 0, 0};
    for (int i = 0; i < zw::lightSize(pname); ++i) p[i] = params[i];
    zw::setLight(light, pname, p);
}
void glLightiv(GLenum light, GLenum pname, const GLint* params) {
    float p[4] = {0, 0, 0, 0};
    zw::intsToFloats(params, zw::lightSize(pname), zw::isColor(pname), p);
    zw::setLight(light, pname, p);
}
void glLightf(GLenum light, GLenum pname, GLfloat param) {
    if (zw::lightSize(pname) > 1) return zw::fail(GL_INVALID_ENUM);
    const float p[4] = {param, 0, 0, 0};
    zw::setLight(light, pname, p);
}
void glLighti(GLenum light, GLenum pname, GLint param) { glLightf(light, pname, GLfloat(param)); }

static int getLight(GLenum light, GLenum pname, float* out) {
    const int n = zw::lightSize(pname);
    if (light < GL_LIGHT0 || light >= GL_LIGHT0 + ZW_LIGHTS || n == 0) {
        zw::setError(GL_INVALID_ENUM);
        return 0;
    }
    if (!zw::outsideBlock()) return 0;
    const zw::Light& l = state().light[light - GL_LIGHT0];
    const float* from = nullptr;
    switch (pname) {
    case GL_AMBIENT: from = l.ambient; break;
    case GL_DIFFUSE: from = l.diffuse; break;
    case GL_SPECULAR: from = l.specular; break;
    case GL_POSITION: from = l.position; break;
    case GL_SPOT_DIRECTION: from = l.spotDirection; break;
    case GL_SPOT_EXPONENT: from = &l.spotExponent; break;
    case GL_SPOT_CUTOFF: from = &l.spotCutoff; break;
    default: from = &l.attenuation[pname - GL_CONSTANT_ATTENUATION]; break;
    }
    std::memcpy(out, from, sizeof(float) * size_t(n));
    return n;
}
void glGetLightfv(GLenum light, GLenum pname, GLfloat* params) { getLight(light, pname, params); }
void glGetLightiv(GLenum light, GLenum pname, GLint* params) {
    float v[4];
    const int n = getLight(light, pname, v);
    zw::floatsToInts(v, n, zw::isColor(pname), params);
}

void glMaterialfv(GLenum face, GLenum pname, const GLfloat* params) {
    float p[4] = {0, 0, 0, 0};
    for (int i = 0; i < zw::materialSize(pname); ++i) p[i] = params[i];
    zw::setMaterial(face, pname, p);
}
void glMaterialiv(GLenum face, GLenum pname, const GLint* params) {
    float p[4] = {0, 0, 0, 0};
    zw::intsToFloats(params, zw::materialSize(pname), zw::isColor(pname), p);
    zw::setMaterial(face, pname, p);
}
void glMaterialf(GLenum face, GLenum pname, GLfloat param) {
    if (pname != GL_SHININESS) return zw::fail(GL_INVALID_ENUM);
    const float p[4] = {param, 0, 0, 0};
    zw::setMaterial(face, pname, p);
}
void glMateriali(GLenum face, GLenum pname, GLint param) { glMaterialf(face, pname, GLfloat(param)); }

static int getMaterial(GLenum face, GLenum pname, float* out) {
    const int n = zw::materialSize(pname);
    if ((face != GL_FRONT && face != GL_BACK) || n == 0 || pname == GL_AMBIENT_AND_DIFFUSE) {
        zw::setError(GL_INVALID_ENUM);
        return 0;
    }
    if (!zw::outsideBlock()) return 0;
    const zw::Material& m = state().material[face == GL_FRONT ? 0 : 1];
    const float* from = pname == GL_AMBIENT ? m.ambient
                        : pname == GL_DIFFUSE ? m.diffuse
                        : pname == GL_SPECULAR ? m.specular
                        : pname == GL_EMISSION ? m.emission
                        : pname == GL_SHININESS ? &m.shininess
                                                : m.colorIndexes;
    std::memcpy(out, from, sizeof(float) * size_t(n));
    return n;
}
void glGetMaterialfv(GLenum face, GLenum pname, GLfloat* params) { getMaterial(face, pname, params); }
void glGetMaterialiv(GLenum face, GLenum pname, GLint* params) {
    float v[4];
    const int n = getMaterial(face, pname, v);
    zw::floatsToInts(v, n, zw::isColor(pname), params);
}

void glClipPlane(GLenum plane, const GLdouble* equation) {
    const double e[4] = {equation[0], equation[1], equation[2], equation[3]};
    if (!zw::record([=] { glClipPlane(plane, e); })) return;
    if (plane < GL_CLIP_PLANE0 || plane >= GL_CLIP_PLANE0 + ZW_CLIP_PLANES) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    if (!zw::outsideBlock()) return;
    zw::changing();
    zw::eyePlane(e, state().clipPlane[plane - GL_CLIP_PLANE0]);
}

void glGetClipPlane(GLenum plane, GLdouble* equation) {
    if (plane < GL_CLIP_PLANE0 || plane >= GL_CLIP_PLANE0 + ZW_CLIP_PLANES) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    if (!zw::outsideBlock()) return;
    for (int i = 0; i < 4; ++i) equation[i] = state().clipPlane[plane - GL_CLIP_PLANE0][i];
}

void glTexGendv(GLenum coord, GLenum pname, const GLdouble* params) {
    double p[4] = {params[0], 0, 0, 0};
    if (pname != GL_TEXTURE_GEN_MODE)
        for (int i = 1; i < 4; ++i) p[i] = params[i];
    zw::setTexGen(coord, pname, p);
}
void glTexGenfv(GLenum coord, GLenum pname, const GLfloat* params) {
    double p[4] = {params[0], 0, 0, 0};
    if (pname != GL_TEXTURE_GEN_MODE)
        for (int i = 1; i < 4; ++i) p[i] = params[i];
    zw::setTexGen(coord, pname, p);
}
void glTexGeniv(GLenum coord, GLenum pname, const GLint* params) {
    double p[4] = {double(params[0]), 0, 0, 0};
    if (pname != GL_TEXTURE_GEN_MODE)
        for (int i = 1; i < 4; ++i) p[i] = params[i];
    zw::setTexGen(coord, pname, p);
}
void glTexGend(GLenum coord, GLenum pname, GLdouble param) {
    if (pname != GL_TEXTURE_GEN_MODE) return zw::fail(GL_INVALID_ENUM);
    const double p[4] = {param, 0, 0, 0};
    zw::setTexGen(coord, pname, p);
}
void glTexGenf(GLenum coord, GLenum pname, GLfloat param) { glTexGend(coord, pname, param); }
void glTexGeni(GLenum coord, GLenum pname, GLint param) { glTexGend(coord, pname, param); }

void glGetTexGendv(GLenum coord, GLenum pname, GLdouble* params) {
    if (!zw::outsideBlock()) return;
    double v[4];
    const int n = zw::getTexGen(coord, pname, v);
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i) params[i] = v[i];
}
void glGetTexGenfv(GLenum coord, GLenum pname, GLfloat* params) {
    if (!zw::outsideBlock()) return;
    double v[4];
    const int n = zw::getTexGen(coord, pname, v);
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i) params[i] = GLfloat(v[i]);
}
void glGetTexGeniv(GLenum coord, GLenum pname, GLint* params) {
    if (!zw::outsideBlock()) return;
    double v[4];
    const int n = zw::getTexGen(coord, pname, v);
    if (n == 0) zw::setError(GL_INVALID_ENUM);
    for (int i = 0; i < n; ++i) params[i] = zw::toInt(v[i], zw::Kind::F);
}

void glPolygonStipple(const GLubyte* mask) {
    // Unpacked at the call (a list keeps the rows, not the client's bytes).
    GLuint rows[32];
    const zw::PixelStore& st = state().unpack;
    for (int y = 0; y < 32; ++y) {
        rows[y] = 0;
        for (int x = 0; x < 32; ++x) {
            int bit;
            const size_t at = zw::bitAt(st, 32, x, y, &bit);
            if ((mask[at] >> bit) & 1) rows[y] |= 1u << (31 - x);
        }
    }
    auto apply = [rows] {
        if (!zw::outsideBlock()) return;
        zw::changing();
        std::memcpy(state().polygonStippleRows, rows, sizeof rows);
    };
    if (zw::record(apply)) apply();
}

void glGetPolygonStipple(GLubyte* mask) {
    if (!zw::outsideBlock()) return;
    const zw::PixelStore& st = state().pack;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int bit;
            const size_t at = zw::bitAt(st, 32, x, y, &bit);
            if ((state().polygonStippleRows[y] >> (31 - x)) & 1)
                mask[at] = GLubyte(mask[at] | (1 << bit));
            else
                mask[at] = GLubyte(mask[at] & ~(1 << bit));
        }
}

// ---- Buffers -------------------------------------------------------------------------

void glClear(GLbitfield mask) {
    if (!zw::record([=] { glClear(mask); })) return;
    if (mask & ~GLbitfield(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT | GL_ACCUM_BUFFER_BIT)) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    // Selection and feedback touch no buffer.
    if (!zw::outsideBlock() || zw::renderMode() != GL_RENDER) return;
    zw::flushBatch();
    const GLbitfield drawn = mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (drawn) zw::clearBuffers(drawn);
    // A buffer the window does not have is left alone.
    if ((mask & GL_ACCUM_BUFFER_BIT) && zw::accumBits) zw::clearAccum();
}

void glFlush(void) {
    if (!zw::outsideBlock()) return;
    zw::flushBatch();
    emscripten_glFlush();
}

void glFinish(void) {
    if (!zw::outsideBlock()) return;
    zw::flushBatch();
    emscripten_glFinish();
}

}  // extern "C"
