// Selection and feedback (glRenderMode, glSelectBuffer, glFeedbackBuffer,
// the name stack, glPassThrough): outside GL_RENDER a block goes through a
// vertex pipeline on the CPU instead of WebGL. Its vertices are transformed,
// lit and clipped as GL does, polygons culled and turned into points, lines
// or filled polygons by the polygon mode, and each primitive that is left
// either makes a hit (GL_SELECT) or is written as window coordinates with
// its colour and texture coordinates (GL_FEEDBACK).
//
// Polygons are fed back as triangles, each ending on the polygon's provoking
// vertex (the order the WebGL side draws them in, and the one the native
// GL feeds back); a triangle that clipping cuts becomes a fan from the first
// vertex the clipper keeps.
#include <GL/gl.h>

#include <vector>

#include "platform/web/glState.h"

namespace zw {
namespace {

struct Modes {
    GLenum mode = GL_RENDER;
    GLuint* select = nullptr;
    GLsizei selectSize = 0;
    GLfloat* feedback = nullptr;
    GLsizei feedbackSize = 0;
    GLenum feedbackType = GL_2D;
    GLsizei used = 0;  // values written since the mode was entered
    bool overflow = false;
    std::vector<GLuint> names;
    bool hit = false;  // since the last hit record
    float minZ = 1, maxZ = 0;
    GLint hits = 0;
};
Modes modes;

// ---- Writing the buffers ----------------------------------------------------------
// A value past the end of the buffer is not written: the mode ends in -1.

void putSelect(GLuint v) {
    if (modes.used < modes.selectSize)
        modes.select[modes.used++] = v;
    else
        modes.overflow = true;
}

void putFeedback(float v) {
    if (modes.used < modes.feedbackSize)
        modes.feedback[modes.used++] = v;
    else
        modes.overflow = true;
}

// A window depth as a hit record holds it: [0, 1] scaled to [0, 2^32 - 1],
// the product in single precision as GL's depths are.
GLuint hitDepth(float z) {
    const float scaled = z * 4294967295.0f;
    return scaled >= 4294967295.0f ? 0xffffffffu : scaled <= 0 ? 0u : GLuint(scaled);
}

// The hit record of the primitives since the last one: the name stack's
// depth, the least and greatest window depth, the names from the bottom.
void writeHit() {
    if (!modes.hit) return;
    putSelect(GLuint(modes.names.size()));
    putSelect(hitDepth(modes.minZ));
    putSelect(hitDepth(modes.maxZ));
    for (GLuint n : modes.names) putSelect(n);
    ++modes.hits;
    modes.hit = false;
    modes.minZ = 1, modes.maxZ = 0;
}

void hitAt(float z) {
    modes.hit = true;
    if (z < modes.minZ) modes.minZ = z;
    if (z > modes.maxZ) modes.maxZ = z;
}

// ---- Vertices ---------------------------------------------------------------------

// A vertex in clip coordinates (with its eye coordinates, which the clip
// planes are in), colours for the front and the back, texture coordinates,
// and whether a boundary edge starts here.
struct ClipVertex {
    float clip[4], eye[4];
    float color[2][4];
    float tex[4];
    bool edge;
};

float clamp01(float c) { return c < 0 ? 0 : c > 1 ? 1 : c; }

ClipVertex prepare(const Vertex& in, const Mat& mvp, const Mat& inverse, bool normals) {
    const State& s = state();
    ClipVertex v;
    const float obj[4] = {in.pos[0], in.pos[1], in.pos[2], 1};
    transform(s.modelview.back(), obj, v.eye);
    transform(mvp, obj, v.clip);
    float n[3] = {in.normal[0], in.normal[1], in.normal[2]};
    if (normals) eyeNormal(inverse, in.normal, n);
    if (s.lighting) {
        light(vertexMaterial(0, in.color), v.eye, n, v.color[0]);
        if (s.twoSide) {
            const float back[3] = {-n[0], -n[1], -n[2]};
            light(vertexMaterial(1, in.color), v.eye, back, v.color[1]);
        }
    } else {
        for (int k = 0; k < 4; ++k) v.color[0][k] = clamp01(in.color[k]);
    }
    if (!s.lighting || !s.twoSide)
        for (int k = 0; k < 4; ++k) v.color[1][k] = v.color[0][k];
    texCoord(in.tex, obj, v.eye, n, v.tex);
    v.edge = in.edgeFlag != 0;
    return v;
}

// ---- Clipping ---------------------------------------------------------------------
// The six planes of the view volume (near and far first, the order whose
// corners the native GL's clipper leaves whole), then the enabled clip
// planes; a vertex is inside a plane where its distance is not negative.

const int planes = 6 + ZW_CLIP_PLANES;

bool planeOn(int p) { return p < 6 || state().clipOn[p - 6]; }

float distance(const ClipVertex& v, int p) {
    const float* c = v.clip;
    switch (p) {
    case 0: return c[2] + c[3];
    case 1: return c[3] - c[2];
    case 2: return c[0] + c[3];
    case 3: return c[3] - c[0];
    case 4: return c[1] + c[3];
    case 5: return c[3] - c[1];
    default: {
        const float* q = state().clipPlane[p - 6];
        return q[0] * v.eye[0] + q[1] * v.eye[1] + q[2] * v.eye[2] + q[3] * v.eye[3];
    }
    }
}

bool inside(const ClipVertex& v) {
    for (int p = 0; p < planes; ++p)
        if (planeOn(p) && distance(v, p) < 0) return false;
    return true;
}

// The point where the edge from `in` (inside plane p) to `out` crosses it,
// every value interpolated from the outside end.
ClipVertex crossing(const ClipVertex& in, const ClipVertex& out, int p) {
    const float din = distance(in, p), dout = distance(out, p);
    const float t = dout / (dout - din);
    ClipVertex v;
    auto mix = [t](const float* a, const float* b, float* r) {
        for (int k = 0; k < 4; ++k) r[k] = a[k] + t * (b[k] - a[k]);
    };
    mix(out.clip, in.clip, v.clip);
    mix(out.eye, in.eye, v.eye);
    mix(out.color[0], in.color[0], v.color[0]);
    mix(out.color[1], in.color[1], v.color[1]);
    mix(out.tex, in.tex, v.tex);
    v.edge = false;
    return v;
}

// A segment clipped: false when nothing is left.
bool clipLine(ClipVertex& a, ClipVertex& b) {
    for (int p = 0; p < planes; ++p) {
        if (!planeOn(p)) continue;
        const float da = distance(a, p), db = distance(b, p);
        if (da < 0 && db < 0) return false;
        if (da < 0) a = crossing(b, a, p);
        else if (db < 0) b = crossing(a, b, p);
    }
    return true;
}

// A polygon clipped plane by plane (each vertex kept where inside, a new one
// where an edge crosses). An edge that enters keeps its boundary flag on its
// new first vertex; the edges along a plane are no boundary.
void clipPolygon(std::vector<ClipVertex>& poly) {
    std::vector<ClipVertex> next;
    for (int p = 0; p < planes && !poly.empty(); ++p) {
        if (!planeOn(p)) continue;
        next.clear();
        const size_t n = poly.size();
        for (size_t i = 0; i < n; ++i) {
            const ClipVertex& cur = poly[i];
            const ClipVertex& to = poly[(i + 1) % n];
            const bool in = distance(cur, p) >= 0, toIn = distance(to, p) >= 0;
            if (in) next.push_back(cur);
            if (in && !toIn) next.push_back(crossing(cur, to, p));
            if (!in && toIn) {
                next.push_back(crossing(to, cur, p));
                next.back().edge = cur.edge;
            }
        }
        poly.swap(next);
    }
}

// ---- Output -----------------------------------------------------------------------

// A vertex in window coordinates, with the colour of the side drawn.
struct Out {
    float win[4];
    const float* color;
    const float* tex;
};

Out windowed(const ClipVertex& v, int side) {
    Out o;
    windowCoords(v.clip, o.win);
    o.win[3] = v.clip[3];
    o.color = v.color[side];
    o.tex = v.tex;
    return o;
}

void putVertex(const float win[4], const float color[4], const float tex[4]) {
    const GLenum type = modes.feedbackType;
    putFeedback(win[0]);
    putFeedback(win[1]);
    if (type == GL_2D) return;
    putFeedback(win[2]);
    if (type == GL_4D_COLOR_TEXTURE) putFeedback(win[3]);
    if (type == GL_3D) return;
    for (int k = 0; k < 4; ++k) putFeedback(color[k]);
    if (type == GL_3D_COLOR) return;
    for (int k = 0; k < 4; ++k) putFeedback(tex[k]);
}

// One primitive of `n` vertices: a hit, or its token and vertices.
void emit(GLenum token, const Out* v, int n) {
    if (modes.mode == GL_SELECT) {
        for (int i = 0; i < n; ++i) hitAt(v[i].win[2]);
        return;
    }
    putFeedback(float(token));
    if (token == GL_POLYGON_TOKEN) putFeedback(float(n));
    for (int i = 0; i < n; ++i) putVertex(v[i].win, v[i].color, v[i].tex);
}

// The stipple counter restarts at the next segment drawn.
bool resetPending = false;

void emitLine(const ClipVertex& a, const ClipVertex& b, int side) {
    const Out o[2] = {windowed(a, side), windowed(b, side)};
    emit(resetPending ? GL_LINE_RESET_TOKEN : GL_LINE_TOKEN, o, 2);
    resetPending = false;
}

void point(const ClipVertex& v) {
    if (!inside(v)) return;
    const Out o = windowed(v, 0);
    emit(GL_POINT_TOKEN, &o, 1);
}

// A segment with the provoking vertex b (whose colour it takes when flat).
void line(ClipVertex a, ClipVertex b) {
    if (state().shadeModel == GL_FLAT)
        for (int k = 0; k < 4; ++k) a.color[0][k] = b.color[0][k];
    if (clipLine(a, b)) emitLine(a, b, 0);
}

// Twice the signed area of a triangle in window coordinates, from its clip
// coordinates (the sign holds for vertices behind the eye too).
float facing(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) {
    const float* p = a.clip;
    const float* q = b.clip;
    const float* r = c.clip;
    const float det = p[0] * (q[1] * r[3] - r[1] * q[3]) - q[0] * (p[1] * r[3] - r[1] * p[3]) +
                      r[0] * (p[1] * q[3] - q[1] * p[3]);
    const State& s = state();
    // The viewport's scale keeps the sign; a clockwise front face turns it.
    return s.frontFace == GL_CCW ? det : -det;
}

// A triangle of a polygon as the pipeline keeps it: the provoking vertex
// first, x[i] starts the edge to x[(i + 1) % 3] (a boundary where edge[i]).
// Filled or as points it is fed back x1, x2, x0; as lines, edge by edge from x0.
void triangle(ClipVertex x0, ClipVertex x1, ClipVertex x2, bool e0, bool e1, bool e2) {
    const State& s = state();
    const float area = facing(x0, x1, x2);
    const bool back = area < 0;
    if (s.cullFace && (s.cullFaceMode == GL_FRONT_AND_BACK || (s.cullFaceMode == GL_BACK) == back)) return;
    const int side = back && s.lighting && s.twoSide ? 1 : 0;
    if (s.shadeModel == GL_FLAT)
        for (int k = 0; k < 4; ++k) x1.color[side][k] = x2.color[side][k] = x0.color[side][k];
    x0.edge = e0, x1.edge = e1, x2.edge = e2;
    const GLenum mode = s.polygonMode[back ? 1 : 0];
    if (inside(x0) && inside(x1) && inside(x2)) {
        if (mode == GL_LINE) {
            const ClipVertex* x[3] = {&x0, &x1, &x2};
            for (int i = 0; i < 3; ++i)
                if (x[i]->edge) emitLine(*x[i], *x[(i + 1) % 3], side);
            return;
        }
        if (mode == GL_POINT) {
            for (const ClipVertex* v : {&x1, &x2, &x0})
                if (v->edge) {
                    const Out o = windowed(*v, side);
                    emit(GL_POINT_TOKEN, &o, 1);
                }
            return;
        }
        const Out o[3] = {windowed(x1, side), windowed(x2, side), windowed(x0, side)};
        emit(GL_POLYGON_TOKEN, o, 3);
        return;
    }
    std::vector<ClipVertex> poly = {x1, x2, x0};
    clipPolygon(poly);
    const int n = int(poly.size());
    if (n < 3) return;
    if (mode == GL_LINE) {
        for (int i = 0; i < n; ++i)
            if (poly[size_t(i)].edge) emitLine(poly[size_t(i)], poly[size_t((i + 1) % n)], side);
        return;
    }
    if (mode == GL_POINT) {
        for (const ClipVertex& v : poly)
            if (v.edge) {
                const Out o = windowed(v, side);
                emit(GL_POINT_TOKEN, &o, 1);
            }
        return;
    }
    // A fan from the first vertex, each triangle ending on it.
    for (int i = 1; i + 1 < n; ++i) {
        const Out o[3] = {windowed(poly[size_t(i)], side), windowed(poly[size_t(i + 1)], side),
                          windowed(poly[0], side)};
        emit(GL_POLYGON_TOKEN, o, 3);
    }
}

// A new polygon: its edges begin a new stipple.
void polygonStart() { resetPending = true; }

void polygons(GLenum mode, const std::vector<ClipVertex>& v) {
    const int n = int(v.size());
    auto at = [&](int i) -> const ClipVertex& { return v[size_t(i)]; };
    auto edge = [&](int i) { return at(i).edge; };
    switch (mode) {
    case GL_TRIANGLES:
        for (int i = 0; i + 2 < n; i += 3) {
            polygonStart();
            triangle(at(i + 2), at(i), at(i + 1), edge(i + 2), edge(i), edge(i + 1));
        }
        return;
    case GL_TRIANGLE_STRIP:
        // Every other triangle turned so that all keep the strip's winding.
        for (int i = 0; i + 2 < n; ++i) {
            polygonStart();
            if (i % 2 == 0)
                triangle(at(i + 2), at(i), at(i + 1), true, true, true);
            else
                triangle(at(i + 2), at(i + 1), at(i), true, true, true);
        }
        return;
    case GL_TRIANGLE_FAN:
        for (int i = 1; i + 1 < n; ++i) {
            polygonStart();
            triangle(at(i + 1), at(0), at(i), true, true, true);
        }
        return;
    case GL_QUADS:
        for (int i = 0; i + 3 < n; i += 4) {
            polygonStart();
            triangle(at(i + 3), at(i), at(i + 1), edge(i + 3), edge(i), false);
            triangle(at(i + 3), at(i + 1), at(i + 2), false, edge(i + 1), edge(i + 2));
        }
        return;
    case GL_QUAD_STRIP:
        for (int i = 0; i + 3 < n; i += 2) {
            polygonStart();
            triangle(at(i + 3), at(i + 2), at(i), true, true, false);
            triangle(at(i + 3), at(i), at(i + 1), false, true, true);
        }
        return;
    default:  // GL_POLYGON
        polygonStart();
        for (int i = 1; i + 1 < n; ++i)
            triangle(at(0), at(i), at(i + 1), i == 1 && edge(0), edge(i), i + 2 == n && edge(i + 1));
    }
}

}  // namespace

GLenum renderMode() { return modes.mode; }

void feedbackBlock(GLenum mode, const Vertex* vertices, int count) {
    Mat inverse;
    const bool normals = eyeNormals(inverse);
    // Vertices go to clip coordinates by one matrix, projection times
    // model-view, whose rounding the native GL's window depths show.
    const Mat mvp = multiply(state().projection.back(), state().modelview.back());
    std::vector<ClipVertex> v;
    v.reserve(size_t(count));
    for (int i = 0; i < count; ++i) v.push_back(prepare(vertices[i], mvp, inverse, normals));
    switch (mode) {
    case GL_POINTS:
        for (const ClipVertex& p : v) point(p);
        return;
    case GL_LINES:
        // Each separate segment restarts the stipple.
        for (int i = 0; i + 1 < count; i += 2) {
            resetPending = true;
            line(v[size_t(i)], v[size_t(i + 1)]);
        }
        return;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        resetPending = true;
        for (int i = 0; i + 1 < count; ++i) line(v[size_t(i)], v[size_t(i + 1)]);
        if (mode == GL_LINE_LOOP && count > 2) line(v[size_t(count - 1)], v[0]);
        return;
    default: polygons(mode, v);
    }
}

void feedbackRaster(GLenum token) {
    const State& s = state();
    if (modes.mode != GL_FEEDBACK || !s.rasterValid) return;
    putFeedback(float(token));
    putVertex(s.rasterPos, s.rasterColor, s.rasterTex);
}

void selectRaster() {
    if (modes.mode == GL_SELECT && state().rasterValid) hitAt(state().rasterPos[2]);
}

int nameStackDepth() { return int(modes.names.size()); }

void* modeBuffer(GLenum pname) {
    return pname == GL_SELECTION_BUFFER_POINTER ? static_cast<void*>(modes.select) : static_cast<void*>(modes.feedback);
}

}  // namespace zw

using zw::modes;

extern "C" {

GLint glRenderMode(GLenum mode) {
    if (mode != GL_RENDER && mode != GL_SELECT && mode != GL_FEEDBACK) {
        zw::setError(GL_INVALID_ENUM);
        return 0;
    }
    if (!zw::outsideBlock()) return 0;
    if ((mode == GL_SELECT && !modes.select) || (mode == GL_FEEDBACK && !modes.feedback)) {
        zw::setError(GL_INVALID_OPERATION);
        return 0;
    }
    // What is batched was drawn in GL_RENDER.
    zw::flushBatch();
    GLint result = 0;
    if (modes.mode == GL_SELECT) {
        zw::writeHit();
        result = modes.overflow ? -1 : modes.hits;
    } else if (modes.mode == GL_FEEDBACK) {
        result = modes.overflow ? -1 : modes.used;
    }
    modes.mode = mode;
    modes.used = 0;
    modes.overflow = false;
    modes.hits = 0;
    modes.hit = false;
    modes.minZ = 1, modes.maxZ = 0;
    modes.names.clear();
    return result;
}

void glSelectBuffer(GLsizei size, GLuint* buffer) {
    if (size < 0) return zw::setError(GL_INVALID_VALUE);
    if (!zw::outsideBlock()) return;
    if (modes.mode == GL_SELECT) return zw::setError(GL_INVALID_OPERATION);
    modes.select = buffer;
    modes.selectSize = buffer ? size : 0;
}

void glFeedbackBuffer(GLsizei size, GLenum type, GLfloat* buffer) {
    if (size < 0) return zw::setError(GL_INVALID_VALUE);
    if (type < GL_2D || type > GL_4D_COLOR_TEXTURE) return zw::setError(GL_INVALID_ENUM);
    if (!zw::outsideBlock()) return;
    if (modes.mode == GL_FEEDBACK) return zw::setError(GL_INVALID_OPERATION);
    modes.feedback = buffer;
    modes.feedbackSize = buffer ? size : 0;
    modes.feedbackType = type;
}

// The name stack calls go into display lists; outside GL_SELECT they do nothing.
void glInitNames(void) {
    if (!zw::record([] { glInitNames(); }) || !zw::outsideBlock() || modes.mode != GL_SELECT) return;
    zw::writeHit();
    modes.names.clear();
}

void glLoadName(GLuint name) {
    if (!zw::record([=] { glLoadName(name); }) || !zw::outsideBlock() || modes.mode != GL_SELECT) return;
    if (modes.names.empty()) return zw::setError(GL_INVALID_OPERATION);
    zw::writeHit();
    modes.names.back() = name;
}

void glPushName(GLuint name) {
    if (!zw::record([=] { glPushName(name); }) || !zw::outsideBlock() || modes.mode != GL_SELECT) return;
    if (modes.names.size() >= ZW_NAME_STACK_DEPTH) return zw::setError(GL_STACK_OVERFLOW);
    zw::writeHit();
    modes.names.push_back(name);
}

void glPopName(void) {
    if (!zw::record([] { glPopName(); }) || !zw::outsideBlock() || modes.mode != GL_SELECT) return;
    if (modes.names.empty()) return zw::setError(GL_STACK_UNDERFLOW);
    zw::writeHit();
    modes.names.pop_back();
}

void glPassThrough(GLfloat token) {
    if (!zw::record([=] { glPassThrough(token); }) || !zw::outsideBlock() || modes.mode != GL_FEEDBACK) return;
    zw::putFeedback(float(GL_PASS_THROUGH_TOKEN));
    zw::putFeedback(token);
}

}  // extern "C"
