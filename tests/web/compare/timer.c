/* Timers: the picture changes when glutTimerFunc's callbacks fire. Two
   timers, 100 ms and 300 ms, each with its own value; the display draws the
   stage the last timer set (a square per stage that has passed, coloured by
   the timer's value) and says "drawn" once the second has fired. A menu is
   attached to the right button (never opened here): making one must not
   disturb the drawing.
   --control: no timer is set, the first picture stays. */
#include "compare.h"

static int stage;           /* timers fired so far */
static int values[2];       /* the value each timer was given */

static void tick(int value) {
    values[stage] = value;
    stage++;
    glutPostRedisplay();
}

static void chosen(int entry) {
    printf("menu entry %d\n", entry);
}

static void square(int i, int value) {
    float x = 16.0f + 72.0f * (float)i;
    glColor3f(value == 7 ? 1.0f : 0.2f, 0.55f, value == 9 ? 1.0f : 0.2f);
    glRectf(x, 96.0f, x + 64.0f, 160.0f);
}

static void display(void) {
    int i;
    glClear(GL_COLOR_BUFFER_BIT);
    /* The bar along the bottom grows with the stage. */
    glColor3f(0.92f, 0.92f, 0.2f);
    glRectf(16.0f, 16.0f, 16.0f + 80.0f * (float)(stage + 1), 48.0f);
    for (i = 0; i < stage; i++) square(i, values[i]);
    glutSwapBuffers();
    if (stage == 2 || control) {
        drawn();
    }
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 256, "compare timer");
    glClearColor(0.12f, 0.12f, 0.32f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 256.0, 0.0, 256.0, -1.0, 1.0);
    glutDisplayFunc(display);
    glutCreateMenu(chosen);
    glutAddMenuEntry("first", 1);
    glutAddMenuEntry("second", 2);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    if (!control) {
        glutTimerFunc(300, tick, 9);
        glutTimerFunc(100, tick, 7);
    }
    glutMainLoop();
    return 0;
}
