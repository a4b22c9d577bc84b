// zoShape::draw through the recording stand-in: transform orders, real and
// screen positions, separators, the per-vertex call order for every
// combination of attributes, and index entries that name no vertex.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shape/zoShape.h"
#include "shape_support.h"

using shapetest::stdoutOf;

namespace {

using Names = std::vector<std::string>;

class ShapeDraw : public testing::Test {
protected:
    void SetUp() override { shapetest::freshScene(); }

    // Calls logged after the opening glBegin, colour and normal, up to the final glEnd.
    static Names body() {
        Names n = fakegl::names();
        EXPECT_GE(n.size(), 4u);
        if (n.size() < 4) return {};
        EXPECT_EQ(n[0], "glBegin");
        EXPECT_EQ(n[1], "glColor4f");
        EXPECT_EQ(n[2], "glNormal3f");
        EXPECT_EQ(n.back(), "glEnd");
        return Names(n.begin() + 3, n.end() - 1);
    }
};

TEST_F(ShapeDraw, EmptyShapeSendsColourNormalAndNothingElse) {
    zoShape s(false, false, false);
    s.Color.set(0.5f, 0.25f, 0.125f, 1);
    s.Normal.set(0, 1, 0);
    EXPECT_EQ(stdoutOf([&] { s.draw(); }), "");
    EXPECT_EQ(fakegl::trace(),
              (Names{"glBegin(3)", "glColor4f(0.5, 0.25, 0.125, 1)", "glNormal3f(0, 1, 0)", "glEnd()"}));
    EXPECT_EQ(zoMatrixHeight, 0);
}

TEST_F(ShapeDraw, TranslateAndScaleInBothOrders) {
    zoShape s(false, false, false);
    s.addPoint(1, 0, 0);
    s.Translation.set(1, 0, 0);
    s.Scale.set(2, 2, 2);
    s.transformOrder = zo_T_S_R;
    s.draw();
    EXPECT_VEC3(s.absVertexList[0], 3, 0, 0);
    s.transformOrder = zo_S_T_R;
    s.draw();
    EXPECT_VEC3(s.absVertexList[0], 4, 0, 0);
    EXPECT_EQ(zoMatrixHeight, 0);
}

// Each order composes the three calls in the order its letters name; the
// matrix the shape keeps in space is the one the stack reached.
TEST_F(ShapeDraw, SixTransformOrdersAndAnUnknownOne) {
    zoShape s(false, false, false);
    s.addPoint(1, 2, 3);
    s.Translation.set(10, 20, 30);
    s.Scale.set(2, 3, 4);
    s.Rotation.set(90, 0, 0, 1);
    const char* orders[6] = {"TSR", "TRS", "RST", "RTS", "SRT", "STR"};
    std::vector<float> xs;
    for (int o = 0; o < 6; ++o) {
        zoTransformsInit();
        zoPushMatrix();
        for (const char* c = orders[o]; *c; ++c) {
            if (*c == 'T') zoTranslatef(10, 20, 30);
            if (*c == 'R') zoRotatef(90, 0, 0, 1);
            if (*c == 'S') zoScalef(2, 3, 4);
        }
        zoMatrix4f want;
        want.set(getCurrentMatrix());
        zoVec3f real;
        zoVec3f local(1, 2, 3);
        zoTransformToReal(local, real);
        zoPopMatrix();

        s.transformOrder = xformOrder(o);
        s.draw();
        EXPECT_EQ(std::memcmp(s.space.m, want.m, sizeof want.m), 0) << orders[o];
        EXPECT_TRUE(shapetest::bitsEqual(s.absVertexList[0].x, real.x)) << orders[o];
        EXPECT_TRUE(shapetest::bitsEqual(s.absVertexList[0].y, real.y)) << orders[o];
        EXPECT_TRUE(shapetest::bitsEqual(s.absVertexList[0].z, real.z)) << orders[o];
        xs.push_back(real.x);
        EXPECT_EQ(zoMatrixHeight, 0);
    }
    // The orders really differ: T_R_S and S_T_R give different points.
    EXPECT_NE(xs[1], xs[5]);
    // An order outside 0..5 composes nothing: the model position is drawn.
    s.transformOrder = xformOrder(6);
    fakegl::reset();
    s.draw();
    EXPECT_VEC3(s.absVertexList[0], 1, 2, 3);
    EXPECT_EQ(fakegl::trace()[3], "glVertex3f(1, 2, 3)");
    EXPECT_EQ(zoMatrixHeight, 0);
}

TEST_F(ShapeDraw, DrawsOnTopOfWhatTheStackHolds) {
    zoShape s(false, false, false);
    s.addPoint(1, 0, 0);
    zoPushMatrix();
    zoTranslatef(0, 5, 0);
    s.draw();
    EXPECT_EQ(zoMatrixHeight, 1);
    zoPopMatrix();
    EXPECT_VEC3(s.absVertexList[0], 1, 5, 0);
}

TEST_F(ShapeDraw, ScreenPositionsOnlyWithPicking) {
    zoShape s(false, false, false);
    s.addPoint(0, 0, 0);
    s.addPoint(1, 1, 1);
    s.draw();
    EXPECT_VEC3(s.screenVertexList[0], 320, 240, 0.5f);
    EXPECT_VEC3(s.screenVertexList[1], 640, 480, 1);
    s.enablePicking = false;
    s.setVertex(0, 0.5f, 0, 0);
    s.draw();
    EXPECT_VEC3(s.absVertexList[0], 0.5f, 0, 0);
    EXPECT_VEC3(s.screenVertexList[0], 320, 240, 0.5f);  // untouched
}

// The table of per-vertex calls, one case per row.
TEST_F(ShapeDraw, PerVertexCallsForEveryAttributeCombination) {
    struct Row {
        bool tex, col, nor;
        Names calls;
    };
    const Row rows[] = {
        {true, true, true, {"glTexCoord2f", "glNormal3f", "glColor4f", "glVertex3f"}},
        {true, false, true, {"glTexCoord2f", "glNormal3f", "glVertex3f"}},
        {false, true, true, {"glNormal3f", "glColor4f", "glVertex3f"}},
        {false, false, true, {"glNormal3f", "glVertex3f"}},
        {true, true, false, {"glColor4f", "glVertex3f"}},
        {false, true, false, {"glColor4f", "glVertex3f"}},
        {true, false, false, {"glVertex3f"}},
        {false, false, false, {"glVertex3f"}},
    };
    for (const Row& r : rows) {
        zoShape s(r.col, r.nor, false);
        if (r.tex) s.enablePerVertexTextureCoords();
        s.addPoint(1, 2, 3);
        s.addPoint(4, 5, 6);
        fakegl::reset();
        s.draw();
        Names want;
        for (int v = 0; v < 2; ++v) want.insert(want.end(), r.calls.begin(), r.calls.end());
        EXPECT_EQ(body(), want) << "tex " << r.tex << " colours " << r.col << " normals " << r.nor;
    }
}

TEST_F(ShapeDraw, PerVertexValues) {
    zoShape s(true, true, false);
    s.enablePerVertexTextureCoords();
    s.drawStyle = 4;
    s.addPoint(0, 0, 0);
    s.addPoint(1, 0, 0);
    s.addPoint(0, 1, 0);
    s.textureCoordList[1].set(0.25f, 0.75f, 9);
    s.setVertexColor(2, 0.5f, 0, 1, 0.5f);
    fakegl::reset();
    s.draw();
    Names want = {"glBegin(4)", "glColor4f(1, 1, 1, 1)", "glNormal3f(0, 0, 1)",
                  "glTexCoord2f(0, 0)", "glNormal3f(0, 0, 1)", "glColor4f(1, 1, 1, 1)", "glVertex3f(0, 0, 0)",
                  "glTexCoord2f(0.25, 0.75)", "glNormal3f(0, 0, 1)", "glColor4f(1, 1, 1, 1)", "glVertex3f(1, 0, 0)",
                  "glTexCoord2f(0, 0)", "glNormal3f(0, 0, 1)", "glColor4f(0.5, 0, 1, 0.5)", "glVertex3f(0, 1, 0)",
                  "glEnd()"};
    EXPECT_EQ(fakegl::trace(), want);
}

TEST_F(ShapeDraw, SeparatorsCloseAndReopenPrimitives) {
    zoShape s(false, false, true);
    for (int i = 0; i < 4; ++i) s.addPoint(float(i), 0, 0);
    for (int e : {0, 1, 2, -1, 2, 3, 0}) s.addIndex(e);
    s.draw();
    EXPECT_EQ(fakegl::trace(),
              (Names{"glBegin(3)", "glColor4f(1, 1, 1, 1)", "glNormal3f(0, 0, 1)", "glVertex3f(0, 0, 0)",
                     "glVertex3f(1, 0, 0)", "glVertex3f(2, 0, 0)", "glEnd()", "glBegin(3)", "glVertex3f(2, 0, 0)",
                     "glVertex3f(3, 0, 0)", "glVertex3f(0, 0, 0)", "glEnd()"}));

    // A trailing separator leaves an empty primitive; a leading one closes
    // the first before any vertex.
    zoShape t(false, false, true);
    t.addPoint(7, 0, 0);
    t.addIndex(-1);
    t.addIndex(0);
    t.addIndex(-1);
    fakegl::reset();
    t.draw();
    EXPECT_EQ(fakegl::names(), (Names{"glBegin", "glColor4f", "glNormal3f", "glEnd", "glBegin", "glVertex3f", "glEnd",
                                      "glBegin", "glEnd"}));
}

TEST_F(ShapeDraw, EmptyIndexListMessageOnEveryDraw) {
    zoShape s(false, false, true);
    s.addPoint(1, 1, 1);
    EXPECT_EQ(stdoutOf([&] {
                  s.draw();
                  s.draw();
              }),
              "zoShape::draw: no shape is drawing because index list is empty\n"
              "zoShape::draw: no shape is drawing because index list is empty\n");
    EXPECT_EQ(fakegl::names(), (Names{"glBegin", "glColor4f", "glNormal3f", "glEnd", "glBegin", "glColor4f",
                                      "glNormal3f", "glEnd"}));
    // Still transformed, though nothing is sent.
    EXPECT_VEC3(s.screenVertexList[0], 640, 480, 1);
}

TEST_F(ShapeDraw, NormalsRecomputedBeforeSending) {
    zoShape s(false, true, false);
    s.drawStyle = 4;
    s.addPoint(0, 0, 0);
    s.addPoint(1, 0, 0);
    s.addPoint(0, 1, 0);
    s.Rotation.set(90, 1, 0, 0);  // the triangle turns to face -y
    s.draw();
    for (const fakegl::Call& c : fakegl::only("glNormal3f")) ASSERT_EQ(c.args.size(), 3u);
    auto normals = fakegl::only("glNormal3f");
    ASSERT_EQ(normals.size(), 4u);
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(normals[i].args[0], s.normalList[i - 1].x);
        EXPECT_EQ(normals[i].args[1], s.normalList[i - 1].y);
        EXPECT_EQ(normals[i].args[2], s.normalList[i - 1].z);
    }
    EXPECT_EQ(s.normalList[0].x, 0);
    EXPECT_LT(s.normalList[0].y, -0.999f);  // rotated by float sine and cosine: about -1
    EXPECT_NEAR(s.normalList[0].z, 0, 1e-6);
}

// An index entry that names no vertex is stored with a warning; drawing
// passes over it (no vertex is read from outside the arrays).
TEST_F(ShapeDraw, EntriesOutsideTheVerticesAreSkipped) {
    zoShape s(true, true, true);
    s.addPoint(1, 0, 0);
    s.addPoint(2, 0, 0);
    stdoutOf([&] {
        s.addIndex(0);
        s.addIndex(2);
        s.addIndex(-7);
        s.addIndex(1000000);
        s.addIndex(1);
    });
    s.draw();
    auto v = fakegl::only("glVertex3f");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].str(), "glVertex3f(1, 0, 0)");
    EXPECT_EQ(v[1].str(), "glVertex3f(2, 0, 0)");
    EXPECT_EQ(fakegl::count("glBegin"), 1);
}

// The camera warning is given once per process, so each case runs in a fresh
// process of its own (the threadsafe style starts the test binary anew). The
// child exits with status 0 only when it printed exactly what it should; what
// it printed is echoed on its standard error for the failure message.
const char* const cameraWarning =
    "zoShape::draw warning: the camera is not captured, so shapes cannot be picked; "
    "call zoTransformsCaptureCamera before drawing\n";

void exitWith(const std::string& out, const std::string& want) {
    std::fprintf(stderr, "printed [%s]", out.c_str());
    std::exit(out == want ? 0 : 1);
}

void zeroCamera() { std::memset(cameraMatrix.m, 0, sizeof cameraMatrix.m); }

void drawTwiceWithoutACamera() {
    shapetest::freshScene();
    zeroCamera();
    zoShape s(false, false, false);
    zoShape t(true, true, true);
    s.addPoint(1, 2, 3);
    std::string out = stdoutOf([&] {
        s.draw();
        s.draw();
        t.draw();
    });
    exitWith(out, std::string(cameraWarning) + "zoShape::draw: no shape is drawing because index list is empty\n");
}

TEST(ShapeDrawCamera, ADrawBeforeTheCameraIsCapturedSaysSoOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(drawTwiceWithoutACamera(), testing::ExitedWithCode(0), "");
}

// A camera the application sets by hand, and shapes that are not picked,
// draw silently; the same process warns once a picked shape meets the
// all-zero camera.
void drawUnderAHandSetCameraThenUnpicked() {
    shapetest::freshScene();
    zeroCamera();
    cameraMatrix.m[0][0] = 1;
    zoShape s(false, false, false);
    s.addPoint(1, 2, 3);
    std::string out = stdoutOf([&] { s.draw(); });
    zeroCamera();
    s.enablePicking = false;
    out += stdoutOf([&] { s.draw(); });
    s.enablePicking = true;
    out += stdoutOf([&] { s.draw(); });
    exitWith(out, cameraWarning);
}

TEST(ShapeDrawCamera, ACameraSetByHandAndUnpickedShapesStaySilent) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(drawUnderAHandSetCameraThenUnpicked(), testing::ExitedWithCode(0), "");
}

}  // namespace
