// Nested view frames and the cached camera of the outermost frame.
#include "framework_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using fwtest::call;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

class Frames : public testing::Test {
protected:
    void SetUp() override {
        fwtest::freshOpen();
        // The camera is cached per window size across tests; one frame at a size
        // no test uses makes the next test's first frame compute it afresh.
        sized(1, 1);
        zouOpenToviFrame();
        zouCloseToviFrame();
        sized(0, 0);
        fakegl::reset();
    }
    void TearDown() override {
        while (frameDepth > 0) zouCloseToviFrame();
    }
    static void sized(int w, int h) {
        zouWindowWidth = w;
        zouWindowHeight = h;
    }
    // One outermost frame; returns the camera it set: light position (4 values)
    // then gluPerspective's four arguments.
    static std::vector<double> outermostCamera() {
        fakegl::calls.clear();
        zouOpenToviFrame();
        zouCloseToviFrame();
        std::vector<double> cam = fakegl::only("glLightfv").at(0).args;
        cam.erase(cam.begin(), cam.begin() + 2);
        const std::vector<double> p = fakegl::only("gluPerspective").at(0).args;
        cam.insert(cam.end(), p.begin(), p.end());
        return cam;
    }
};

// The camera before any window size has been seen is the one the constants
// hold at load. Each test normally runs in a process of its own, but this one
// re-runs the executable for itself so that no earlier frame can have replaced
// the constants.
TEST(FramesAtLoadDeathTest, CameraBeforeAnySizeIsTheLoadTimeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            fwtest::freshOpen();
            zouOpenToviFrame();  // 0 x 0 matches the last size at load: no recomputation
            std::fprintf(stderr, "%s\n%s\n", fakegl::only("glLightfv").at(0).str().c_str(),
                         fakegl::only("gluPerspective").at(0).str().c_str());
            std::exit(0);
        },
        testing::ExitedWithCode(0),
        "^glLightfv\\(16384, 4611, 320, 240, 100, 0\\)\ngluPerspective\\(60, 1.33333337, 10, 1000\\)\n$");
}

TEST_F(Frames, OutermostFrameSetsViewportClearsLightsAndCamera) {
    sized(640, 480);
    zouOpenToviFrame();
    const std::vector<std::string> expected = {
        call("glViewport", {0, 0, 640, 480}),
        call("glMatrixMode", {GL_PROJECTION}),
        call("glLoadIdentity"),
        call("glMatrixMode", {GL_MODELVIEW}),
        call("glLoadIdentity"),
        call("glEnable", {GL_LIGHTING}),
        call("glEnable", {GL_LIGHT0}),
        call("glEnable", {GL_DEPTH_TEST}),
        call("glDepthFunc", {GL_LEQUAL}),
        call("glShadeModel", {GL_SMOOTH}),
        call("glClearColor", {0, 0, 0, 1}),
        call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
        call("glEnable", {GL_COLOR_MATERIAL}),
        call("glColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}),
        call("glDisable", {GL_TEXTURE_2D}),
        call("glLightfv", {GL_LIGHT0, GL_POSITION, 320, 240, 415.6922f, 0}),
        call("glMatrixMode", {GL_PROJECTION}),
        call("gluPerspective", {60, 1.33333337f, 41.5692215f, 4156.92188f}),
        call("gluLookAt", {320, 240, 415.6922f, 320, 240, 0, 0, 1, 0}),
        call("glMatrixMode", {GL_MODELVIEW}),
    };
    EXPECT_EQ(fakegl::trace(), expected);
    EXPECT_EQ(frameDepth, 1);

    fakegl::calls.clear();
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutSwapBuffers")});
    EXPECT_EQ(frameDepth, 0);
}

TEST_F(Frames, ConstantsFollowTheFloatRounding) {
    // Exact single-precision results: the half angle rounded to float, its
    // tangent taken in double and rounded to float, the rest in float.
    sized(640, 480);
    EXPECT_EQ(outermostCamera(), (std::vector<double>{320, 240, 415.6922f, 0, 60, 1.33333337f, 41.5692215f, 4156.92188f}));
    sized(1024, 768);
    EXPECT_EQ(outermostCamera(),
              (std::vector<double>{512, 384, 665.107544f, 0, 60, 1.33333337f, 66.5107574f, 6651.0752f}));
    sized(1023, 767);  // odd sizes put the centre on half pixels
    const std::vector<double> cam = outermostCamera();
    EXPECT_EQ(cam[0], 511.5);
    EXPECT_EQ(cam[1], 383.5);
    EXPECT_EQ(cam[5], double(1023.0f / 767.0f));
}

// The largest distance, in pixels, between a point (x, y, 0) and the window
// pixel the current projection shows it at, over points across a 1024 x 768
// window.
double planeZeroError() {
    const std::vector<double>& p = fakegl::projectionStack.back();  // column-major
    double worst = 0;
    for (double x : {0.0, 100.0, 511.5, 1023.0})
        for (double y : {0.0, 250.0, 767.0}) {
            double clip[4];
            for (int r = 0; r < 4; ++r) clip[r] = p[r] * x + p[4 + r] * y + p[12 + r];
            const double wx = (clip[0] / clip[3] + 1) / 2 * 1024, wy = (clip[1] / clip[3] + 1) / 2 * 768;
            worst = std::max({worst, std::fabs(wx - x), std::fabs(wy - y)});
        }
    return worst;
}

TEST_F(Frames, CameraShowsThePlaneZeroOnePixelPerUnitFromTheBottomLeft) {
    sized(1024, 768);
    zouOpenToviFrame();
    const std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(fakegl::modelviewStack.back(), identity);
    EXPECT_EQ(fakegl::matrixMode, GLenum(GL_MODELVIEW));
    // About one pixel per unit: the camera is computed in single precision.
    EXPECT_LT(planeZeroError(), 1e-3);
}

TEST_F(Frames, ANewFieldOfViewKeepsOnePixelPerUnitOnlyAfterAnUpdate) {
    sized(1024, 768);
    zouOpenToviFrame();
    zouCloseToviFrame();
    // gluPerspective takes the new angle at once, the eye distance stays: the
    // plane z = 0 is shown at another scale.
    zouScreenFov = 40;
    zouOpenToviFrame();
    EXPECT_GT(planeZeroError(), 100);
    zouCloseToviFrame();
    updateToviViewConstants();
    zouOpenToviFrame();
    EXPECT_LT(planeZeroError(), 1e-3);
}

TEST_F(Frames, ConstantsAreCachedPerWindowSize) {
    sized(640, 480);
    const std::vector<double> first = outermostCamera();
    // The field of view alone reaches gluPerspective at once but the distance
    // and planes only after the next change of size.
    zouScreenFov = 90;
    std::vector<double> second = outermostCamera();
    EXPECT_EQ(second[4], 90);
    second[4] = 60;
    EXPECT_EQ(second, first);

    sized(640, 481);
    const std::vector<double> resized = outermostCamera();
    EXPECT_EQ(resized[2], double(240.5f / float(std::tan(double(float(90 * M_PI * (1.0 / 360.0)))))));
    sized(640, 480);
    EXPECT_EQ(outermostCamera()[2], 240.0);  // tan 45 degrees rounds to 1 in float
}

TEST_F(Frames, NestedFrameSavesBothMatricesAndReappliesTheEnables) {
    sized(640, 480);
    zouOpenToviFrame();
    fakegl::calls.clear();
    zouOpenToviFrame();
    const std::vector<std::string> nestedOpen = {
        call("glMatrixMode", {GL_PROJECTION}),
        call("glPushMatrix"),
        call("glMatrixMode", {GL_MODELVIEW}),
        call("glPushMatrix"),
        call("glEnable", {GL_LIGHTING}),
        call("glEnable", {GL_LIGHT0}),
        call("glEnable", {GL_DEPTH_TEST}),
        call("glDepthFunc", {GL_LEQUAL}),
        call("glShadeModel", {GL_SMOOTH}),
        call("glEnable", {GL_COLOR_MATERIAL}),
        call("glColorMaterial", {GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE}),
        call("glDisable", {GL_TEXTURE_2D}),
    };
    EXPECT_EQ(fakegl::trace(), nestedOpen);
    EXPECT_EQ(frameDepth, 2);
    EXPECT_EQ(fakegl::projectionStack.size(), 2u);
    EXPECT_EQ(fakegl::modelviewStack.size(), 2u);

    fakegl::calls.clear();
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::trace(), (std::vector<std::string>{call("glMatrixMode", {GL_PROJECTION}), call("glPopMatrix"),
                                                         call("glMatrixMode", {GL_MODELVIEW}), call("glPopMatrix")}));
    fakegl::calls.clear();
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutSwapBuffers")});
    EXPECT_EQ(frameDepth, 0);
}

TEST_F(Frames, ClearFollowsTheSettings) {
    sized(640, 480);
    zouWindowClear = false;
    zouOpenToviFrame();
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::count("glClear"), 0);
    EXPECT_EQ(fakegl::count("glClearColor"), 0);

    zouWindowClear = true;
    zouWindowBgColor[0] = 0.25f;
    zouWindowBgColor[1] = 0.5f;
    zouWindowBgColor[2] = 0.75f;
    fakegl::calls.clear();
    zouOpenToviFrame();
    EXPECT_EQ(fakegl::only("glClearColor").at(0).str(), call("glClearColor", {0.25, 0.5, 0.75, 1}));
}

TEST_F(Frames, DepthWarningFromTheTwelfthOpenOnwards) {
    sized(640, 480);
    CaptureStderr();
    for (int i = 0; i < 11; ++i) zouOpenToviFrame();
    EXPECT_EQ(GetCapturedStderr(), "");
    CaptureStderr();
    zouOpenToviFrame();
    EXPECT_EQ(GetCapturedStderr(), "Warning, frameDepth already at 11\n\n");
    EXPECT_EQ(frameDepth, 12);
    CaptureStderr();
    zouOpenToviFrame();  // no hard limit: the frame opens and warns again
    EXPECT_EQ(GetCapturedStderr(), "Warning, frameDepth already at 12\n\n");
    EXPECT_EQ(frameDepth, 13);
    EXPECT_EQ(fakegl::projectionStack.size(), 13u);

    zouDebugLevel = 1;
    CaptureStderr();
    zouOpenToviFrame();
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(Frames, DepthWarningFitsTheWidestDepth) {
    // The warning is formatted into a bounded buffer that holds any depth.
    frameDepth = 2147483647 - 1;
    CaptureStderr();
    frameStepUp();
    EXPECT_EQ(GetCapturedStderr(), "Warning, frameDepth already at 2147483646\n\n");
    EXPECT_EQ(frameDepth, 2147483647);
    frameDepth = 0;
}

TEST_F(Frames, ZeroOrNegativeHeightKeepsTheLastCamera) {
    sized(640, 480);
    const std::vector<double> before = outermostCamera();
    for (int h : {0, -10}) {
        sized(640, h);
        const std::vector<double> cam = outermostCamera();
        for (double v : cam) EXPECT_TRUE(std::isfinite(v)) << "height " << h;
        EXPECT_EQ(cam, before) << "height " << h;
        EXPECT_EQ(fakegl::only("glViewport").at(0).str(), call("glViewport", {0, 0, 640, double(h)}));
    }
    sized(1024, 768);  // a real height brings the camera back
    EXPECT_EQ(outermostCamera()[2], double(665.107544f));
}

TEST_F(Frames, UpdateWithZeroHeightCalledDirectlyDoesNotDivide) {
    sized(1024, 768);
    const std::vector<double> before = outermostCamera();
    sized(800, 0);
    updateToviViewConstants();
    sized(1024, 768);  // same size as the last frame: the constants are reused
    EXPECT_EQ(outermostCamera(), before);
}

}  // namespace
