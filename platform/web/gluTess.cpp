// GLU's polygon tessellator. The calls between gluTessBeginPolygon and
// gluTessEndPolygon are kept here (order checked, coordinates copied); at the
// end the polygon goes to libtess, the npm port of GLU's own tessellator that
// the page carries (gluTess.cmake), and libtess's callbacks come back through
// the zwTess* functions to the program's, in libtess's order. Vertices travel
// as indices into the polygon's vertex list, so the program's data pointers
// never leave C++.
#include <GL/gl.h>
#include <GL/glu.h>
#include <emscripten.h>

#include <cmath>
#include <vector>

namespace {
enum TessState { dormant, inPolygon, inContour };
// Larger coordinates are clamped and reported, as GLU does.
constexpr double maxCoordinate = 1e150;
}  // namespace

struct GLUtesselator {
    GLdouble windingRule = GLU_TESS_WINDING_ODD, boundaryOnly = GL_FALSE, tolerance = 0;
    GLdouble normal[3] = {0, 0, 0};
    _GLUfuncptr callbacks[12] = {};  // by GLU_TESS_BEGIN + i
    void* polygonData = nullptr;
    TessState state = dormant;
    std::vector<double> coords;        // x, y, z per vertex given
    std::vector<int> contourStarts;    // the first vertex of each contour
    std::vector<void*> data;           // per vertex: the ones given, then the combined ones
};

namespace {

_GLUfuncptr callback(const GLUtesselator* t, GLenum which) { return t->callbacks[which - GLU_TESS_BEGIN]; }

// Calls the _DATA form of a callback if the program gave one, else the plain
// form, as GLU does when both are set.
template <typename... A>
void call(GLUtesselator* t, GLenum plain, GLenum withData, A... args) {
    if (_GLUfuncptr f = callback(t, withData))
        reinterpret_cast<void (*)(A..., void*)>(f)(args..., t->polygonData);
    else if (_GLUfuncptr g = callback(t, plain))
        reinterpret_cast<void (*)(A...)>(g)(args...);
}

void tessError(GLUtesselator* t, GLenum e) { call(t, GLU_TESS_ERROR, GLU_TESS_ERROR_DATA, e); }

void discard(GLUtesselator* t) {
    t->coords.clear();
    t->contourStarts.clear();
    t->data.clear();
    t->state = dormant;
}

void beginContour(GLUtesselator* t) {
    t->contourStarts.push_back(int(t->coords.size() / 3));
    t->state = inContour;
}

// Walks the tessellator to `want` one step at a time, reporting each step the
// program left out and taking it for it (a polygon left open is dropped).
void require(GLUtesselator* t, TessState want) {
    while (t->state != want) {
        if (t->state < want) {
            if (t->state == dormant) {
                tessError(t, GLU_TESS_MISSING_BEGIN_POLYGON);
                t->polygonData = nullptr;
                t->state = inPolygon;
            } else {
                tessError(t, GLU_TESS_MISSING_BEGIN_CONTOUR);
                beginContour(t);
            }
        } else if (t->state == inContour) {
            tessError(t, GLU_TESS_MISSING_END_CONTOUR);
            t->state = inPolygon;
        } else {
            tessError(t, GLU_TESS_MISSING_END_POLYGON);
            discard(t);
        }
    }
}

}  // namespace

// libtess's side: one tessellator per polygon, its callbacks sent back to the
// zwTess* functions below. Errors libtess finds (a combine callback needed)
// come back through zwTessError like the others.
EM_JS(void, zwTessRun, (GLUtesselator* t, const double* coords, int count, const int* starts, int contours,
                        double winding, int boundaryOnly, double tolerance, double nx, double ny, double nz,
                        int edgeFlag, int combine), {
    var lib = Module.zwLibtess, e = lib.gluEnum, tess = new lib.GluTesselator();
    tess.gluTessProperty(e.GLU_TESS_WINDING_RULE, winding);
    tess.gluTessProperty(e.GLU_TESS_BOUNDARY_ONLY, boundaryOnly != 0);
    tess.gluTessProperty(e.GLU_TESS_TOLERANCE, tolerance);
    tess.gluTessNormal(nx, ny, nz);
    tess.gluTessCallback(e.GLU_TESS_BEGIN, function(type) { _zwTessBegin(t, type); });
    tess.gluTessCallback(e.GLU_TESS_VERTEX, function(index) { _zwTessVertex(t, index); });
    tess.gluTessCallback(e.GLU_TESS_END, function() { _zwTessEnd(t); });
    tess.gluTessCallback(e.GLU_TESS_ERROR, function(code) { _zwTessError(t, code); });
    // Whether these two are set changes what libtess makes (triangles only
    // with edge flags; intersections need a combine), so only when the program's are.
    if (edgeFlag) tess.gluTessCallback(e.GLU_TESS_EDGE_FLAG, function(flag) { _zwTessEdgeFlag(t, flag ? 1 : 0); });
    if (combine)
        tess.gluTessCallback(e.GLU_TESS_COMBINE, function(c, d, w) {
            function at(k) { return d[k] === null || d[k] === undefined ? -1 : d[k]; }
            function weight(k) { return w[k] || 0; }
            return _zwTessCombine(t, c[0], c[1], c[2], at(0), at(1), at(2), at(3), weight(0), weight(1),
                                  weight(2), weight(3));
        });
    tess.gluTessBeginPolygon(null);
    for (var c = 0; c < contours; ++c) {
        var end = c + 1 < contours ? HEAP32[(starts >> 2) + c + 1] : count;
        tess.gluTessBeginContour();
        for (var i = HEAP32[(starts >> 2) + c]; i < end; ++i) {
            var p = (coords >> 3) + 3 * i;
            tess.gluTessVertex([HEAPF64[p], HEAPF64[p + 1], HEAPF64[p + 2]], i);
        }
        tess.gluTessEndContour();
    }
    tess.gluTessEndPolygon();
});

extern "C" {

EMSCRIPTEN_KEEPALIVE void zwTessBegin(GLUtesselator* t, int type) {
    call(t, GLU_TESS_BEGIN, GLU_TESS_BEGIN_DATA, GLenum(type));
}

EMSCRIPTEN_KEEPALIVE void zwTessVertex(GLUtesselator* t, int index) {
    if (index < 0 || size_t(index) >= t->data.size()) return;
    call(t, GLU_TESS_VERTEX, GLU_TESS_VERTEX_DATA, t->data[index]);
}

EMSCRIPTEN_KEEPALIVE void zwTessEnd(GLUtesselator* t) { call(t, GLU_TESS_END, GLU_TESS_END_DATA); }

EMSCRIPTEN_KEEPALIVE void zwTessError(GLUtesselator* t, int code) { tessError(t, GLenum(code)); }

EMSCRIPTEN_KEEPALIVE void zwTessEdgeFlag(GLUtesselator* t, int flag) {
    call(t, GLU_TESS_EDGE_FLAG, GLU_TESS_EDGE_FLAG_DATA, GLboolean(flag));
}

// A vertex libtess makes where edges cross: the program's combine callback
// gives its data, which later vertex callbacks receive; its index is returned.
EMSCRIPTEN_KEEPALIVE int zwTessCombine(GLUtesselator* t, double x, double y, double z, int d0, int d1, int d2,
                                       int d3, double w0, double w1, double w2, double w3) {
    GLdouble coords[3] = {x, y, z};
    const int index[4] = {d0, d1, d2, d3};
    void* data[4];
    for (int k = 0; k < 4; ++k)
        data[k] = index[k] >= 0 && size_t(index[k]) < t->data.size() ? t->data[index[k]] : nullptr;
    GLfloat weight[4] = {GLfloat(w0), GLfloat(w1), GLfloat(w2), GLfloat(w3)};
    void* out = nullptr;
    call(t, GLU_TESS_COMBINE, GLU_TESS_COMBINE_DATA, coords, data, weight, &out);
    t->data.push_back(out);
    return int(t->data.size()) - 1;
}

GLUtesselator* gluNewTess(void) { return new GLUtesselator(); }

void gluDeleteTess(GLUtesselator* t) {
    if (!t) return;
    require(t, dormant);
    delete t;
}

void gluTessCallback(GLUtesselator* t, GLenum which, _GLUfuncptr f) {
    if (!t) return;
    if (which < GLU_TESS_BEGIN || which > GLU_TESS_COMBINE_DATA) return tessError(t, GLU_INVALID_ENUM);
    t->callbacks[which - GLU_TESS_BEGIN] = f;
}

void gluTessProperty(GLUtesselator* t, GLenum which, GLdouble value) {
    if (!t) return;
    switch (which) {
        case GLU_TESS_WINDING_RULE:
            if (value != GLU_TESS_WINDING_ODD && value != GLU_TESS_WINDING_NONZERO &&
                value != GLU_TESS_WINDING_POSITIVE && value != GLU_TESS_WINDING_NEGATIVE &&
                value != GLU_TESS_WINDING_ABS_GEQ_TWO)
                return tessError(t, GLU_INVALID_VALUE);
            t->windingRule = value;
            return;
        case GLU_TESS_BOUNDARY_ONLY: t->boundaryOnly = value != 0; return;
        case GLU_TESS_TOLERANCE:
            if (!(value >= 0 && value <= 1)) return tessError(t, GLU_INVALID_VALUE);
            t->tolerance = value;
            return;
        default: tessError(t, GLU_INVALID_ENUM);
    }
}

void gluGetTessProperty(GLUtesselator* t, GLenum which, GLdouble* value) {
    if (!t || !value) return;
    switch (which) {
        case GLU_TESS_WINDING_RULE: *value = t->windingRule; return;
        case GLU_TESS_BOUNDARY_ONLY: *value = t->boundaryOnly; return;
        case GLU_TESS_TOLERANCE: *value = t->tolerance; return;
        default: *value = 0; tessError(t, GLU_INVALID_ENUM);
    }
}

void gluTessNormal(GLUtesselator* t, GLdouble x, GLdouble y, GLdouble z) {
    if (!t) return;
    t->normal[0] = x, t->normal[1] = y, t->normal[2] = z;
}

void gluTessBeginPolygon(GLUtesselator* t, GLvoid* data) {
    if (!t) return;
    require(t, dormant);
    t->state = inPolygon;
    t->polygonData = data;
}

void gluTessBeginContour(GLUtesselator* t) {
    if (!t) return;
    require(t, inPolygon);
    beginContour(t);
}

void gluTessVertex(GLUtesselator* t, GLdouble* location, GLvoid* data) {
    if (!t || !location) return;
    require(t, inContour);
    bool tooLarge = false;
    for (int k = 0; k < 3; ++k) {
        const double c = location[k];
        tooLarge |= !(std::fabs(c) <= maxCoordinate);
        t->coords.push_back(c > maxCoordinate ? maxCoordinate : c < -maxCoordinate ? -maxCoordinate : c == c ? c : 0);
    }
    if (tooLarge) tessError(t, GLU_TESS_COORD_TOO_LARGE);
    t->data.push_back(data);
}

void gluTessEndContour(GLUtesselator* t) {
    if (!t) return;
    require(t, inContour);
    t->state = inPolygon;
}

void gluTessEndPolygon(GLUtesselator* t) {
    if (!t) return;
    require(t, inPolygon);
    const int count = int(t->coords.size() / 3);
    const bool edgeFlag = callback(t, GLU_TESS_EDGE_FLAG) || callback(t, GLU_TESS_EDGE_FLAG_DATA);
    const bool combine = callback(t, GLU_TESS_COMBINE) || callback(t, GLU_TESS_COMBINE_DATA);
    // The lists are kept until libtess is done: its vertex callbacks index them.
    if (count > 0)
        zwTessRun(t, t->coords.data(), count, t->contourStarts.data(), int(t->contourStarts.size()), t->windingRule,
                  t->boundaryOnly != 0, t->tolerance, t->normal[0], t->normal[1], t->normal[2], edgeFlag, combine);
    discard(t);
}

// The GLU 1.0 polygon calls, on the same object: the contour type is not
// needed, the winding rule decides.
void gluBeginPolygon(GLUtesselator* t) {
    gluTessBeginPolygon(t, nullptr);
    gluTessBeginContour(t);
}

void gluNextContour(GLUtesselator* t, GLenum) {
    gluTessEndContour(t);
    gluTessBeginContour(t);
}

void gluEndPolygon(GLUtesselator* t) {
    gluTessEndContour(t);
    gluTessEndPolygon(t);
}

}  // extern "C"
