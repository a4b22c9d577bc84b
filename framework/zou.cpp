// The framework's start-up and wind-down, its parameter store and diagnostic
// channel, and the nested view frames.
#include "framework/zou.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// ---- Settings, with their values at load ----------------------------------------
int zouDisplayMode = GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB;  // 18
int zouWindowWidth = 0, zouWindowHeight = 0;
int frameDepth = 0;
char zouResourceLocation[256];
int zouDebugLevel = 0;
char* zouDebugStr = nullptr;
bool zouWindowClear = false;
float zouWindowBgColor[3] = {0, 0, 0};
float zouScreenFov = 0, zouScreenNear = 0, zouScreenFar = 0;
int zouTimeStep = 1;
int zouScreenGrabQuality = 0, zouScreenGrabFormat = 0;
int zouScreenGrabX = 0, zouScreenGrabY = 0, zouScreenGrabWidth = 0, zouScreenGrabHeight = 0;
void* zouScreenGrabBuffer = nullptr;
void* zouScreenGrabFlipper = nullptr;
bool zouScreenGrabFlip = false;
int zouVideoFPS = 0, zouVideoProxyCount = 0, zouVideoProxyRawWidth = 0, zouVideoProxyRawHeight = 0;
int zouVideoWidth = 0, zouVideoHeight = 0, zouVideoArrayWidth = 0, zouVideoArrayHeight = 0;
bool zouVideoOpened = false, zouVideoMirrorImage = false, zouVideoProxyRepeating = false;
void* zouTesselator = nullptr;
bool zouTextInited = false;
zoFont* zoutFontList[50];
char zoutFontNames[50][128];
int zoutCurrentFont = 0;
int zouFontNormalize = 1;

// Idle ticks left before the process ends; counted down by winddown_cb.
static int winddownCount = 0;

// ---- Start-up and wind-down ------------------------------------------------------

void zouOpen(void) {
    // GLUT sees a fixed argument vector, never the process's command line.
    static char argv0[] = "zou";
    static char* argv[] = {argv0, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(zouDisplayMode);
    glutCreateWindow("zou");
    glutFullScreen();
    glutReshapeFunc(reshape);
    zouInitState();
}

void zouInitState(void) {
    // The window's size arrives with its first reshape.
    zouWindowWidth = 0;
    zouWindowHeight = 0;
    frameDepth = 0;
    std::snprintf(zouResourceLocation, sizeof zouResourceLocation, "%s", "C:/zoWindow/");

    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    zouDebugLevel = 3;
    zouDebugStr = static_cast<char*>(std::malloc(64));
    zouWindowClear = true;
    zouWindowBgColor[0] = zouWindowBgColor[1] = zouWindowBgColor[2] = 0;

    zouVideoOpened = false;
    zouVideoMirrorImage = false;
    zouVideoProxyCount = -1;
    zouVideoProxyRepeating = false;
    zouVideoProxyRawWidth = 0;
    zouVideoProxyRawHeight = 0;
    zouVideoFPS = 15;
    zouTesselator = nullptr;
    zouTextInited = false;
    zouTextInit();

    zouScreenNear = ZOU_DEFAULT_NEAR;
    zouScreenFar = ZOU_DEFAULT_FAR;
    zouScreenFov = ZOU_DEFAULT_FOV;
    zouScreenGrabQuality = 100;
    zouScreenGrabBuffer = nullptr;
    zouScreenGrabFlip = true;
    zouScreenGrabFlipper = nullptr;
    zouScreenGrabFormat = 40;
    zouScreenGrabX = zouScreenGrabY = zouScreenGrabWidth = zouScreenGrabHeight = 0;

    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

void zouTextInit(void) {
    for (int i = 0; i < 50; ++i) {
        zoutFontList[i] = nullptr;
        zoutFontNames[i][0] = '\0';
    }
    zoutCurrentFont = -1;
    zouTextInited = true;
}

void reshape(int width, int height) {
    zouWindowWidth = width;
    zouWindowHeight = height;
}

void zouClose(void) {
    const int size[2] = {100, 100};
    zouSetIntegerv(ZOU_WINDOW_SIZE, size);
    // Replacing the idle callback stops the application's idle and the redisplay
    // requests that came with it.
    glutIdleFunc(winddown_cb);
    winddownCount = 5;
}

void winddown_cb(void) {
    if (winddownCount == 1)
        std::exit(0);
    else if (winddownCount > 1)
        --winddownCount;
}

// ---- Parameter store and diagnostics ---------------------------------------------

// The variables behind a code, in the order their values are passed; n is 0 for
// a code the store does not know. Read-only codes are marked so that a set is
// rejected.
struct ParamSlots {
    int* v[4];
    int n;
    bool settable;
};

static ParamSlots paramSlots(short code) {
    switch (code) {
    case ZOU_DEBUG_LEVEL: return {{&zouDebugLevel}, 1, true};
    case ZOU_WINDOW_WIDTH: return {{&zouWindowWidth}, 1, false};
    case ZOU_WINDOW_HEIGHT: return {{&zouWindowHeight}, 1, false};
    case ZOU_WINDOW_SIZE: return {{&zouWindowWidth, &zouWindowHeight}, 2, true};
    case ZOU_SCREEN_GRAB_QUALITY: return {{&zouScreenGrabQuality}, 1, true};
    case ZOU_SCREEN_GRAB_FORMAT: return {{&zouScreenGrabFormat}, 1, true};
    case ZOU_SCREEN_GRAB_X: return {{&zouScreenGrabX}, 1, true};
    case ZOU_SCREEN_GRAB_Y: return {{&zouScreenGrabY}, 1, true};
    case ZOU_SCREEN_GRAB_WIDTH: return {{&zouScreenGrabWidth}, 1, true};
    case ZOU_SCREEN_GRAB_HEIGHT: return {{&zouScreenGrabHeight}, 1, true};
    case ZOU_SCREEN_GRAB_RECT:
        return {{&zouScreenGrabX, &zouScreenGrabY, &zouScreenGrabWidth, &zouScreenGrabHeight}, 4, true};
    case ZOU_TIME_STEP: return {{&zouTimeStep}, 1, true};
    case ZOU_VIDEO_WIDTH: return {{&zouVideoWidth}, 1, false};
    case ZOU_VIDEO_HEIGHT: return {{&zouVideoHeight}, 1, false};
    case ZOU_VIDEO_SIZE: return {{&zouVideoWidth, &zouVideoHeight}, 2, false};
    case ZOU_VIDEO_ARRAY_WIDTH: return {{&zouVideoArrayWidth}, 1, true};
    case ZOU_VIDEO_ARRAY_HEIGHT: return {{&zouVideoArrayHeight}, 1, true};
    case ZOU_VIDEO_ARRAY_SIZE: return {{&zouVideoArrayWidth, &zouVideoArrayHeight}, 2, true};
    case ZOU_VIDEO_FPS: return {{&zouVideoFPS}, 1, true};
    case ZOU_VIDEO_PROXY_COUNT: return {{&zouVideoProxyCount}, 1, true};
    case ZOU_VIDEO_PROXY_RAW_WIDTH: return {{&zouVideoProxyRawWidth}, 1, true};
    case ZOU_VIDEO_PROXY_RAW_HEIGHT: return {{&zouVideoProxyRawHeight}, 1, true};
    default: return {{nullptr}, 0, false};
    }
}

void zouGetIntegerv(short code, int* values) {
    ParamSlots p = paramSlots(code);
    if (p.n == 0) {
        zouDebug(2, "Bad parameter passed to zouGetIntegerv");
        return;
    }
    if (!values) {
        zouDebug(2, "Null value array passed to zouGetIntegerv");
        return;
    }
    for (int i = 0; i < p.n; ++i) values[i] = *p.v[i];
}

int zouGetInteger(short code) {
    // Room for the widest code, so that a multi-value code handed here by
    // mistake yields its first value instead of writing past the local; a
    // rejected code writes nothing, so the caller gets a defined 0.
    int values[4] = {0, 0, 0, 0};
    zouGetIntegerv(code, values);
    return values[0];
}

void zouSetIntegerv(short code, const int* values) {
    ParamSlots p = paramSlots(code);
    if (p.n == 0 || !p.settable) {
        zouDebug(2, "Bad parameter passed to zouSetIntegerv");
        return;
    }
    if (!values) {
        zouDebug(2, "Null value array passed to zouSetIntegerv");
        return;
    }
    for (int i = 0; i < p.n; ++i) *p.v[i] = values[i];

    if (code == ZOU_WINDOW_SIZE) {
        // The sizes are kept as given, but GLUT is asked for at least 1 x 1: X
        // answers a zero size with a BadValue error that ends the process, and
        // reads a negative one as a 16-bit unsigned size near 65535, a window
        // the GL driver cannot present (Mesa's buffer swap crashes on it).
        glutReshapeWindow(zouWindowWidth > 0 ? zouWindowWidth : 1, zouWindowHeight > 0 ? zouWindowHeight : 1);
        std::free(zouScreenGrabBuffer);
        std::free(zouScreenGrabFlipper);
        zouScreenGrabBuffer = nullptr;
        zouScreenGrabFlipper = nullptr;
    }
}

void zouDebug(short level, const char* text) {
    if (level <= zouDebugLevel) std::fprintf(stderr, "%s\n", text ? text : "");
    if (level == 1) std::exit(-1);
}

// ---- Nested view frames ----------------------------------------------------------

// The camera of the outermost frame, cached for the window size it was computed
// for; the values at load suit a 640 x 480 window.
static float viewDistance = 100;
static float viewNear = 10;
static float viewFar = 1000;
static float viewAspect = 4.0f / 3.0f;
static float viewCenterX = 320;
static float viewCenterY = 240;
static int lastFrameWidth = 0, lastFrameHeight = 0;

void frameStepUp(void) {
    if (frameDepth > 10) {
        char warning[80];
        std::snprintf(warning, sizeof warning, "Warning, frameDepth already at %d\n", frameDepth);
        zouDebug(2, warning);
    }
    if (frameDepth == 0) {
        glViewport(0, 0, zouWindowWidth, zouWindowHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    } else {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
    }
    frameDepth += 1;
}

void (*zouPresent)(void) = glutSwapBuffers;

void frameStepDown(void) {
    frameDepth -= 1;
    if (frameDepth == 0) {
        zouPresent();
    } else {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
}

void updateToviViewConstants(void) {
    // A window without height has no aspect and no camera distance; the camera of
    // the last real size stays until the window gets one.
    if (zouWindowHeight <= 0) return;
    viewCenterX = zouWindowWidth * 0.5f;
    viewCenterY = zouWindowHeight * 0.5f;
    float halfFov = static_cast<float>(zouScreenFov * M_PI * (1.0 / 360.0));
    float tangent = static_cast<float>(std::tan(static_cast<double>(halfFov)));
    viewDistance = viewCenterY / tangent;
    viewNear = viewDistance * 0.1f;
    viewFar = viewDistance * 10.0f;
    viewAspect = static_cast<float>(zouWindowWidth) / static_cast<float>(zouWindowHeight);
}

void zouOpenToviFrame(void) {
    const bool outermost = (frameDepth == 0);
    frameStepUp();
    if (outermost && (zouWindowHeight != lastFrameHeight || zouWindowWidth != lastFrameWidth)) {
        lastFrameHeight = zouWindowHeight;
        lastFrameWidth = zouWindowWidth;
        updateToviViewConstants();
    }

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);

    if (outermost && zouWindowClear) {
        glClearColor(zouWindowBgColor[0], zouWindowBgColor[1], zouWindowBgColor[2], 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glDisable(GL_TEXTURE_2D);

    if (outermost) {
        // The modelview matrix is still the identity, so light 0 shines from the
        // camera's direction in eye coordinates.
        const GLfloat lightPosition[4] = {viewCenterX, viewCenterY, viewDistance, 0};
        glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
        glMatrixMode(GL_PROJECTION);
        gluPerspective(zouScreenFov, viewAspect, viewNear, viewFar);
        gluLookAt(viewCenterX, viewCenterY, viewDistance, viewCenterX, viewCenterY, 0, 0, 1, 0);
        glMatrixMode(GL_MODELVIEW);
    }
}

void zouCloseToviFrame(void) {
    frameStepDown();
}
