// The application object and the GLUT callbacks that turn window-system events
// into virtual calls on it.
#include "framework/zoApp.h"

#include "framework/zou.h"

#include <GL/freeglut.h>

#include <cstdio>

zoApp* apps[ZOU_MAX_WINDOWS];
int lastMouseButton = 0;
bool validWindowSize = false;
int fullScreen = 1;  // zouOpen asks for a full-screen window
int haveShrunk = 0;
int windowedX = 0, windowedY = 0, windowedW = 0, windowedH = 0;

// The application serving the window GLUT made current for this event, or null
// when that window has none: identifiers beyond the table never get an entry.
static zoApp* currentApp() {
    int window = glutGetWindow();
    if (window < 0 || window >= ZOU_MAX_WINDOWS) return nullptr;
    return apps[window];
}

// GLUT counts rows from the top; the application counts them from the bottom,
// as the outermost frame's camera does.
// Wide arithmetic keeps an absurd stored height from overflowing.
static float flipY(int y) {
    return static_cast<float>(static_cast<long long>(zouWindowHeight) - 1 - y);
}

// ---- zoApp -----------------------------------------------------------------------

zoApp::zoApp() : X(0), Y(0), W(100), H(100) {
    validWindowSize = false;
}

void zoApp::idle() {}
void zoApp::draw() {}

// Binds this object to the current window and routes the window's events to it.
static void registerApp(zoApp* app, const char* caller) {
    int window = glutGetWindow();
    if (window >= 0 && window < ZOU_MAX_WINDOWS) {
        apps[window] = app;
    } else {
        char text[80];
        std::snprintf(text, sizeof text, "Bad window identifier %d passed to %s", window, caller);
        zouDebug(2, text);
    }
    // The callbacks are registered either way: GLUT insists on a display
    // callback, and for a window without an entry they do nothing.
    glutDisplayFunc(display_cb);
    glutMouseFunc(mouse_cb);
    glutMotionFunc(motion_cb);
    glutPassiveMotionFunc(passive_motion_cb);
    glutIdleFunc(idle_cb);
    glutKeyboardFunc(keyboard_cb);
    glutSpecialFunc(special_key_cb);
    glutReshapeFunc(nullptr);
    glutReshapeFunc(reshape_cb);
}

void zoApp::selfStart() {
    registerApp(this, "selfStart");
    int size[2];
    zouGetIntegerv(ZOU_WINDOW_SIZE, size);
    resize(0, 0, static_cast<float>(size[0]), static_cast<float>(size[1]));
    setFocus(true);
    glutMainLoop();
}

void zoApp::subStart() {
    registerApp(this, "subStart");
}

void zoApp::setFocus(bool focus) { (void)focus; }
void zoApp::setParent(void* parent) { (void)parent; }

void zoApp::resize(float x, float y, float w, float h) {
    X = x;
    Y = y;
    W = w;
    H = h;
}

bool zoApp::pointInside(float x, float y) {
    return x >= 0 && y >= 0 && x < W && y < H;
}

void zoApp::mouseMove(float x, float y) { (void)x, (void)y; }
void zoApp::mouseDown(float x, float y, int button) { (void)x, (void)y, (void)button; }
void zoApp::mouseDrag(float x, float y) { (void)x, (void)y; }
void zoApp::mouseDrag(float x, float y, int button) { (void)x, (void)y, (void)button; }
void zoApp::mouseUp(float x, float y, int button) { (void)x, (void)y, (void)button; }

void zoApp::keyDown(char key) {
    if (key == 27) zouClose();
}

void zoApp::specialKeyDown(int key) {
    if (key != GLUT_KEY_F1) return;
    if (fullScreen) {
        // The first time, the windowed geometry is the full-screen one less fixed
        // margins; later it is what the window had when it last went full screen.
        if (haveShrunk == 0) {
            haveShrunk = 1;
            windowedW = zouWindowWidth - 70;
            windowedH = zouWindowHeight - 90;
            windowedX = 35;
            windowedY = 55;
        }
        fullScreen = 0;
        const int size[2] = {windowedW, windowedH};
        zouSetIntegerv(ZOU_WINDOW_SIZE, size);
        glutPositionWindow(windowedX, windowedY);
    } else {
        fullScreen = 1;
        windowedX = glutGet(GLUT_WINDOW_X);
        windowedY = glutGet(GLUT_WINDOW_Y);
        windowedW = static_cast<int>(W);
        windowedH = static_cast<int>(H);
        glutFullScreen();
    }
}

// ---- GLUT callbacks --------------------------------------------------------------

void display_cb(void) {
    zoApp* app = currentApp();
    if (!app) return;
    if (!validWindowSize) validWindowSize = (zouGetInteger(ZOU_WINDOW_WIDTH) != 0);
    if (!validWindowSize) return;
    zouOpenToviFrame();
    app->draw();
    zouCloseToviFrame();
}

void mouse_cb(int button, int state, int x, int y) {
    zoApp* app = currentApp();
    if (!app) return;
    if (state == GLUT_DOWN)
        app->mouseDown(static_cast<float>(x), flipY(y), button);
    else if (state == GLUT_UP)
        app->mouseUp(static_cast<float>(x), flipY(y), button);
    lastMouseButton = button;
}

void motion_cb(int x, int y) {
    zoApp* app = currentApp();
    if (!app) return;
    app->mouseDrag(static_cast<float>(x), flipY(y));
    app->mouseDrag(static_cast<float>(x), flipY(y), lastMouseButton);
}

void passive_motion_cb(int x, int y) {
    zoApp* app = currentApp();
    if (!app) return;
    app->mouseMove(static_cast<float>(x), flipY(y));
}

void idle_cb(void) {
    zoApp* app = currentApp();
    if (!app) return;
    app->idle();
    glutPostRedisplay();
}

void keyboard_cb(unsigned char key, int x, int y) {
    (void)x, (void)y;
    zoApp* app = currentApp();
    if (!app) return;
    app->keyDown(static_cast<char>(key));
}

void special_key_cb(int key, int x, int y) {
    (void)x, (void)y;
    zoApp* app = currentApp();
    if (!app) return;
    app->specialKeyDown(key);
}

void reshape_cb(int width, int height) {
    zoApp* app = currentApp();
    if (!app) return;
    zouWindowWidth = width;
    zouWindowHeight = height;
    app->resize(0, 0, static_cast<float>(width), static_cast<float>(height));
}
