/* The plain single-buffered program: GLUT_SINGLE, one display callback that
   draws a white square and calls glFlush, glutMainLoop.
   --control: the square reaches to 0.8 instead of 0.75. */
#include <GL/freeglut.h>
#include <stdio.h>
#include <string.h>

static int control;

static void display(void) {
    float right = control ? 0.8f : 0.75f;
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_POLYGON);
    glVertex3f(0.25f, 0.25f, 0.0f);
    glVertex3f(right, 0.25f, 0.0f);
    glVertex3f(right, 0.75f, 0.0f);
    glVertex3f(0.25f, 0.75f, 0.0f);
    glEnd();
    glFlush();
    puts("drawn");
    fflush(stdout);
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    control = argc > 1 && strcmp(argv[1], "--control") == 0;
    glutInitDisplayMode(GLUT_SINGLE | GLUT_RGB);
    glutInitWindowSize(250, 250);
    glutInitWindowPosition(100, 100);
    glutCreateWindow("compare single");
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
