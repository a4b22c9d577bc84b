// The raster position (glRasterPos transformed, lit and clipped as a vertex
// is; glWindowPos set in window coordinates), with the parts of the vertex
// pipeline it shares with selection and feedback (lighting, texture
// coordinates, the viewport transform), and glAccum.
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

}  // namespace

void light(const Material& m, const float eye[4], const float n[3], float out[4]) {
    const State& s = state();
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

void texCoord(const float in[4], const float obj[4], const float eye[4], const float n[3], float out[4]) {
    const State& s = state();
    float t[4] = {in[0], in[1], in[2], in[3]};
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

void windowCoords(const float clip[4], float out[3]) {
    const State& s = state();
    // The viewport transform as GL computes it: scale, then translate.
    const float halfW = 0.5f * float(s.viewport[2]), halfH = 0.5f * float(s.viewport[3]);
    const float n = s.depthRange[0], f = s.depthRange[1];
    out[0] = clip[0] / clip[3] * halfW + (float(s.viewport[0]) + halfW);
    out[1] = clip[1] / clip[3] * halfH + (float(s.viewport[1]) + halfH);
    out[2] = clip[2] / clip[3] * ((f - n) * 0.5f) + (n + f) * 0.5f;
}

bool eyeNormals(Mat& inverse) { return invert(state().modelview.back(), inverse); }

void eyeNormal(const Mat& inverse, const float in[3], float out[3]) {
    const State& s = state();
    for (int r = 0; r < 3; ++r) out[r] = inverse.m[r * 4] * in[0] + inverse.m[r * 4 + 1] * in[1] + inverse.m[r * 4 + 2] * in[2];
    if (s.normalize || s.rescaleNormal) normalise3(out);
}

namespace {

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
    windowCoords(clip, s.rasterPos);
    s.rasterPos[3] = clip[3];
    s.rasterDistance = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    float normal[3] = {s.normal[0], s.normal[1], s.normal[2]};
    Mat inv;
    if (eyeNormals(inv)) eyeNormal(inv, s.normal, normal);
    if (s.lighting)
        light(s.material[0], eye, normal, s.rasterColor);
    else
        for (int i = 0; i < 4; ++i) s.rasterColor[i] = s.color[i] < 0 ? 0 : s.color[i] > 1 ? 1 : s.color[i];
    s.rasterIndex = s.index;
    texCoord(s.tex, obj, eye, normal, s.rasterTex);
    selectRaster();
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

void glAccum(GLenum op, GLfloat value) {
    auto run = [=] {
        if (!zw::outsideBlock()) return;
        if (op != GL_ACCUM && op != GL_LOAD && op != GL_RETURN && op != GL_MULT && op != GL_ADD)
            return zw::setError(GL_INVALID_ENUM);
        // Only a window made with GLUT_ACCUM has the buffer.
        if (!zw::accumBits) return zw::setError(GL_INVALID_OPERATION);
        zw::accumulate(op, value);
    };
    if (zw::record(run)) run();
}

// ---- Vertex arrays (the rest: glArrays.cpp) -----------------------------------------

void glGetPointerv(GLenum pname, GLvoid** params) {
    int which;
    switch (pname) {
    case GL_VERTEX_ARRAY_POINTER: which = 0; break;
    case GL_NORMAL_ARRAY_POINTER: which = 1; break;
    case GL_COLOR_ARRAY_POINTER: which = 2; break;
    case GL_INDEX_ARRAY_POINTER: which = 3; break;
    case GL_TEXTURE_COORD_ARRAY_POINTER: which = 4; break;
    case GL_EDGE_FLAG_ARRAY_POINTER: which = 5; break;
    case GL_FEEDBACK_BUFFER_POINTER: case GL_SELECTION_BUFFER_POINTER: *params = zw::modeBuffer(pname); return;
    default: return zw::setError(GL_INVALID_ENUM);
    }
    *params = const_cast<GLvoid*>(zw::state().arrayPointer[which]);
}

}  // extern "C"
