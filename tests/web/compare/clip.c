/* Clip planes: a tilted board of coloured tiles under a perspective
   projection, cut by four planes given under different modelview matrices
   (GL keeps each in eye coordinates, transformed by the modelview's inverse
   when it is given): a slanted cut, one given under a rotation, one under a
   translation and one that cuts in depth.
   --control: the plane given under the translation moves by 0.2. */
#include "compare.h"


static void board(void) {
    int i, j;
    glBegin(GL_QUADS);
    for (j = 0; j < 10; j++)
        for (i = 0; i < 10; i++) {
            float x = -3.0f + 0.6f * (float)i, y = -3.0f + 0.6f * (float)j;
            glColor3f(0.2f + 0.08f * (float)i, 0.3f + 0.07f * (float)j, (i + j) & 1 ? 0.9f : 0.3f);
            glVertex3f(x, y, 0.0f);
            glVertex3f(x + 0.6f, y, 0.0f);
            glVertex3f(x + 0.6f, y + 0.6f, 0.0f);
            glVertex3f(x, y + 0.6f, 0.0f);
        }
    glEnd();
}

static void display(void) {
    static const GLdouble slanted[4] = {-1.0, -1.0, 0.0, 1.5};  /* x + y < 1.5 */
    static const GLdouble below[4] = {0.0, -1.0, 0.0, 1.0};     /* y < 1 */
    static const GLdouble right[4] = {1.0, 0.0, 0.0, 0.0};      /* x > 0, translated */
    static const GLdouble near[4] = {0.0, 0.0, -1.0, -4.4};     /* eye z < -4.4 */
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -5.0f);
    glClipPlane(GL_CLIP_PLANE0, slanted);
    glPushMatrix();
    glRotatef(30.0f, 0.0f, 0.0f, 1.0f);
    glClipPlane(GL_CLIP_PLANE1, below);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(control ? -1.0f : -1.2f, 0.0f, 0.0f);
    glClipPlane(GL_CLIP_PLANE2, right);
    glPopMatrix();
    glPushMatrix();
    glLoadIdentity();
    glClipPlane(GL_CLIP_PLANE3, near);
    glPopMatrix();
    glEnable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    glEnable(GL_CLIP_PLANE2);
    glEnable(GL_CLIP_PLANE3);
    glRotatef(-35.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
    board();
    glDisable(GL_CLIP_PLANE0);
    glDisable(GL_CLIP_PLANE1);
    glDisable(GL_CLIP_PLANE2);
    glDisable(GL_CLIP_PLANE3);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 256, 256, "compare clip");
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.5, 0.5, -0.5, 0.5, 1.0, 20.0);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
