// zoMeshShape: grid layout, strip index list, addressing and its messages, and
// what a flat mesh sends when drawn.
#include <gtest/gtest.h>

#include <vector>

#include "shape/zoNiceShapes.h"
#include "shape_support.h"

using shapetest::stdoutOf;

namespace {

std::vector<int> indices(const zoShape& s) { return std::vector<int>(s.indexList, s.indexList + s.indexListLength); }

TEST(Mesh, ThreeByTwoLayout) {
    std::string out;
    zoMeshShape* mesh = nullptr;
    out = stdoutOf([&] { mesh = new zoMeshShape(3, 2); });
    EXPECT_EQ(out, "");  // no index warnings, no bounds messages
    EXPECT_EQ(mesh->N, 3);
    EXPECT_EQ(mesh->M, 2);
    ASSERT_EQ(mesh->listLength, 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_VEC3(mesh->vertexList[k], float(k / 2), float(k % 2), 0.0f);
        EXPECT_EQ(mesh->colorList[k].x, 1);
        EXPECT_EQ(mesh->colorList[k].y, 1);
        EXPECT_EQ(mesh->colorList[k].z, 1);
        EXPECT_EQ(mesh->colorList[k].w, 1);
        EXPECT_VEC3(mesh->normalList[k], 0, 0, 1);
        EXPECT_EQ(mesh->normalCountList[k], 0);
    }
    EXPECT_EQ(indices(*mesh), (std::vector<int>{0, 2, 1, 3, -1, 2, 4, 3, 5, -1}));
    EXPECT_EQ(mesh->drawStyle, 5u);
    EXPECT_TRUE(mesh->enableIndex);
    EXPECT_TRUE(mesh->enableVertexColors);
    EXPECT_TRUE(mesh->enableVertexNormals);
    EXPECT_FALSE(mesh->enableVertexTextureCoords);
    delete mesh;
}

TEST(Mesh, SixtyBySixty) {
    zoMeshShape mesh(60, 60);
    ASSERT_EQ(mesh.listLength, 3600);
    ASSERT_EQ(mesh.indexListLength, 7139);
    EXPECT_EQ(mesh.getVertexIndex(2, 5), 125);
    for (int i = 0; i < 60; ++i)
        for (int j = 0; j < 60; ++j) EXPECT_VEC3(mesh.vertexList[mesh.getVertexIndex(i, j)], float(i), float(j), 0.0f);
    // 59 strips of 120 entries, each followed by -1.
    for (int i = 0; i < 59; ++i) {
        const int* strip = mesh.indexList + i * 121;
        for (int j = 0; j < 60; ++j) {
            ASSERT_EQ(strip[2 * j], i * 60 + j);
            ASSERT_EQ(strip[2 * j + 1], (i + 1) * 60 + j);
        }
        ASSERT_EQ(strip[120], -1);
    }
}

TEST(Mesh, OneRowHasAnEmptyIndexList) {
    shapetest::freshScene();
    zoMeshShape mesh(1, 4);
    EXPECT_EQ(mesh.listLength, 4);
    EXPECT_EQ(mesh.indexListLength, 0);
    EXPECT_TRUE(mesh.enableIndex);
    EXPECT_EQ(stdoutOf([&] { mesh.draw(); }), "zoShape::draw: no shape is drawing because index list is empty\n");
    EXPECT_EQ(fakegl::count("glVertex3f"), 0);
}

TEST(Mesh, NoColumns) {
    zoMeshShape mesh(2, 0);
    EXPECT_EQ(mesh.listLength, 0);
    EXPECT_EQ(indices(mesh), std::vector<int>{-1});
}

TEST(Mesh, AddressingIsCheckedOnlyByTheFlattenedNumber) {
    zoMeshShape mesh(3, 4);
    // Column M of row 0 is vertex (1, 0), silently.
    EXPECT_EQ(stdoutOf([&] { mesh.setMeshVertex(0, 4, 7, 8, 9); }), "");
    EXPECT_VEC3(mesh.vertexList[4], 7, 8, 9);
    EXPECT_EQ(stdoutOf([&] { mesh.setMeshVertex(2, 4, 0, 0, 0); }), "setVertex: index is out of bounds\n");
    EXPECT_EQ(stdoutOf([&] { mesh.setMeshVertexColor(-1, 0, 0, 0, 0, 0); }),
              "setVertexColor: index is out of bounds\n");
    EXPECT_EQ(stdoutOf([&] { mesh.setMeshVertexColor(2, 3, 0.5f, 0.25f, 0, 1); }), "");
    EXPECT_EQ(mesh.colorList[11].x, 0.5f);
    EXPECT_EQ(mesh.colorList[11].y, 0.25f);
}

TEST(Mesh, FlatMeshDrawsDownwardNormalsColourAndPosition) {
    shapetest::freshScene();
    zoMeshShape mesh(3, 3);
    EXPECT_EQ(stdoutOf([&] { mesh.draw(); }), "");
    for (int k = 0; k < 9; ++k) EXPECT_VEC3(mesh.normalList[k], 0, 0, -1);
    std::vector<std::string> want = {"glBegin(5)", "glColor4f(1, 1, 1, 1)", "glNormal3f(0, 0, 1)"};
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 3; ++j)
            for (int r = i; r <= i + 1; ++r) {
                want.push_back("glNormal3f(0, 0, -1)");
                want.push_back("glColor4f(1, 1, 1, 1)");
                want.push_back("glVertex3f(" + std::to_string(r) + ", " + std::to_string(j) + ", 0)");
            }
        want.push_back("glEnd()");
        want.push_back("glBegin(5)");
    }
    want.push_back("glEnd()");
    EXPECT_EQ(fakegl::trace(), want);
}

}  // namespace
