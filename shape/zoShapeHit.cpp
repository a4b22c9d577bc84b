// zoShape: hit tests in window pixels, on the screen positions of the last
// draw, with the primitives the shape draws.
#include <GL/gl.h>

#include <cmath>

#include "shape/zoShape.h"
#include "shape/zoShapeWalk.h"

float zoShape::pickTolerance = 5.0f;

bool pointInTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r) {
    if (p.z < 0 || q.z < 0 || r.z < 0) return false;
    float nz = (q - p).cross(r - p).z;
    bool counterClockwise = nz > 0;
    const zoVec3f* corner[4] = {&p, &q, &r, &p};
    for (int i = 0; i < 3; ++i) {
        const zoVec3f& e0 = *corner[i];
        zoVec3f k = *corner[i + 1] - e0;
        float d = zoVec3f(x - e0.x, y - e0.y, 0 - e0.z).dot(zoVec3f(k.y, -k.x, 0));
        if (counterClockwise ? d > 0 : d < 0) return false;
    }
    return true;
}

namespace {

// Distance test of the screen point P against the segment A..B (depth ignored).
bool hitSegment(const zoVec3f& P, const zoVec3f& A, const zoVec3f& B, float tolerance) {
    zoVec3f E = B - A;
    zoVec3f D = P - A;
    D.z = 0;
    if (D.dot(E) < 0) return false;
    zoVec3f F = P - B;
    F.z = 0;
    if (F.dot(A - B) < 0) return false;
    zoVec3f N(E.y, -E.x, 0);
    // A segment of no length on screen has no direction: it is the point A,
    // hit only from within the pick distance (not from anywhere on the screen).
    if (N.lengthSquared() == 0) return D.lengthSquared() < tolerance * tolerance;
    N.normalize();
    float dist = std::fabs(D.dot(N));
    return dist < tolerance;
}

// A triangle of no area on screen is not drawn by OpenGL, so it hits nothing.
bool hitTriangle(float x, float y, zoVec3f& p, zoVec3f& q, zoVec3f& r) {
    if ((q - p).cross(r - p).z == 0) return false;
    return pointInTriangle(x, y, p, q, r);
}

// A vertex the camera could not place (NaN while no camera has been captured,
// infinite on the eye's plane) is nowhere on screen, so it never hits.
bool onScreen(const zoVec3f& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

bool zoShape::pointInside(float x, float y) {
    if (!enablePicking) return false;
    // A polygon is tested as the fan around its first vertex, which covers
    // every convex polygon. Quads are never hit.
    const unsigned mode = drawStyle == GL_POLYGON ? unsigned(GL_TRIANGLE_FAN) : drawStyle;
    if (mode == GL_QUADS || mode == GL_QUAD_STRIP) return false;
    const zoVec3f P(x, y, 0);
    const float limit = pickTolerance * pickTolerance;
    zoVec3f* s = screenVertexList;
    return zoWalkPrimitives(mode, zoEntryWalk(*this), [&](const zoPrimitive& p) {
        for (int i = 0; i < p.corners; ++i)
            if (!onScreen(s[p.v[i]])) return false;
        switch (p.corners) {
            case 1: {
                zoVec3f V = s[p.v[0]];
                V.z = 0;
                return (V - P).lengthSquared() < limit;
            }
            case 2:
                return hitSegment(P, s[p.v[0]], s[p.v[1]], pickTolerance);
            default:
                return hitTriangle(x, y, s[p.v[0]], s[p.v[1]], s[p.v[2]]);
        }
    });
}

bool zoShape::shapeInRect(float left, float bottom, float right, float top, bool any) {
    zoEntryWalk walk(*this);
    int e;
    while (walk.next(e)) {
        if (e == -1) continue;
        if (!onScreen(screenVertexList[e])) {
            if (any) continue;
            return false;
        }
        float x = screenVertexList[e].x, y = screenVertexList[e].y;
        if (any) {
            if (left < x && x < right && bottom < y && y < top) return true;
        } else if (x < left || x > right || y < bottom || y > top) {
            return false;
        }
    }
    return !any;
}

bool zoShape::shapeInCircle(float cx, float cy, float radius, bool any) {
    zoEntryWalk walk(*this);
    int e;
    const float r2 = radius * radius;
    while (walk.next(e)) {
        if (e == -1) continue;
        if (!onScreen(screenVertexList[e])) {
            if (any) continue;
            return false;
        }
        float dx = screenVertexList[e].x - cx;
        float dy = screenVertexList[e].y - cy;
        float d2 = dx * dx + dy * dy;
        if (any) {
            if (r2 > d2) return true;
        } else if (r2 < d2) {
            return false;
        }
    }
    return !any;
}
