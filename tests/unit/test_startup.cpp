// Start-up, the font table and the wind-down after Escape.
#include "framework_state.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using fwtest::call;

namespace {

// The settings as the process has them before anything runs. The framework's
// globals are constant-initialised, so this dynamic initialiser sees their load
// values whichever test runs first.
struct LoadValues {
    int displayMode, windowWidth, windowHeight, depth, debugLevel, timeStep;
    bool resourceEmpty, clear, grabFlip, textInited, videoOpened, mirror, repeating;
    char* debugStr;
    float bg[3], fov, nearPlane, farPlane;
    int grab[6], video[8], currentFont, fontNormalize;
    void *grabBuffer, *flipper, *tesselator;
    int fullScreen, haveShrunk, lastMouseButton;
    bool validWindowSize, appsEmpty;
};

LoadValues takeLoadValues() {
    LoadValues v;
    v.displayMode = zouDisplayMode;
    v.windowWidth = zouWindowWidth;
    v.windowHeight = zouWindowHeight;
    v.depth = frameDepth;
    v.debugLevel = zouDebugLevel;
    v.timeStep = zouTimeStep;
    v.resourceEmpty = zouResourceLocation[0] == '\0';
    v.clear = zouWindowClear;
    v.grabFlip = zouScreenGrabFlip;
    v.textInited = zouTextInited;
    v.videoOpened = zouVideoOpened;
    v.mirror = zouVideoMirrorImage;
    v.repeating = zouVideoProxyRepeating;
    v.debugStr = zouDebugStr;
    for (int i = 0; i < 3; ++i) v.bg[i] = zouWindowBgColor[i];
    v.fov = zouScreenFov;
    v.nearPlane = zouScreenNear;
    v.farPlane = zouScreenFar;
    int grab[6] = {zouScreenGrabQuality, zouScreenGrabFormat, zouScreenGrabX,
                   zouScreenGrabY,       zouScreenGrabWidth,  zouScreenGrabHeight};
    std::memcpy(v.grab, grab, sizeof grab);
    int video[8] = {zouVideoFPS,   zouVideoProxyCount, zouVideoProxyRawWidth, zouVideoProxyRawHeight,
                    zouVideoWidth, zouVideoHeight,     zouVideoArrayWidth,    zouVideoArrayHeight};
    std::memcpy(v.video, video, sizeof video);
    v.currentFont = zoutCurrentFont;
    v.fontNormalize = zouFontNormalize;
    v.grabBuffer = zouScreenGrabBuffer;
    v.flipper = zouScreenGrabFlipper;
    v.tesselator = zouTesselator;
    v.fullScreen = fullScreen;
    v.haveShrunk = haveShrunk;
    v.lastMouseButton = lastMouseButton;
    v.validWindowSize = validWindowSize;
    v.appsEmpty = true;
    for (zoApp* a : apps) v.appsEmpty = v.appsEmpty && a == nullptr;
    return v;
}

const LoadValues atLoad = takeLoadValues();

TEST(Startup, GlobalsHoldTheirLoadValuesBeforeZouOpen) {
    EXPECT_EQ(atLoad.displayMode, 18);
    EXPECT_EQ(atLoad.windowWidth, 0);
    EXPECT_EQ(atLoad.windowHeight, 0);
    EXPECT_EQ(atLoad.depth, 0);
    EXPECT_EQ(atLoad.debugLevel, 0);
    EXPECT_EQ(atLoad.timeStep, 1);
    EXPECT_TRUE(atLoad.resourceEmpty);
    EXPECT_FALSE(atLoad.clear);
    EXPECT_FALSE(atLoad.grabFlip);
    EXPECT_FALSE(atLoad.textInited);
    EXPECT_FALSE(atLoad.videoOpened);
    EXPECT_FALSE(atLoad.mirror);
    EXPECT_FALSE(atLoad.repeating);
    EXPECT_EQ(atLoad.debugStr, nullptr);
    EXPECT_EQ(atLoad.bg[0], 0.0f);
    EXPECT_EQ(atLoad.bg[1], 0.0f);
    EXPECT_EQ(atLoad.bg[2], 0.0f);
    EXPECT_EQ(atLoad.fov, 0.0f);
    EXPECT_EQ(atLoad.nearPlane, 0.0f);
    EXPECT_EQ(atLoad.farPlane, 0.0f);
    for (int g : atLoad.grab) EXPECT_EQ(g, 0);
    for (int v : atLoad.video) EXPECT_EQ(v, 0);
    EXPECT_EQ(atLoad.currentFont, 0);
    EXPECT_EQ(atLoad.fontNormalize, 1);
    EXPECT_EQ(atLoad.grabBuffer, nullptr);
    EXPECT_EQ(atLoad.flipper, nullptr);
    EXPECT_EQ(atLoad.tesselator, nullptr);
    // The window starts full screen, so the toggle's state says so from the start.
    EXPECT_EQ(atLoad.fullScreen, 1);
    EXPECT_EQ(atLoad.haveShrunk, 0);
    EXPECT_EQ(atLoad.lastMouseButton, 0);
    EXPECT_FALSE(atLoad.validWindowSize);
    EXPECT_TRUE(atLoad.appsEmpty);
}

TEST(Startup, ZouOpenCreatesTheFullScreenWindowThenSetsTheGlState) {
    std::free(zouDebugStr);  // the earlier open's scratch buffer
    fakegl::reset();
    zouOpen();
    const std::vector<std::string> expected = {
        call("glutInit", {1}, "zou"),
        call("glutInitDisplayMode", {18}),
        call("glutCreateWindow", {}, "zou"),
        call("glutFullScreen"),
        call("glutReshapeFunc", {1}),
        call("glEnable", {GL_AUTO_NORMAL}),
        call("glEnable", {GL_NORMALIZE}),
        call("glEnable", {GL_BLEND}),
        call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}),
    };
    EXPECT_EQ(fakegl::trace(), expected);
    EXPECT_EQ(fakegl::reshapeFunc, &reshape);
    // No other callback exists until an application starts.
    EXPECT_EQ(fakegl::displayFunc, nullptr);
    EXPECT_EQ(fakegl::idleFunc, nullptr);
}

TEST(Startup, WindowlessStartIsZouOpenWithoutGlut) {
    // What zouOpen does after its window exists, and nothing of GLUT.
    std::free(zouDebugStr);
    fakegl::reset();
    zouOpen();
    std::vector<std::string> afterWindow = fakegl::trace();
    afterWindow.erase(afterWindow.begin(), afterWindow.begin() + 5);
    zouScreenFov = zouScreenNear = 0;
    zouWindowWidth = 9;
    std::free(zouDebugStr);
    fakegl::reset();
    zouInitState();
    EXPECT_EQ(fakegl::trace(), afterWindow);
    EXPECT_EQ(fakegl::reshapeFunc, nullptr);
    EXPECT_EQ(zouScreenFov, ZOU_DEFAULT_FOV);
    EXPECT_EQ(zouScreenNear, ZOU_DEFAULT_NEAR);
    EXPECT_EQ(zouWindowWidth, 0);
}

TEST(Startup, ZouOpenGivesEverySettingItsStartValue) {
    // Scribble over everything zouOpen is meant to set.
    zouWindowWidth = zouWindowHeight = frameDepth = 7;
    zouDebugLevel = 0;
    zouWindowClear = false;
    zouWindowBgColor[0] = zouWindowBgColor[1] = zouWindowBgColor[2] = 0.5f;
    zouScreenFov = zouScreenNear = zouScreenFar = 0;
    zouScreenGrabQuality = zouScreenGrabFormat = zouScreenGrabX = zouScreenGrabY = 9;
    zouScreenGrabWidth = zouScreenGrabHeight = 9;
    zouScreenGrabFlip = false;
    zouVideoFPS = zouVideoProxyCount = zouVideoProxyRawWidth = zouVideoProxyRawHeight = 9;
    zouVideoOpened = zouVideoMirrorImage = zouVideoProxyRepeating = true;
    zouTextInited = false;
    fwtest::freshOpen();

    EXPECT_EQ(zouWindowWidth, 0);
    EXPECT_EQ(zouWindowHeight, 0);
    EXPECT_EQ(frameDepth, 0);
    EXPECT_STREQ(zouResourceLocation, "C:/zoWindow/");
    EXPECT_EQ(zouDebugLevel, 3);
    ASSERT_NE(zouDebugStr, nullptr);
    zouDebugStr[63] = 'x';  // 64 bytes are writable (ASan checks the bound)
    EXPECT_TRUE(zouWindowClear);
    EXPECT_EQ(zouWindowBgColor[0], 0.0f);
    EXPECT_EQ(zouWindowBgColor[1], 0.0f);
    EXPECT_EQ(zouWindowBgColor[2], 0.0f);
    EXPECT_EQ(zouScreenNear, ZOU_DEFAULT_NEAR);
    EXPECT_EQ(zouScreenFar, ZOU_DEFAULT_FAR);
    EXPECT_EQ(zouScreenFov, ZOU_DEFAULT_FOV);
    EXPECT_EQ(zouScreenGrabQuality, 100);
    EXPECT_EQ(zouScreenGrabFormat, 40);
    EXPECT_EQ(zouScreenGrabX, 0);
    EXPECT_EQ(zouScreenGrabY, 0);
    EXPECT_EQ(zouScreenGrabWidth, 0);
    EXPECT_EQ(zouScreenGrabHeight, 0);
    EXPECT_EQ(zouScreenGrabBuffer, nullptr);
    EXPECT_EQ(zouScreenGrabFlipper, nullptr);
    EXPECT_TRUE(zouScreenGrabFlip);
    EXPECT_EQ(zouVideoFPS, 15);
    EXPECT_EQ(zouVideoProxyCount, -1);
    EXPECT_EQ(zouVideoProxyRawWidth, 0);
    EXPECT_EQ(zouVideoProxyRawHeight, 0);
    EXPECT_FALSE(zouVideoOpened);
    EXPECT_FALSE(zouVideoMirrorImage);
    EXPECT_FALSE(zouVideoProxyRepeating);
    EXPECT_EQ(zouTesselator, nullptr);
    EXPECT_TRUE(zouTextInited);  // set false, then true again by zouTextInit
    EXPECT_EQ(zoutCurrentFont, -1);
    // Settings zouOpen leaves alone.
    EXPECT_EQ(zouDisplayMode, 18);
    EXPECT_EQ(zouTimeStep, 1);
    EXPECT_EQ(zouFontNormalize, 1);
}

TEST(Startup, StoreReadsTheStartValuesAfterZouOpen) {
    fwtest::freshOpen();
    EXPECT_EQ(zouGetInteger(ZOU_WINDOW_WIDTH), 0);
    EXPECT_EQ(zouGetInteger(ZOU_WINDOW_HEIGHT), 0);
    EXPECT_EQ(zouGetInteger(ZOU_DEBUG_LEVEL), 3);
    EXPECT_EQ(zouGetInteger(ZOU_TIME_STEP), 1);
    EXPECT_EQ(zouGetInteger(ZOU_VIDEO_FPS), 15);
    EXPECT_EQ(zouGetInteger(ZOU_VIDEO_PROXY_COUNT), -1);
}

TEST(Startup, TextInitEmptiesEveryFontSlot) {
    for (int i = 0; i < 50; ++i) {
        zoutFontList[i] = reinterpret_cast<zoFont*>(&zoutFontNames[i]);
        std::snprintf(zoutFontNames[i], sizeof zoutFontNames[i], "font %d", i);
    }
    zoutCurrentFont = 4;
    zouTextInited = false;
    zouTextInit();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(zoutFontList[i], nullptr) << "slot " << i;
        EXPECT_EQ(zoutFontNames[i][0], '\0') << "slot " << i;
    }
    EXPECT_EQ(zoutCurrentFont, -1);
    EXPECT_TRUE(zouTextInited);
}

TEST(Startup, StartUpReshapeOnlyRecordsTheSize) {
    fwtest::freshOpen();
    reshape(800, 600);
    EXPECT_EQ(zouWindowWidth, 800);
    EXPECT_EQ(zouWindowHeight, 600);
    EXPECT_TRUE(fakegl::calls.empty());
}

// ---- Wind-down -------------------------------------------------------------------

struct CountingApp : zoApp {
    int idles = 0;
    void idle() override { ++idles; }
};

TEST(Winddown, ZouCloseShrinksTheWindowAndReplacesTheIdleCallback) {
    fwtest::freshOpen();
    zouWindowWidth = 1024;
    zouWindowHeight = 768;
    zouScreenGrabBuffer = std::malloc(16);
    zouScreenGrabFlipper = std::malloc(16);
    zouClose();
    EXPECT_EQ(zouWindowWidth, 100);
    EXPECT_EQ(zouWindowHeight, 100);
    EXPECT_EQ(fakegl::trace(), (std::vector<std::string>{call("glutReshapeWindow", {100, 100}),
                                                          call("glutIdleFunc", {1})}));
    EXPECT_EQ(fakegl::idleFunc, &winddown_cb);
    EXPECT_EQ(zouScreenGrabBuffer, nullptr);
    EXPECT_EQ(zouScreenGrabFlipper, nullptr);
}

TEST(Winddown, TicksBeforeTheLastCallNeitherIdleNorRedisplay) {
    fwtest::freshOpen();
    CountingApp app;
    app.selfStart();
    fakegl::idleFunc();  // a normal tick: idle and a redisplay request
    EXPECT_EQ(app.idles, 1);
    app.keyDown(27);
    fakegl::calls.clear();
    for (int i = 0; i < 4; ++i) fakegl::idleFunc();
    EXPECT_EQ(app.idles, 1);
    EXPECT_EQ(fakegl::count("glutPostRedisplay"), 0);
    zouClose();  // leave a full count behind for whoever runs next
}

// The tick number is written after each tick that returns, so the last line
// on stderr names the last tick survived.
static void tickAndReport(int from, int to) {
    for (int i = from; i <= to; ++i) {
        fakegl::idleFunc();
        std::fprintf(stderr, "survived tick %d\n", i);
    }
}

TEST(WinddownDeathTest, ProcessExitsWithStatusZeroOnTheFifthTick) {
    fwtest::freshOpen();
    EXPECT_EXIT(
        {
            zouClose();
            tickAndReport(1, 9);
        },
        ::testing::ExitedWithCode(0), "survived tick 4\n$");
}

TEST(WinddownDeathTest, SecondZouCloseRestartsTheCount) {
    fwtest::freshOpen();
    EXPECT_EXIT(
        {
            zouClose();
            tickAndReport(1, 3);
            zouClose();
            tickAndReport(4, 12);
        },
        ::testing::ExitedWithCode(0), "survived tick 7\n$");
}

TEST(WinddownDeathTest, EscapeThroughTheKeyboardCallbackEndsTheProcess) {
    fwtest::freshOpen();
    EXPECT_EXIT(
        {
            zoApp app;
            app.selfStart();
            fakegl::keyboardFunc(27, 5, 5);
            tickAndReport(1, 9);
        },
        ::testing::ExitedWithCode(0), "survived tick 4\n$");
}

}  // namespace
