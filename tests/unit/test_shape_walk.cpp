// The primitive walker: what each OpenGL primitive code makes of an entry
// sequence, written out from the primitive rules (with the shape layer's fan
// rule after separators), including odd counts, separators and sequences too
// short for one primitive.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shape/zoShapeWalk.h"

namespace {

// "p3" a point, "s01" a segment, "t012/0" a triangle and its k, space-separated.
std::string walk(unsigned mode, const std::vector<int>& entries, int vertexCount = 10) {
    std::string out;
    bool stopped = zoWalkPrimitives(mode, zoEntryWalk(entries.data(), int(entries.size()), vertexCount),
                                    [&](const zoPrimitive& p) {
                                        if (!out.empty()) out += ' ';
                                        out += "?pst"[p.corners];
                                        for (int i = 0; i < p.corners; ++i) out += std::to_string(p.v[i]);
                                        if (p.corners == 3) out += "/" + std::to_string(p.k);
                                        return false;
                                    });
    EXPECT_FALSE(stopped);
    return out;
}

// How many primitives are visited when the visit asks to stop at the n-th.
int visitedUntil(unsigned mode, const std::vector<int>& entries, int n, bool* stopped) {
    int seen = 0;
    *stopped = zoWalkPrimitives(mode, zoEntryWalk(entries.data(), int(entries.size()), 10),
                                [&](const zoPrimitive&) { return ++seen == n; });
    return seen;
}

TEST(ShapeWalk, PointsAreEveryVertexEntry) {
    EXPECT_EQ(walk(GL_POINTS, {0, -1, 1, 2}), "p0 p1 p2");
    EXPECT_EQ(walk(GL_POINTS, {-1, -1}), "");
    EXPECT_EQ(walk(GL_POINTS, {}), "");
}

TEST(ShapeWalk, LinesPairEntriesAndStartAfreshAfterASeparator) {
    EXPECT_EQ(walk(GL_LINES, {0, 1, 2, 3, 4}), "s01 s23");  // the odd one is dropped
    EXPECT_EQ(walk(GL_LINES, {0, -1, 1, 2}), "s12");
    EXPECT_EQ(walk(GL_LINES, {0, 1, 2, -1, 3, 4}), "s01 s34");
    EXPECT_EQ(walk(GL_LINES, {0}), "");
}

TEST(ShapeWalk, StripsJoinConsecutiveEntries) {
    EXPECT_EQ(walk(GL_LINE_STRIP, {0, 1, 2, 3}), "s01 s12 s23");
    EXPECT_EQ(walk(GL_LINE_STRIP, {0, 1, -1, 2, 3, -1, 4}), "s01 s23");
    EXPECT_EQ(walk(GL_LINE_STRIP, {5}), "");
}

TEST(ShapeWalk, LoopsCloseEachRunFromItsLastVertexToItsFirst) {
    EXPECT_EQ(walk(GL_LINE_LOOP, {0, 1, 2}), "s01 s12 s20");
    EXPECT_EQ(walk(GL_LINE_LOOP, {0, 1, 2, -1, 3, 4}), "s01 s12 s20 s34 s43");
    EXPECT_EQ(walk(GL_LINE_LOOP, {0, -1, 1, -1}), "");
    EXPECT_EQ(walk(GL_LINE_LOOP, {}), "");
}

TEST(ShapeWalk, TrianglesTakeConsecutiveTriples) {
    EXPECT_EQ(walk(GL_TRIANGLES, {0, 1, 2, 3, 4, 5, 6, 7}), "t012/0 t345/1");
    EXPECT_EQ(walk(GL_TRIANGLES, {0, 1, -1, 2, 3, 4}), "t234/0");
    EXPECT_EQ(walk(GL_TRIANGLES, {0, 1}), "");
}

TEST(ShapeWalk, TriangleStripsCountTheirTrianglesFromEachStart) {
    EXPECT_EQ(walk(GL_TRIANGLE_STRIP, {0, 1, 2, 3, 4}), "t012/0 t123/1 t234/2");
    EXPECT_EQ(walk(GL_TRIANGLE_STRIP, {0, 1, 2, 3, -1, 4, 5, 6, -1}), "t012/0 t123/1 t456/0");
    EXPECT_EQ(walk(GL_TRIANGLE_STRIP, {0, 1, -1, 2}), "");
}

TEST(ShapeWalk, FansTurnAroundTheirCentre) {
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {0, 1, 2, 3}), "t012/0 t023/1");
    // After a separator the next entry is the new centre; the fan opens with
    // a triangle of no area on it.
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {0, 1, 2, -1, 3, 4, 5}), "t012/0 t334/0 t345/1");
    // Without a centre at the start, nothing until a separator gives one.
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {-1, 0, 1, 2}), "");
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {-1, 0, 1, 2, -1, 3, 4, 5}), "t334/0 t345/1");
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {0, 1}), "");
    EXPECT_EQ(walk(GL_TRIANGLE_FAN, {0}), "");
}

TEST(ShapeWalk, QuadsSplitIntoTwoTrianglesEach) {
    EXPECT_EQ(walk(GL_QUADS, {0, 1, 2, 3, 4, 5, 6, 7, 8}), "t012/0 t023/1 t456/2 t467/3");
    EXPECT_EQ(walk(GL_QUADS, {0, 1, 2, -1, 3, 4, 5, 6}), "t345/0 t356/1");
    EXPECT_EQ(walk(GL_QUADS, {0, 1, 2}), "");
}

TEST(ShapeWalk, QuadStripsMakeAQuadOfEveryTwoPairs) {
    // Quads (0, 1, 3, 2) and (2, 3, 5, 4), each a fan around its first corner.
    EXPECT_EQ(walk(GL_QUAD_STRIP, {0, 1, 2, 3, 4, 5}), "t013/0 t032/1 t235/2 t254/3");
    EXPECT_EQ(walk(GL_QUAD_STRIP, {0, 1, 2, 3, 4}), "t013/0 t032/1");
    EXPECT_EQ(walk(GL_QUAD_STRIP, {0, 1, -1, 2, 3, 4, 5}), "t235/0 t254/1");
    EXPECT_EQ(walk(GL_QUAD_STRIP, {0, 1, 2}), "");
}

TEST(ShapeWalk, PolygonsAreFansAroundTheirFirstVertex) {
    EXPECT_EQ(walk(GL_POLYGON, {0, 1, 2, 3, 4}), "t012/0 t023/1 t034/2");
    EXPECT_EQ(walk(GL_POLYGON, {0, 1, -1, 2, 3, 4}), "t234/0");
    EXPECT_EQ(walk(GL_POLYGON, {-1, 0, 1, 2}), "t012/0");
    EXPECT_EQ(walk(GL_POLYGON, {0, 1}), "");
}

TEST(ShapeWalk, OtherCodesGiveNothing) {
    for (unsigned mode : {10u, 77u, 0xFFFFFFFFu}) EXPECT_EQ(walk(mode, {0, 1, 2, 3}), "") << mode;
}

TEST(ShapeWalk, EntriesOutsideTheVerticesArePassedOver) {
    // With five vertices, 7, 5 and -3 are not entries at all: they neither
    // form corners nor separate.
    EXPECT_EQ(walk(GL_TRIANGLES, {0, 7, 1, -3, 2, 5}, 5), "t012/0");
    EXPECT_EQ(walk(GL_LINE_STRIP, {3, -2, 4}, 5), "s34");
    const int stored[] = {0, 7, -1, -3, 2};
    EXPECT_EQ(zoEntryWalk(stored, 5, 5).size(), 3);
    EXPECT_EQ(zoEntryWalk(nullptr, -4, 0).size(), 0);

    // Without a list the entries are the vertex numbers in order.
    std::vector<int> last;
    zoWalkPrimitives(GL_TRIANGLE_STRIP, zoEntryWalk(nullptr, 4, 4), [&](const zoPrimitive& p) {
        last = {p.v[0], p.v[1], p.v[2], p.k};
        return false;
    });
    EXPECT_EQ(last, (std::vector<int>{1, 2, 3, 1}));
}

TEST(ShapeWalk, AVisitThatAsksToStopEndsTheWalk) {
    bool stopped = false;
    // Stopping on the first triangle of a quad leaves its second unvisited.
    EXPECT_EQ(visitedUntil(GL_QUADS, {0, 1, 2, 3, 4, 5, 6, 7}, 1, &stopped), 1);
    EXPECT_TRUE(stopped);
    // A loop stops on its closing segment, the last it has.
    EXPECT_EQ(visitedUntil(GL_LINE_LOOP, {0, 1, 2}, 3, &stopped), 3);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(visitedUntil(GL_POINTS, {0, 1, 2}, 5, &stopped), 3);
    EXPECT_FALSE(stopped);
}

}  // namespace
