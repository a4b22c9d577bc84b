/* Lighting: two boards of 24x24 small quads (lit at every vertex, so the
   pictures agree however each side interpolates), under a perspective
   projection with a local viewer.
   - Left: its front faces the eye, lit by a spot light (cut-off 25 degrees,
     exponent 8, attenuation) at a point before it, and a dim directional
     light; shiny.
   - Right: turned so that its back faces the eye, with two-sided lighting
     and a back material of another colour.
   --control: the spot's cut-off is 22 degrees instead of 25. */
#include "compare.h"


static void board(void) {
    const int n = 24;
    int i, j;
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    for (j = 0; j < n; j++)
        for (i = 0; i < n; i++) {
            float x = -1.0f + 2.0f * (float)i / (float)n, y = -1.0f + 2.0f * (float)j / (float)n, d = 2.0f / (float)n;
            glVertex3f(x, y, 0.0f);
            glVertex3f(x + d, y, 0.0f);
            glVertex3f(x + d, y + d, 0.0f);
            glVertex3f(x, y + d, 0.0f);
        }
    glEnd();
}

static void display(void) {
    static const GLfloat spotPosition[4] = {-0.6f, 0.3f, -2.0f, 1.0f};
    static const GLfloat spotDirection[3] = {-0.3f, -0.4f, -1.0f};
    static const GLfloat spotColor[4] = {1.0f, 0.95f, 0.8f, 1.0f};
    static const GLfloat dimDirection[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    static const GLfloat dimColor[4] = {0.35f, 0.4f, 0.6f, 1.0f};
    static const GLfloat frontDiffuse[4] = {0.8f, 0.7f, 0.5f, 1.0f};
    static const GLfloat backDiffuse[4] = {0.3f, 0.8f, 0.4f, 1.0f};
    static const GLfloat specular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    /* Lights given in eye coordinates. */
    glLightfv(GL_LIGHT0, GL_POSITION, spotPosition);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, spotDirection);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, spotColor);
    glLightfv(GL_LIGHT0, GL_SPECULAR, spotColor);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, control ? 22.0f : 25.0f);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 8.0f);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 0.6f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.15f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.05f);
    glLightfv(GL_LIGHT1, GL_POSITION, dimDirection);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, dimColor);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, frontDiffuse);
    glMaterialfv(GL_BACK, GL_DIFFUSE, backDiffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 24.0f);

    glPushMatrix();
    glTranslatef(-1.05f, 0.0f, -4.0f);
    glRotatef(15.0f, 0.0f, 1.0f, 0.0f);
    board();
    glPopMatrix();

    glPushMatrix();
    glTranslatef(1.05f, 0.0f, -4.0f);
    glRotatef(200.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-20.0f, 1.0f, 0.0f, 0.0f);
    board();
    glPopMatrix();

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 256, 256, "compare light");
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.6, 0.6, -0.6, 0.6, 1.5, 20.0);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
