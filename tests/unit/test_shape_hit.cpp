// Hit testing on screen positions: pointInTriangle, pointInside for every
// primitive type, the rectangle and circle tests, and the degenerate and
// out-of-range cases.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>

#include "shape/zoShape.h"
#include "shape_support.h"

namespace {

// A shape whose screen positions are given directly (as a draw would leave them).
void build(zoShape& s, unsigned style, std::initializer_list<zoVec3f> screen, std::initializer_list<int> entries = {}) {
    s.drawStyle = style;
    for (const zoVec3f& p : screen) {
        int i = s.addPoint();
        s.screenVertexList[i] = p;
    }
    shapetest::stdoutOf([&] {
        for (int e : entries) s.addIndex(e);
    });
}

zoVec3f at(float x, float y, float depth = 0.5f) { return zoVec3f(x, y, depth); }

TEST(PointInTriangle, BothWindingsEdgesAndDepth) {
    zoVec3f a = at(0, 0), b = at(100, 0), c = at(0, 100);
    EXPECT_TRUE(pointInTriangle(10, 10, a, b, c));
    EXPECT_TRUE(pointInTriangle(10, 10, a, c, b));
    EXPECT_TRUE(pointInTriangle(50, 50, a, b, c));  // on the hypotenuse
    EXPECT_TRUE(pointInTriangle(50, 50, a, c, b));
    EXPECT_TRUE(pointInTriangle(0, 0, a, b, c));    // a corner
    EXPECT_FALSE(pointInTriangle(60, 60, a, b, c));
    EXPECT_FALSE(pointInTriangle(60, 60, a, c, b));
    EXPECT_FALSE(pointInTriangle(-1, 10, a, b, c));
    EXPECT_FALSE(pointInTriangle(10, -0.001f, a, c, b));
    zoVec3f behind = at(0, 100, -0.001f);
    EXPECT_FALSE(pointInTriangle(10, 10, a, b, behind));
    EXPECT_FALSE(pointInTriangle(10, 10, behind, a, b));
    zoVec3f onPlane = at(0, 100, 0);
    EXPECT_TRUE(pointInTriangle(10, 10, a, b, onPlane));
}

// pointInTriangle keeps its own rule for triangles without area: the points
// on the line through them pass.
TEST(PointInTriangle, DegenerateTriangleAcceptsItsLine) {
    zoVec3f a = at(0, 0), b = at(10, 0), c = at(20, 0);
    EXPECT_TRUE(pointInTriangle(500, 0, a, b, c));
    EXPECT_FALSE(pointInTriangle(5, 1, a, b, c));
    zoVec3f p = at(3, 3);
    EXPECT_TRUE(pointInTriangle(-400, 900, p, p, p));
}

TEST(PointInside, PickingOffIsNeverHit) {
    zoShape s(false, false, false);
    build(s, 0, {at(100, 100)});
    EXPECT_TRUE(s.pointInside(100, 100));
    s.enablePicking = false;
    EXPECT_FALSE(s.pointInside(100, 100));
    // The area tests do not look at the flag.
    EXPECT_TRUE(s.shapeInRect(0, 0, 200, 200, true));
    EXPECT_TRUE(s.shapeInCircle(100, 100, 1, true));
}

TEST(PointInside, Points) {
    zoShape s(false, false, false);
    build(s, 0, {at(100, 100), at(300, 300, -5)});
    EXPECT_TRUE(s.pointInside(104, 100));
    EXPECT_FALSE(s.pointInside(105, 100));
    EXPECT_TRUE(s.pointInside(100, 95.01f));
    EXPECT_TRUE(s.pointInside(300, 300));  // depth ignored
    EXPECT_FALSE(s.pointInside(200, 200));
}

TEST(PointInside, LineStrip) {
    zoShape s(false, false, false);
    build(s, 3, {at(0, 0), at(100, 0)});
    EXPECT_TRUE(s.pointInside(50, 4.9f));
    EXPECT_TRUE(s.pointInside(50, -4.9f));
    EXPECT_FALSE(s.pointInside(50, 5));
    EXPECT_FALSE(s.pointInside(-1, 0));   // before the first end
    EXPECT_FALSE(s.pointInside(101, 0));  // beyond the last
    EXPECT_TRUE(s.pointInside(100, 0));
    EXPECT_TRUE(s.pointInside(0, 0));
    zoShape one(false, false, false);
    build(one, 3, {at(0, 0)});
    EXPECT_FALSE(one.pointInside(0, 0));
}

TEST(PointInside, LinesPairAfresh) {
    zoShape s(false, false, true);
    build(s, 1, {at(0, 0), at(100, 0), at(0, 100), at(100, 100)}, {0, 1, -1, 2, 3});
    EXPECT_TRUE(s.pointInside(50, 0));
    EXPECT_TRUE(s.pointInside(50, 100));
    // Without the separator, (1, 2) would not be a pair in GL_LINES either.
    zoShape t(false, false, false);
    build(t, 1, {at(0, 0), at(100, 0), at(100, 100), at(0, 100)});
    EXPECT_TRUE(t.pointInside(50, 0));
    EXPECT_TRUE(t.pointInside(50, 100));
    EXPECT_FALSE(t.pointInside(100, 50));
    // A strip of the same vertices joins them all.
    t.drawStyle = 3;
    EXPECT_TRUE(t.pointInside(100, 50));
    EXPECT_FALSE(t.pointInside(0, 50));
}

// OpenGL draws a loop's closing segment, so a click on it hits; each run
// between separators closes on itself.
TEST(PointInside, LineLoopClosingSegment) {
    zoShape s(false, false, false);
    build(s, 2, {at(0, 0), at(100, 0), at(100, 100), at(0, 100)});
    EXPECT_TRUE(s.pointInside(0, 50));
    s.drawStyle = 3;
    EXPECT_FALSE(s.pointInside(0, 50));

    zoShape two(false, false, true);
    build(two, 2, {at(0, 0), at(100, 0), at(100, 100), at(300, 0), at(400, 0), at(400, 100)},
          {0, 1, 2, -1, 3, 4, 5, -1});
    EXPECT_TRUE(two.pointInside(50, 50));    // 2 back to 0
    EXPECT_TRUE(two.pointInside(350, 50));   // 5 back to 3
    EXPECT_FALSE(two.pointInside(200, 50));  // no segment between the loops
    EXPECT_FALSE(two.pointInside(200, 0));
}

// A segment whose ends coincide on screen is a point: it hits only within the
// pick distance, not everywhere.
TEST(PointInside, SegmentOfNoLength) {
    zoShape s(false, false, false);
    build(s, 3, {at(50, 50, 0.2f), at(50, 50, 0.9f)});
    EXPECT_FALSE(s.pointInside(500, 10));
    EXPECT_FALSE(s.pointInside(50, 55));
    EXPECT_TRUE(s.pointInside(53, 53));
    zoShape l(false, false, false);
    build(l, 1, {at(7, 7), at(7, 7)});
    EXPECT_FALSE(l.pointInside(0, 300));
    EXPECT_TRUE(l.pointInside(7, 11.9f));
}

TEST(PointInside, Triangles) {
    zoShape s(false, false, false);
    build(s, 4, {at(0, 0), at(100, 0), at(0, 100)});
    EXPECT_TRUE(s.pointInside(10, 10));
    EXPECT_TRUE(s.pointInside(50, 50));
    EXPECT_FALSE(s.pointInside(60, 60));
    s.screenVertexList[2].z = -0.5f;
    EXPECT_FALSE(s.pointInside(10, 10));

    zoShape cw(false, false, false);
    build(cw, 4, {at(0, 0), at(0, 100), at(100, 0)});
    EXPECT_TRUE(cw.pointInside(10, 10));
}

TEST(PointInside, TrianglesAcrossSeparator) {
    zoShape s(false, false, true);
    build(s, 4, {at(0, 0), at(10, 0), at(0, 10), at(100, 100), at(110, 100), at(100, 110)}, {0, 1, 2, -1, 3, 4, 5});
    EXPECT_TRUE(s.pointInside(2, 2));
    EXPECT_TRUE(s.pointInside(102, 102));
    EXPECT_FALSE(s.pointInside(50, 50));
    // Without the pairing restart, (3, 4, 5) would be missed.
    zoShape t(false, false, true);
    build(t, 4, {at(0, 0), at(10, 0), at(0, 10), at(100, 100), at(110, 100), at(100, 110)}, {-1, 3, 4, 5});
    EXPECT_TRUE(t.pointInside(102, 102));
}

TEST(PointInside, StripCoversBothWindings) {
    zoShape s(false, false, false);
    build(s, 5, {at(0, 0), at(100, 0), at(0, 100), at(100, 100)});
    EXPECT_TRUE(s.pointInside(10, 10));
    EXPECT_TRUE(s.pointInside(90, 90));  // second triangle, opposite winding
    EXPECT_FALSE(s.pointInside(110, 50));
}

// A triangle with no area on screen is not drawn, so nothing hits it.
TEST(PointInside, TriangleOfNoArea) {
    zoShape line(false, false, false);
    build(line, 4, {at(0, 0), at(10, 0), at(20, 0)});
    EXPECT_FALSE(line.pointInside(500, 0));
    EXPECT_FALSE(line.pointInside(5, 0));
    zoShape dot(false, false, false);
    build(dot, 4, {at(3, 3), at(3, 3), at(3, 3)});
    EXPECT_FALSE(dot.pointInside(-400, 900));
    EXPECT_FALSE(dot.pointInside(3, 3));
    zoShape fan(false, false, false);
    build(fan, 6, {at(3, 3), at(3, 3), at(3, 3)});
    EXPECT_FALSE(fan.pointInside(1000, -1000));
}

TEST(PointInside, FanAndPolygon) {
    zoShape s(false, false, true);
    build(s, 6, {at(0, 0), at(10, 0), at(0, 10), at(100, 100), at(110, 100), at(100, 110)}, {0, 1, 2, -1, 3, 4, 5});
    EXPECT_TRUE(s.pointInside(2, 2));
    EXPECT_TRUE(s.pointInside(102, 102));
    // The triangle (2, 3, 4) across the separator is not part of the fan.
    EXPECT_FALSE(s.pointInside(50, 53));
    // The new fan first forms (3, 3, 4), which has no area: the line through
    // 3 and 4 is not hit.
    EXPECT_FALSE(s.pointInside(50, 100));

    zoShape square(false, false, false);
    build(square, 9, {at(0, 0), at(100, 0), at(100, 100), at(0, 100)});
    EXPECT_TRUE(square.pointInside(90, 10));
    EXPECT_TRUE(square.pointInside(10, 90));
    EXPECT_FALSE(square.pointInside(110, 50));

    zoShape headless(false, false, true);
    build(headless, 6, {at(0, 0), at(100, 0), at(0, 100)}, {-1, 0, 1, 2});
    EXPECT_FALSE(headless.pointInside(10, 10));
    EXPECT_FALSE(square.pointInside(-1, -1));
}

TEST(PointInside, QuadsAndUnknownModesNeverHit) {
    for (unsigned style : {7u, 8u, 10u, 0xFFFFFFFFu}) {
        zoShape s(false, false, false);
        build(s, style, {at(0, 0), at(100, 0), at(100, 100), at(0, 100)});
        EXPECT_FALSE(s.pointInside(50, 50)) << style;
        EXPECT_FALSE(s.pointInside(0, 0)) << style;
    }
}

// Entries that name no vertex are passed over as if absent: no memory outside
// the arrays is read, and the rest of the list still pairs up as drawn.
TEST(PointInside, EntriesOutsideTheVerticesAreAbsent) {
    zoShape s(false, false, true);
    build(s, 1, {at(0, 0), at(100, 0)}, {0, 5, 1, -9});
    EXPECT_TRUE(s.pointInside(50, 0));
    zoShape t(false, false, true);
    build(t, 4, {at(0, 0), at(100, 0), at(0, 100)}, {0, 1, 1000000, 2});
    EXPECT_TRUE(t.pointInside(10, 10));
    zoShape p(false, false, true);
    build(p, 0, {at(0, 0)}, {-3, 3});
    EXPECT_FALSE(p.pointInside(0, 0));
    EXPECT_FALSE(p.shapeInRect(-1, -1, 1, 1, true));
    EXPECT_TRUE(p.shapeInRect(5, 5, 6, 6, false));
}

TEST(ShapeInRect, StrictWithAnyInclusiveWithAll) {
    zoShape s(false, false, false);
    build(s, 0, {at(10, 10)});
    EXPECT_TRUE(s.shapeInRect(10, 0, 20, 20, false));
    EXPECT_FALSE(s.shapeInRect(10, 0, 20, 20, true));
    EXPECT_TRUE(s.shapeInRect(9.99f, 0, 20, 20, true));
    EXPECT_FALSE(s.shapeInRect(11, 0, 20, 20, false));
    EXPECT_FALSE(s.shapeInRect(0, 0, 20, 10, true));
    EXPECT_TRUE(s.shapeInRect(0, 0, 20, 10, false));

    zoShape two(false, false, true);
    build(two, 0, {at(10, 10), at(50, 50)}, {-1, 0, -1, 1});
    EXPECT_TRUE(two.shapeInRect(0, 0, 20, 20, true));
    EXPECT_FALSE(two.shapeInRect(0, 0, 20, 20, false));
    EXPECT_TRUE(two.shapeInRect(0, 0, 50, 50, false));

    zoShape empty(false, false, false);
    EXPECT_FALSE(empty.shapeInRect(-1e9f, -1e9f, 1e9f, 1e9f, true));
    EXPECT_TRUE(empty.shapeInRect(0, 0, 0, 0, false));
}

TEST(ShapeInCircle, StrictWithAnyInclusiveWithAll) {
    zoShape s(false, false, false);
    build(s, 3, {at(3, 4)});
    EXPECT_TRUE(s.shapeInCircle(0, 0, 5, false));  // on the border
    EXPECT_FALSE(s.shapeInCircle(0, 0, 5, true));
    EXPECT_TRUE(s.shapeInCircle(0, 0, 5.001f, true));
    EXPECT_FALSE(s.shapeInCircle(0, 0, 4.999f, false));

    zoShape two(false, false, false);
    build(two, 3, {at(0, 0), at(10, 0)});
    EXPECT_TRUE(two.shapeInCircle(0, 0, 1, true));
    EXPECT_FALSE(two.shapeInCircle(0, 0, 1, false));
    EXPECT_TRUE(two.shapeInCircle(5, 0, 5, false));

    zoShape empty(false, false, true);
    EXPECT_FALSE(empty.shapeInCircle(0, 0, 1e9f, true));
    EXPECT_TRUE(empty.shapeInCircle(0, 0, 0, false));
}

TEST(PointInside, PickTolerance) {
    // The pick distance is five pixels, below which points, segment and
    // triangle-free shapes are hit.
    zoShape s(false, false, false);
    build(s, 0, {at(0, 0)});
    EXPECT_TRUE(s.pointInside(3, 3.999f));
    EXPECT_FALSE(s.pointInside(3, 4));
}

// Without a captured camera every screen position is NaN. Such vertices are
// nowhere: no primitive code hits them and no area holds them, while the same
// shapes drawn under a camera are hit where they stand.
TEST(PointInside, ShapesDrawnWithoutACameraAreNeverHit) {
    for (unsigned style = 0; style < 10; ++style) {
        SCOPED_TRACE("drawStyle " + std::to_string(style));
        shapetest::freshScene();
        std::memset(cameraMatrix.m, 0, sizeof cameraMatrix.m);
        zoShape s(false, false, false);
        s.drawStyle = style;
        // A square of 100 pixels around (150, 150) once the camera is right.
        for (float p : {100.0f, 200.0f})
            for (float q : {100.0f, 200.0f}) s.addPoint(p, p == 100.0f ? q : 300 - q, 0);
        shapetest::stdoutOf([&] { s.draw(); });
        ASSERT_TRUE(std::isnan(s.screenVertexList[0].x));
        for (float x : {0.0f, 150.0f, 320.0f, 1e6f})
            for (float y : {0.0f, 150.0f, 240.0f}) EXPECT_FALSE(s.pointInside(x, y)) << x << ", " << y;
        EXPECT_FALSE(s.shapeInRect(-1e30f, -1e30f, 1e30f, 1e30f, true));
        EXPECT_FALSE(s.shapeInRect(-1e30f, -1e30f, 1e30f, 1e30f, false));
        EXPECT_FALSE(s.shapeInCircle(0, 0, 1e30f, true));
        EXPECT_FALSE(s.shapeInCircle(0, 0, 1e30f, false));

        // Under a pixel camera, every style but quads is hit beside its first vertex.
        shapetest::freshScene();
        cameraMatrix.m[0][0] = 2.0f / 640;
        cameraMatrix.m[1][1] = 2.0f / 480;
        cameraMatrix.m[0][3] = cameraMatrix.m[1][3] = -1;
        s.draw();
        EXPECT_EQ(s.pointInside(102, 103), style != 7 && style != 8);
        EXPECT_TRUE(s.shapeInRect(0, 0, 640, 480, false));
        EXPECT_TRUE(s.shapeInCircle(150, 150, 80, false));
    }
}

// One vertex the camera could not place takes out only the primitives it is in.
TEST(PointInside, AVertexNotOnScreenTakesOutOnlyItsPrimitives) {
    const float inf = INFINITY, nan = NAN;
    zoShape strip(false, false, false);
    build(strip, 5, {at(0, 0), at(100, 0), at(0, 100), at(100, 100), at(inf, 50)});
    EXPECT_TRUE(strip.pointInside(10, 10));   // (0, 1, 2)
    EXPECT_TRUE(strip.pointInside(90, 90));   // (1, 2, 3)
    EXPECT_FALSE(strip.pointInside(200, 50));  // (2, 3, 4) is gone
    EXPECT_FALSE(strip.shapeInRect(-1, -1, 1e30f, 1e30f, false));
    EXPECT_TRUE(strip.shapeInRect(-1, -1, 1e30f, 1e30f, true));

    zoShape line(false, false, false);
    build(line, 3, {at(0, 0), at(100, 0), at(nan, 0), at(100, 100)});
    EXPECT_TRUE(line.pointInside(50, 1));
    EXPECT_FALSE(line.pointInside(100, 50));  // the segments on each side of the NaN vertex
    EXPECT_FALSE(line.shapeInCircle(0, 0, 1e30f, false));
    EXPECT_TRUE(line.shapeInCircle(0, 0, 1, true));

    zoShape points(false, false, false);
    build(points, 0, {at(0, nan), at(10, 10, inf)});
    EXPECT_FALSE(points.pointInside(0, 0));
    EXPECT_FALSE(points.pointInside(10, 10));
    EXPECT_FALSE(points.shapeInRect(-100, -100, 100, 100, true));
}

}  // namespace
