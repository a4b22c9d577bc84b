/* GLUT's events as a plain program gets them, printed one per line for the
   page's test: the window (320 x 240 at 40, 30, double-buffered), reshape
   before the first display, timers, the mouse with its modifiers, keys, and a
   menu on the right button with a submenu. The clear colour is the last menu
   entry's, so the picture shows the choice too.
     q      exit(3)
     l      glutLeaveMainLoop
     c      a crosshair cursor
     i      held keys no longer repeat (glutIgnoreKeyRepeat)
     w      the window 200 x 100 at 10, 20, titled "moved"
     f, g   fill the page (glutFullScreen), back (glutLeaveFullScreen)      */
#include <GL/freeglut.h>
#include <stdio.h>
#include <stdlib.h>

static const float colours[4][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
static int colour = 0;
static int mainMenu = 0, subMenu = 0;

static void display(void) {
    const float* c = colours[colour];
    glClearColor(c[0], c[1], c[2], 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
    printf("display %d\n", colour);
}

static void reshape(int w, int h) {
    glViewport(0, 0, w, h);
    printf("reshape %d %d, window %d %d at %d %d\n", w, h, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT),
           glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y));
}

static void timer(int value) {
    printf("timer %d at least %d ms\n", value, glutGet(GLUT_ELAPSED_TIME) >= 40 * value);
    if (value < 3) glutTimerFunc(40, timer, value + 1);
}

static void mouse(int button, int state, int x, int y) {
    printf("mouse %d %d at %d %d modifiers %d\n", button, state, x, y, glutGetModifiers());
}

static void keyboard(unsigned char key, int x, int y) {
    printf("key %c modifiers %d\n", key, glutGetModifiers());
    (void)x;
    (void)y;
    if (key == 'q') exit(3);
    if (key == 'l') glutLeaveMainLoop();
    if (key == 'c') glutSetCursor(GLUT_CURSOR_CROSSHAIR);
    if (key == 'i') glutIgnoreKeyRepeat(1);
    if (key == 'w') {
        glutReshapeWindow(200, 100);
        glutPositionWindow(10, 20);
        glutSetWindowTitle("moved");
    }
    if (key == 'f') glutFullScreen();
    if (key == 'g') glutLeaveFullScreen();
}

static void keyboardUp(unsigned char key, int x, int y) {
    printf("key up %c\n", key);
    (void)x;
    (void)y;
}

static void motion(int x, int y) {
    printf("motion %d %d\n", x, y);
}

static void special(int key, int x, int y) {
    printf("special %d\n", key);
    (void)x;
    (void)y;
}

static void menu(int value) {
    printf("menu %d from %s\n", value, glutGetMenu() == subMenu ? "the submenu" : "the main menu");
    colour = value;
    glutPostRedisplay();
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(320, 240);
    glutInitWindowPosition(40, 30);
    glutCreateWindow("glut events");
    printf("window %d %d at %d %d, depth %d, double %d\n", glutGet(GLUT_WINDOW_WIDTH),
           glutGet(GLUT_WINDOW_HEIGHT), glutGet(GLUT_WINDOW_X), glutGet(GLUT_WINDOW_Y),
           glutGet(GLUT_WINDOW_DEPTH_SIZE) > 0, glutGet(GLUT_WINDOW_DOUBLEBUFFER));
    printf("modifiers outside a callback %d\n", glutGetModifiers());
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMouseFunc(mouse);
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutMotionFunc(motion);
    glutSpecialFunc(special);
    glutTimerFunc(40, timer, 1);

    subMenu = glutCreateMenu(menu);
    glutAddMenuEntry("Blue", 3);
    mainMenu = glutCreateMenu(menu);
    glutAddMenuEntry("Red", 1);
    glutAddMenuEntry("Green", 2);
    glutAddSubMenu("More", subMenu);
    glutAttachMenu(GLUT_RIGHT_BUTTON);
    glutMainLoop();
    return 0;
}
