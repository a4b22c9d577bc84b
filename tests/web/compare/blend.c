/* Blending and antialiasing: over four coloured stripes, a 4x3 grid of
   half-transparent quads, each with its own blend factors (as GL 1.1 allows
   them: the source's colour only in the destination factor, and the
   destination's only in the source factor); a quad whose alpha runs from 0 to
   1, cut by the alpha test at 0.5; and, kept small (coverage is each
   rasteriser's own), smooth lines and round points.
   --control: the additive cell (GL_ONE, GL_ONE) becomes (GL_ONE, GL_ZERO). */
#include "compare.h"


static void display(void) {
    static const GLenum factors[12][2] = {
        {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, {GL_ONE, GL_ONE}, {GL_DST_COLOR, GL_ZERO},
        {GL_ONE_MINUS_DST_COLOR, GL_ONE}, {GL_SRC_ALPHA, GL_ONE}, {GL_ZERO, GL_SRC_COLOR},
        {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA}, {GL_SRC_ALPHA_SATURATE, GL_ONE}, {GL_ONE_MINUS_DST_COLOR, GL_ONE_MINUS_SRC_COLOR},
        {GL_DST_COLOR, GL_SRC_COLOR}, {GL_ZERO, GL_ONE_MINUS_SRC_COLOR}, {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},
    };
    static const GLfloat stripes[4][3] = {{0.8f, 0.2f, 0.2f}, {0.2f, 0.7f, 0.3f}, {0.2f, 0.3f, 0.9f}, {0.9f, 0.9f, 0.9f}};
    int i;
    glClear(GL_COLOR_BUFFER_BIT);
    for (i = 0; i < 4; i++) {
        glColor3fv(stripes[i]);
        glRectf(0.0f, 256.0f - 32.0f * (float)(i + 1), 256.0f, 256.0f - 32.0f * (float)i);
    }
    glEnable(GL_BLEND);
    for (i = 0; i < 12; i++) {
        float x = 8.0f + 62.0f * (float)(i % 4), y = 256.0f - 8.0f - 40.0f * (float)(i / 4 + 1);
        GLenum dst = (control && i == 1) ? GL_ZERO : factors[i][1];
        glBlendFunc(factors[i][0], dst);
        glColor4f(0.9f, 0.6f, 0.1f, 0.4f);
        glRectf(x, y, x + 54.0f, y + 36.0f);
    }
    glDisable(GL_BLEND);

    /* Alpha from 0 at the left to 1 at the right; the test keeps the right half. */
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 0.3f, 0.0f);
    glVertex2f(8.0f, 8.0f);
    glColor4f(1.0f, 1.0f, 0.3f, 1.0f);
    glVertex2f(120.0f, 8.0f);
    glVertex2f(120.0f, 40.0f);
    glColor4f(1.0f, 1.0f, 0.3f, 0.0f);
    glVertex2f(8.0f, 40.0f);
    glEnd();
    glDisable(GL_ALPHA_TEST);

    /* Antialiased lines and points, blended. */
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LINE_SMOOTH);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex2f(140.0f, 10.0f);
    glVertex2f(200.0f, 40.0f);
    glVertex2f(140.0f, 40.0f);
    glVertex2f(200.0f, 30.0f);
    glEnd();
    glDisable(GL_LINE_SMOOTH);
    glEnable(GL_POINT_SMOOTH);
    glPointSize(5.0f);
    glBegin(GL_POINTS);
    glVertex2f(220.0f, 20.0f);
    glVertex2f(236.0f, 32.0f);
    glEnd();
    glPointSize(1.0f);
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_BLEND);

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 256, "compare blend");
    glClearColor(0.15f, 0.15f, 0.15f, 0.0f);
    pixelProjection(256, 256);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
