// The parameter store and the diagnostic channel.
#include "framework_state.h"
#include "settings_rows.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <string>
#include <vector>

using fwtest::call;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

namespace {

using fwtest::Code;
const std::vector<Code> knownCodes = fwtest::knownCodes();

class ParamStore : public testing::Test {
protected:
    void SetUp() override {
        fwtest::freshOpen();
        fwtest::unchangedSettingsBackToLoad();
    }
};

// One value per int setting, none alike, so that a code reading the wrong
// setting or in the wrong order shows.
void distinctValuesInEveryIntSetting() {
    int value = 1000;
    for (const Code& c : knownCodes)
        for (int* setting : c.settings) *setting = value++;
}

TEST_F(ParamStore, EveryCodeReadsItsSettingsInOrder) {
    distinctValuesInEveryIntSetting();
    for (const Code& c : knownCodes) {
        ASSERT_TRUE(c.readable) << "code " << c.code;
        // One slot past the code's values shows that it writes no more than it owns.
        std::vector<int> v(c.settings.size() + 1, 12345), direct;
        zouGetIntegerv(c.code, v.data());
        EXPECT_EQ(v.back(), 12345) << "code " << c.code;
        v.pop_back();
        for (int* setting : c.settings) direct.push_back(*setting);
        EXPECT_EQ(v, direct) << "code " << c.code;
    }
}

TEST_F(ParamStore, WritableCodesStoreWhatTheyAreGivenInTheirSettings) {
    for (const Code& c : knownCodes) {
        if (!c.writable || c.code == ZOU_DEBUG_LEVEL) continue;
        const int n = static_cast<int>(c.settings.size());
        std::vector<int> in(n), out(n, 0);
        for (int i = 0; i < n; ++i) in[i] = -1000 - 10 * c.code - i;  // no range is enforced
        zouSetIntegerv(c.code, in.data());
        zouGetIntegerv(c.code, out.data());
        EXPECT_EQ(out, in) << "code " << c.code;
        for (int i = 0; i < n; ++i) EXPECT_EQ(*c.settings[i], in[i]) << "code " << c.code;
    }
    const int level = -4;
    zouSetIntegerv(ZOU_DEBUG_LEVEL, &level);
    EXPECT_EQ(zouDebugLevel, -4);
}

TEST_F(ParamStore, GroupsShareTheirVariablesWithTheSingleCodes) {
    const int rect[4] = {1, 2, 3, 4};
    zouSetIntegerv(ZOU_SCREEN_GRAB_RECT, rect);
    EXPECT_EQ(zouGetInteger(ZOU_SCREEN_GRAB_X), 1);
    EXPECT_EQ(zouGetInteger(ZOU_SCREEN_GRAB_Y), 2);
    EXPECT_EQ(zouGetInteger(ZOU_SCREEN_GRAB_WIDTH), 3);
    EXPECT_EQ(zouGetInteger(ZOU_SCREEN_GRAB_HEIGHT), 4);

    const int array[2] = {64, 48};
    zouSetIntegerv(ZOU_VIDEO_ARRAY_SIZE, array);
    EXPECT_EQ(zouGetInteger(ZOU_VIDEO_ARRAY_WIDTH), 64);
    EXPECT_EQ(zouGetInteger(ZOU_VIDEO_ARRAY_HEIGHT), 48);

    const int size[2] = {320, 200};
    zouSetIntegerv(ZOU_WINDOW_SIZE, size);
    EXPECT_EQ(zouGetInteger(ZOU_WINDOW_WIDTH), 320);
    EXPECT_EQ(zouGetInteger(ZOU_WINDOW_HEIGHT), 200);

    zouVideoWidth = 352;
    zouVideoHeight = 288;
    int video[2] = {0, 0};
    zouGetIntegerv(ZOU_VIDEO_SIZE, video);
    EXPECT_EQ(video[0], 352);
    EXPECT_EQ(video[1], 288);
}

TEST_F(ParamStore, ReadOnlyCodesRefuseASetAndSayWhy) {
    distinctValuesInEveryIntSetting();
    int readOnly = 0;
    for (const Code& c : knownCodes) {
        if (c.writable) continue;
        ++readOnly;
        const std::vector<int> before = fwtest::intSettings();
        const int values[4] = {77, 88, 99, 111};
        CaptureStderr();
        zouSetIntegerv(c.code, values);
        EXPECT_EQ(GetCapturedStderr(), "Bad parameter passed to zouSetIntegerv\n") << "code " << c.code;
        EXPECT_EQ(fwtest::intSettings(), before) << "code " << c.code;
    }
    EXPECT_GT(readOnly, 0);
    EXPECT_TRUE(fakegl::calls.empty());  // and the window was left alone
}

TEST_F(ParamStore, UnknownCodesChangeNothingForEveryShort) {
    std::set<int> known;
    for (const Code& c : knownCodes) known.insert(c.code);
    zouDebugLevel = 1;  // keep the 65 000 refusals off stderr
    const std::vector<int> before = fwtest::intSettings();
    for (int code = SHRT_MIN; code <= SHRT_MAX; ++code) {
        if (known.count(code)) continue;
        int v[4] = {-7, -7, -7, -7};
        zouGetIntegerv(static_cast<short>(code), v);
        ASSERT_EQ(v[0], -7) << "code " << code;
        ASSERT_EQ(v[1], -7) << "code " << code;
        const int values[4] = {5, 6, 7, 8};
        zouSetIntegerv(static_cast<short>(code), values);
        ASSERT_EQ(fwtest::intSettings(), before) << "code " << code;
    }
    EXPECT_TRUE(fakegl::calls.empty());
}

TEST_F(ParamStore, RejectedGetWritesItsMessageAtTheDefaultLevel) {
    int v = 31;
    CaptureStderr();
    zouGetIntegerv(99, &v);
    EXPECT_EQ(GetCapturedStderr(), "Bad parameter passed to zouGetIntegerv\n");
    EXPECT_EQ(v, 31);

    zouDebugLevel = 1;
    CaptureStderr();
    zouGetIntegerv(99, &v);
    EXPECT_EQ(GetCapturedStderr(), "");
}

TEST_F(ParamStore, GetIntegerOfARejectedCodeIsZero) {
    zouDebugLevel = 1;
    for (short code : {short(11), short(99), short(206), short(-1), short(SHRT_MAX)})
        EXPECT_EQ(zouGetInteger(code), 0) << "code " << code;
}

TEST_F(ParamStore, WindowSizeResizesTheWindowAndReleasesTheGrabBuffers) {
    zouScreenGrabBuffer = std::malloc(32);
    zouScreenGrabFlipper = std::malloc(32);
    const int size[2] = {800, 600};
    zouSetIntegerv(ZOU_WINDOW_SIZE, size);
    EXPECT_EQ(zouWindowWidth, 800);
    EXPECT_EQ(zouWindowHeight, 600);
    EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutReshapeWindow", {800, 600})});
    EXPECT_EQ(zouScreenGrabBuffer, nullptr);
    EXPECT_EQ(zouScreenGrabFlipper, nullptr);
    // A second set with the same size asks GLUT again; the buffers are already
    // gone and are not released twice (ASan would report a double free).
    zouSetIntegerv(ZOU_WINDOW_SIZE, size);
    EXPECT_EQ(fakegl::count("glutReshapeWindow"), 2);
    EXPECT_EQ(zouScreenGrabBuffer, nullptr);
    EXPECT_EQ(zouScreenGrabFlipper, nullptr);
}

TEST_F(ParamStore, WindowSizesWithoutAreaAreStoredButGlutGetsAtLeastOnePixel) {
    // X refuses a zero size with BadValue and reads a negative one as a huge
    // unsigned size; either ends the process, so GLUT only ever sees >= 1.
    const struct {
        int w, h, glutW, glutH;
    } cases[] = {{0, 0, 1, 1}, {-5, -7, 1, 1}, {0, 300, 1, 300}, {400, 0, 400, 1}, {-1, 300, 1, 300},
                 {INT_MIN, INT_MAX, 1, INT_MAX}};
    for (const auto& c : cases) {
        fakegl::calls.clear();
        const int size[2] = {c.w, c.h};
        zouSetIntegerv(ZOU_WINDOW_SIZE, size);
        EXPECT_EQ(zouWindowWidth, c.w);
        EXPECT_EQ(zouWindowHeight, c.h);
        int back[2];
        zouGetIntegerv(ZOU_WINDOW_SIZE, back);
        EXPECT_EQ(back[0], c.w);
        EXPECT_EQ(back[1], c.h);
        EXPECT_EQ(fakegl::trace(), std::vector<std::string>{call("glutReshapeWindow", {double(c.glutW), double(c.glutH)})});
    }
}

TEST_F(ParamStore, GetIntegerOfAGroupCodeGivesItsFirstValueAndStaysInBounds) {
    const int rect[4] = {11, 12, 13, 14};
    zouSetIntegerv(ZOU_SCREEN_GRAB_RECT, rect);
    EXPECT_EQ(zouGetInteger(ZOU_SCREEN_GRAB_RECT), 11);  // four values, one returned
    zouWindowWidth = 640;
    zouWindowHeight = 480;
    EXPECT_EQ(zouGetInteger(ZOU_WINDOW_SIZE), 640);
}

TEST_F(ParamStore, NullValueArraysAreRefused) {
    const std::vector<int> before = fwtest::intSettings();
    CaptureStderr();
    zouGetIntegerv(ZOU_WINDOW_SIZE, nullptr);
    zouSetIntegerv(ZOU_WINDOW_SIZE, nullptr);
    zouSetIntegerv(99, nullptr);
    EXPECT_EQ(GetCapturedStderr(),
              "Null value array passed to zouGetIntegerv\n"
              "Null value array passed to zouSetIntegerv\n"
              "Bad parameter passed to zouSetIntegerv\n");
    EXPECT_EQ(fwtest::intSettings(), before);
    EXPECT_TRUE(fakegl::calls.empty());
}

// ---- zouDebug --------------------------------------------------------------------

TEST_F(ParamStore, DebugWritesUpToTheThresholdWithANewline) {
    CaptureStderr();
    zouDebug(2, "two");
    zouDebug(3, "three");
    zouDebug(4, "four");
    zouDebug(-2, "minus two");
    zouDebug(0, "100% %s");  // the text is written as given, not as a format
    zouDebug(2, nullptr);     // no text: an empty line
    EXPECT_EQ(GetCapturedStderr(), "two\nthree\nminus two\n100% %s\n\n");

    zouDebugLevel = 0;
    CaptureStderr();
    zouDebug(2, "two");
    zouDebug(0, "zero");
    zouDebug(-1, "minus one");
    EXPECT_EQ(GetCapturedStderr(), "zero\nminus one\n");

    const int silenced = -1;
    zouSetIntegerv(ZOU_DEBUG_LEVEL, &silenced);
    CaptureStderr();
    zouDebug(0, "zero");
    EXPECT_EQ(GetCapturedStderr(), "");
}

using ParamStoreDeathTest = ParamStore;

TEST_F(ParamStoreDeathTest, LevelOneIsFatalWithStatusMinusOne) {
    EXPECT_EXIT(zouDebug(1, "the end"), testing::ExitedWithCode(255), "^the end\n$");
}

TEST_F(ParamStoreDeathTest, LevelOneIsFatalEvenWhenSilenced) {
    zouDebugLevel = 0;
    EXPECT_EXIT(zouDebug(1, "unseen"), testing::ExitedWithCode(255), "^$");
}

}  // namespace
