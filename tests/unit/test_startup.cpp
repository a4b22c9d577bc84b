// Start-up, the font table and the wind-down after Escape.
#include "framework_state.h"
#include "settings_rows.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using fwtest::call;

namespace {

// The state as the process has it before anything runs. The framework's
// globals are constant-initialised, so this dynamic initialiser sees their load
// values whichever test runs first.
struct LoadValues {
    std::vector<std::string> settingsOff;  // settings not at their table's value at load
    int fullScreen, haveShrunk, lastMouseButton;
    bool validWindowSize, appsEmpty;
};

LoadValues takeLoadValues() {
    LoadValues v;
    v.settingsOff = fwtest::settingsOffTheirLoadValue();
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
    EXPECT_EQ(atLoad.settingsOff, std::vector<std::string>{});
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
    std::free(zouDebugStr);
    fwtest::scribbleOverEveryStartValue();
    fakegl::reset();
    zouInitState();
    EXPECT_EQ(fakegl::trace(), afterWindow);
    EXPECT_EQ(fakegl::reshapeFunc, nullptr);
    EXPECT_EQ(fwtest::settingsOffTheirStartValue(), std::vector<std::string>{});
}

TEST(Startup, ZouOpenGivesEverySettingItsStartValue) {
    // Every setting the start-up sets, pointers aside, holds something else first.
    fwtest::scribbleOverEveryStartValue();
    fwtest::freshOpen();
    EXPECT_EQ(fwtest::settingsOffTheirStartValue(), std::vector<std::string>{});
}

TEST(Startup, TextInitEmptiesEveryFontSlot) {
    fwtest::freshOpen();
    for (int i = 0; i < 50; ++i) {
        zoutFontList[i] = reinterpret_cast<zoFont*>(&zoutFontNames[i]);
        std::snprintf(zoutFontNames[i], sizeof zoutFontNames[i], "font %d", i);
    }
    zoutCurrentFont = 4;
    zouTextInited = false;
    zouTextInit();
    EXPECT_EQ(fwtest::settingsOffTheirStartValue(), std::vector<std::string>{});
    EXPECT_TRUE(fakegl::calls.empty());
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
