// GLU's NURBS renderer. The splines given between the begin and end calls are
// copied and checked; the end call evaluates them (B-spline basis functions
// by the Cox-de Boor recurrence), samples each knot span as finely as the
// tolerance asks in window pixels through the current (or loaded) matrices,
// and draws through the layer's glBegin path, or hands the primitives to the
// GLU_NURBS_* callbacks in GLU_NURBS_TESSELLATOR mode. A trimmed surface is
// drawn cell by cell of its sampling grid: cells no trim loop crosses are
// whole quads or nothing by their winding number; the trim loops clipped to
// each crossed cell are triangulated by the GLU tessellator (winding rule
// positive: outer loops counter-clockwise, holes clockwise in (u, v)).
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <vector>

namespace {

// Orders above this are refused: the basis functions live on the stack.
constexpr int maxOrder = 24;
// Segments one knot span, and one direction of a whole grid, may be cut into.
constexpr int maxSpanSteps = 256, maxGridSteps = 2048;
// Trim curves meet, and close, when their ends are this near in (u, v).
constexpr double joinEpsilon = 1e-5;
// Chords a knot span of a curved NURBS trim curve is drawn with.
constexpr int trimChords = 16;

// A spline curve or surface as given, its control points packed (surfaces:
// s-major, point (i, j) at (i * tCount + j) * dim).
struct Spline {
    GLenum type = 0;
    int dim = 0;
    int order[2] = {0, 0}, count[2] = {0, 0};
    std::vector<double> knots[2], points;
};

using Uv = std::array<double, 2>;
using Loop = std::vector<Uv>;  // closed: the last point is not the first again

// The coordinates a spline of `type` has, or 0 for a type it may not be.
int coordinates(GLenum type, bool surface) {
    const GLenum base = surface ? GL_MAP2_COLOR_4 : GL_MAP1_COLOR_4;
    static const int dims[9] = {4, 1, 3, 1, 2, 3, 4, 3, 4};  // colour, index, normal, texture 1-4, vertex 3-4
    if (type >= base && type < base + 9) return dims[type - base];
    if (!surface && type == GLU_MAP1_TRIM_2) return 2;
    if (!surface && type == GLU_MAP1_TRIM_3) return 3;
    return 0;
}

bool isTrim(GLenum type) { return type == GLU_MAP1_TRIM_2 || type == GLU_MAP1_TRIM_3; }

// GLU's checks of one direction of a spline: 0, or the NURBS error to report.
GLenum checkKnots(int knotCount, const GLfloat* knots, int order, int stride, int dim) {
    // Order 1, piecewise constant, makes no curve to draw.
    if (order < 2 || order > maxOrder) return GLU_NURBS_ERROR1;
    if (knotCount < 2 * order) return GLU_NURBS_ERROR2;
    if (stride < dim) return GLU_NURBS_ERROR34;
    if (!knots) return GLU_NURBS_ERROR36;
    int same = 1;
    for (int k = 1; k < knotCount; ++k) {
        if (!(knots[k] >= knots[k - 1])) return GLU_NURBS_ERROR4;
        same = knots[k] == knots[k - 1] ? same + 1 : 1;
        if (same > order) return GLU_NURBS_ERROR5;
    }
    if (!(knots[order - 1] < knots[knotCount - order])) return GLU_NURBS_ERROR3;
    return 0;
}

// The basis functions of degree order-1 that are not zero at t, and their
// derivatives: N[i] belongs to control point first + i. t is clamped to the
// valid range [knots[order-1], knots[count]].
struct Basis {
    int first;
    double N[maxOrder], dN[maxOrder];
};

Basis basis(const std::vector<double>& U, int order, int count, double t) {
    const int p = order - 1;
    t = std::min(std::max(t, U[p]), U[count]);
    // The span k with U[k] <= t < U[k+1]; the last non-empty one at the end.
    int k = int(std::upper_bound(U.begin() + p, U.begin() + count + 1, t) - U.begin()) - 1;
    while (k > p && (k >= count || U[k] == U[k + 1])) --k;
    Basis b;
    b.first = k - p;
    double left[maxOrder], right[maxOrder], lower[maxOrder] = {1};
    b.N[0] = 1;
    for (int j = 1; j <= p; ++j) {
        left[j] = t - U[k + 1 - j];
        right[j] = U[k + j] - t;
        double saved = 0;
        for (int r = 0; r < j; ++r) {
            const double d = right[r + 1] + left[j - r];
            const double temp = d != 0 ? b.N[r] / d : 0;
            b.N[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        b.N[j] = saved;
        if (j == p - 1) std::copy(b.N, b.N + p, lower);  // degree p-1, for the derivatives
    }
    for (int i = 0; i <= p; ++i) {
        double d = 0;
        if (i >= 1 && U[k + i] != U[k - p + i]) d += lower[i - 1] / (U[k + i] - U[k - p + i]);
        if (i < p && U[k + i + 1] != U[k - p + i + 1]) d -= lower[i] / (U[k + i + 1] - U[k - p + i + 1]);
        b.dN[i] = p * d;
    }
    return b;
}

// A curve's point at t (homogeneous, dim coordinates) and its derivative.
void evalCurve(const Spline& c, double t, double* out, double* dOut = nullptr) {
    const Basis b = basis(c.knots[0], c.order[0], c.count[0], t);
    std::fill(out, out + c.dim, 0.0);
    if (dOut) std::fill(dOut, dOut + c.dim, 0.0);
    for (int i = 0; i < c.order[0]; ++i) {
        const double* P = &c.points[size_t(b.first + i) * c.dim];
        for (int d = 0; d < c.dim; ++d) {
            out[d] += b.N[i] * P[d];
            if (dOut) dOut[d] += b.dN[i] * P[d];
        }
    }
}

// A surface's point at (u, v) and its partial derivatives.
void evalSurface(const Spline& s, const Basis& a, const Basis& b, double* out, double* du, double* dv) {
    for (int d = 0; d < s.dim; ++d) out[d] = du[d] = dv[d] = 0;
    for (int i = 0; i < s.order[0]; ++i)
        for (int j = 0; j < s.order[1]; ++j) {
            const double* P = &s.points[(size_t(a.first + i) * s.count[1] + size_t(b.first + j)) * s.dim];
            for (int d = 0; d < s.dim; ++d) {
                out[d] += a.N[i] * b.N[j] * P[d];
                du[d] += a.dN[i] * b.N[j] * P[d];
                dv[d] += a.N[i] * b.dN[j] * P[d];
            }
        }
}

void evalSurface(const Spline& s, double u, double v, double* out, double* du, double* dv) {
    evalSurface(s, basis(s.knots[0], s.order[0], s.count[0], u), basis(s.knots[1], s.order[1], s.count[1], v), out,
                du, dv);
}

}  // namespace

struct GLUnurbs {
    GLfloat samplingTolerance = 50, parametricTolerance = 0.5f, uStep = 100, vStep = 100;
    GLfloat displayMode = GLU_FILL, culling = GL_FALSE, autoLoad = GL_TRUE, samplingMethod = GLU_PATH_LENGTH;
    GLfloat mode = GLU_NURBS_RENDERER;
    _GLUfuncptr callbacks[12] = {};  // by GLU_NURBS_BEGIN + i
    void (*error)(GLenum) = nullptr;
    void* userData = nullptr;
    GLfloat model[16], projection[16];  // gluLoadSamplingMatrices
    GLint viewport[4] = {0, 0, 1, 1};
    bool loaded = false;

    bool inCurve = false, inSurface = false, inTrim = false;
    bool broken = false;  // an error since the begin call: the end draws nothing
    std::vector<Spline> splines;  // of the open curve or surface
    std::vector<Loop> loops;      // of the open surface
    Loop trim;                    // the open trim loop, point by point
    int trimPieces = 0;
};

namespace {

void nurbsError(GLUnurbs* n, GLenum e) {
    if (n->inCurve || n->inSurface) n->broken = true;
    if (n->error) n->error(e);
}

// ---- Output: GL calls, or GLU's tessellation callbacks ---------------------------------

struct Out {
    GLUnurbs* n;
    bool gl;
    template <typename... A>
    void call(GLenum which, A... a) {
        // The _DATA form wins over the plain one, as GLU has it.
        const int plain = int(which - GLU_NURBS_BEGIN), data = plain + int(GLU_NURBS_BEGIN_DATA - GLU_NURBS_BEGIN);
        if (_GLUfuncptr f = n->callbacks[data])
            reinterpret_cast<void (*)(A..., void*)>(f)(a..., n->userData);
        else if (_GLUfuncptr g = n->callbacks[plain])
            reinterpret_cast<void (*)(A...)>(g)(a...);
    }
    void begin(GLenum mode) { gl ? glBegin(mode) : call(GLU_NURBS_BEGIN, mode); }
    void end() { gl ? glEnd() : call(GLU_NURBS_END); }
    void attribute(GLenum which, GLfloat* v, int dim) {
        if (!gl) return call(which, v);
        if (which == GLU_NURBS_COLOR) glColor4fv(v);
        if (which == GLU_NURBS_NORMAL) glNormal3fv(v);
        if (which == GLU_NURBS_TEXTURE_COORD)
            glTexCoord4f(v[0], dim > 1 ? v[1] : 0, dim > 2 ? v[2] : 0, dim > 3 ? v[3] : 1);
        if (which == GLU_NURBS_VERTEX) glVertex3fv(v);
    }
};

// ---- Sampling ------------------------------------------------------------------------

// How control points map to the space the tolerance is measured in: window
// pixels through the matrices, or object space for the object methods.
struct Sampler {
    double matrix[16];  // projection * model-view
    GLint viewport[4];
    GLenum method;
    double tolerance, steps[2];  // steps: GLU_U_STEP, GLU_V_STEP per unit of parameter

    Sampler(GLUnurbs* n) {
        GLfloat m[16], p[16];
        if (n->autoLoad != 0 || !n->loaded) {
            glGetFloatv(GL_MODELVIEW_MATRIX, m);
            glGetFloatv(GL_PROJECTION_MATRIX, p);
            glGetIntegerv(GL_VIEWPORT, viewport);
        } else {
            std::copy(n->model, n->model + 16, m);
            std::copy(n->projection, n->projection + 16, p);
            std::copy(n->viewport, n->viewport + 4, viewport);
        }
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) {
                double sum = 0;
                for (int k = 0; k < 4; ++k) sum += double(p[k * 4 + r]) * m[c * 4 + k];
                matrix[c * 4 + r] = sum;
            }
        method = GLenum(n->samplingMethod);
        const bool parametric = method == GLU_PARAMETRIC_ERROR || method == GLU_OBJECT_PARAMETRIC_ERROR;
        tolerance = std::max(double(parametric ? n->parametricTolerance : n->samplingTolerance), 1e-6);
        steps[0] = n->uStep, steps[1] = n->vStep;
    }

    bool object() const { return method == GLU_OBJECT_PATH_LENGTH || method == GLU_OBJECT_PARAMETRIC_ERROR; }

    // A homogeneous control point's clip coordinates.
    void clip(const double* P, int dim, double out[4]) const {
        const double h[4] = {P[0], dim > 1 ? P[1] : 0, dim > 2 ? P[2] : 0, dim == 4 ? P[3] : 1};
        for (int r = 0; r < 4; ++r)
            out[r] = matrix[r] * h[0] + matrix[4 + r] * h[1] + matrix[8 + r] * h[2] + matrix[12 + r] * h[3];
    }

    // Where the tolerance measures a control point.
    std::array<double, 3> measure(const double* P, int dim) const {
        const double w = dim == 4 && P[3] != 0 ? P[3] : 1;
        if (object()) return {P[0] / w, P[1] / w, dim > 2 ? P[2] / w : 0};
        double c[4];
        clip(P, dim, c);
        const double cw = std::max(std::fabs(c[3]), 1e-9);
        return {viewport[0] + (c[0] / cw + 1) * viewport[2] / 2, viewport[1] + (c[1] / cw + 1) * viewport[3] / 2, 0};
    }

    // Segments for a span of parameter length `length`, whose control
    // polygon, measured, is `points` (order points a row).
    int spanSteps(const std::vector<std::array<double, 3>>& points, int order, double length, int direction) const {
        double n = 1;
        if (method == GLU_DOMAIN_DISTANCE) {
            n = length * steps[direction];
        } else {
            const size_t rows = points.size() / size_t(order);
            for (size_t r = 0; r < rows; ++r) {
                const std::array<double, 3>* q = &points[r * size_t(order)];
                double path = 0, bend = 0;
                for (int i = 1; i < order; ++i) {
                    double d2 = 0, b2 = 0;
                    for (int x = 0; x < 3; ++x) {
                        d2 += (q[i][x] - q[i - 1][x]) * (q[i][x] - q[i - 1][x]);
                        if (i + 1 < order) {
                            const double b = q[i + 1][x] - 2 * q[i][x] + q[i - 1][x];
                            b2 += b * b;
                        }
                    }
                    path += std::sqrt(d2);
                    bend = std::max(bend, std::sqrt(b2));
                }
                // Path length: no edge longer than the tolerance. Parametric
                // error: a polynomial of degree p strays from its chords by
                // at most p(p-1)/8 of its second differences over n^2.
                const int p = order - 1;
                const double want = method == GLU_PATH_LENGTH || method == GLU_OBJECT_PATH_LENGTH
                                        ? path / tolerance
                                        : std::sqrt(p * (p - 1) / 8.0 * bend / tolerance);
                n = std::max(n, want);
            }
        }
        if (!(n < maxSpanSteps)) return maxSpanSteps;  // also NaN
        return std::max(1, int(std::ceil(n)));
    }
};

// The parameters to evaluate along direction k of a spline: each non-empty
// knot span cut into the segments the sampler asks for; `measured` holds the
// control points as the sampler measures them (all directions' rows).
std::vector<double> samples(const Spline& s, int k, const Sampler& sampler,
                            const std::vector<std::array<double, 3>>& measured) {
    const std::vector<double>& U = s.knots[k];
    const int p = s.order[k] - 1, other = s.count[1] > 0 ? 1 - k : -1;
    const int across = other >= 0 ? s.count[other] : 1;
    std::vector<double> out;
    for (int span = p; span < s.count[k]; ++span) {
        if (U[span] == U[span + 1]) continue;
        // The rows of the span's control points along direction k.
        std::vector<std::array<double, 3>> rows;
        for (int j = 0; j < across; ++j)
            for (int i = span - p; i <= span; ++i) {
                const int index = other < 0 ? i : (k == 0 ? i * s.count[1] + j : j * s.count[1] + i);
                rows.push_back(measured[size_t(index)]);
            }
        const int n = sampler.spanSteps(rows, s.order[k], U[span + 1] - U[span], k);
        for (int step = 0; step < n; ++step) out.push_back(U[span] + (U[span + 1] - U[span]) * step / n);
    }
    out.push_back(U[s.count[k]]);
    // Too many: fewer, evenly.
    if (out.size() > size_t(maxGridSteps) + 1) {
        const double a = out.front(), b = out.back();
        out.resize(size_t(maxGridSteps) + 1);
        for (int i = 0; i <= maxGridSteps; ++i) out[size_t(i)] = a + (b - a) * i / maxGridSteps;
    }
    return out;
}

// Keeps of the vertex spline's samples along direction k the range where
// every spline given is defined (a colour or normal spline of a shorter
// range shortens what is drawn); false when nothing is left.
bool commonRange(const std::vector<Spline>& splines, int k, std::vector<double>& ts) {
    double lo = ts.front(), hi = ts.back();
    for (const Spline& s : splines)
        lo = std::max(lo, s.knots[k][size_t(s.order[k] - 1)]), hi = std::min(hi, s.knots[k][size_t(s.count[k])]);
    if (!(lo < hi)) return false;
    std::vector<double> out = {lo};
    for (double t : ts)
        if (t > lo && t < hi) out.push_back(t);
    out.push_back(hi);
    ts.swap(out);
    return true;
}

std::vector<std::array<double, 3>> measureAll(const Spline& s, const Sampler& sampler) {
    std::vector<std::array<double, 3>> out;
    for (size_t i = 0; i + size_t(s.dim) <= s.points.size(); i += size_t(s.dim))
        out.push_back(sampler.measure(&s.points[i], s.dim));
    return out;
}

// GLU_CULLING: every control point outside one side of the clip volume.
bool culled(const Spline& s, const Sampler& sampler) {
    unsigned all = 63;
    for (size_t i = 0; i + size_t(s.dim) <= s.points.size(); i += size_t(s.dim)) {
        double c[4];
        sampler.clip(&s.points[i], s.dim, c);
        unsigned out = 0;
        for (int a = 0; a < 3; ++a) out |= (c[a] > c[3] ? 1u : 0u) << (2 * a) | (c[a] < -c[3] ? 2u : 0u) << (2 * a);
        all &= out;
    }
    return all != 0;
}

// ---- Drawing --------------------------------------------------------------------------

// The vertex spline and the others evaluated beside it.
struct Parts {
    const Spline* vertex = nullptr;
    const Spline *normal = nullptr, *color = nullptr, *texture = nullptr;
};

Parts parts(const std::vector<Spline>& splines, bool surface) {
    Parts p;
    const GLenum base = surface ? GL_MAP2_COLOR_4 : GL_MAP1_COLOR_4;
    for (const Spline& s : splines) {
        const int kind = int(s.type - base);  // as coordinates() orders them
        if (kind == 0) p.color = &s;
        if (kind == 2) p.normal = &s;
        if (kind >= 3 && kind <= 6) p.texture = &s;
        if (kind == 7 || kind == 8) p.vertex = &s;
    }
    return p;
}

// A point of homogeneous coordinates brought to 3 (w divided out).
void project(const double* h, int dim, GLfloat out[3]) {
    const double w = dim == 4 && h[3] != 0 ? h[3] : 1;
    for (int d = 0; d < 3; ++d) out[d] = GLfloat(h[d] / w);
}

// A point of a curve or surface with what is evaluated beside it.
struct Sample {
    GLfloat color[4], normal[3], tex[4], pos[3];
};

// Evaluates the splines at a parameter and hands the results on, the vertex
// last, as glEvalCoord does.
struct Emitter {
    Out out;
    Parts parts;
    bool autoNormal;

    Sample attributes(double u, double v, bool surface) const {
        Sample r;
        double h[4], du[4], dv[4];
        auto at = [&](const Spline* s, GLfloat* f) {
            if (surface)
                evalSurface(*s, u, v, h, du, dv);
            else
                evalCurve(*s, u, h);
            for (int d = 0; d < s->dim; ++d) f[d] = GLfloat(h[d]);
        };
        if (parts.color) at(parts.color, r.color);
        if (parts.normal) at(parts.normal, r.normal);
        if (parts.texture) at(parts.texture, r.tex);
        return r;
    }

    void emit(const Sample& p, bool normal) {
        GLfloat f[4];
        auto pass = [&](GLenum which, const GLfloat* v, int dim) {
            std::copy(v, v + dim, f);
            out.attribute(which, f, dim);
        };
        if (parts.color) pass(GLU_NURBS_COLOR, p.color, 4);
        if (normal) pass(GLU_NURBS_NORMAL, p.normal, 3);
        if (parts.texture) pass(GLU_NURBS_TEXTURE_COORD, p.tex, parts.texture->dim);
        pass(GLU_NURBS_VERTEX, p.pos, 3);
    }

    void curvePoint(double t) {
        Sample p = attributes(t, 0, false);
        double h[4];
        evalCurve(*parts.vertex, t, h);
        project(h, parts.vertex->dim, p.pos);
        emit(p, parts.normal != nullptr);
    }

    // Whether surface points carry a normal: a normal surface's, or the
    // derivatives' under GL_AUTO_NORMAL.
    bool surfaceNormals() const { return parts.normal || autoNormal; }

    // A surface point; the vertex surface's bases at (u, v) when known.
    Sample surfaceSample(double u, double v, const Basis* bu = nullptr, const Basis* bv = nullptr) const {
        const Spline& s = *parts.vertex;
        Sample p = attributes(u, v, true);
        double h[4], du[4], dv[4];
        if (bu && bv)
            evalSurface(s, *bu, *bv, h, du, dv);
        else
            evalSurface(s, u, v, h, du, dv);
        project(h, s.dim, p.pos);
        if (autoNormal && !parts.normal) {
            // The derivatives of the point with w divided out, crossed.
            double pu[3], pv[3], n[3];
            const double w = s.dim == 4 && h[3] != 0 ? h[3] : 1, wu = s.dim == 4 ? du[3] : 0,
                         wv = s.dim == 4 ? dv[3] : 0;
            for (int d = 0; d < 3; ++d) {
                pu[d] = (du[d] * w - h[d] * wu) / (w * w);
                pv[d] = (dv[d] * w - h[d] * wv) / (w * w);
            }
            n[0] = pu[1] * pv[2] - pu[2] * pv[1];
            n[1] = pu[2] * pv[0] - pu[0] * pv[2];
            n[2] = pu[0] * pv[1] - pu[1] * pv[0];
            const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            for (int d = 0; d < 3; ++d) p.normal[d] = GLfloat(l > 0 ? n[d] / l : n[d]);
        }
        return p;
    }

    void surfacePoint(double u, double v) { emit(surfaceSample(u, v), surfaceNormals()); }
};

// The sampling grid's rows of surface points, each evaluated once: the
// vertex surface's bases per grid line, and the two rows a band of cells needs.
struct GridRows {
    Emitter& e;
    const std::vector<double>&us, &vs;
    std::vector<Basis> bu, bv;
    std::vector<Sample> rows[2];
    size_t rowIndex[2] = {size_t(-1), size_t(-1)};

    GridRows(Emitter& emitter, const std::vector<double>& u, const std::vector<double>& v) : e(emitter), us(u), vs(v) {
        const Spline& s = *e.parts.vertex;
        for (double t : us) bu.push_back(basis(s.knots[0], s.order[0], s.count[0], t));
        for (double t : vs) bv.push_back(basis(s.knots[1], s.order[1], s.count[1], t));
    }

    // Row j of the grid (v = vs[j]); the last two asked are kept.
    const std::vector<Sample>& row(size_t j) {
        for (int k = 0; k < 2; ++k)
            if (rowIndex[k] == j) return rows[k];
        const int k = rowIndex[0] == j - 1 ? 1 : 0;  // keep the row below
        rows[k].clear();
        for (size_t i = 0; i < us.size(); ++i) rows[k].push_back(e.surfaceSample(us[i], vs[j], &bu[i], &bv[j]));
        rowIndex[k] = j;
        return rows[k];
    }
};

void drawCurve(GLUnurbs* n) {
    const Parts p = parts(n->splines, false);
    if (!p.vertex) return nurbsError(n, GLU_NURBS_ERROR8);
    const Sampler sampler(n);
    if (n->culling != 0 && culled(*p.vertex, sampler)) return;
    std::vector<double> ts = samples(*p.vertex, 0, sampler, measureAll(*p.vertex, sampler));
    if (!commonRange(n->splines, 0, ts)) return;
    const bool gl = n->mode != GLU_NURBS_TESSELLATOR;
    Emitter e{{n, gl}, p, false};
    // The evaluated colour, normal and texture coordinates are the vertices'
    // alone, as an evaluator's: the current ones stay.
    if (gl) glPushAttrib(GL_CURRENT_BIT);
    e.out.begin(GL_LINE_STRIP);
    for (double t : ts) e.curvePoint(t);
    e.out.end();
    if (gl) glPopAttrib();
}

// The winding number of a closed loop about a point.
int winding(const Loop& loop, double u, double v) {
    int w = 0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Uv& a = loop[i];
        const Uv& b = loop[(i + 1) % loop.size()];
        const double side = (b[0] - a[0]) * (v - a[1]) - (u - a[0]) * (b[1] - a[1]);
        if (a[1] <= v && b[1] > v && side > 0) ++w;
        if (a[1] > v && b[1] <= v && side < 0) --w;
    }
    return w;
}

// Whether the segment a-b meets the closed box [lo, hi] (Liang-Barsky).
bool segmentMeetsBox(const Uv& a, const Uv& b, const Uv& lo, const Uv& hi) {
    double t0 = 0, t1 = 1;
    for (int k = 0; k < 2; ++k) {
        const double d = b[k] - a[k];
        if (d == 0) {
            if (a[k] < lo[k] || a[k] > hi[k]) return false;
            continue;
        }
        double ta = (lo[k] - a[k]) / d, tb = (hi[k] - a[k]) / d;
        if (ta > tb) std::swap(ta, tb);
        t0 = std::max(t0, ta), t1 = std::min(t1, tb);
        if (t0 > t1) return false;
    }
    return true;
}

// A loop clipped to the box (Sutherland-Hodgman): where the loop runs
// outside, the result runs along the box's edge.
Loop clipToBox(Loop loop, const Uv& lo, const Uv& hi) {
    for (int edge = 0; edge < 4 && !loop.empty(); ++edge) {
        const int k = edge / 2;
        const bool low = edge % 2 == 0;
        const double limit = low ? lo[k] : hi[k];
        auto inside = [&](const Uv& q) { return low ? q[k] >= limit : q[k] <= limit; };
        Loop out;
        for (size_t i = 0; i < loop.size(); ++i) {
            const Uv& a = loop[i];
            const Uv& b = loop[(i + 1) % loop.size()];
            if (inside(a)) out.push_back(a);
            if (inside(a) != inside(b)) {
                const double t = (limit - a[k]) / (b[k] - a[k]);
                Uv c = {a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t};
                c[k] = limit;
                out.push_back(c);
            }
        }
        loop.swap(out);
    }
    Loop clean;  // without repeated points
    for (const Uv& q : loop)
        if (clean.empty() || q != clean.back()) clean.push_back(q);
    while (clean.size() > 1 && clean.front() == clean.back()) clean.pop_back();
    return clean;
}

double area(const Loop& loop) {
    double a = 0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const Uv& p = loop[i];
        const Uv& q = loop[(i + 1) % loop.size()];
        a += p[0] * q[1] - q[0] * p[1];
    }
    return a / 2;
}

// What the tessellator's callbacks reach: the emitter, and the points the
// combine callback makes, kept until the polygon ends.
struct TessContext {
    Emitter* e;
    std::deque<std::array<double, 3>> made;
};

void GLAPIENTRY tessBegin(GLenum type, void* c) { static_cast<TessContext*>(c)->e->out.begin(type); }
void GLAPIENTRY tessVertex(void* v, void* c) {
    const double* p = static_cast<const double*>(v);
    static_cast<TessContext*>(c)->e->surfacePoint(p[0], p[1]);
}
void GLAPIENTRY tessEnd(void* c) { static_cast<TessContext*>(c)->e->out.end(); }
void GLAPIENTRY tessCombine(GLdouble coords[3], void**, GLfloat*, void** out, void* c) {
    TessContext* t = static_cast<TessContext*>(c);
    t->made.push_back({coords[0], coords[1], 0});
    *out = t->made.back().data();
}

// The surface over the grid us x vs, inside the trim loops if there are any.
void fillSurface(Emitter& e, const std::vector<double>& us, const std::vector<double>& vs,
                 const std::vector<Loop>& loops) {
    const size_t nu = us.size() - 1, nv = vs.size() - 1;
    const bool normals = e.surfaceNormals();
    GridRows grid(e, us, vs);
    if (loops.empty()) {
        // Counter-clockwise in (u, v), the side the derivatives' normal faces.
        for (size_t j = 0; j < nv; ++j) {
            const std::vector<Sample>&below = grid.row(j), &above = grid.row(j + 1);
            e.out.begin(GL_QUAD_STRIP);
            for (size_t i = 0; i <= nu; ++i) e.emit(above[i], normals), e.emit(below[i], normals);
            e.out.end();
        }
        return;
    }
    std::vector<std::array<Uv, 2>> bounds;
    for (const Loop& l : loops) {
        std::array<Uv, 2> b = {l[0], l[0]};
        for (const Uv& q : l)
            for (int k = 0; k < 2; ++k) b[0][k] = std::min(b[0][k], q[k]), b[1][k] = std::max(b[1][k], q[k]);
        bounds.push_back(b);
    }
    std::vector<char> whole(nu * nv, 0);  // the cells drawn whole, row by row
    GLUtesselator* tess = gluNewTess();
    if (!tess) return;
    TessContext context{&e, {}};
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    gluTessNormal(tess, 0, 0, 1);
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(tessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(tessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(tessEnd));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(tessCombine));
    for (size_t j = 0; j < nv; ++j)
        for (size_t i = 0; i < nu; ++i) {
            const Uv lo = {us[i], vs[j]}, hi = {us[i + 1], vs[j + 1]};
            const double cellArea = (hi[0] - lo[0]) * (hi[1] - lo[1]);
            int around = 0;  // the winding of the loops that do not cross the cell
            std::vector<Loop> crossing;
            for (size_t l = 0; l < loops.size(); ++l) {
                bool crosses = false;
                if (bounds[l][0][0] <= hi[0] && bounds[l][1][0] >= lo[0] && bounds[l][0][1] <= hi[1] &&
                    bounds[l][1][1] >= lo[1])
                    for (size_t q = 0; q < loops[l].size() && !crosses; ++q)
                        crosses = segmentMeetsBox(loops[l][q], loops[l][(q + 1) % loops[l].size()], lo, hi);
                if (!crosses) {
                    // Only a loop whose box holds the cell can wind about it.
                    const double u = (lo[0] + hi[0]) / 2, v = (lo[1] + hi[1]) / 2;
                    if (u > bounds[l][0][0] && u < bounds[l][1][0] && v > bounds[l][0][1] && v < bounds[l][1][1])
                        around += winding(loops[l], u, v);
                    continue;
                }
                Loop c = clipToBox(loops[l], lo, hi);
                const double a = c.size() >= 3 ? area(c) / cellArea : 0;
                // A loop along the cell's edges (the domain's boundary) winds
                // about all of it, as one that does not touch it.
                if (std::fabs(std::fabs(a) - 1) < 1e-9)
                    around += a > 0 ? 1 : -1;
                else if (std::fabs(a) > 1e-9)
                    crossing.push_back(std::move(c));
            }
            if (crossing.empty()) {
                if (around > 0) whole[j * nu + i] = 1;
                continue;
            }
            // The loops around the cell as copies of its box, turned their way.
            const Loop box = {lo, {hi[0], lo[1]}, hi, {lo[0], hi[1]}};
            for (int k = 0; k < std::abs(around); ++k)
                crossing.push_back(around > 0 ? box : Loop(box.rbegin(), box.rend()));
            std::deque<std::array<double, 3>> points;
            gluTessBeginPolygon(tess, &context);
            for (const Loop& c : crossing) {
                gluTessBeginContour(tess);
                for (const Uv& q : c) {
                    points.push_back({q[0], q[1], 0});
                    gluTessVertex(tess, points.back().data(), points.back().data());
                }
                gluTessEndContour(tess);
            }
            gluTessEndPolygon(tess);
            context.made.clear();
        }
    gluDeleteTess(tess);
    if (std::find(whole.begin(), whole.end(), 1) == whole.end()) return;
    e.out.begin(GL_QUADS);
    for (size_t j = 0; j < nv; ++j)
        for (size_t i = 0; i < nu; ++i) {
            if (!whole[j * nu + i]) continue;
            const std::vector<Sample>&below = grid.row(j), &above = grid.row(j + 1);
            e.emit(below[i], normals), e.emit(below[i + 1], normals);
            e.emit(above[i + 1], normals), e.emit(above[i], normals);
        }
    e.out.end();
}

// GLU_OUTLINE_PATCH: the trim loops, or without them the patches' edges
// (the lines of the distinct knots).
void outlinePatch(Emitter& e, const Spline& s, const std::vector<double>& us, const std::vector<double>& vs,
                  const std::vector<Loop>& loops) {
    for (const Loop& l : loops) {
        e.out.begin(GL_LINE_LOOP);
        for (const Uv& q : l) e.surfacePoint(q[0], q[1]);
        e.out.end();
    }
    if (!loops.empty()) return;
    for (int k = 0; k < 2; ++k) {
        const std::vector<double>& along = k == 0 ? vs : us;
        for (int i = s.order[k] - 1; i <= s.count[k]; ++i) {
            if (i > s.order[k] - 1 && s.knots[k][i] == s.knots[k][i - 1]) continue;
            e.out.begin(GL_LINE_STRIP);
            for (double t : along) k == 0 ? e.surfacePoint(s.knots[0][i], t) : e.surfacePoint(t, s.knots[1][i]);
            e.out.end();
        }
    }
}

void drawSurface(GLUnurbs* n) {
    const Parts p = parts(n->splines, true);
    if (!p.vertex) return nurbsError(n, GLU_NURBS_ERROR8);
    const Sampler sampler(n);
    if (n->culling != 0 && culled(*p.vertex, sampler)) return;
    const std::vector<std::array<double, 3>> measured = measureAll(*p.vertex, sampler);
    std::vector<double> us = samples(*p.vertex, 0, sampler, measured), vs = samples(*p.vertex, 1, sampler, measured);
    if (!commonRange(n->splines, 0, us) || !commonRange(n->splines, 1, vs)) return;
    const bool gl = n->mode != GLU_NURBS_TESSELLATOR;
    Emitter e{{n, gl}, p, glIsEnabled(GL_AUTO_NORMAL) == GL_TRUE};
    // The current attributes stay, as with drawCurve; GLU_OUTLINE_POLYGON
    // draws the same polygons as their edges.
    if (gl) {
        glPushAttrib(GL_CURRENT_BIT | GL_POLYGON_BIT);
        if (n->displayMode == GLU_OUTLINE_POLYGON) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    if (n->displayMode == GLU_OUTLINE_PATCH)
        outlinePatch(e, *p.vertex, us, vs, n->loops);
    else
        fillSurface(e, us, vs, n->loops);
    if (gl) glPopAttrib();
}

// A NURBS trim curve's points in (u, v): 16 chords a knot span (one for
// a linear curve), which keeps a quarter circle within 0.5% of its radius.
void trimPoints(const Spline& c, Loop& out) {
    const std::vector<double>& U = c.knots[0];
    const int p = c.order[0] - 1;
    for (int span = p; span < c.count[0]; ++span) {
        if (U[span] == U[span + 1]) continue;
        const int n = p == 1 ? 1 : trimChords;
        for (int step = 0; step < n; ++step) {
            double h[3];
            evalCurve(c, U[span] + (U[span + 1] - U[span]) * step / n, h);
            const double w = c.dim == 3 && h[2] != 0 ? h[2] : 1;
            out.push_back({h[0] / w, h[1] / w});
        }
    }
    double h[3];
    evalCurve(c, U[c.count[0]], h);
    const double w = c.dim == 3 && h[2] != 0 ? h[2] : 1;
    out.push_back({h[0] / w, h[1] / w});
}

bool near(const Uv& a, const Uv& b) { return std::fabs(a[0] - b[0]) + std::fabs(a[1] - b[1]) <= joinEpsilon; }

// One more piece of the open trim loop: it must start where the last ended.
void addTrimPiece(GLUnurbs* n, const Loop& piece) {
    if (piece.empty()) return;
    if (!n->trim.empty() && !near(n->trim.back(), piece.front())) return nurbsError(n, GLU_NURBS_ERROR31);
    n->trim.insert(n->trim.end(), piece.begin() + (n->trim.empty() ? 0 : 1), piece.end());
    ++n->trimPieces;
}

// Copies one spline's control points (count[0] x count[1], strides in floats).
void copyPoints(Spline& s, const GLfloat* control, int stride0, int stride1) {
    const int c1 = std::max(s.count[1], 1);
    s.points.resize(size_t(s.count[0]) * size_t(c1) * size_t(s.dim));
    double* out = s.points.data();
    for (int i = 0; i < s.count[0]; ++i)
        for (int j = 0; j < c1; ++j)
            for (int d = 0; d < s.dim; ++d)
                *out++ = control[size_t(i) * size_t(stride0) + size_t(j) * size_t(stride1) + size_t(d)];
}

}  // namespace

extern "C" {

GLUnurbs* gluNewNurbsRenderer(void) { return new GLUnurbs(); }
void gluDeleteNurbsRenderer(GLUnurbs* n) { delete n; }

void gluNurbsCallback(GLUnurbs* n, GLenum which, _GLUfuncptr f) {
    if (!n) return;
    if (which == GLU_NURBS_ERROR) {
        n->error = reinterpret_cast<void (*)(GLenum)>(f);
        return;
    }
    if (which < GLU_NURBS_BEGIN || which > GLU_NURBS_END_DATA) return nurbsError(n, GLU_INVALID_ENUM);
    n->callbacks[which - GLU_NURBS_BEGIN] = f;
}

void gluNurbsCallbackData(GLUnurbs* n, GLvoid* data) {
    if (n) n->userData = data;
}

void gluNurbsCallbackDataEXT(GLUnurbs* n, GLvoid* data) { gluNurbsCallbackData(n, data); }

}  // extern "C"

namespace {

GLfloat* nurbsProperty(GLUnurbs* n, GLenum which) {
    switch (which) {
        case GLU_SAMPLING_TOLERANCE: return &n->samplingTolerance;
        case GLU_PARAMETRIC_TOLERANCE: return &n->parametricTolerance;
        case GLU_U_STEP: return &n->uStep;
        case GLU_V_STEP: return &n->vStep;
        case GLU_DISPLAY_MODE: return &n->displayMode;
        case GLU_CULLING: return &n->culling;
        case GLU_AUTO_LOAD_MATRIX: return &n->autoLoad;
        case GLU_SAMPLING_METHOD: return &n->samplingMethod;
        case GLU_NURBS_MODE: return &n->mode;
        default: return nullptr;
    }
}

bool validNurbsValue(GLenum which, GLfloat v) {
    switch (which) {
        case GLU_SAMPLING_TOLERANCE:
        case GLU_PARAMETRIC_TOLERANCE:
        case GLU_U_STEP:
        case GLU_V_STEP: return v > 0;
        case GLU_DISPLAY_MODE: return v == GLU_FILL || v == GLU_OUTLINE_POLYGON || v == GLU_OUTLINE_PATCH;
        case GLU_SAMPLING_METHOD:
            return v == GLU_PATH_LENGTH || v == GLU_PARAMETRIC_ERROR || v == GLU_DOMAIN_DISTANCE ||
                   v == GLU_OBJECT_PATH_LENGTH || v == GLU_OBJECT_PARAMETRIC_ERROR;
        case GLU_NURBS_MODE: return v == GLU_NURBS_RENDERER || v == GLU_NURBS_TESSELLATOR;
        default: return true;  // the booleans
    }
}

}  // namespace

extern "C" {

void gluNurbsProperty(GLUnurbs* n, GLenum which, GLfloat value) {
    if (!n) return;
    GLfloat* p = nurbsProperty(n, which);
    if (!p) return nurbsError(n, GLU_INVALID_ENUM);
    if (!validNurbsValue(which, value)) return nurbsError(n, GLU_INVALID_VALUE);
    *p = (which == GLU_CULLING || which == GLU_AUTO_LOAD_MATRIX) ? (value != 0) : value;
}

void gluGetNurbsProperty(GLUnurbs* n, GLenum which, GLfloat* value) {
    if (!n || !value) return;
    GLfloat* p = nurbsProperty(n, which);
    if (!p) return nurbsError(n, GLU_INVALID_ENUM);
    *value = *p;
}

void gluLoadSamplingMatrices(GLUnurbs* n, const GLfloat* model, const GLfloat* projection, const GLint* viewport) {
    if (!n || !model || !projection || !viewport) return;
    std::copy(model, model + 16, n->model);
    std::copy(projection, projection + 16, n->projection);
    std::copy(viewport, viewport + 4, n->viewport);
    n->loaded = true;
}

void gluBeginCurve(GLUnurbs* n) {
    if (!n) return;
    if (n->inCurve) nurbsError(n, GLU_NURBS_ERROR6);
    n->inCurve = true, n->broken = false;
    n->splines.clear();
}

void gluEndCurve(GLUnurbs* n) {
    if (!n) return;
    if (!n->inCurve) return nurbsError(n, GLU_NURBS_ERROR7);
    if (!n->broken) drawCurve(n);
    n->inCurve = false;
    n->splines.clear();
}

void gluBeginSurface(GLUnurbs* n) {
    if (!n) return;
    if (n->inSurface) nurbsError(n, GLU_NURBS_ERROR27);
    n->inSurface = true, n->inTrim = false, n->broken = false;
    n->splines.clear(), n->loops.clear();
}

void gluEndSurface(GLUnurbs* n) {
    if (!n) return;
    if (!n->inSurface) return nurbsError(n, GLU_NURBS_ERROR13);
    if (n->inTrim) nurbsError(n, GLU_NURBS_ERROR12);
    if (!n->broken) drawSurface(n);
    n->inSurface = n->inTrim = false;
    n->splines.clear(), n->loops.clear();
}

void gluBeginTrim(GLUnurbs* n) {
    if (!n) return;
    if (!n->inSurface) return nurbsError(n, GLU_NURBS_ERROR15);
    if (n->inTrim) nurbsError(n, GLU_NURBS_ERROR16);
    n->inTrim = true;
    n->trim.clear(), n->trimPieces = 0;
}

void gluEndTrim(GLUnurbs* n) {
    if (!n) return;
    if (!n->inTrim) return nurbsError(n, GLU_NURBS_ERROR17);
    n->inTrim = false;
    if (n->trimPieces == 0) return nurbsError(n, GLU_NURBS_ERROR18);
    Loop& t = n->trim;
    if (t.size() < 2 || !near(t.front(), t.back())) return nurbsError(n, GLU_NURBS_ERROR31);
    t.pop_back();
    if (t.size() >= 2) n->loops.push_back(t);
}

void gluNurbsCurve(GLUnurbs* n, GLint knotCount, GLfloat* knots, GLint stride, GLfloat* control, GLint order,
                   GLenum type) {
    if (!n) return;
    // Inside a trim only trim curves; outside, none.
    if (n->inTrim != isTrim(type)) return nurbsError(n, n->inTrim ? GLU_NURBS_ERROR14 : GLU_NURBS_ERROR22);
    if (!n->inTrim && !n->inCurve) return nurbsError(n, GLU_NURBS_ERROR7);
    const int dim = coordinates(type, false);
    if (dim == 0) return nurbsError(n, GLU_INVALID_ENUM);
    if (const GLenum e = checkKnots(knotCount, knots, order, stride, dim)) return nurbsError(n, e);
    if (!control) return nurbsError(n, GLU_NURBS_ERROR36);
    Spline s;
    s.type = type, s.dim = dim, s.order[0] = order, s.count[0] = knotCount - order;
    s.knots[0].assign(knots, knots + knotCount);
    copyPoints(s, control, stride, 0);
    if (!n->inTrim) return n->splines.push_back(std::move(s));
    Loop piece;
    trimPoints(s, piece);
    addTrimPiece(n, piece);
}

void gluNurbsSurface(GLUnurbs* n, GLint sKnotCount, GLfloat* sKnots, GLint tKnotCount, GLfloat* tKnots, GLint sStride,
                     GLint tStride, GLfloat* control, GLint sOrder, GLint tOrder, GLenum type) {
    if (!n) return;
    if (!n->inSurface || n->inTrim) return nurbsError(n, n->inTrim ? GLU_NURBS_ERROR14 : GLU_NURBS_ERROR13);
    const int dim = coordinates(type, true);
    if (dim == 0) return nurbsError(n, GLU_INVALID_ENUM);
    if (const GLenum e = checkKnots(sKnotCount, sKnots, sOrder, sStride, dim)) return nurbsError(n, e);
    if (const GLenum e = checkKnots(tKnotCount, tKnots, tOrder, tStride, dim)) return nurbsError(n, e);
    if (!control) return nurbsError(n, GLU_NURBS_ERROR36);
    Spline s;
    s.type = type, s.dim = dim;
    s.order[0] = sOrder, s.order[1] = tOrder;
    s.count[0] = sKnotCount - sOrder, s.count[1] = tKnotCount - tOrder;
    s.knots[0].assign(sKnots, sKnots + sKnotCount);
    s.knots[1].assign(tKnots, tKnots + tKnotCount);
    copyPoints(s, control, sStride, tStride);
    n->splines.push_back(std::move(s));
}

void gluPwlCurve(GLUnurbs* n, GLint count, GLfloat* data, GLint stride, GLenum type) {
    if (!n) return;
    if (!n->inTrim) return nurbsError(n, GLU_NURBS_ERROR19);
    if (!isTrim(type)) return nurbsError(n, GLU_NURBS_ERROR14);
    if (count < 0) return nurbsError(n, GLU_NURBS_ERROR33);
    const int dim = coordinates(type, false);
    if (stride < dim) return nurbsError(n, GLU_NURBS_ERROR34);
    if (count > 0 && !data) return nurbsError(n, GLU_NURBS_ERROR36);
    Loop piece;
    for (int i = 0; i < count; ++i) {
        const GLfloat* q = data + size_t(i) * size_t(stride);
        const double w = dim == 3 && q[2] != 0 ? q[2] : 1;
        piece.push_back({q[0] / w, q[1] / w});
    }
    addTrimPiece(n, piece);
}

}  // extern "C"
