// calculateNormals: faces of every primitive type, the strip sign rule, fans
// restarting after separators, polygons, degenerate faces and bad entries.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "shape/zoShape.h"
#include "shape_support.h"

using shapetest::stdoutOf;

namespace {

// A shape whose real positions are given directly (normals read only those).
void build(zoShape& s, unsigned style, std::initializer_list<zoVec3f> real, std::initializer_list<int> entries = {}) {
    s.drawStyle = style;
    for (const zoVec3f& p : real) {
        int i = s.addPoint(p.x, p.y, p.z);
        s.absVertexList[i] = p;
    }
    stdoutOf([&] {
        for (int e : entries) s.addIndex(e);
    });
}

const zoVec3f O(0, 0, 0), X(1, 0, 0), Y(0, 1, 0), XY(1, 1, 0);

TEST(Normals, SingleTriangleAndStrip) {
    zoShape tri(false, true, false);
    build(tri, 4, {O, X, Y});
    tri.calculateNormals();
    for (int i = 0; i < 3; ++i) {
        EXPECT_VEC3(tri.normalList[i], 0, 0, 1);
        EXPECT_EQ(tri.normalCountList[i], 1);
    }
    // The first triangle of a strip is negated.
    zoShape strip(false, true, false);
    build(strip, 5, {O, X, Y});
    strip.calculateNormals();
    for (int i = 0; i < 3; ++i) EXPECT_VEC3(strip.normalList[i], 0, 0, -1);
    // Its second triangle winds the other way and keeps its sign: all agree.
    zoShape strip4(false, true, false);
    build(strip4, 5, {O, X, Y, XY});
    strip4.calculateNormals();
    for (int i = 0; i < 4; ++i) EXPECT_VEC3(strip4.normalList[i], 0, 0, -1);
    EXPECT_EQ(strip4.normalCountList[0], 1);
    EXPECT_EQ(strip4.normalCountList[1], 2);
    EXPECT_EQ(strip4.normalCountList[2], 2);
    EXPECT_EQ(strip4.normalCountList[3], 1);
}

TEST(Normals, StripCounterRestartsAfterSeparator) {
    zoShape s(false, true, true);
    // Strip (0, 1, 2) then, after the separator, strip (3, 4, 5) with the same
    // winding: both first triangles are negated.
    build(s, 5, {O, X, Y, zoVec3f(0, 0, 5), zoVec3f(1, 0, 5), zoVec3f(0, 1, 5)}, {0, 1, 2, -1, 3, 4, 5});
    s.calculateNormals();
    for (int i = 0; i < 6; ++i) EXPECT_VEC3(s.normalList[i], 0, 0, -1);
}

TEST(Normals, TrianglesRestartPairingAfterSeparator) {
    zoShape s(false, true, true);
    build(s, 4, {O, X, Y, zoVec3f(0, 0, 1), zoVec3f(0, 1, 0), zoVec3f(0, 0, 0)}, {0, 1, 2, -1, 3, 4, 5});
    s.calculateNormals();
    EXPECT_VEC3(s.normalList[0], 0, 0, 1);
    // (3, 4, 5): (0,1,-1) x (0,0,-1) = (-1, 0, 0)
    EXPECT_VEC3(s.normalList[3], -1, 0, 0);
    EXPECT_EQ(s.normalCountList[3], 1);
}

TEST(Normals, VertexInNoFaceAndFacelessPrimitives) {
    zoShape s(false, true, true);
    build(s, 4, {O, X, Y, XY}, {0, 1, 2});
    s.calculateNormals();
    EXPECT_VEC3(s.normalList[3], 0, 0, 1);
    EXPECT_EQ(s.normalCountList[3], 0);
    for (unsigned style : {0u, 1u, 2u, 3u, 7u, 8u}) {
        zoShape f(false, true, false);
        build(f, style, {O, X, Y, XY});
        f.normalList[0].set(5, 5, 5);
        f.calculateNormals();
        for (int i = 0; i < 4; ++i) EXPECT_VEC3(f.normalList[i], 0, 0, 1) << "style " << style;
    }
}

TEST(Normals, FewerThanThreeEntriesLeaveZero) {
    for (unsigned style : {4u, 5u, 6u, 9u}) {
        zoShape s(false, true, false);
        build(s, style, {O, X});
        s.calculateNormals();
        for (int i = 0; i < 2; ++i) {
            EXPECT_VEC3(s.normalList[i], 0, 0, 0) << "style " << style;
            EXPECT_EQ(s.normalCountList[i], 0);
        }
    }
}

TEST(Normals, DegenerateFaceCountsWithZeroNormal) {
    zoShape s(false, true, false);
    build(s, 4, {O, O, X});
    s.calculateNormals();
    for (int i = 0; i < 3; ++i) {
        EXPECT_VEC3(s.normalList[i], 0, 0, 0);
        EXPECT_EQ(s.normalCountList[i], 1);
    }
}

TEST(Normals, SharedVertexAveragesItsFaces) {
    // Vertex 0 is in face (0, 1, 2), normal (0, 0, 1), and face (0, 2, 3), normal (1, 0, 0).
    zoShape t(false, true, true);
    build(t, 4, {O, X, Y, zoVec3f(0, 0, 1)}, {0, 1, 2, 0, 2, 3});
    t.calculateNormals();
    const float h = float(1 / std::sqrt(2.0));
    EXPECT_EQ(t.normalCountList[0], 2);
    EXPECT_FLOAT_EQ(t.normalList[0].x, h);
    EXPECT_EQ(t.normalList[0].y, 0);
    EXPECT_FLOAT_EQ(t.normalList[0].z, h);
    // The exact value: (0.5, 0, 0.5) normalised in float.
    zoVec3f want(0.5f, 0, 0.5f);
    want.normalize();
    EXPECT_VEC3(t.normalList[0], want.x, want.y, want.z);
}

TEST(Normals, PolygonGivesEveryVertexOneNormal) {
    zoShape s(false, true, true);
    build(s, 9, {O, X, XY, Y, zoVec3f(7, 7, 7)}, {0, 1, 2, 3});
    s.calculateNormals();
    // Vertex 4 is not in the list and still gets the polygon's normal.
    for (int i = 0; i < 5; ++i) {
        EXPECT_VEC3(s.normalList[i], 0, 0, 1);
        EXPECT_EQ(s.normalCountList[i], 1);
    }
}

// A polygon cut short by a separator before its third vertex draws nothing;
// the normal comes from the first polygon that has three vertices.
TEST(Normals, PolygonWithSeparatorAmongFirstThreeEntries) {
    zoShape s(false, true, true);
    build(s, 9, {O, X, zoVec3f(0, 0, 1), zoVec3f(0, 1, 1), zoVec3f(1, 0, 1)}, {0, 1, -1, 2, 3, 4});
    s.calculateNormals();
    for (int i = 0; i < 5; ++i) {
        EXPECT_VEC3(s.normalList[i], 0, 0, -1) << i;
        EXPECT_EQ(s.normalCountList[i], 1);
    }

    // A leading separator: the first polygon starts after it. Its winding
    // decides the sign, so this one faces -z.
    zoShape lead(false, true, true);
    build(lead, 9, {O, Y, X}, {-1, 0, 1, 2});
    lead.calculateNormals();
    for (int i = 0; i < 3; ++i) EXPECT_VEC3(lead.normalList[i], 0, 0, -1);

    // No polygon with three vertices: nothing is drawn, no vertex is in a face.
    zoShape none(false, true, true);
    build(none, 9, {O, X, Y, XY}, {0, 1, -1, 2, 3});
    none.calculateNormals();
    for (int i = 0; i < 4; ++i) {
        EXPECT_VEC3(none.normalList[i], 0, 0, 1);
        EXPECT_EQ(none.normalCountList[i], 0);
    }
}

TEST(Normals, FanRestartsAroundNewCentre) {
    zoShape s(false, true, true);
    // Fan (0; 1, 2) in the z = 0 plane; after the separator, centre 3 with
    // (3, 4, 5) in the x = 0 plane.
    build(s, 6, {O, X, Y, zoVec3f(0, 0, 0), zoVec3f(0, 1, 0), zoVec3f(0, 0, 1)}, {0, 1, 2, -1, 3, 4, 5});
    s.calculateNormals();
    EXPECT_VEC3(s.normalList[1], 0, 0, 1);
    EXPECT_VEC3(s.normalList[2], 0, 0, 1);
    EXPECT_VEC3(s.normalList[5], 1, 0, 0);
    // The fan around 3 adds the face (3, 3, 4) (no area, counted, vertex 3
    // twice) before (3, 4, 5).
    EXPECT_EQ(s.normalCountList[3], 3);
    EXPECT_EQ(s.normalCountList[4], 2);
    EXPECT_EQ(s.normalCountList[5], 1);
    EXPECT_VEC3(s.normalList[3], 1, 0, 0);
}

TEST(Normals, FanWithoutCentreFormsNoFaces) {
    zoShape s(false, true, true);
    build(s, 6, {O, X, Y, XY}, {-1, 0, 1, 2});
    s.calculateNormals();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.normalCountList[i], 0);
    // (-1, -1, 0, 1, 2, -1, 3, 0, 1): the separator at entry 1 makes 0 the
    // centre, giving (0, 0, 1) and (0, 1, 2); the one before 3 makes 3 the
    // centre, giving (3, 3, 0) and (3, 0, 1). A corner named twice counts twice.
    zoShape t(false, true, true);
    build(t, 6, {O, X, Y, XY}, {-1, -1, 0, 1, 2, -1, 3, 0, 1});
    t.calculateNormals();
    EXPECT_EQ(t.normalCountList[0], 5);
    EXPECT_EQ(t.normalCountList[1], 3);
    EXPECT_EQ(t.normalCountList[2], 1);
    EXPECT_EQ(t.normalCountList[3], 3);
}

TEST(Normals, EntriesOutsideTheVerticesAreAbsent) {
    // With the bad entries passed over, the list reads (0, 1, 2) and (2, 1, 3).
    zoShape s(false, true, true);
    build(s, 4, {O, X, Y, XY}, {0, 99, 1, 2, -5, 2, 1, 3});
    s.calculateNormals();
    for (int i = 0; i < 4; ++i) EXPECT_VEC3(s.normalList[i], 0, 0, 1) << i;
    EXPECT_EQ(s.normalCountList[1], 2);
    // A polygon whose first entries are bad takes its face from the good ones.
    zoShape p(false, true, true);
    build(p, 9, {O, Y, X}, {4, 0, 1, 2});
    p.calculateNormals();
    EXPECT_VEC3(p.normalList[0], 0, 0, -1);
    // Fewer than three good entries: as a list of fewer than three.
    zoShape few(false, true, true);
    build(few, 5, {O, X, Y}, {0, 1, 7});
    few.calculateNormals();
    EXPECT_VEC3(few.normalList[0], 0, 0, 0);
}

TEST(Normals, DisabledGivesMessageAndChangesNothing) {
    zoShape s(false, false, false);
    build(s, 4, {O, X, Y});
    EXPECT_EQ(stdoutOf([&] {
                  s.calculateNormals();
                  s.calculateNormals();
              }),
              "calculateNormals: vertex normals are not enabled\n"
              "calculateNormals: vertex normals are not enabled\n");
    EXPECT_EQ(s.normalList, nullptr);
}

}  // namespace
