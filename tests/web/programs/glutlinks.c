/* Every GLUT entry point a page cannot honour, called twice: each links,
   returns something sensible and says so once on the console. Then bad
   arguments: each is refused with a message and changes nothing. The
   program ends with status 0 when every answer is what it should be. */
#include <GL/freeglut.h>
#include <stdio.h>
#include <stdlib.h>

static int failed = 0;

static void expect(int ok, const char* what) {
    if (!ok) {
        printf("wrong: %s\n", what);
        failed++;
    }
}

static void nothing(void) {}
static void nothing1(int a) { (void)a; }
static void nothing2(int a, int b) { (void)a; (void)b; }
static void nothing3(int a, int b, int c) { (void)a; (void)b; (void)c; }
static void nothing4(int a, int b, int c, int d) { (void)a; (void)b; (void)c; (void)d; }
static void nothingU(unsigned int a, int b, int c, int d) { (void)a; (void)b; (void)c; (void)d; }

static void unsupported(void) {
    int i;
    for (i = 0; i < 2; i++) {
        int sub = glutCreateSubWindow(1, 0, 0, 10, 10);
        expect(sub > 1 && glutGetWindow() == sub, "a subwindow is a window of its own");
        glutSetWindow(1);
        glutDestroyWindow(sub);
        glutEstablishOverlay();
        glutUseLayer(GLUT_OVERLAY);
        glutUseLayer(GLUT_NORMAL);
        glutPostOverlayRedisplay();
        glutPostWindowOverlayRedisplay(1);
        glutShowOverlay();
        glutHideOverlay();
        glutRemoveOverlay();
        glutOverlayDisplayFunc(nothing);
        expect(glutLayerGet(GLUT_OVERLAY_POSSIBLE) == 0 && glutLayerGet(GLUT_HAS_OVERLAY) == 0, "no overlays");
        glutShowWindow();
        glutHideWindow();
        glutIconifyWindow();
        glutPushWindow();
        glutPopWindow();
        glutWarpPointer(10, 10);
        glutSetColor(1, 0.5f, 0.5f, 0.5f);
        expect(glutGetColor(1, GLUT_RED) < 0, "no colour map");
        glutCopyColormap(1);
        glutSpaceballMotionFunc(nothing3);
        glutSpaceballRotateFunc(nothing3);
        glutSpaceballButtonFunc(nothing2);
        glutButtonBoxFunc(nothing2);
        glutDialsFunc(nothing2);
        glutTabletMotionFunc(nothing2);
        glutTabletButtonFunc(nothing4);
        glutJoystickFunc(nothingU, 100);
        glutForceJoystickFunc();
        expect(glutDeviceGet(GLUT_HAS_SPACEBALL) == 0 && glutDeviceGet(GLUT_HAS_KEYBOARD) == 1 &&
                   glutDeviceGet(GLUT_NUM_MOUSE_BUTTONS) == 3, "the devices a page has");
        glutSetupVideoResizing();
        glutVideoResize(0, 0, 10, 10);
        glutVideoPan(0, 0, 10, 10);
        glutStopVideoResizing();
        expect(glutVideoResizeGet(GLUT_VIDEO_RESIZE_POSSIBLE) == 0, "no video resizing");
        glutGameModeString("640x480:32@60");
        expect(glutGameModeGet(GLUT_GAME_MODE_POSSIBLE) == 0, "no game mode");
        expect(glutEnterGameMode() == 0, "game mode is not entered");
        glutLeaveGameMode();
        expect(glutExtensionSupported("GL_ARB_multitexture") == 0, "no extensions");
        expect(glutGetProcAddress("glutSolidTeapot") == 0, "no extension functions");
        glutMainLoopEvent();
        glutReportErrors();
        glutInitDisplayString("rgb double depth");
        glutSetIconTitle("icon");
        glutMenuStatusFunc(nothing3);
        glutMenuStateFunc(nothing1);
        glutVisibilityFunc(nothing1);
        glutWindowStatusFunc(nothing1);
        glutEntryFunc(nothing1);
        glutMouseWheelFunc(nothing4);
        glutPositionFunc(nothing2);
        glutCloseFunc(nothing);
        glutWMCloseFunc(nothing);
        glutMenuDestroyFunc(nothing);
        glutSetKeyRepeat(GLUT_KEY_REPEAT_OFF);
        glutIgnoreKeyRepeat(1);
        glutInitContextVersion(2, 1);
        glutInitContextFlags(0);
        glutInitContextProfile(GLUT_COMPATIBILITY_PROFILE);
        glutSetWindowData(&failed);
        expect(glutGetWindowData() == &failed, "window data");
    }
}

static void bad(void) {
    int menu = glutCreateMenu(nothing1);
    glutAddMenuEntry("one", 1);
    glutSetWindow(99);
    expect(glutGetWindow() == 1, "glutSetWindow(99) leaves window 1 current");
    glutRemoveMenuItem(7);
    glutChangeToMenuEntry(0, "zero", 0);
    glutAddSubMenu("itself", menu);
    expect(glutGet(GLUT_MENU_NUM_ITEMS) == 1, "the menu keeps its one item");
    glutSetMenu(42);
    expect(glutGetMenu() == menu, "glutSetMenu(42) leaves the menu current");
    glutSetCursor(999);
    expect(glutGet(GLUT_WINDOW_CURSOR) == GLUT_CURSOR_RIGHT_ARROW, "a bad cursor changes nothing");
    expect(glutGet(0x7777) == -1, "an unknown glutGet query answers -1");
    glutInitWindowSize(-1, 5);
    expect(glutGet(GLUT_INIT_WINDOW_WIDTH) == 64, "a bad initial size changes nothing");
    glutReshapeWindow(0, 10);
    expect(glutGet(GLUT_WINDOW_WIDTH) == 64, "a bad window size changes nothing");
    glutSetKeyRepeat(5);
    expect(glutDeviceGet(GLUT_DEVICE_KEY_REPEAT) == GLUT_KEY_REPEAT_OFF, "a bad key repeat mode changes nothing");
    glutAttachMenu(7);
    glutDestroyMenu(42);
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitWindowSize(64, 48);
    glutCreateWindow("glut entry points");
    unsupported();
    bad();
    printf("glutlinks: %d wrong\n", failed);
    return failed == 0 ? 0 : 1;
}
