// The raster position (glRasterPos transformed, lit and clipped as a vertex
// is; glWindowPos set in window coordinates) and the entry points of the
// rest of OpenGL 1.1 that the layer does not draw yet: vertex arrays,
// evaluators, selection and feedback, the accumulation buffer. Those check
// their arguments as GL does, say once on the console that they are not
// drawn, and return.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstring>

#include "platform/web/glState.h"

namespace zw {
namespace {

float dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void normalise3(float* v) {
    const float l = std::sqrt(dot3(v, v));
    if (l > 0)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}

// GL's lighting equation (OpenGL 1.1, section 2.13.1) for the front side of
// a vertex at eye position `eye` with eye normal `n`: what glRasterPos takes
// as its colour when lighting is on.
void light(const float eye[4], const float nIn[3], float out[4]) {
    const State& s = state();
    const Material& m = s.material[0];
    float n[3] = {nIn[0], nIn[1], nIn[2]};
    float c[3];
    for (int k = 0; k < 3; ++k) c[k] = m.emission[k] + m.ambient[k] * s.modelAmbient[k];
    float v[3] = {0, 0, 1};  // towards the eye, at infinity unless the viewer is local
    const float p[3] = {eye[3] != 0 ? eye[0] / eye[3] : eye[0], eye[3] != 0 ? eye[1] / eye[3] : eye[1],
                        eye[3] != 0 ? eye[2] / eye[3] : eye[2]};
    if (s.localViewer) {
        for (int k = 0; k < 3; ++k) v[k] = -p[k];
        normalise3(v);
    }
    for (int i = 0; i < ZW_LIGHTS; ++i) {
        if (!s.lightOn[i]) continue;
        const Light& l = s.light[i];
        float L[3], att = 1;
        if (l.position[3] == 0) {
            for (int k = 0; k < 3; ++k) L[k] = l.position[k];
        } else {
            for (int k = 0; k < 3; ++k) L[k] = l.position[k] / l.position[3] - p[k];
            const float d = std::sqrt(dot3(L, L));
            att = 1 / (l.attenuation[0] + l.attenuation[1] * d + l.attenuation[2] * d * d);
        }
        normalise3(L);
        if (l.spotCutoff != 180) {
            float dir[3] = {l.spotDirection[0], l.spotDirection[1], l.spotDirection[2]};
            normalise3(dir);
            const float cosine = -dot3(L, dir);
            const float limit = std::cos(l.spotCutoff * float(M_PI) / 180);
            att *= cosine < limit ? 0 : std::pow(std::fmax(cosine, 0.0f), l.spotExponent);
        }
        const float nl = dot3(n, L);
        float term[3];
        for (int k = 0; k < 3; ++k) term[k] = m.ambient[k] * l.ambient[k] + std::fmax(nl, 0.0f) * m.diffuse[k] * l.diffuse[k];
        if (nl > 0) {
            float h[3] = {L[0] + v[0], L[1] + v[1], L[2] + v[2]};
            normalise3(h);
            const float nh = std::fmax(dot3(n, h), 0.0f);
            const float f = m.shininess == 0 ? 1 : std::pow(nh, m.shininess);
            for (int k = 0; k < 3; ++k) term[k] += f * m.specular[k] * l.specular[k];
        }
        for (int k = 0; k < 3; ++k) c[k] += att * term[k];
    }
    for (int k = 0; k < 3; ++k) out[k] = c[k] < 0 ? 0 : c[k] > 1 ? 1 : c[k];
    out[3] = m.diffuse[3] < 0 ? 0 : m.diffuse[3] > 1 ? 1 : m.diffuse[3];
}

// A texture coordinate as GL generates and transforms it for a vertex.
void texCoord(const float obj[4], const float eye[4], const float n[3], float out[4]) {
    const State& s = state();
    float t[4] = {s.tex[0], s.tex[1], s.tex[2], s.tex[3]};
    for (int c = 0; c < 4; ++c) {
        if (!s.texGenOn[c]) continue;
        switch (s.texGenMode[c]) {
        case GL_OBJECT_LINEAR: t[c] = dot3(s.objectPlane[c], obj) + s.objectPlane[c][3] * obj[3]; break;
        case GL_EYE_LINEAR: t[c] = dot3(s.eyePlane[c], eye) + s.eyePlane[c][3] * eye[3]; break;
        default: {  // the sphere map, for s and t
            float u[3] = {eye[0], eye[1], eye[2]};
            normalise3(u);
            const float k = 2 * dot3(n, u);
            const float r[3] = {u[0] - n[0] * k, u[1] - n[1] * k, u[2] - n[2] * k};
            const float m = 2 * std::sqrt(r[0] * r[0] + r[1] * r[1] + (r[2] + 1) * (r[2] + 1));
            t[c] = m == 0 ? 0.5f : r[c] / m + 0.5f;
        }
        }
    }
    transform(s.texture.back(), t, out);
}

// glRasterPos4f: the point as a vertex, clipped against the view volume and
// the enabled clip planes; invalid when outside.
void rasterPos(float x, float y, float z, float w) {
    State& s = state();
    const float obj[4] = {x, y, z, w};
    float eye[4], clip[4];
    transform(s.modelview.back(), obj, eye);
    transform(s.projection.back(), eye, clip);
    bool inside = -clip[3] <= clip[0] && clip[0] <= clip[3] && -clip[3] <= clip[1] && clip[1] <= clip[3] &&
                  -clip[3] <= clip[2] && clip[2] <= clip[3] && clip[3] != 0;
    for (int i = 0; i < ZW_CLIP_PLANES && inside; ++i)
        if (s.clipOn[i] && dot3(s.clipPlane[i], eye) + s.clipPlane[i][3] * eye[3] < 0) inside = false;
    s.rasterValid = inside;
    if (!inside) return;
    // The viewport transform as GL computes it: scale, then translate.
    const float halfW = 0.5f * float(s.viewport[2]), halfH = 0.5f * float(s.viewport[3]);
    const float n = s.depthRange[0], f = s.depthRange[1];
    s.rasterPos[0] = clip[0] / clip[3] * halfW + (float(s.viewport[0]) + halfW);
    s.rasterPos[1] = clip[1] / clip[3] * halfH + (float(s.viewport[1]) + halfH);
    s.rasterPos[2] = clip[2] / clip[3] * ((f - n) * 0.5f) + (n + f) * 0.5f;
    s.rasterPos[3] = clip[3];
    s.rasterDistance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    // The normal in eye coordinates: by the inverse transpose of the model-view.
    float normal[3] = {s.normal[0], s.normal[1], s.normal[2]};
    Mat inv;
    if (invert(s.modelview.back(), inv)) {
        for (int r = 0; r < 3; ++r) normal[r] = inv.m[r * 4] * s.normal[0] + inv.m[r * 4 + 1] * s.normal[1] + inv.m[r * 4 + 2] * s.normal[2];
        if (s.normalize || s.rescaleNormal) normalise3(normal);
    }
    if (s.lighting)
        light(eye, normal, s.rasterColor);
    else
        for (int i = 0; i < 4; ++i) s.rasterColor[i] = s.color[i] < 0 ? 0 : s.color[i] > 1 ? 1 : s.color[i];
    s.rasterIndex = s.index;
    texCoord(obj, eye, normal, s.rasterTex);
}

void windowPos(float x, float y, float z) {
    State& s = state();
    const float n = s.depthRange[0], f = s.depthRange[1];
    const float zc = z < 0 ? 0 : z > 1 ? 1 : z;
    s.rasterPos[0] = x, s.rasterPos[1] = y, s.rasterPos[2] = n + zc * (f - n), s.rasterPos[3] = 1;
    s.rasterValid = true;
    s.rasterDistance = 0;
    for (int i = 0; i < 4; ++i) s.rasterColor[i] = s.color[i] < 0 ? 0 : s.color[i] > 1 ? 1 : s.color[i];
    std::memcpy(s.rasterTex, s.tex, sizeof s.rasterTex);
    s.rasterIndex = s.index;
}

// An entry point the layer does not draw: its check, then the console line.
// Recorded into an open display list like the call itself.
template <class Check>
void report(const char* name, Check check, bool compiled = true) {
    auto run = [=] {
        const GLenum e = check();
        if (e != GL_NO_ERROR) return setError(e);
        notDrawn(name);
    };
    if (!compiled || record(run)) run();
}

GLenum ok() { return GL_NO_ERROR; }

bool primitive(GLenum mode) { return mode <= GL_POLYGON; }

GLenum outside() { return state().inBlock ? GLenum(GL_INVALID_OPERATION) : GLenum(GL_NO_ERROR); }

int mapComponents(GLenum target) {
    switch (target) {
    case GL_MAP1_INDEX: case GL_MAP1_TEXTURE_COORD_1: case GL_MAP2_INDEX: case GL_MAP2_TEXTURE_COORD_1: return 1;
    case GL_MAP1_TEXTURE_COORD_2: case GL_MAP2_TEXTURE_COORD_2: return 2;
    case GL_MAP1_NORMAL: case GL_MAP1_TEXTURE_COORD_3: case GL_MAP1_VERTEX_3: case GL_MAP2_NORMAL:
    case GL_MAP2_TEXTURE_COORD_3: case GL_MAP2_VERTEX_3: return 3;
    case GL_MAP1_COLOR_4: case GL_MAP1_TEXTURE_COORD_4: case GL_MAP1_VERTEX_4: case GL_MAP2_COLOR_4:
    case GL_MAP2_TEXTURE_COORD_4: case GL_MAP2_VERTEX_4: return 4;
    default: return 0;
    }
}

bool map1(GLenum target) { return target >= GL_MAP1_COLOR_4 && target <= GL_MAP1_VERTEX_4; }
bool map2(GLenum target) { return target >= GL_MAP2_COLOR_4 && target <= GL_MAP2_VERTEX_4; }

// The client arrays' pointers, kept for glGetPointerv.
const GLvoid* pointers[7];

void pointer(const char* name, int which, GLint size, bool sizeOk, GLenum type, bool typeOk, GLsizei stride,
             const GLvoid* p) {
    if (!sizeOk || stride < 0) return setError(GL_INVALID_VALUE);
    if (!typeOk) return setError(GL_INVALID_ENUM);
    (void)size, (void)type;
    pointers[which] = p;
    notDrawn(name);
}

bool anyType(GLenum t) { return t == GL_SHORT || t == GL_INT || t == GL_FLOAT || t == GL_DOUBLE; }

}  // namespace
}  // namespace zw

using zw::state;

extern "C" {

void glRasterPos4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    if (!zw::record([=] { glRasterPos4f(x, y, z, w); }) || !zw::outsideBlock()) return;
    zw::rasterPos(x, y, z, w);
}

void glRasterPos2f(GLfloat x, GLfloat y) { glRasterPos4f(x, y, 0, 1); }
void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) { glRasterPos4f(x, y, z, 1); }

#define ZW_RASTER(sfx, T)                                                                                    \
    void glRasterPos2##sfx(T x, T y) { glRasterPos4f(GLfloat(x), GLfloat(y), 0, 1); }                       \
    void glRasterPos3##sfx(T x, T y, T z) { glRasterPos4f(GLfloat(x), GLfloat(y), GLfloat(z), 1); }         \
    void glRasterPos4##sfx(T x, T y, T z, T w) { glRasterPos4f(GLfloat(x), GLfloat(y), GLfloat(z), GLfloat(w)); } \
    void glRasterPos2##sfx##v(const T* v) { glRasterPos4f(GLfloat(v[0]), GLfloat(v[1]), 0, 1); }            \
    void glRasterPos3##sfx##v(const T* v) { glRasterPos4f(GLfloat(v[0]), GLfloat(v[1]), GLfloat(v[2]), 1); } \
    void glRasterPos4##sfx##v(const T* v) { glRasterPos4f(GLfloat(v[0]), GLfloat(v[1]), GLfloat(v[2]), GLfloat(v[3])); }
ZW_RASTER(s, GLshort)
ZW_RASTER(i, GLint)
ZW_RASTER(d, GLdouble)
void glRasterPos2fv(const GLfloat* v) { glRasterPos4f(v[0], v[1], 0, 1); }
void glRasterPos3fv(const GLfloat* v) { glRasterPos4f(v[0], v[1], v[2], 1); }
void glRasterPos4fv(const GLfloat* v) { glRasterPos4f(v[0], v[1], v[2], v[3]); }

// From OpenGL 1.4, which programs use for text in window coordinates.
void glWindowPos3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!zw::record([=] { glWindowPos3f(x, y, z); }) || !zw::outsideBlock()) return;
    zw::windowPos(x, y, z);
}
void glWindowPos2f(GLfloat x, GLfloat y) { glWindowPos3f(x, y, 0); }
#define ZW_WINDOW(sfx, T)                                                                            \
    void glWindowPos2##sfx(T x, T y) { glWindowPos3f(GLfloat(x), GLfloat(y), 0); }                   \
    void glWindowPos3##sfx(T x, T y, T z) { glWindowPos3f(GLfloat(x), GLfloat(y), GLfloat(z)); }     \
    void glWindowPos2##sfx##v(const T* v) { glWindowPos3f(GLfloat(v[0]), GLfloat(v[1]), 0); }        \
    void glWindowPos3##sfx##v(const T* v) { glWindowPos3f(GLfloat(v[0]), GLfloat(v[1]), GLfloat(v[2])); }
ZW_WINDOW(s, GLshort)
ZW_WINDOW(i, GLint)
ZW_WINDOW(d, GLdouble)
void glWindowPos2fv(const GLfloat* v) { glWindowPos3f(v[0], v[1], 0); }
void glWindowPos3fv(const GLfloat* v) { glWindowPos3f(v[0], v[1], v[2]); }

// ---- The accumulation buffer --------------------------------------------------------

void glAccum(GLenum op, GLfloat) {
    zw::report("glAccum", [=] {
        if (op != GL_ACCUM && op != GL_LOAD && op != GL_RETURN && op != GL_MULT && op != GL_ADD)
            return GLenum(GL_INVALID_ENUM);
        // The canvas has no accumulation buffer.
        return GLenum(GL_INVALID_OPERATION);
    });
}

// ---- Vertex arrays ----------------------------------------------------------------------

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer("glVertexPointer", 0, size, size >= 2 && size <= 4, type, zw::anyType(type), stride, p);
}
void glNormalPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer("glNormalPointer", 1, 3, true, type, type == GL_BYTE || zw::anyType(type), stride, p);
}
void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer("glColorPointer", 2, size, size == 3 || size == 4, type,
                (type >= GL_BYTE && type <= GL_FLOAT) || type == GL_DOUBLE, stride, p);
}
void glIndexPointer(GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer("glIndexPointer", 3, 1, true, type, type == GL_UNSIGNED_BYTE || zw::anyType(type), stride, p);
}
void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* p) {
    zw::pointer("glTexCoordPointer", 4, size, size >= 1 && size <= 4, type, zw::anyType(type), stride, p);
}
void glEdgeFlagPointer(GLsizei stride, const GLvoid* p) {
    zw::pointer("glEdgeFlagPointer", 5, 1, true, GL_FLOAT, true, stride, p);
}

void glGetPointerv(GLenum pname, GLvoid** params) {
    int which;
    switch (pname) {
    case GL_VERTEX_ARRAY_POINTER: which = 0; break;
    case GL_NORMAL_ARRAY_POINTER: which = 1; break;
    case GL_COLOR_ARRAY_POINTER: which = 2; break;
    case GL_INDEX_ARRAY_POINTER: which = 3; break;
    case GL_TEXTURE_COORD_ARRAY_POINTER: which = 4; break;
    case GL_EDGE_FLAG_ARRAY_POINTER: which = 5; break;
    case GL_FEEDBACK_BUFFER_POINTER: which = 6; break;
    case GL_SELECTION_BUFFER_POINTER: which = 6; break;
    default: return zw::setError(GL_INVALID_ENUM);
    }
    *params = const_cast<GLvoid*>(zw::pointers[which]);
}

void glArrayElement(GLint) { zw::report("glArrayElement", zw::ok); }

void glDrawArrays(GLenum mode, GLint, GLsizei count) {
    zw::report("glDrawArrays", [=] {
        if (!zw::primitive(mode)) return GLenum(GL_INVALID_ENUM);
        if (count < 0) return GLenum(GL_INVALID_VALUE);
        return zw::outside();
    });
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid*) {
    zw::report("glDrawElements", [=] {
        if (!zw::primitive(mode)) return GLenum(GL_INVALID_ENUM);
        if (count < 0) return GLenum(GL_INVALID_VALUE);
        if (type != GL_UNSIGNED_BYTE && type != GL_UNSIGNED_SHORT && type != GL_UNSIGNED_INT)
            return GLenum(GL_INVALID_ENUM);
        return zw::outside();
    });
}

void glInterleavedArrays(GLenum format, GLsizei stride, const GLvoid* p) {
    if (stride < 0) return zw::setError(GL_INVALID_VALUE);
    if (format < GL_V2F || format > GL_T4F_C4F_N3F_V4F) return zw::setError(GL_INVALID_ENUM);
    zw::pointers[0] = p;
    zw::notDrawn("glInterleavedArrays");
}

// ---- Evaluators --------------------------------------------------------------------------

static void map1Check(const char* name, GLenum target, double u1, double u2, GLint stride, GLint order) {
    zw::report(name, [=] {
        const int k = zw::mapComponents(target);
        if (!zw::map1(target) || k == 0) return GLenum(GL_INVALID_ENUM);
        if (u1 == u2 || stride < k || order < 1 || order > 30) return GLenum(GL_INVALID_VALUE);
        return zw::outside();
    });
}
void glMap1d(GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order, const GLdouble*) {
    map1Check("glMap1d", target, u1, u2, stride, order);
}
void glMap1f(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat*) {
    map1Check("glMap1f", target, u1, u2, stride, order);
}

static void map2Check(const char* name, GLenum target, double u1, double u2, GLint us, GLint uo, double v1,
                      double v2, GLint vs, GLint vo) {
    zw::report(name, [=] {
        const int k = zw::mapComponents(target);
        if (!zw::map2(target) || k == 0) return GLenum(GL_INVALID_ENUM);
        if (u1 == u2 || v1 == v2 || us < k || vs < k || uo < 1 || uo > 30 || vo < 1 || vo > 30)
            return GLenum(GL_INVALID_VALUE);
        return zw::outside();
    });
}
void glMap2d(GLenum target, GLdouble u1, GLdouble u2, GLint us, GLint uo, GLdouble v1, GLdouble v2, GLint vs,
             GLint vo, const GLdouble*) {
    map2Check("glMap2d", target, u1, u2, us, uo, v1, v2, vs, vo);
}
void glMap2f(GLenum target, GLfloat u1, GLfloat u2, GLint us, GLint uo, GLfloat v1, GLfloat v2, GLint vs, GLint vo,
             const GLfloat*) {
    map2Check("glMap2f", target, u1, u2, us, uo, v1, v2, vs, vo);
}

// Maps as GL starts them (no control points): an order of 1, the domain [0, 1].
static void getMap(GLenum target, GLenum query, double* out) {
    if (zw::mapComponents(target) == 0) return zw::setError(GL_INVALID_ENUM);
    if (!zw::outsideBlock()) return;
    const bool two = zw::map2(target);
    switch (query) {
    case GL_ORDER: out[0] = 1; if (two) out[1] = 1; break;
    case GL_DOMAIN: out[0] = 0, out[1] = 1; if (two) out[2] = 0, out[3] = 1; break;
    case GL_COEFF: {
        // The start value of the map: the default of what it maps.
        const int k = zw::mapComponents(target);
        const double start[4] = {target == GL_MAP1_NORMAL || target == GL_MAP2_NORMAL ? 0.0 : target == GL_MAP1_INDEX || target == GL_MAP2_INDEX ? 1.0 : 0.0,
                                 0, target == GL_MAP1_NORMAL || target == GL_MAP2_NORMAL ? 1.0 : 0.0, 1};
        for (int i = 0; i < k; ++i) out[i] = start[i];
        break;
    }
    default: zw::setError(GL_INVALID_ENUM);
    }
}
void glGetMapdv(GLenum target, GLenum query, GLdouble* v) { getMap(target, query, v); }
void glGetMapfv(GLenum target, GLenum query, GLfloat* v) {
    double d[4] = {0, 0, 0, 0};
    const GLenum before = state().error;
    getMap(target, query, d);
    if (state().error != before && before == GL_NO_ERROR) return;
    const int n = query == GL_COEFF ? zw::mapComponents(target) : zw::map2(target) ? (query == GL_ORDER ? 2 : 4) : (query == GL_ORDER ? 1 : 2);
    for (int i = 0; i < n; ++i) v[i] = GLfloat(d[i]);
}
void glGetMapiv(GLenum target, GLenum query, GLint* v) {
    double d[4] = {0, 0, 0, 0};
    const GLenum before = state().error;
    getMap(target, query, d);
    if (state().error != before && before == GL_NO_ERROR) return;
    const int n = query == GL_COEFF ? zw::mapComponents(target) : zw::map2(target) ? (query == GL_ORDER ? 2 : 4) : (query == GL_ORDER ? 1 : 2);
    for (int i = 0; i < n; ++i) v[i] = GLint(std::lround(d[i]));
}

static void mapGrid(const char* name, GLint un, GLint vn) {
    zw::report(name, [=] { return un < 1 || vn < 1 ? GLenum(GL_INVALID_VALUE) : zw::outside(); });
}
void glMapGrid1d(GLint un, GLdouble, GLdouble) { mapGrid("glMapGrid1d", un, 1); }
void glMapGrid1f(GLint un, GLfloat, GLfloat) { mapGrid("glMapGrid1f", un, 1); }
void glMapGrid2d(GLint un, GLdouble, GLdouble, GLint vn, GLdouble, GLdouble) { mapGrid("glMapGrid2d", un, vn); }
void glMapGrid2f(GLint un, GLfloat, GLfloat, GLint vn, GLfloat, GLfloat) { mapGrid("glMapGrid2f", un, vn); }

// Allowed inside a block, where they would make vertices.
void glEvalCoord1d(GLdouble) { zw::report("glEvalCoord1d", zw::ok); }
void glEvalCoord1f(GLfloat) { zw::report("glEvalCoord1f", zw::ok); }
void glEvalCoord1dv(const GLdouble*) { zw::report("glEvalCoord1dv", zw::ok); }
void glEvalCoord1fv(const GLfloat*) { zw::report("glEvalCoord1fv", zw::ok); }
void glEvalCoord2d(GLdouble, GLdouble) { zw::report("glEvalCoord2d", zw::ok); }
void glEvalCoord2f(GLfloat, GLfloat) { zw::report("glEvalCoord2f", zw::ok); }
void glEvalCoord2dv(const GLdouble*) { zw::report("glEvalCoord2dv", zw::ok); }
void glEvalCoord2fv(const GLfloat*) { zw::report("glEvalCoord2fv", zw::ok); }
void glEvalPoint1(GLint) { zw::report("glEvalPoint1", zw::ok); }
void glEvalPoint2(GLint, GLint) { zw::report("glEvalPoint2", zw::ok); }

void glEvalMesh1(GLenum mode, GLint, GLint) {
    zw::report("glEvalMesh1", [=] {
        if (mode != GL_POINT && mode != GL_LINE) return GLenum(GL_INVALID_ENUM);
        return zw::outside();
    });
}
void glEvalMesh2(GLenum mode, GLint, GLint, GLint, GLint) {
    zw::report("glEvalMesh2", [=] {
        if (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL) return GLenum(GL_INVALID_ENUM);
        return zw::outside();
    });
}

// ---- Selection and feedback -------------------------------------------------------------
// The layer stays in GL_RENDER mode: a selection or feedback pass draws
// normally and records no hits.

}  // extern "C"

namespace zw {
GLenum renderMode() { return GL_RENDER; }
void feedbackBlock(GLenum, const Vertex*, int) {}
void feedbackRaster(GLenum) {}
}  // namespace zw

extern "C" {

GLint glRenderMode(GLenum mode) {
    if (mode != GL_RENDER && mode != GL_SELECT && mode != GL_FEEDBACK) {
        zw::setError(GL_INVALID_ENUM);
        return 0;
    }
    if (!zw::outsideBlock()) return 0;
    if (mode != GL_RENDER) zw::notDrawn(mode == GL_SELECT ? "glRenderMode(GL_SELECT)" : "glRenderMode(GL_FEEDBACK)");
    return 0;
}

void glSelectBuffer(GLsizei size, GLuint* buffer) {
    if (size < 0) return zw::setError(GL_INVALID_VALUE);
    if (!zw::outsideBlock()) return;
    zw::pointers[6] = buffer;
    zw::notDrawn("glSelectBuffer");
}

void glFeedbackBuffer(GLsizei size, GLenum type, GLfloat* buffer) {
    if (size < 0) return zw::setError(GL_INVALID_VALUE);
    if (type < GL_2D || type > GL_4D_COLOR_TEXTURE) return zw::setError(GL_INVALID_ENUM);
    if (!zw::outsideBlock()) return;
    zw::pointers[6] = buffer;
    zw::notDrawn("glFeedbackBuffer");
}

void glInitNames(void) { zw::report("glInitNames", zw::outside); }
void glLoadName(GLuint) { zw::report("glLoadName", zw::outside); }
void glPushName(GLuint) { zw::report("glPushName", zw::outside); }
void glPopName(void) { zw::report("glPopName", zw::outside); }
void glPassThrough(GLfloat) { zw::report("glPassThrough", zw::outside); }

}  // extern "C"
