// Evaluators (OpenGL 1.1, section 5.1): glMap1/glMap2 keep a copy of their
// control points; glEvalCoord and glEvalPoint evaluate the enabled maps with
// Bernstein polynomials and hand the values to the layer's own vertex path
// (the current colour, normal and texture coordinates stand in for the
// evaluated ones for one glVertex and are put back: evaluation never changes
// them), so lighting, lists, selection and feedback take evaluated vertices
// as any other; glEvalMesh is the glBegin/glEnd code GL gives for it. The
// grids are rows of the state table (glMapGrid).
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "platform/web/glState.h"
#include "platform/web/glStateTable.h"

namespace zw {
namespace {

// The nine maps of each dimension in GL's order, GL_MAPn_COLOR_4 first (the
// order of map1On/map2On): their values per control point, and the start
// value of each (the current value's default).
enum { COLOR, INDEX, NORMAL, TEX1, TEX2, TEX3, TEX4, VERTEX3, VERTEX4, MAPS };
const int components[MAPS] = {4, 1, 3, 1, 2, 3, 4, 3, 4};
const double startPoint[MAPS][4] = {{1, 1, 1, 1}, {1}, {0, 0, 1}, {0}, {0, 0}, {0, 0, 0}, {0, 0, 0, 1},
                                    {0, 0, 0}, {0, 0, 0, 1}};

struct Map {
    int uOrder = 1, vOrder = 1;
    double u1 = 0, u2 = 1, v1 = 0, v2 = 1;
    std::vector<double> points;  // k values per point, as an array [u][v] (what glGetMap gives)
};

// Every map, each at its start: order 1 over [0, 1], the start point.
struct Maps {
    Map of[2][MAPS];  // GL_MAP1_*, GL_MAP2_*
    Maps() {
        for (auto& dims : of)
            for (int i = 0; i < MAPS; ++i) dims[i].points.assign(startPoint[i], startPoint[i] + components[i]);
    }
};

Map& map(int dims, int index) {
    static Maps maps;
    return maps.of[dims - 1][index];
}

// The dimension (1, 2) and index of a target; 0 for a name that is no map.
int mapOf(GLenum target, int* index) {
    if (target >= GL_MAP1_COLOR_4 && target <= GL_MAP1_VERTEX_4) return *index = int(target - GL_MAP1_COLOR_4), 1;
    if (target >= GL_MAP2_COLOR_4 && target <= GL_MAP2_VERTEX_4) return *index = int(target - GL_MAP2_COLOR_4), 2;
    return 0;
}

// The Bernstein polynomials of degree order - 1 at t, and in `d` their
// derivatives, raised one degree at a time (each step a convex combination
// on [0, 1], so nothing cancels).
void bernstein(int order, double t, double* b, double* d) {
    const int n = order - 1;
    b[0] = 1, d[0] = 0;
    for (int r = 1; r <= n; ++r) {
        if (r == n)  // the derivative of degree n from the polynomials of degree n - 1
            for (int i = 0; i <= n; ++i) d[i] = n * ((i > 0 ? b[i - 1] : 0) - (i < n ? b[i] : 0));
        double carried = 0;
        for (int i = 0; i < r; ++i) {
            const double bi = b[i];
            b[i] = (1 - t) * bi + carried;
            carried = t * bi;
        }
        b[r] = carried;
    }
}

// A map's value at (u, v) and its partial derivatives by the map's own
// parameters, u and v carried to [0, 1] (so that a reversed domain keeps the
// normal). A map of one dimension has a v order of 1 and takes any v.
void evaluate(const Map& m, int k, double u, double v, double* p, double* pu, double* pv) {
    double bu[ZW_MAX_EVAL_ORDER], du[ZW_MAX_EVAL_ORDER], bv[ZW_MAX_EVAL_ORDER], dv[ZW_MAX_EVAL_ORDER];
    bernstein(m.uOrder, (u - m.u1) / (m.u2 - m.u1), bu, du);
    bernstein(m.vOrder, (v - m.v1) / (m.v2 - m.v1), bv, dv);
    for (int c = 0; c < k; ++c) p[c] = pu[c] = pv[c] = 0;
    for (int i = 0; i < m.uOrder; ++i)
        for (int j = 0; j < m.vOrder; ++j) {
            const double* r = &m.points[size_t((i * m.vOrder + j) * k)];
            for (int c = 0; c < k; ++c) {
                p[c] += bu[i] * bv[j] * r[c];
                pu[c] += du[i] * bv[j] * r[c];
                pv[c] += bu[i] * dv[j] * r[c];
            }
        }
}

// glEvalCoord: the enabled maps of one dimension make one vertex. Without a
// vertex map nothing is made; with both, GL_MAPn_VERTEX_4 wins, and of the
// texture maps the one of the most coordinates.
void evalCoord(int dims, double u, double v) {
    State& s = state();
    const bool* on = dims == 1 ? s.map1On : s.map2On;
    const int vertex = on[VERTEX4] ? VERTEX4 : on[VERTEX3] ? VERTEX3 : -1;
    if (vertex < 0 || !s.inBlock) return;
    const Map* m = &map(dims, 0);
    float color[4], normal[3], tex[4];
    const float index = s.index;
    std::memcpy(color, s.color, sizeof color);
    std::memcpy(normal, s.normal, sizeof normal);
    std::memcpy(tex, s.tex, sizeof tex);
    double p[4], pu[4], pv[4];
    if (on[INDEX]) evaluate(m[INDEX], 1, u, v, p, pu, pv), s.index = float(p[0]);
    if (on[COLOR]) {
        evaluate(m[COLOR], 4, u, v, p, pu, pv);
        for (int c = 0; c < 4; ++c) s.color[c] = float(p[c]);
    }
    if (on[NORMAL]) {
        evaluate(m[NORMAL], 3, u, v, p, pu, pv);
        for (int c = 0; c < 3; ++c) s.normal[c] = float(p[c]);
    }
    for (int t = TEX4; t >= TEX1; --t) {
        if (!on[t]) continue;
        evaluate(m[t], components[t], u, v, p, pu, pv);
        const float filled[4] = {0, 0, 0, 1};  // as glTexCoord1..4 fill them
        for (int c = 0; c < 4; ++c) s.tex[c] = c < components[t] ? float(p[c]) : filled[c];
        break;
    }
    evaluate(m[vertex], components[vertex], u, v, p, pu, pv);
    if (dims == 2 && s.autoNormal) {
        // The normal is du x dv of the point (x/w, y/w, z/w) normalised; with
        // w, each derivative is (x' w - x w') / w^2, whose positive scale the
        // normalising drops.
        if (vertex == VERTEX4)
            for (int c = 0; c < 3; ++c) {
                pu[c] = pu[c] * p[3] - p[c] * pu[3];
                pv[c] = pv[c] * p[3] - p[c] * pv[3];
            }
        const double n[3] = {pu[1] * pv[2] - pu[2] * pv[1], pu[2] * pv[0] - pu[0] * pv[2],
                             pu[0] * pv[1] - pu[1] * pv[0]};
        const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int c = 0; c < 3; ++c) s.normal[c] = l > 0 ? float(n[c] / l) : 0.0f;
    }
    if (vertex == VERTEX4)
        glVertex4f(GLfloat(p[0]), GLfloat(p[1]), GLfloat(p[2]), GLfloat(p[3]));
    else
        glVertex3f(GLfloat(p[0]), GLfloat(p[1]), GLfloat(p[2]));
    s.index = index;
    std::memcpy(s.color, color, sizeof color);
    std::memcpy(s.normal, normal, sizeof normal);
    std::memcpy(s.tex, tex, sizeof tex);
}

// Kept whole in an open list, run now unless compiled only. Outside a block
// a list may be called inside one later; inside a block being compiled the
// vertex goes into the block the list keeps, as glVertex's do.
void evalCall(int dims, double u, double v) {
    if (!state().inBlock && !record([=] { evalCoord(dims, u, v); })) return;
    evalCoord(dims, u, v);
}

// The grid's i-th value: u1 + i (u2 - u1) / n, and u2 exactly at i = n.
double gridValue(const float* domain, int n, int i) {
    return i == n ? domain[1] : domain[0] + i * ((double(domain[1]) - domain[0]) / n);
}

void evalPoint(int dims, int i, int j) {
    const State& s = state();
    if (dims == 1) return evalCoord(1, gridValue(s.grid1Domain, s.grid1Segments, i), 0);
    evalCoord(2, gridValue(s.grid2Domain, s.grid2Segments[0], i), gridValue(s.grid2Domain + 2, s.grid2Segments[1], j));
}

void evalMesh1(GLenum mode, int i1, int i2) {
    if (mode != GL_POINT && mode != GL_LINE) return setError(GL_INVALID_ENUM);
    if (!outsideBlock()) return;
    glBegin(mode == GL_POINT ? GL_POINTS : GL_LINE_STRIP);
    for (int i = i1; i <= i2; ++i) evalPoint(1, i, 0);
    glEnd();
}

void evalMesh2(GLenum mode, int i1, int i2, int j1, int j2) {
    if (mode != GL_POINT && mode != GL_LINE && mode != GL_FILL) return setError(GL_INVALID_ENUM);
    if (!outsideBlock()) return;
    if (mode == GL_FILL) {
        for (int j = j1; j < j2; ++j) {
            glBegin(GL_QUAD_STRIP);
            for (int i = i1; i <= i2; ++i) evalPoint(2, i, j), evalPoint(2, i, j + 1);
            glEnd();
        }
    } else if (mode == GL_LINE) {
        for (int j = j1; j <= j2; ++j) {
            glBegin(GL_LINE_STRIP);
            for (int i = i1; i <= i2; ++i) evalPoint(2, i, j);
            glEnd();
        }
        for (int i = i1; i <= i2; ++i) {
            glBegin(GL_LINE_STRIP);
            for (int j = j1; j <= j2; ++j) evalPoint(2, i, j);
            glEnd();
        }
    } else {
        glBegin(GL_POINTS);
        for (int j = j1; j <= j2; ++j)
            for (int i = i1; i <= i2; ++i) evalPoint(2, i, j);
        glEnd();
    }
}

// glMap1/glMap2: the points are copied at the call (a list keeps the copy);
// the errors are raised when the call runs.
template <typename T>
void defineMap(int dims, GLenum target, double u1, double u2, int uStride, int uOrder, double v1, double v2,
               int vStride, int vOrder, const T* points) {
    int index = 0;
    const bool named = mapOf(target, &index) == dims;
    const int k = named ? components[index] : 0;
    GLenum error = GL_NO_ERROR;
    if (!named)
        error = GL_INVALID_ENUM;
    else if (u1 == u2 || v1 == v2 || uStride < k || (dims == 2 && vStride < k) || uOrder < 1 || uOrder > ZW_MAX_EVAL_ORDER ||
             vOrder < 1 || vOrder > ZW_MAX_EVAL_ORDER || points == nullptr)  // a null array is refused, not read
        error = GL_INVALID_VALUE;
    Map m;
    if (error == GL_NO_ERROR) {
        m.uOrder = uOrder, m.vOrder = vOrder, m.u1 = u1, m.u2 = u2, m.v1 = v1, m.v2 = v2;
        m.points.resize(size_t(uOrder * vOrder * k));
        for (int i = 0; i < uOrder; ++i)
            for (int j = 0; j < vOrder; ++j)
                for (int c = 0; c < k; ++c)
                    m.points[size_t((i * vOrder + j) * k + c)] =
                        double(points[size_t(i) * size_t(uStride) + size_t(j) * size_t(vStride) + size_t(c)]);
    }
    auto run = [=] {
        if (error != GL_NO_ERROR) return setError(error);
        if (outsideBlock()) map(dims, index) = m;
    };
    if (record(run)) run();
}

// glGetMap's values as doubles; their number, 0 after an error.
int getMap(GLenum target, GLenum query, std::vector<double>& out) {
    int index = 0;
    const int dims = mapOf(target, &index);
    if (dims == 0 || (query != GL_ORDER && query != GL_DOMAIN && query != GL_COEFF)) {
        setError(GL_INVALID_ENUM);
        return 0;
    }
    if (!outsideBlock()) return 0;
    const Map& m = map(dims, index);
    if (query == GL_ORDER)
        out = {double(m.uOrder), double(m.vOrder)};
    else if (query == GL_DOMAIN)
        out = {m.u1, m.u2, m.v1, m.v2};
    else
        out = m.points;
    return query == GL_COEFF ? int(out.size()) : dims * (query == GL_ORDER ? 1 : 2);
}

}  // namespace
}  // namespace zw

using zw::state;

extern "C" {

void glMap1d(GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order, const GLdouble* points) {
    zw::defineMap(1, target, u1, u2, stride, order, 0, 1, 0, 1, points);
}
void glMap1f(GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat* points) {
    zw::defineMap(1, target, u1, u2, stride, order, 0, 1, 0, 1, points);
}
void glMap2d(GLenum target, GLdouble u1, GLdouble u2, GLint uStride, GLint uOrder, GLdouble v1, GLdouble v2,
             GLint vStride, GLint vOrder, const GLdouble* points) {
    zw::defineMap(2, target, u1, u2, uStride, uOrder, v1, v2, vStride, vOrder, points);
}
void glMap2f(GLenum target, GLfloat u1, GLfloat u2, GLint uStride, GLint uOrder, GLfloat v1, GLfloat v2,
             GLint vStride, GLint vOrder, const GLfloat* points) {
    zw::defineMap(2, target, u1, u2, uStride, uOrder, v1, v2, vStride, vOrder, points);
}

void glGetMapdv(GLenum target, GLenum query, GLdouble* v) {
    std::vector<double> d;
    const int n = zw::getMap(target, query, d);
    for (int i = 0; i < n; ++i) v[i] = d[size_t(i)];
}
void glGetMapfv(GLenum target, GLenum query, GLfloat* v) {
    std::vector<double> d;
    const int n = zw::getMap(target, query, d);
    for (int i = 0; i < n; ++i) v[i] = GLfloat(d[size_t(i)]);
}
void glGetMapiv(GLenum target, GLenum query, GLint* v) {
    std::vector<double> d;
    const int n = zw::getMap(target, query, d);
    for (int i = 0; i < n; ++i) v[i] = GLint(std::lround(d[size_t(i)]));
}

void glMapGrid1d(GLint un, GLdouble u1, GLdouble u2) {
    zw::set({{GL_MAP1_GRID_SEGMENTS, 0, 1, {double(un)}}, {GL_MAP1_GRID_DOMAIN, 0, 2, {u1, u2}}});
}
void glMapGrid1f(GLint un, GLfloat u1, GLfloat u2) { glMapGrid1d(un, u1, u2); }
void glMapGrid2d(GLint un, GLdouble u1, GLdouble u2, GLint vn, GLdouble v1, GLdouble v2) {
    zw::set({{GL_MAP2_GRID_SEGMENTS, 0, 2, {double(un), double(vn)}}, {GL_MAP2_GRID_DOMAIN, 0, 4, {u1, u2, v1, v2}}});
}
void glMapGrid2f(GLint un, GLfloat u1, GLfloat u2, GLint vn, GLfloat v1, GLfloat v2) {
    glMapGrid2d(un, u1, u2, vn, v1, v2);
}

void glEvalCoord1d(GLdouble u) { zw::evalCall(1, u, 0); }
void glEvalCoord1f(GLfloat u) { zw::evalCall(1, u, 0); }
void glEvalCoord1dv(const GLdouble* u) { zw::evalCall(1, u[0], 0); }
void glEvalCoord1fv(const GLfloat* u) { zw::evalCall(1, u[0], 0); }
void glEvalCoord2d(GLdouble u, GLdouble v) { zw::evalCall(2, u, v); }
void glEvalCoord2f(GLfloat u, GLfloat v) { zw::evalCall(2, u, v); }
void glEvalCoord2dv(const GLdouble* u) { zw::evalCall(2, u[0], u[1]); }
void glEvalCoord2fv(const GLfloat* u) { zw::evalCall(2, u[0], u[1]); }

void glEvalPoint1(GLint i) {
    if (!state().inBlock && !zw::record([=] { zw::evalPoint(1, i, 0); })) return;
    zw::evalPoint(1, i, 0);
}
void glEvalPoint2(GLint i, GLint j) {
    if (!state().inBlock && !zw::record([=] { zw::evalPoint(2, i, j); })) return;
    zw::evalPoint(2, i, j);
}

void glEvalMesh1(GLenum mode, GLint i1, GLint i2) {
    zw::recordWhole([=] { zw::evalMesh1(mode, i1, i2); });
}
void glEvalMesh2(GLenum mode, GLint i1, GLint i2, GLint j1, GLint j2) {
    zw::recordWhole([=] { zw::evalMesh2(mode, i1, i2, j1, j2); });
}

}  // extern "C"
