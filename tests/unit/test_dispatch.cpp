// The application object and the dispatch of GLUT events to it.
#include "framework_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using fwtest::call;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

// Logs every event it receives, with the number of GL/GLUT calls made so far
// where the position in the call sequence matters.
struct LoggingApp : zoApp {
    std::vector<std::string> log;
    void add(const char* fmt, double a = 0, double b = 0, double c = 0) {
        char line[128];
        std::snprintf(line, sizeof line, fmt, a, b, c);
        log.push_back(line);
    }
    void idle() override { add("idle"); }
    void draw() override { add("draw depth %g", frameDepth); }
    void setFocus(bool focus) override { add("setFocus %g after %g calls", focus, fakegl::calls.size()); }
    void resize(float x, float y, float w, float h) override {
        zoApp::resize(x, y, w, h);
        char line[128];
        std::snprintf(line, sizeof line, "resize %g %g %g %g", x, y, w, h);
        log.push_back(line);
    }
    void mouseMove(float x, float y) override { add("mouseMove %g %g", x, y); }
    void mouseDown(float x, float y, int b) override { add("mouseDown %g %g %g", x, y, b); }
    void mouseDrag(float x, float y) override { add("mouseDrag %g %g", x, y); }
    void mouseDrag(float x, float y, int b) override { add("mouseDrag %g %g %g", x, y, b); }
    void mouseUp(float x, float y, int b) override { add("mouseUp %g %g %g", x, y, b); }
    void keyDown(char key) override {
        add("keyDown %g", key);
        zoApp::keyDown(key);
    }
    void specialKeyDown(int key) override {
        add("specialKeyDown %g", key);
        zoApp::specialKeyDown(key);
    }
};

using Log = std::vector<std::string>;

class Dispatch : public testing::Test {
protected:
    LoggingApp app;
    void SetUp() override { fwtest::freshOpen(); }
    // selfStart with the stand-in's main loop, which returns at once, and a
    // first reshape event of the given size.
    void start(int w, int h) {
        app.selfStart();
        fakegl::reshapeFunc(w, h);
        app.log.clear();
        fakegl::calls.clear();
    }
};

TEST_F(Dispatch, ConstructorSizesTheAreaAndForgetsTheWindowSize) {
    validWindowSize = true;
    zoApp fresh;
    EXPECT_EQ(fresh.X, 0.0f);
    EXPECT_EQ(fresh.Y, 0.0f);
    EXPECT_EQ(fresh.W, 100.0f);
    EXPECT_EQ(fresh.H, 100.0f);
    EXPECT_FALSE(validWindowSize);
}

TEST_F(Dispatch, SelfStartRegistersInOrderSizesFocusesThenRuns) {
    app.selfStart();
    EXPECT_EQ(apps[1], &app);
    const std::vector<std::string> expected = {
        call("glutDisplayFunc", {1}), call("glutMouseFunc", {1}),   call("glutMotionFunc", {1}),
        call("glutPassiveMotionFunc", {1}), call("glutIdleFunc", {1}), call("glutKeyboardFunc", {1}),
        call("glutSpecialFunc", {1}), call("glutReshapeFunc", {0}), call("glutReshapeFunc", {1}),
        call("glutMainLoop"),
    };
    EXPECT_EQ(fakegl::trace(), expected);
    // No reshape event yet: the application is sized to 0 x 0, and both calls
    // come before the main loop.
    EXPECT_EQ(app.log, (Log{"resize 0 0 0 0", "setFocus 1 after 9 calls"}));
    EXPECT_EQ(fakegl::displayFunc, &display_cb);
    EXPECT_EQ(fakegl::mouseFunc, &mouse_cb);
    EXPECT_EQ(fakegl::motionFunc, &motion_cb);
    EXPECT_EQ(fakegl::passiveMotionFunc, &passive_motion_cb);
    EXPECT_EQ(fakegl::idleFunc, &idle_cb);
    EXPECT_EQ(fakegl::keyboardFunc, &keyboard_cb);
    EXPECT_EQ(fakegl::specialFunc, &special_key_cb);
    EXPECT_EQ(fakegl::reshapeFunc, &reshape_cb);
}

TEST_F(Dispatch, SelfStartSizesToTheStoredWindowSize) {
    zouWindowWidth = 300;
    zouWindowHeight = 200;
    app.selfStart();
    EXPECT_EQ(app.log.at(0), "resize 0 0 300 200");
}

TEST_F(Dispatch, SubStartOnlyRegisters) {
    fakegl::currentWindow = 3;
    app.subStart();
    EXPECT_EQ(apps[3], &app);
    EXPECT_EQ(fakegl::count("glutMainLoop"), 0);
    EXPECT_EQ(fakegl::calls.size(), 9u);
    EXPECT_TRUE(app.log.empty());
}

TEST_F(Dispatch, ReshapeStoresTheSizeAndResizesTheApplication) {
    start(0, 0);
    fakegl::reshapeFunc(640, 480);
    EXPECT_EQ(zouWindowWidth, 640);
    EXPECT_EQ(zouWindowHeight, 480);
    EXPECT_EQ(app.log, Log{"resize 0 0 640 480"});
    EXPECT_TRUE(fakegl::calls.empty());  // the viewport is the frame's business
}

TEST_F(Dispatch, MouseYIsFlippedToCountFromTheBottomRow) {
    start(640, 480);
    fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
    fakegl::mouseFunc(GLUT_LEFT_BUTTON, GLUT_DOWN, 639, 479);
    fakegl::passiveMotionFunc(10, 100);
    EXPECT_EQ(app.log, (Log{"mouseDown 0 479 0", "mouseDown 639 0 0", "mouseMove 10 379"}));
}

TEST_F(Dispatch, PressDragReleaseCarryTheButton) {
    start(1024, 768);
    fakegl::motionFunc(5, 5);  // a drag before any press passes the left button
    fakegl::mouseFunc(GLUT_RIGHT_BUTTON, GLUT_DOWN, 10, 10);
    fakegl::motionFunc(20, 30);
    fakegl::motionFunc(21, 31);
    fakegl::mouseFunc(GLUT_RIGHT_BUTTON, GLUT_UP, 22, 32);
    EXPECT_EQ(app.log, (Log{"mouseDrag 5 762", "mouseDrag 5 762 0", "mouseDown 10 757 2", "mouseDrag 20 737",
                            "mouseDrag 20 737 2", "mouseDrag 21 736", "mouseDrag 21 736 2", "mouseUp 22 735 2"}));
    EXPECT_EQ(lastMouseButton, GLUT_RIGHT_BUTTON);
}

TEST_F(Dispatch, OtherMouseStatesOnlyRecordTheButton) {
    start(640, 480);
    fakegl::mouseFunc(3, 7, 1, 1);  // a wheel step reported with an odd state
    EXPECT_TRUE(app.log.empty());
    EXPECT_EQ(lastMouseButton, 3);
    fakegl::motionFunc(1, 1);
    EXPECT_EQ(app.log.back(), "mouseDrag 1 478 3");
}

TEST_F(Dispatch, DisplayWaitsForAWidthThenDrawsInsideTheOutermostFrame) {
    start(0, 0);
    fakegl::displayFunc();
    EXPECT_TRUE(app.log.empty());
    EXPECT_TRUE(fakegl::calls.empty());  // nothing drawn, nothing swapped
    EXPECT_FALSE(validWindowSize);

    fakegl::reshapeFunc(640, 480);
    app.log.clear();
    fakegl::displayFunc();
    EXPECT_TRUE(validWindowSize);
    EXPECT_EQ(app.log, Log{"draw depth 1"});
    EXPECT_EQ(fakegl::names().front(), "glViewport");
    EXPECT_EQ(fakegl::names().back(), "glutSwapBuffers");
    EXPECT_EQ(frameDepth, 0);

    // Once seen, a valid size stays valid.
    fakegl::reshapeFunc(0, 0);
    app.log.clear();
    fakegl::displayFunc();
    EXPECT_EQ(app.log, Log{"draw depth 1"});
}

TEST_F(Dispatch, IdleCallsTheApplicationThenAsksForARedisplay) {
    start(640, 480);
    fakegl::idleFunc();
    EXPECT_EQ(app.log, Log{"idle"});
    EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutPostRedisplay")});
}

TEST_F(Dispatch, KeysReachTheApplicationAndOnlyEscapeCloses) {
    start(640, 480);
    fakegl::keyboardFunc('a', 3, 4);
    fakegl::keyboardFunc(200, 3, 4);  // delivered as the char it is
    fakegl::specialFunc(GLUT_KEY_F2, 3, 4);
    EXPECT_EQ(app.log, (Log{"keyDown 97", "keyDown -56", "specialKeyDown 2"}));
    EXPECT_TRUE(fakegl::calls.empty());
    fakegl::keyboardFunc(27, 3, 4);
    EXPECT_EQ(fakegl::trace(), (std::vector<std::string>{call("glutReshapeWindow", {100, 100}),
                                                         call("glutIdleFunc", {1})}));
    EXPECT_EQ(fakegl::idleFunc, &winddown_cb);
    zouClose();  // a full count for whoever ticks next
}

TEST_F(Dispatch, OverridingKeyDownReplacesTheEscapeExit) {
    struct NoEscape : zoApp {
        int keys = 0;
        void keyDown(char) override { ++keys; }
    } quiet;
    quiet.selfStart();
    fakegl::calls.clear();
    fakegl::keyboardFunc(27, 0, 0);
    EXPECT_EQ(quiet.keys, 1);
    EXPECT_TRUE(fakegl::calls.empty());
}

TEST_F(Dispatch, PointInsideCoversTheAreaFromTheOrigin) {
    app.resize(50, 60, 640, 480);  // X and Y take no part
    EXPECT_TRUE(app.pointInside(0, 0));
    EXPECT_TRUE(app.pointInside(639.9f, 479.9f));
    EXPECT_FALSE(app.pointInside(640, 0));
    EXPECT_FALSE(app.pointInside(0, 480));
    EXPECT_FALSE(app.pointInside(-0.1f, 5));
    EXPECT_FALSE(app.pointInside(NAN, 5));
    EXPECT_FALSE(app.pointInside(5, NAN));
    app.resize(0, 0, 0, 480);
    EXPECT_FALSE(app.pointInside(0, 0));
}

// ---- Full-screen toggle ----------------------------------------------------------

TEST_F(Dispatch, FirstF1LeavesFullScreenWithFixedMargins) {
    start(1024, 768);
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(haveShrunk, 1);
    EXPECT_EQ(zouWindowWidth, 954);
    EXPECT_EQ(zouWindowHeight, 678);
    EXPECT_EQ(fakegl::trace(), (std::vector<std::string>{call("glutReshapeWindow", {954, 678}),
                                                         call("glutPositionWindow", {35, 55})}));
}

TEST_F(Dispatch, SecondF1RemembersTheWindowAndThirdRestoresIt) {
    start(1024, 768);
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    // The user moves and resizes the window before going full screen again.
    fakegl::windowX = 120;
    fakegl::windowY = 90;
    fakegl::reshapeFunc(800, 500);
    fakegl::calls.clear();
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(fullScreen, 1);
    EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutFullScreen")});
    EXPECT_EQ(windowedX, 120);
    EXPECT_EQ(windowedY, 90);
    EXPECT_EQ(windowedW, 800);
    EXPECT_EQ(windowedH, 500);

    fakegl::reshapeFunc(1024, 768);
    fakegl::calls.clear();
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(fullScreen, 0);
    EXPECT_EQ(zouWindowWidth, 800);
    EXPECT_EQ(zouWindowHeight, 500);
    EXPECT_EQ(fakegl::trace(), (std::vector<std::string>{call("glutReshapeWindow", {800, 500}),
                                                         call("glutPositionWindow", {120, 90})}));
}

TEST_F(Dispatch, EnteringFullScreenTruncatesTheAreaSize) {
    start(1024, 768);
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    app.resize(0, 0, 700.9f, 500.5f);
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(windowedW, 700);
    EXPECT_EQ(windowedH, 500);
}

TEST_F(Dispatch, F1FromATinyScreenAsksGlutForAtLeastOnePixel) {
    start(50, 60);
    fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(zouWindowWidth, -20);  // stored as computed
    EXPECT_EQ(zouWindowHeight, -30);
    EXPECT_EQ(fakegl::only("glutReshapeWindow").at(0).str(), call("glutReshapeWindow", {1, 1}));
}

// ---- Windows outside the application table ----------------------------------------

TEST_F(Dispatch, WindowsBeyondTheTableAreRefusedAndTheirEventsDropped) {
    zoApp* sentinel[ZOU_MAX_WINDOWS];
    for (int i = 0; i < ZOU_MAX_WINDOWS; ++i) sentinel[i] = apps[i];
    for (int window : {10, 11, 1000, -1}) {
        fakegl::reset();
        fakegl::currentWindow = window;
        CaptureStderr();
        app.selfStart();
        EXPECT_EQ(GetCapturedStderr(), "Bad window identifier " + std::to_string(window) + " passed to selfStart\n");
        CaptureStderr();
        app.subStart();
        EXPECT_EQ(GetCapturedStderr(), "Bad window identifier " + std::to_string(window) + " passed to subStart\n");
        for (int i = 0; i < ZOU_MAX_WINDOWS; ++i) EXPECT_EQ(apps[i], sentinel[i]);
        // GLUT still gets its callbacks; they find no application and do nothing.
        EXPECT_EQ(fakegl::displayFunc, &display_cb);
        app.log.clear();
        fakegl::calls.clear();
        lastMouseButton = 0;
        zouWindowWidth = 640;
        zouWindowHeight = 480;
        fakegl::reshapeFunc(320, 240);
        fakegl::displayFunc();
        fakegl::mouseFunc(2, GLUT_DOWN, 1, 1);
        fakegl::motionFunc(1, 1);
        fakegl::passiveMotionFunc(1, 1);
        fakegl::idleFunc();
        fakegl::keyboardFunc(27, 0, 0);
        fakegl::specialFunc(GLUT_KEY_F1, 0, 0);
        EXPECT_TRUE(app.log.empty());
        EXPECT_TRUE(fakegl::calls.empty());
        EXPECT_EQ(lastMouseButton, 0);
        EXPECT_EQ(zouWindowWidth, 640);
        EXPECT_EQ(fullScreen, 1);
    }
}

TEST_F(Dispatch, RefusalIsSilentBelowLevelTwo) {
    fakegl::currentWindow = 12;
    zouDebugLevel = 1;
    CaptureStderr();
    app.subStart();
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(Dispatch, EventsForAWindowWithoutAnApplicationAreDropped) {
    start(640, 480);
    fakegl::currentWindow = 4;  // inside the table, never registered
    fakegl::displayFunc();
    fakegl::mouseFunc(1, GLUT_DOWN, 1, 1);
    fakegl::reshapeFunc(10, 10);
    EXPECT_TRUE(app.log.empty());
    EXPECT_TRUE(fakegl::calls.empty());
    EXPECT_EQ(zouWindowWidth, 640);
}

}  // namespace
