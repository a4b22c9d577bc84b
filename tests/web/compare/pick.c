/* Selection: a 4 x 4 grid of squares named by row and column (nested names),
   each at its own depth under a depth range of [0.25, 0.75], and a bar across
   two of them under a third name. Picked with gluPickMatrix at several
   places; each pick prints its hit count and the records (names, least and
   greatest depth as unsigned integers). The last pick has a buffer too small
   (-1). The grid is drawn too.
   --control: the second pick is 16 pixels further right. */
#include "compare.h"

#define SIZE 256

/* The depth of square k (0..15): exact binary fractions in the window. */
static float depthOf(int k) { return (float)(k - 8) / 8.0f; }

static void square(int i, int j, int names) {
    float x = 16.0f + 64.0f * (float)i, y = 16.0f + 64.0f * (float)j, z = depthOf(i + 4 * j);
    if (names) glPushName((GLuint)i);
    glColor3f(0.2f + 0.2f * (float)i, 0.2f + 0.2f * (float)j, 0.5f);
    glBegin(GL_QUADS);
    glVertex3f(x, y, z);
    glVertex3f(x + 48.0f, y, z);
    glVertex3f(x + 48.0f, y + 48.0f, z);
    glVertex3f(x, y + 48.0f, z);
    glEnd();
    if (names) glPopName();
}

static void scene(int names) {
    int i, j;
    for (j = 0; j < 4; j++) {
        if (names) glPushName(100u + (GLuint)j);
        for (i = 0; i < 4; i++) square(i, j, names);
        if (names) glPopName();
    }
    /* The bar, at depth 0, over squares (1, 2) and (2, 2). */
    if (names) glLoadName(7);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRectf(70.0f, 150.0f, 180.0f, 160.0f);
}

static void pick(double x, double y, double w, double h, GLsizei size) {
    GLuint hits[256];
    GLint viewport[4], n, k, at = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(size, hits);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(x, y, w, h, viewport);
    glOrtho(0.0, SIZE, 0.0, SIZE, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    scene(1);
    n = glRenderMode(GL_RENDER);
    printf("pick %g %g %gx%g: %d\n", x, y, w, h, n);
    for (k = 0; k < n; k++) {
        GLuint names = hits[at], i;
        printf("  names %u depth %u %u:", names, hits[at + 1], hits[at + 2]);
        for (i = 0; i < names; i++) printf(" %u", hits[at + 3 + i]);
        printf("\n");
        at += 3 + (GLint)names;
    }
}

static void display(void) {
    GLint depth;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    pick(40.0, 40.0, 4.0, 4.0, 256);          /* square (0, 0) */
    pick(control ? 136.0 : 104.0, 104.0, 4.0, 4.0, 256); /* (1, 1), or a gap */
    pick(128.0, 155.0, 40.0, 4.0, 256);       /* the bar over (1, 2) and (2, 2) */
    pick(136.0, 136.0, 40.0, 40.0, 256);      /* a gap, four corners, the bar */
    pick(72.0, 8.0, 4.0, 4.0, 256);           /* below the grid: nothing */
    pick(128.0, 128.0, 256.0, 256.0, 20);     /* everything, into 20 values */
    glGetIntegerv(GL_MAX_NAME_STACK_DEPTH, &depth);
    printf("max name stack depth %d\n", depth);
    pixelProjection(SIZE, SIZE);
    scene(0);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, SIZE, SIZE, "compare pick");
    glEnable(GL_DEPTH_TEST);
    glDepthRange(0.25, 0.75);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
