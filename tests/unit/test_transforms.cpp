// The transform stack, the camera capture and the projection to the screen.
#include "math/zoTransforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/fake/fakegl.h"

namespace {

bool sameBits(const zoMatrix4f& a, const zoMatrix4f& b) { return std::memcmp(a.m, b.m, sizeof a.m) == 0; }

bool isIdentity(const zoMatrix4f& a) {
    zoMatrix4f i;
    i.setIdentity();
    return sameBits(a, i);
}

void expectVec(const zoVec3f& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

zoVec3f toReal(float x, float y, float z) {
    zoVec3f local(x, y, z), real;
    zoTransformToReal(local, real);
    return real;
}

zoVec3f toScreen(float x, float y, float z) {
    zoVec3f real(x, y, z), screen;
    zoTransformRealToScreen(real, screen);
    return screen;
}

class Transforms : public ::testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        zoMatrixHeight = 0;
        zoMatrixIgnoredPushes = 0;
        zoTransformsInit();
        std::memset(cameraMatrix.m, 0, sizeof cameraMatrix.m);
        std::memset(view, 0, sizeof view);
        cameraPos.set(0, 0, 0);
    }
    void TearDown() override {
        zoMatrixHeight = 0;
        zoMatrixIgnoredPushes = 0;
    }
};

// ---- The stack -----------------------------------------------------------------

TEST_F(Transforms, InitMakesEveryEntryIdentityAndKeepsHeight) {
    for (zoMatrix4f& e : zoMatrixStack) e.scale(2, 3, 4);
    zoMatrixHeight = 5;
    zoTransformsInit();
    EXPECT_EQ(zoMatrixHeight, 5);
    for (int i = 0; i < ZO_MATRIX_STACK_SIZE; ++i) EXPECT_TRUE(isIdentity(zoMatrixStack[i])) << i;
}

TEST_F(Transforms, PushTranslatePop) {
    zoPushMatrix();
    EXPECT_EQ(zoMatrixHeight, 1);
    zoTranslatef(1, 2, 3);
    expectVec(toReal(0, 0, 0), 1, 2, 3);
    EXPECT_TRUE(isIdentity(zoMatrixStack[0]));
    zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 0);
    expectVec(toReal(0, 0, 0), 0, 0, 0);
}

TEST_F(Transforms, PushCopiesTheEntryBelow) {
    zoScalef(2, 3, 4);
    zoPushMatrix();
    EXPECT_TRUE(sameBits(zoMatrixStack[1], zoMatrixStack[0]));
    zoTranslatef(1, 1, 1);
    expectVec(toReal(1, 1, 1), 4, 6, 8);  // the translation is scaled too
    zoPopMatrix();
    expectVec(toReal(1, 1, 1), 2, 3, 4);
}

TEST_F(Transforms, CurrentMatrixIsTheTopEntryItself) {
    zoPushMatrix();
    zoPushMatrix();
    zoMatrix4f* top = getCurrentMatrix();
    EXPECT_EQ(top, &zoMatrixStack[2]);
    zoTranslatef(5, 0, 0);
    EXPECT_EQ(top->m[0][3], 5.0f);
    zoPopMatrix();
    EXPECT_EQ(getCurrentMatrix(), &zoMatrixStack[1]);
    EXPECT_EQ(top->m[0][3], 5.0f);  // still valid, no longer the top
}

TEST_F(Transforms, ScaleThenTranslateActsInTheScaledFrame) {
    zoScalef(2, 2, 2);
    zoTranslatef(1, 0, 0);
    EXPECT_EQ(getCurrentMatrix()->m[0][3], 2.0f);
    expectVec(toReal(0, 0, 0), 2, 0, 0);
}

TEST_F(Transforms, RotateQuarterTurn) {
    zoRotatef(90, 0, 0, 1);
    zoVec3f r = toReal(1, 0, 0);
    // The float nearest pi/2 has a cosine of about -4.4e-8, not 0.
    EXPECT_EQ(r.x, float(std::cos(double(float(M_PI / 2)))));
    EXPECT_NEAR(r.x, 0.0f, 1e-7);
    EXPECT_EQ(r.y, 1.0f);
    EXPECT_EQ(r.z, 0.0f);
}

TEST_F(Transforms, RotateByZeroOrAboutNoAxisChangesNothing) {
    zoTranslatef(1, 2, 3);
    zoMatrix4f before;
    before.set(getCurrentMatrix());
    zoRotatef(0, 0, 0, 1);
    zoRotatef(45, 0, 0, 0);
    EXPECT_TRUE(sameBits(*getCurrentMatrix(), before));
}

TEST_F(Transforms, RotateConvertsDegreesWithDoubleConstants) {
    // 27 degrees: angle * pi * (1/180) in double rounds to the float nearest
    // 27pi/180; the same product with float constants lands one step higher.
    const float radians = float(27.0 * M_PI / 180.0);
    ASSERT_NE(radians, 27.0f * 3.14159265f * 0.0055555557f);
    zoMatrix4f want;
    want.setIdentity();
    want.rotgen(1, 2, 3, radians);
    zoRotatef(27, 1, 2, 3);
    EXPECT_TRUE(sameBits(*getCurrentMatrix(), want));
}

TEST_F(Transforms, HeightStopsAt127AndPopsStopAt0) {
    for (int i = 0; i < 127; ++i) zoPushMatrix();
    EXPECT_EQ(zoMatrixHeight, 127);
    zoPushMatrix();
    EXPECT_EQ(zoMatrixHeight, 127);
    for (int i = 0; i < 200; ++i) zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 0);
    EXPECT_EQ(zoMatrixIgnoredPushes, 0);
    zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 0);
}

TEST_F(Transforms, PopsBeyondTheLimitStayBalanced) {
    for (int i = 0; i < 127; ++i) zoPushMatrix();
    zoTranslatef(0, 7, 0);  // the level at the full height has its own transform
    for (int i = 0; i < 3; ++i) zoPushMatrix();
    EXPECT_EQ(zoMatrixHeight, 127);
    EXPECT_EQ(zoMatrixIgnoredPushes, 3);

    zoTranslatef(1, 0, 0);
    expectVec(toReal(0, 0, 0), 1, 7, 0);
    for (int i = 0; i < 3; ++i) zoPopMatrix();
    // The three pops answer the three ignored pushes: still at the full height,
    // with that level's matrix as it was before them.
    EXPECT_EQ(zoMatrixHeight, 127);
    EXPECT_EQ(zoMatrixIgnoredPushes, 0);
    expectVec(toReal(0, 0, 0), 0, 7, 0);

    // Later transforms land in the top entry, not in the one below.
    zoTranslatef(0, 0, 2);
    EXPECT_EQ(zoMatrixStack[127].m[2][3], 2.0f);
    EXPECT_TRUE(isIdentity(zoMatrixStack[126]));

    for (int i = 0; i < 127; ++i) zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 0);
    EXPECT_TRUE(isIdentity(zoMatrixStack[0]));
}

TEST_F(Transforms, SiblingsBeyondTheLimitDoNotSeeEachOther) {
    for (int i = 0; i < 127; ++i) zoPushMatrix();
    zoScalef(2, 2, 2);
    // Two shapes drawn one after the other, each inside its own push and pop.
    zoPushMatrix();
    zoTranslatef(1, 0, 0);
    expectVec(toReal(0, 0, 0), 2, 0, 0);
    zoPopMatrix();
    zoPushMatrix();
    zoTranslatef(0, 1, 0);
    expectVec(toReal(0, 0, 0), 0, 2, 0);
    zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 127);
    expectVec(toReal(1, 1, 1), 2, 2, 2);
}

TEST_F(Transforms, InitKeepsThePendingIgnoredPushes) {
    for (int i = 0; i < 127; ++i) zoPushMatrix();
    zoScalef(3, 3, 3);
    zoPushMatrix();
    zoPushMatrix();
    zoTranslatef(4, 0, 0);
    zoTransformsInit();
    EXPECT_EQ(zoMatrixHeight, 127);
    EXPECT_EQ(zoMatrixIgnoredPushes, 2);
    EXPECT_TRUE(isIdentity(zoMatrixStack[127]));
    zoTranslatef(1, 0, 0);
    zoPopMatrix();
    zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 127);
    // The level at the full height gets the value Init gave it, not the older one.
    EXPECT_TRUE(isIdentity(zoMatrixStack[127]));
    zoPopMatrix();
    EXPECT_EQ(zoMatrixHeight, 126);
}

// ---- Real to screen ----------------------------------------------------------

TEST_F(Transforms, IdentityCameraMapsTheUnitCubeOntoTheViewport) {
    glViewport(0, 0, 640, 480);
    zoTransformsCaptureCamera();
    EXPECT_TRUE(isIdentity(cameraMatrix));
    expectVec(toScreen(0, 0, 0), 320, 240, 0.5f);
    expectVec(toScreen(1, 1, 1), 640, 480, 1);
    expectVec(toScreen(-1, -1, -1), 0, 0, 0);
}

TEST_F(Transforms, ViewportOriginIsAdded) {
    cameraMatrix.setIdentity();
    view[0] = 10;
    view[1] = 20;
    view[2] = 640;
    view[3] = 480;
    expectVec(toScreen(0, 0, 0), 330, 260, 0.5f);
}

TEST_F(Transforms, DepthIsNotDividedByW) {
    cameraMatrix.setIdentity();
    cameraMatrix.m[3][3] = 2;
    view[2] = 640;
    view[3] = 480;
    zoVec3f s = toScreen(1, 0.5f, 0.5f);
    EXPECT_EQ(s.x, 480.0f);   // (1/2 + 1) * 320
    EXPECT_EQ(s.y, 300.0f);   // (0.25 + 1) * 240
    EXPECT_EQ(s.z, 0.75f);    // (1 + 0.5) / 2, not (1 + 0.25) / 2
}

TEST_F(Transforms, ScreenExpressionIsCarriedInDouble) {
    // (1 + 3*2^-24) * 3 * 0.5 = 1.5 + 2.25*2^-23, which rounds to 1.5 + 2^-22.
    // In float, 1 + 3*2^-24 would already round to 1 + 2^-22, giving 1.5 + 3*2^-23.
    cameraMatrix.setIdentity();
    view[2] = 3;
    view[3] = 1;
    zoVec3f s = toScreen(3 * 0x1p-24f, 0, 0);
    EXPECT_EQ(s.x, 1.5f + 0x1p-22f);
    EXPECT_EQ(s.y, 0.5f);
}

TEST_F(Transforms, ScreenMayOverwriteItsInput) {
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(45, 800.0 / 600.0, 1, 100);
    zoTransformsCaptureCamera();
    zoVec3f want = toScreen(0.5f, -0.25f, -10);
    zoVec3f v(0.5f, -0.25f, -10);
    zoTransformRealToScreen(v, v);
    expectVec(v, want.x, want.y, want.z);
}

TEST_F(Transforms, PointOnTheCameraPlaneGivesInfinityOrNaN) {
    // A perspective-like camera: w is -z, so z = 0 gives w = 0.
    cameraMatrix.setIdentity();
    cameraMatrix.m[3][2] = -1;
    cameraMatrix.m[3][3] = 0;
    view[2] = 640;
    view[3] = 480;
    zoVec3f s = toScreen(1, 0, 0);
    EXPECT_TRUE(std::isinf(s.x));
    EXPECT_TRUE(std::isnan(s.y));  // 0 / 0
    EXPECT_EQ(s.z, 0.5f);
}

// ---- Camera capture ------------------------------------------------------------

TEST_F(Transforms, CaptureReadsProjectionViewportModelviewThenUnprojects) {
    glViewport(0, 0, 641, 481);
    fakegl::calls.clear();
    zoTransformsCaptureCamera();
    std::vector<std::string> want = {"glGetDoublev(" + std::to_string(GL_PROJECTION_MATRIX) + ")",
                                     "glGetIntegerv(" + std::to_string(GL_VIEWPORT) + ")",
                                     "glGetDoublev(" + std::to_string(GL_MODELVIEW_MATRIX) + ")",
                                     "gluUnProject(320.5, 240.5, 0)"};
    EXPECT_EQ(fakegl::trace(), want);
    EXPECT_EQ(view[0], 0);
    EXPECT_EQ(view[1], 0);
    EXPECT_EQ(view[2], 641);
    EXPECT_EQ(view[3], 481);
}

TEST_F(Transforms, CaptureTakesTheCentreFromTheViewportDifferences) {
    glViewport(10, 20, 640, 480);
    fakegl::calls.clear();
    zoTransformsCaptureCamera();
    // The framework's viewports start at the origin; others are not centred.
    std::vector<fakegl::Call> u = fakegl::only("gluUnProject");
    ASSERT_EQ(u.size(), 1u);
    EXPECT_EQ(u[0].args, (std::vector<double>{315, 230, 0}));
}

TEST_F(Transforms, CaptureTransposesTheProjection) {
    double p[16];
    for (int i = 0; i < 16; ++i) p[i] = i + 0.1;
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(p);
    glMatrixMode(GL_MODELVIEW);
    zoTransformsCaptureCamera();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(cameraMatrix.m[r][c], float(c * 4 + r + 0.1)) << r << "," << c;
}

TEST_F(Transforms, CaptureFindsTheCentreOfTheNearPlane) {
    // The outermost frame's kind of camera, with the cloth's model-view.
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 640.0 / 480.0, 1, 1000);
    gluLookAt(320, 240, 500, 320, 240, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(500, 350, 0);
    glRotatef(-35, 1, 0, 0);
    glScalef(5, 5, 5);
    zoTransformsCaptureCamera();

    const std::vector<double>& P = fakegl::projectionStack.back();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(cameraMatrix.m[r][c], float(P[c * 4 + r]));

    // The eye looks down -z from z = 500, so the near plane's centre is
    // (320, 240, 499) in world terms; undo translate, rotate and scale.
    const double a = 35 * M_PI / 180;
    const double wx = 320 - 500, wy = 240 - 350, wz = 499;
    const double ox = wx / 5, oy = (wy * std::cos(a) - wz * std::sin(a)) / 5,
                 oz = (wy * std::sin(a) + wz * std::cos(a)) / 5;
    EXPECT_NEAR(cameraPos.x, ox, 1e-3);
    EXPECT_NEAR(cameraPos.y, oy, 1e-3);
    EXPECT_NEAR(cameraPos.z, oz, 1e-3);

    // And exactly what GLU gives for the centre at depth 0, rounded to float.
    double gx, gy, gz;
    const std::vector<double>& V = fakegl::modelviewStack.back();
    ASSERT_EQ(gluUnProject(320, 240, 0, V.data(), P.data(), view, &gx, &gy, &gz), GL_TRUE);
    expectVec(cameraPos, float(gx), float(gy), float(gz));

    // A point on the axis of view lands in the middle of the viewport.
    zoVec3f s = toScreen(320, 240, 0);
    EXPECT_NEAR(s.x, 320, 1e-3);
    EXPECT_NEAR(s.y, 240, 1e-3);
}

TEST_F(Transforms, FailedUnprojectKeepsTheLastCameraPosition) {
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0, 0, -5);
    zoTransformsCaptureCamera();
    expectVec(cameraPos, 0, 0, 4);

    double zero[16] = {};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(zero);
    glViewport(0, 0, 100, 50);
    zoTransformsCaptureCamera();
    expectVec(cameraPos, 0, 0, 4);
    EXPECT_EQ(view[2], 100);  // the rest is still captured
    EXPECT_EQ(cameraMatrix.m[0][0], 0.0f);
}

}  // namespace
