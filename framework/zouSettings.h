/// \file
/// The framework's settings in one table: every global of zou.h with its type,
/// its value when the process starts, the value the start-up gives it and its
/// parameter code. The framework expands the table to define the globals, to
/// give them their start values in zouInitState() and zouTextInit(), and to
/// build the parameter store of zouGetIntegerv() and zouSetIntegerv(); the tests
/// read it too. A new setting is one row here and its declaration in zou.h (the
/// compiler checks that the two agree).
#pragma once

#include "framework/zou.h"

/// A setting's type written as one token, arrays included:
/// `zouType<char[256]> name` declares `char name[256]`.
template <class T>
using zouType = T;

/// Start-up column: zouInitState() leaves the setting as it is.
struct zouUnchanged {};

/// Start-up column: zouInitState() stores a new block from malloc, never released.
struct zouNewBlock {
    int bytes;  ///< The block's size in bytes.
};

/// Start-up column: zouTextInit() (which zouInitState() calls) gives the
/// setting this value, every element of an array setting alike.
template <class T>
struct zouByTextInit {
    T value;  ///< The value, for each element.
};
/// `zouByTextInit{-1}` is a zouByTextInit<int>, `zouByTextInit{""}` one of `const char*`.
template <class T>
zouByTextInit(T) -> zouByTextInit<T>;

/// Every setting, one row each: X(type, name, value at load, value after
/// start-up, parameter code or 0 for none, readable, writable). Array settings
/// take their value in every element, text settings as text. Only `int`
/// settings have a code; the code's name gives its number (zou.h). The display
/// mode's 18 is GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB: double-buffered RGBA with depth.
#define ZOU_SETTINGS(X)                                                                                                  \
    /*type           name                    at load  after start-up          code                        get    set */  \
    X(int,           zouDisplayMode,         18,      zouUnchanged{},         0,                          false, false)  \
    X(int,           zouWindowWidth,         0,       0,                      ZOU_WINDOW_WIDTH,           true,  false)  \
    X(int,           zouWindowHeight,        0,       0,                      ZOU_WINDOW_HEIGHT,          true,  false)  \
    X(int,           frameDepth,             0,       0,                      0,                          false, false)  \
    X(char[256],     zouResourceLocation,    "",      "C:/zoWindow/",         0,                          false, false)  \
    X(int,           zouDebugLevel,          0,       3,                      ZOU_DEBUG_LEVEL,            true,  true)   \
    X(char*,         zouDebugStr,            nullptr, zouNewBlock{64},        0,                          false, false)  \
    X(bool,          zouWindowClear,         false,   true,                   0,                          false, false)  \
    X(float[3],      zouWindowBgColor,       0,       0,                      0,                          false, false)  \
    X(float,         zouScreenFov,           0,       ZOU_DEFAULT_FOV,        0,                          false, false)  \
    X(float,         zouScreenNear,          0,       ZOU_DEFAULT_NEAR,       0,                          false, false)  \
    X(float,         zouScreenFar,           0,       ZOU_DEFAULT_FAR,        0,                          false, false)  \
    X(int,           zouTimeStep,            1,       zouUnchanged{},         ZOU_TIME_STEP,              true,  true)   \
    X(int,           zouScreenGrabQuality,   0,       100,                    ZOU_SCREEN_GRAB_QUALITY,    true,  true)   \
    X(int,           zouScreenGrabFormat,    0,       40,                     ZOU_SCREEN_GRAB_FORMAT,     true,  true)   \
    X(int,           zouScreenGrabX,         0,       0,                      ZOU_SCREEN_GRAB_X,          true,  true)   \
    X(int,           zouScreenGrabY,         0,       0,                      ZOU_SCREEN_GRAB_Y,          true,  true)   \
    X(int,           zouScreenGrabWidth,     0,       0,                      ZOU_SCREEN_GRAB_WIDTH,      true,  true)   \
    X(int,           zouScreenGrabHeight,    0,       0,                      ZOU_SCREEN_GRAB_HEIGHT,     true,  true)   \
    X(void*,         zouScreenGrabBuffer,    nullptr, nullptr,                0,                          false, false)  \
    X(void*,         zouScreenGrabFlipper,   nullptr, nullptr,                0,                          false, false)  \
    X(bool,          zouScreenGrabFlip,      false,   true,                   0,                          false, false)  \
    X(int,           zouVideoFPS,            0,       15,                     ZOU_VIDEO_FPS,              true,  true)   \
    X(int,           zouVideoProxyCount,     0,       -1,                     ZOU_VIDEO_PROXY_COUNT,      true,  true)   \
    X(int,           zouVideoProxyRawWidth,  0,       0,                      ZOU_VIDEO_PROXY_RAW_WIDTH,  true,  true)   \
    X(int,           zouVideoProxyRawHeight, 0,       0,                      ZOU_VIDEO_PROXY_RAW_HEIGHT, true,  true)   \
    X(int,           zouVideoWidth,          0,       zouUnchanged{},         ZOU_VIDEO_WIDTH,            true,  false)  \
    X(int,           zouVideoHeight,         0,       zouUnchanged{},         ZOU_VIDEO_HEIGHT,           true,  false)  \
    X(int,           zouVideoArrayWidth,     0,       zouUnchanged{},         ZOU_VIDEO_ARRAY_WIDTH,      true,  true)   \
    X(int,           zouVideoArrayHeight,    0,       zouUnchanged{},         ZOU_VIDEO_ARRAY_HEIGHT,     true,  true)   \
    X(bool,          zouVideoOpened,         false,   false,                  0,                          false, false)  \
    X(bool,          zouVideoMirrorImage,    false,   false,                  0,                          false, false)  \
    X(bool,          zouVideoProxyRepeating, false,   false,                  0,                          false, false)  \
    X(void*,         zouTesselator,          nullptr, nullptr,                0,                          false, false)  \
    X(bool,          zouTextInited,          false,   zouByTextInit{true},    0,                          false, false)  \
    X(zoFont*[50],   zoutFontList,           nullptr, zouByTextInit{nullptr}, 0,                          false, false)  \
    X(char[50][128], zoutFontNames,          "",      zouByTextInit{""},      0,                          false, false)  \
    X(int,           zoutCurrentFont,        0,       zouByTextInit{-1},      0,                          false, false)  \
    X(int,           zouFontNormalize,       1,       zouUnchanged{},         0,                          false, false)

/// The codes that stand for a fixed group of settings, one row each:
/// X(code, readable, writable, the settings in the order their values pass).
/// Each setting of a group also has a code of its own in #ZOU_SETTINGS.
#define ZOU_PARAM_GROUPS(X)                                                                                       \
    X(ZOU_WINDOW_SIZE,      true, true,  zouWindowWidth, zouWindowHeight)                                         \
    X(ZOU_SCREEN_GRAB_RECT, true, true,  zouScreenGrabX, zouScreenGrabY, zouScreenGrabWidth, zouScreenGrabHeight) \
    X(ZOU_VIDEO_SIZE,       true, false, zouVideoWidth, zouVideoHeight)                                           \
    X(ZOU_VIDEO_ARRAY_SIZE, true, true,  zouVideoArrayWidth, zouVideoArrayHeight)
