/* What the comparison programs share: their one option, --control, which
   changes one thing in the picture (the control that must fail); the window,
   at the same place on the desktop and on the page; a projection of window
   pixels; and the line that tells the harness the picture is final. */
#include <GL/freeglut.h>
#include <stdio.h>
#include <string.h>

static int control;

/* glutInit, the option, and the window of `mode` at (16, 16). */
static inline void openWindow(int* argc, char** argv, unsigned mode, int width, int height, const char* title) {
    glutInit(argc, argv);
    control = *argc > 1 && strcmp(argv[1], "--control") == 0;
    glutInitDisplayMode(mode);
    glutInitWindowSize(width, height);
    glutInitWindowPosition(16, 16);
    glutCreateWindow(title);
}

/* One unit a pixel, origin at the bottom left; the model-view current after. */
static inline void pixelProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

static inline void drawn(void) {
    puts("drawn");
    fflush(stdout);
}
