// The framework's start-up and wind-down, its parameter store and diagnostic
// channel, and the nested view frames.
#include "framework/zou.h"
#include "framework/zouSettings.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <type_traits>

// ---- Settings: defined by their table, with their values at load -------------
#define ZOU_DEFINE(type, name, atLoad, afterStart, code, readable, writable) zouType<type> name{atLoad};
ZOU_SETTINGS(ZOU_DEFINE)
#undef ZOU_DEFINE

// Storing a row's value: element by element into arrays, text by copy.
template <class T, class V>
static void store(T& setting, const V& value) {
    setting = value;
}
template <std::size_t N>
static void store(char (&text)[N], const char* value) {
    std::snprintf(text, N, "%s", value);
}
template <class T, std::size_t N, class V>
static void store(T (&setting)[N], const V& value) {
    for (T& element : setting) store(element, value);
}

// What zouInitState does with a row's start-up column.
template <class T, class V>
static void startUp(T& setting, const V& value) {
    store(setting, value);
}
template <class T>
static void startUp(T&, zouUnchanged) {}
template <class T, class V>
static void startUp(T&, zouByTextInit<V>) {}
static void startUp(char*& block, zouNewBlock size) {
    block = static_cast<char*>(std::malloc(size.bytes));
}

// What zouTextInit does with it: only its own rows.
template <class T, class V>
static void textStart(T&, const V&) {}
template <class T, class V>
static void textStart(T& setting, zouByTextInit<V> value) {
    store(setting, value.value);
}

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
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Every setting to its row's start value; the window's size arrives with
    // its first reshape.
#define ZOU_START(type, name, atLoad, afterStart, code, readable, writable) startUp(name, afterStart);
    ZOU_SETTINGS(ZOU_START)
#undef ZOU_START
    zouTextInit();

    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

void zouTextInit(void) {
#define ZOU_TEXT(type, name, atLoad, afterStart, code, readable, writable) textStart(name, afterStart);
    ZOU_SETTINGS(ZOU_TEXT)
#undef ZOU_TEXT
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

// The store: one entry per code, the single ones from their settings' rows,
// the groups from theirs; the variables in the order their values are passed.
struct ParamCode {
    short code;
    bool readable, writable;
    int n;
    int* v[4];
};

// Only int settings have a code (checked below); the others have no slot.
static constexpr int* intSlot(int& setting) { return &setting; }
template <class T>
static constexpr int* intSlot(T&) { return nullptr; }

template <class... Ints>
static constexpr ParamCode group(short code, bool readable, bool writable, Ints&... settings) {
    return {code, readable, writable, int(sizeof...(settings)), {&settings...}};
}

#define ZOU_CHECK_ROW(type, name, atLoad, afterStart, code, readable, writable)               \
    static_assert(code == 0 ? !(readable || writable) : std::is_same<type, int>::value, \
                  #name ": only an int setting has a code, and only a code is read or written");
ZOU_SETTINGS(ZOU_CHECK_ROW)
#undef ZOU_CHECK_ROW

#define ZOU_SINGLE(type, name, atLoad, afterStart, code, readable, writable) \
    {code, readable, writable, 1, {intSlot(name)}},
#define ZOU_GROUP(code, readable, writable, ...) group(code, readable, writable, __VA_ARGS__),
static constexpr ParamCode paramCodes[] = {ZOU_SETTINGS(ZOU_SINGLE) ZOU_PARAM_GROUPS(ZOU_GROUP)};
#undef ZOU_SINGLE
#undef ZOU_GROUP

static constexpr bool codesAreDistinct() {
    for (const ParamCode& a : paramCodes)
        for (const ParamCode& b : paramCodes)
            if (&a != &b && a.code != 0 && a.code == b.code) return false;
    return true;
}
static_assert(codesAreDistinct(), "two rows share a parameter code");

// The entry of a code; rows without a code are neither readable nor writable,
// so code 0 finds nothing usable either.
static const ParamCode* findCode(short code) {
    for (const ParamCode& p : paramCodes)
        if (p.code == code) return &p;
    return nullptr;
}

void zouGetIntegerv(short code, int* values) {
    const ParamCode* p = findCode(code);
    if (!p || !p->readable) {
        zouDebug(2, "Bad parameter passed to zouGetIntegerv");
        return;
    }
    if (!values) {
        zouDebug(2, "Null value array passed to zouGetIntegerv");
        return;
    }
    for (int i = 0; i < p->n; ++i) values[i] = *p->v[i];
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
    const ParamCode* p = findCode(code);
    if (!p || !p->writable) {
        zouDebug(2, "Bad parameter passed to zouSetIntegerv");
        return;
    }
    if (!values) {
        zouDebug(2, "Null value array passed to zouSetIntegerv");
        return;
    }
    for (int i = 0; i < p->n; ++i) *p->v[i] = values[i];

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
