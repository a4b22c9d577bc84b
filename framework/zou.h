// The framework's procedural interface: start-up and wind-down, the parameter
// store, the diagnostic channel, the nested view frames, and the settings that
// applications read and write directly.
#pragma once

// ---- Parameter codes of zouGetIntegerv / zouSetIntegerv ------------------------
#define ZOU_DEBUG_LEVEL 10
#define ZOU_WINDOW_WIDTH 22
#define ZOU_WINDOW_HEIGHT 23
#define ZOU_WINDOW_SIZE 24
#define ZOU_SCREEN_GRAB_QUALITY 29
#define ZOU_SCREEN_GRAB_FORMAT 31
#define ZOU_SCREEN_GRAB_X 32
#define ZOU_SCREEN_GRAB_Y 33
#define ZOU_SCREEN_GRAB_WIDTH 34
#define ZOU_SCREEN_GRAB_HEIGHT 35
#define ZOU_SCREEN_GRAB_RECT 36
#define ZOU_TIME_STEP 42
#define ZOU_VIDEO_WIDTH 200
#define ZOU_VIDEO_HEIGHT 201
#define ZOU_VIDEO_SIZE 202
#define ZOU_VIDEO_ARRAY_WIDTH 203
#define ZOU_VIDEO_ARRAY_HEIGHT 204
#define ZOU_VIDEO_ARRAY_SIZE 205
#define ZOU_VIDEO_FPS 207
#define ZOU_VIDEO_PROXY_COUNT 208
#define ZOU_VIDEO_PROXY_RAW_WIDTH 210
#define ZOU_VIDEO_PROXY_RAW_HEIGHT 211

class zoFont;

// ---- Settings ------------------------------------------------------------------
extern int zouDisplayMode;
extern int zouWindowWidth, zouWindowHeight;
extern int frameDepth;
extern char zouResourceLocation[256];
extern int zouDebugLevel;
extern char* zouDebugStr;
extern bool zouWindowClear;
extern float zouWindowBgColor[3];
extern float zouScreenFov, zouScreenNear, zouScreenFar;
extern int zouTimeStep;
extern int zouScreenGrabQuality, zouScreenGrabFormat;
extern int zouScreenGrabX, zouScreenGrabY, zouScreenGrabWidth, zouScreenGrabHeight;
extern void* zouScreenGrabBuffer;
extern void* zouScreenGrabFlipper;
extern bool zouScreenGrabFlip;
extern int zouVideoFPS, zouVideoProxyCount, zouVideoProxyRawWidth, zouVideoProxyRawHeight;
extern int zouVideoWidth, zouVideoHeight, zouVideoArrayWidth, zouVideoArrayHeight;
extern bool zouVideoOpened, zouVideoMirrorImage, zouVideoProxyRepeating;
extern void* zouTesselator;
extern bool zouTextInited;
extern zoFont* zoutFontList[50];
extern char zoutFontNames[50][128];
extern int zoutCurrentFont;
extern int zouFontNormalize;

// The camera's start values, set by zouInitState: field of view in degrees,
// and the near and far settings (stored for applications; the outermost frame
// derives its own clipping planes from the window's size).
#define ZOU_DEFAULT_FOV 60.0f
#define ZOU_DEFAULT_NEAR 1.5f
#define ZOU_DEFAULT_FAR 20.0f

// ---- Start-up and wind-down ----------------------------------------------------
extern "C" {
// Initialises GLUT, creates the full-screen window titled "zou", then calls
// zouInitState.
void zouOpen(void);
// The part of the start-up that needs no window: every setting to its start
// value, the global GL state (needs a current GL context) and the text table.
// zouOpen calls it once its window exists; an offscreen or other-platform start
// calls it in place of zouOpen and then sets the window size it draws for.
void zouInitState(void);
void zouClose(void);
void zouTextInit(void);
void reshape(int width, int height);
void winddown_cb(void);

// ---- Parameter store and diagnostics -------------------------------------------
void zouGetIntegerv(short code, int* values);
int zouGetInteger(short code);
void zouSetIntegerv(short code, const int* values);
void zouDebug(short level, const char* text);

// ---- Nested view frames --------------------------------------------------------
void zouOpenToviFrame(void);
void zouCloseToviFrame(void);
void frameStepUp(void);
void frameStepDown(void);
void updateToviViewConstants(void);

// How the outermost frame presents its picture when it closes: glutSwapBuffers
// in a window; an offscreen run (no window, no GLUT) points it elsewhere.
extern void (*zouPresent)(void);
}
