/* Stipple and polygon modes, in window coordinates (every vertex on a pixel
   centre, lines only horizontal and vertical, so that both rasterisers agree
   on every fragment):
   - line stipple: separate lines with four patterns and repeat factors 1 to
     3, and a line strip whose pattern runs on from segment to segment, while
     separate lines start it anew;
   - polygon stipple: a 32x32 mask of diagonal stripes on a square, aligned
     with the window;
   - polygon modes: front faces as lines, back faces as points, and a quad
     split into two triangles whose inner edge has its edge flag off.
   --control: the polygon stipple's stripes run the other way. */
#include "compare.h"


static void makeMask(GLubyte mask[128]) {
    int x, y;
    memset(mask, 0, 128);
    for (y = 0; y < 32; y++)
        for (x = 0; x < 32; x++) {
            int d = control ? (x + y) : (x - y + 32);
            if ((d / 4) % 2 == 0) mask[y * 4 + x / 8] |= (GLubyte)(0x80 >> (x % 8));
        }
}

static void display(void) {
    static const GLushort patterns[4] = {0x00FF, 0x0F0F, 0xAAAA, 0x1C47};
    GLubyte mask[128];
    int i;
    glClear(GL_COLOR_BUFFER_BIT);

    /* Line stipple. */
    glEnable(GL_LINE_STIPPLE);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (i = 0; i < 4; i++) {
        float y = 240.5f - 8.0f * (float)i;
        glLineStipple(i % 3 + 1, patterns[i]);
        glBegin(GL_LINES);
        glVertex2f(8.5f, y);
        glVertex2f(248.5f, y);
        glEnd();
    }
    glColor3f(1.0f, 0.8f, 0.2f);
    glLineStipple(2, 0x33FF);
    glBegin(GL_LINE_STRIP);
    glVertex2f(8.5f, 200.5f);
    glVertex2f(100.5f, 200.5f);
    glVertex2f(100.5f, 170.5f);
    glVertex2f(180.5f, 170.5f);
    glEnd();
    glColor3f(0.3f, 0.9f, 1.0f);
    glBegin(GL_LINES);
    glVertex2f(190.5f, 200.5f);
    glVertex2f(190.5f, 150.5f);
    glVertex2f(200.5f, 200.5f);
    glVertex2f(200.5f, 150.5f);
    glEnd();
    glDisable(GL_LINE_STIPPLE);

    /* Polygon stipple. */
    makeMask(mask);
    glPolygonStipple(mask);
    glEnable(GL_POLYGON_STIPPLE);
    glColor3f(0.9f, 0.3f, 0.6f);
    glRectf(8.0f, 8.0f, 104.0f, 136.0f);
    glDisable(GL_POLYGON_STIPPLE);

    /* Polygon modes: the first quad counter-clockwise (front, outlined), the
       second clockwise (back, its corners as points). */
    glPolygonMode(GL_FRONT, GL_LINE);
    glPolygonMode(GL_BACK, GL_POINT);
    glColor3f(0.4f, 1.0f, 0.4f);
    glBegin(GL_QUADS);
    glVertex2f(120.5f, 100.5f);
    glVertex2f(180.5f, 100.5f);
    glVertex2f(180.5f, 140.5f);
    glVertex2f(120.5f, 140.5f);
    glVertex2f(190.5f, 100.5f);
    glVertex2f(190.5f, 140.5f);
    glVertex2f(240.5f, 140.5f);
    glVertex2f(240.5f, 100.5f);
    glEnd();
    /* Two triangles making one square outline: the shared diagonal's edges
       are flagged off. */
    glColor3f(1.0f, 0.5f, 0.2f);
    glBegin(GL_TRIANGLES);
    glEdgeFlag(GL_TRUE);
    glVertex2f(120.5f, 20.5f);
    glVertex2f(200.5f, 20.5f);
    glEdgeFlag(GL_FALSE);
    glVertex2f(200.5f, 80.5f);
    glEdgeFlag(GL_TRUE);
    glVertex2f(200.5f, 80.5f);
    glVertex2f(120.5f, 80.5f);
    glEdgeFlag(GL_FALSE);
    glVertex2f(120.5f, 20.5f);
    glEnd();
    glEdgeFlag(GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 256, 256, "compare stipple");
    glClearColor(0.1f, 0.1f, 0.15f, 0.0f);
    pixelProjection(256, 256);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
