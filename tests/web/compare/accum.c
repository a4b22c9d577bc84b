/* The accumulation buffer, one cell of 128 x 128 each, every operation under
   the cell's scissor box. Top left, a triangle and a thin bar drawn eight
   times a fraction of a pixel apart, each accumulated by 1/8: returned by 1
   above (antialiased), and below less 7/8 and returned by 8 (the pixels all
   eight samples cover). Top right, stripes of 0 and 1 loaded at half, then
   ADD -1/4 and MULT -4 (values of -1 and 1), returned by 1 above and -1
   below. Bottom left, a pattern returned into a smaller box under a colour
   mask without green, blending on (which the return ignores). Bottom right,
   the buffer cleared to one value in a box and another around it, then ADD
   and MULT. Mesa converts what the accumulation buffer reads and returns as
   sRGB, so the values returned are 0 or 1 except at the antialiased edges;
   and no value leaves [-1, 1], where GL leaves the results undefined.
   --control: the stripes' MULT of -4 becomes -2. */
#include "compare.h"

static void cell(int x, int y, int w, int h) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, w, h);
}

/* A white triangle and a thin red bar across it. */
static void scene(void) {
    static const GLfloat v[9][2] = {{12, 140}, {116, 166}, {40, 248}, {20, 230}, {120, 180},
                                    {121.5f, 183}, {20, 230}, {121.5f, 183}, {21.5f, 233}};
    int i;
    glBegin(GL_TRIANGLES);
    for (i = 0; i < 9; i++) {
        glColor3f(1.0f, i < 3 ? 1.0f : 0.0f, i < 3 ? 1.0f : 0.0f);
        glVertex2fv(v[i]);
    }
    glEnd();
}

static void stripes(float x, float y) {
    static const GLfloat colours[4][3] = {{1, 0, 0}, {0, 1, 1}, {1, 1, 0}, {0, 0, 1}};
    int i;
    for (i = 0; i < 4; i++) {
        glColor3fv(colours[i]);
        glRectf(x + 32.0f * (float)i, y, x + 32.0f * (float)(i + 1), y + 128.0f);
    }
}

static void display(void) {
    int i;
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.1f, 0.1f, 0.15f, 0.0f);
    glClearAccum(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_ACCUM_BUFFER_BIT);

    /* Eight projections, one sample in each eighth of a pixel's columns and rows. */
    cell(0, 128, 128, 128);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    for (i = 0; i < 8; i++) {
        double dx = (i + 0.5) / 8.0 - 0.5, dy = ((3 * i) % 8 + 0.5) / 8.0 - 0.5;
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-dx, 256.0 - dx, -dy, 256.0 - dy, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        scene();
        glAccum(GL_ACCUM, 1.0f / 8.0f);
    }
    pixelProjection(256, 256);
    cell(0, 192, 128, 64);
    glAccum(GL_RETURN, 1.0f);
    cell(0, 128, 128, 64);
    glAccum(GL_ADD, -7.0f / 8.0f);
    glAccum(GL_RETURN, 8.0f);

    /* c/2 - 1/4, times -4: -1 where c is 1, 1 where it is 0. */
    cell(128, 128, 128, 128);
    stripes(128.0f, 128.0f);
    glAccum(GL_LOAD, 0.5f);
    glAccum(GL_ADD, -0.25f);
    glAccum(GL_MULT, control ? -2.0f : -4.0f);
    cell(128, 192, 128, 64);
    glAccum(GL_RETURN, 1.0f);
    cell(128, 128, 128, 64);
    glAccum(GL_RETURN, -1.0f);

    /* Red and blue of the pattern into the inner box only; green stays the grey's. */
    cell(0, 0, 128, 128);
    stripes(0.0f, 0.0f);
    glColor3f(1.0f, 0.0f, 1.0f);
    glRectf(24.0f, 24.0f, 64.0f, 104.0f);
    glAccum(GL_LOAD, 1.0f);
    glClearColor(0.3f, 0.3f, 0.3f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_TRUE);
    cell(16, 8, 96, 80);
    glAccum(GL_RETURN, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_BLEND);

    /* -(x + 1/4) returned by -4: 1 from 0 up, 0 from -1/4 down (-1/2 kept negative). */
    cell(128, 0, 128, 128);
    glClearAccum(-0.5f, 0.5f, -0.5f, 0.0f);
    glClear(GL_ACCUM_BUFFER_BIT);
    cell(160, 24, 64, 80);
    glClearAccum(0.5f, -0.5f, 0.5f, 1.0f);
    glClear(GL_ACCUM_BUFFER_BIT);
    cell(128, 0, 128, 128);
    glAccum(GL_ADD, 0.25f);
    glAccum(GL_MULT, -1.0f);
    glAccum(GL_RETURN, -4.0f);

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_ACCUM, 256, 256, "compare accum");
    pixelProjection(256, 256);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
