// zoShape building: defaults, points, indices, vertex and colour setters, the
// enable operations, their messages, exact growth, and exhausted memory.
#include <gtest/gtest.h>

#include "shape/zoNiceShapes.h"
#include "shape/zoShape.h"
#include "shape_support.h"

using shapetest::AllocLimit;
using shapetest::FailingAlloc;
using shapetest::Snapshot;
using shapetest::stdoutOf;

namespace {

TEST(ShapeData, ConstructorDefaults) {
    zoShape s(true, false, true);
    EXPECT_EQ(s.drawStyle, 3u);
    EXPECT_EQ(s.transformOrder, zo_T_R_S);
    EXPECT_VEC3(s.Normal, 0, 0, 1);
    EXPECT_EQ(s.Color.x, 1);
    EXPECT_EQ(s.Color.y, 1);
    EXPECT_EQ(s.Color.z, 1);
    EXPECT_EQ(s.Color.w, 1);
    EXPECT_VEC3(s.Translation, 0, 0, 0);
    EXPECT_VEC3(s.Scale, 1, 1, 1);
    EXPECT_EQ(s.Rotation.x, 0);
    EXPECT_EQ(s.Rotation.y, 0);
    EXPECT_EQ(s.Rotation.z, 1);
    EXPECT_EQ(s.Rotation.w, 0);
    EXPECT_TRUE(s.enablePicking);
    EXPECT_EQ(s.listLength, 0);
    EXPECT_EQ(s.indexListLength, 0);
    EXPECT_EQ(s.vertexList, nullptr);
    EXPECT_EQ(s.absVertexList, nullptr);
    EXPECT_EQ(s.screenVertexList, nullptr);
    EXPECT_EQ(s.normalList, nullptr);
    EXPECT_EQ(s.colorList, nullptr);
    EXPECT_EQ(s.textureCoordList, nullptr);
    EXPECT_EQ(s.indexList, nullptr);
    EXPECT_EQ(s.normalCountList, nullptr);
    // The three arguments: colours, normals, index list.
    EXPECT_TRUE(s.enableVertexColors);
    EXPECT_FALSE(s.enableVertexNormals);
    EXPECT_TRUE(s.enableIndex);
    EXPECT_FALSE(s.enableVertexTextureCoords);
    zoShape t(false, true, false);
    EXPECT_FALSE(t.enableVertexColors);
    EXPECT_TRUE(t.enableVertexNormals);
    EXPECT_FALSE(t.enableIndex);
}

TEST(ShapeData, TypeIdentifiers) {
    zoObject o;
    zoShape s(false, false, false);
    zoMeshShape mesh(2, 2);
    zoObject* asObject = &mesh;
    EXPECT_EQ(o.getTypeID(), 0x6E6F6E65u);
    EXPECT_EQ(s.getTypeID(), 0x73686170u);
    EXPECT_EQ(asObject->getTypeID(), 0x73686170u);
    // The object's own hit tests answer false, its file operations do nothing.
    EXPECT_FALSE(o.pointInside(0, 0));
    EXPECT_FALSE(o.shapeInRect(-1e9f, -1e9f, 1e9f, 1e9f, false));
    EXPECT_FALSE(o.shapeInCircle(0, 0, 1e9f, false));
}

TEST(ShapeData, AddPointNumbersAndDefaults) {
    zoShape s(true, true, false);
    EXPECT_EQ(s.addPoint(), 0);
    EXPECT_EQ(s.addPoint(), 1);
    EXPECT_EQ(s.addPoint(1, 2, 3), 2);
    EXPECT_EQ(s.listLength, 3);
    EXPECT_VEC3(s.vertexList[2], 1, 2, 3);
    EXPECT_VEC3(s.vertexList[0], 0, 0, 0);
    EXPECT_VEC3(s.absVertexList[2], 0, 0, 0);
    EXPECT_VEC3(s.screenVertexList[2], 0, 0, 0);
    EXPECT_VEC3(s.normalList[2], 0, 0, 1);
    EXPECT_EQ(s.normalCountList[2], 0);
    EXPECT_EQ(s.colorList[2].x, 1);
    EXPECT_EQ(s.colorList[2].w, 1);
    EXPECT_EQ(s.textureCoordList, nullptr);
}

TEST(ShapeData, ArraysGrowToExactlyTheNewCount) {
    zoShape s(true, true, true);
    s.enablePerVertexTextureCoords();
    s.addPoint();
    s.addPoint();
    {
        AllocLimit unlimited(1000);
        s.addPoint();
        // One request per array, each for exactly three entries.
        std::vector<size_t> want = {36, 36, 36, 36, 12, 48, 36};
        EXPECT_EQ(FailingAlloc::sizes, want);
        FailingAlloc::sizes.clear();
        s.addIndex(2);
        EXPECT_EQ(FailingAlloc::sizes, std::vector<size_t>{4});
    }
}

TEST(ShapeData, AddIndexMessages) {
    zoShape off(false, false, false);
    off.addPoint();
    EXPECT_EQ(stdoutOf([&] { off.addIndex(0); }), "addIndex: index list is not enable in shape\n");
    EXPECT_EQ(off.indexListLength, 0);
    EXPECT_EQ(off.indexList, nullptr);

    zoShape s(false, false, true);
    for (int i = 0; i < 4; ++i) s.addPoint();
    EXPECT_EQ(stdoutOf([&] { s.addIndex(4); }), "addIndex warning: added index is outside of bounds\n");
    EXPECT_EQ(stdoutOf([&] { s.addIndex(-2); }), "addIndex warning: added index is outside of bounds\n");
    EXPECT_EQ(stdoutOf([&] {
                  s.addIndex(-1);
                  s.addIndex(3);
                  s.addIndex(0);
              }),
              "");
    ASSERT_EQ(s.indexListLength, 5);
    const int want[5] = {4, -2, -1, 3, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.indexList[i], want[i]) << i;
}

TEST(ShapeData, SetVertexAndColourMessages) {
    zoShape s(true, false, false);
    s.addPoint(1, 1, 1);
    s.addPoint(2, 2, 2);
    EXPECT_EQ(stdoutOf([&] { s.setVertex(2, 9, 9, 9); }), "setVertex: index is out of bounds\n");
    EXPECT_EQ(stdoutOf([&] { s.setVertex(-1, 9, 9, 9); }), "setVertex: index is out of bounds\n");
    EXPECT_VEC3(s.vertexList[0], 1, 1, 1);
    EXPECT_VEC3(s.vertexList[1], 2, 2, 2);
    EXPECT_EQ(stdoutOf([&] { s.setVertex(1, 5, 6, 7); }), "");
    EXPECT_VEC3(s.vertexList[1], 5, 6, 7);

    EXPECT_EQ(stdoutOf([&] { s.setVertexColor(2, 0, 0, 0, 0); }), "setVertexColor: index is out of bounds\n");
    EXPECT_EQ(stdoutOf([&] { s.setVertexColor(-1, 0, 0, 0, 0); }), "setVertexColor: index is out of bounds\n");
    EXPECT_EQ(stdoutOf([&] { s.setVertexColor(0, 0.5f, 0.25f, 0.125f, 0.75f); }), "");
    EXPECT_EQ(s.colorList[0].x, 0.5f);
    EXPECT_EQ(s.colorList[0].y, 0.25f);
    EXPECT_EQ(s.colorList[0].z, 0.125f);
    EXPECT_EQ(s.colorList[0].w, 0.75f);
    EXPECT_EQ(s.colorList[1].x, 1.0f);

    // The enable test comes before the bounds test.
    zoShape plain(false, false, false);
    EXPECT_EQ(stdoutOf([&] { plain.setVertexColor(99, 0, 0, 0, 0); }),
              "setVertexColor: vertex color is not enabled in shape\n");
}

TEST(ShapeData, EnableOperationsKeepEntriesAndFillNewOnes) {
    zoShape s(false, false, false);
    s.addPoint(1, 0, 0);
    s.addPoint(2, 0, 0);
    EXPECT_EQ(stdoutOf([&] {
                  s.enablePerVertexColors();
                  s.enablePerVertexNormals();
                  s.enablePerVertexTextureCoords();
              }),
              "");
    EXPECT_TRUE(s.enableVertexColors);
    EXPECT_TRUE(s.enableVertexNormals);
    EXPECT_TRUE(s.enableVertexTextureCoords);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(s.colorList[i].x, 1);
        EXPECT_EQ(s.colorList[i].w, 1);
        EXPECT_VEC3(s.normalList[i], 0, 0, 1);
        EXPECT_EQ(s.normalCountList[i], 0);
        EXPECT_VEC3(s.textureCoordList[i], 0, 0, 0);
    }
    s.setVertexColor(1, 0.5f, 0.5f, 0.5f, 0.5f);
    s.enablePerVertexColors();  // again: the entries stay
    EXPECT_EQ(s.colorList[1].x, 0.5f);
    // Points added later carry every enabled attribute.
    EXPECT_EQ(s.addPoint(3, 0, 0), 2);
    EXPECT_EQ(s.colorList[2].x, 1);
    EXPECT_VEC3(s.normalList[2], 0, 0, 1);
    EXPECT_VEC3(s.textureCoordList[2], 0, 0, 0);
}

// Growing a shape with every attribute on takes seven allocations; failing
// any one of them leaves the shape as it was, with a message, and the shape
// keeps working afterwards.
TEST(ShapeData, AddPointOutOfMemoryLeavesShapeAsItWas) {
    for (int allowed = 0; allowed < 7; ++allowed) {
        zoShape s(true, true, true);
        s.enablePerVertexTextureCoords();
        s.addPoint(1, 2, 3);
        s.addPoint(4, 5, 6);
        s.setVertexColor(1, 0.5f, 0, 0, 1);
        s.addIndex(1);
        Snapshot before(s);
        std::string out;
        int got = 0;
        {
            AllocLimit limit(allowed);
            out = stdoutOf([&] { got = s.addPoint(7, 8, 9); });
        }
        EXPECT_EQ(out, "addPoint: out of memory\n") << allowed;
        EXPECT_EQ(got, -1);
        EXPECT_TRUE(Snapshot(s).sameContents(before)) << "after " << allowed << " allocations";
        EXPECT_EQ(s.addPoint(7, 8, 9), 2);
        EXPECT_VEC3(s.vertexList[2], 7, 8, 9);
        EXPECT_VEC3(s.vertexList[1], 4, 5, 6);
        EXPECT_EQ(s.colorList[1].x, 0.5f);
    }
    // The first point of a shape: nothing existed before, nothing is left.
    zoShape fresh(true, true, false);
    {
        AllocLimit limit(2);
        EXPECT_EQ(stdoutOf([&] { fresh.addPoint(); }), "addPoint: out of memory\n");
    }
    EXPECT_EQ(fresh.listLength, 0);
    EXPECT_EQ(fresh.vertexList, nullptr);
    EXPECT_EQ(fresh.absVertexList, nullptr);
}

TEST(ShapeData, AddIndexAndEnableOutOfMemory) {
    zoShape s(false, false, true);
    s.addPoint();
    s.addIndex(0);
    Snapshot before(s);
    {
        AllocLimit limit(0);
        EXPECT_EQ(stdoutOf([&] { s.addIndex(0); }), "addIndex: out of memory\n");
        EXPECT_TRUE(Snapshot(s).same(before));
        EXPECT_EQ(stdoutOf([&] { s.enablePerVertexColors(); }), "enablePerVertexColors: out of memory\n");
        EXPECT_EQ(stdoutOf([&] { s.enablePerVertexTextureCoords(); }),
                  "enablePerVertexTextureCoords: out of memory\n");
        EXPECT_EQ(stdoutOf([&] { s.enablePerVertexNormals(); }), "enablePerVertexNormals: out of memory\n");
    }
    {
        AllocLimit limit(1);  // normals granted, counters refused
        EXPECT_EQ(stdoutOf([&] { s.enablePerVertexNormals(); }), "enablePerVertexNormals: out of memory\n");
    }
    EXPECT_FALSE(s.enableVertexColors);
    EXPECT_FALSE(s.enableVertexTextureCoords);
    EXPECT_FALSE(s.enableVertexNormals);
    EXPECT_TRUE(Snapshot(s).same(before));
    // A failed enable does not stop later points from being added.
    EXPECT_EQ(s.addPoint(), 1);
}

}  // namespace
