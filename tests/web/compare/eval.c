/* Evaluators, in cells of 100x100 pixels. Top: a cubic curve coloured by a
   colour map (glEvalMesh1 in GL_LINE, the ends glEvalPoint1); a bicubic patch
   lit with GL_AUTO_NORMAL (GL_FILL); the patch in GL_LINE. Bottom: the patch
   in GL_POINT coloured by a bilinear colour map; the patch textured by a
   texture-coordinate map; a rational (GL_MAP1_VERTEX_4) quarter circle of
   glEvalCoord1 in a display list, called four times, turned.
   --control: the patch's inner control point (1, 1) is raised higher. */
#include <math.h>

#include "compare.h"

static GLfloat patch[4][4][3];

static void cell(int column, int row) {
    glLoadIdentity();
    glTranslatef(10.0f + 105.0f * (float)column, 10.0f + 105.0f * (float)row, 0.0f);
}

static void display(void) {
    /* Points of odd sizes centred on pixels: no rounding decides them. */
    static const GLfloat curve[4][3] = {{5.5f, 5.5f, 0}, {20, 95, 0}, {80, -20, 0}, {95.5f, 90.5f, 0}};
    static const GLfloat curveColors[2][4] = {{1, 0.2f, 0.1f, 1}, {0.2f, 0.5f, 1, 1}};
    static const GLfloat corners[2][2][4] = {{{1, 0, 0, 1}, {0, 1, 0, 1}}, {{0, 0, 1, 1}, {1, 1, 0, 1}}};
    /* Off the texel edges. */
    static const GLfloat texCoords[2][2][2] = {{{0.03f, 0.03f}, {2.03f, 0.03f}}, {{0.03f, 2.03f}, {2.03f, 2.03f}}};
    const float w = (float)sqrt(0.5);
    const GLfloat arc[3][4] = {{45, 0, 0, 1}, {45 * w, 45 * w, 0, w}, {0, 45, 0, 1}};
    const GLuint list = glGenLists(1);
    int i;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    cell(0, 1);
    glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 4, &curve[0][0]);
    glMap1f(GL_MAP1_COLOR_4, 0, 1, 4, 2, &curveColors[0][0]);
    glEnable(GL_MAP1_VERTEX_3), glEnable(GL_MAP1_COLOR_4);
    glMapGrid1f(24, 0, 1);
    glEvalMesh1(GL_LINE, 0, 24);
    glPointSize(5);
    glBegin(GL_POINTS);
    glEvalPoint1(0), glEvalPoint1(24);
    glEnd();
    glDisable(GL_MAP1_COLOR_4);

    cell(1, 1);
    glMap2f(GL_MAP2_VERTEX_3, 0, 1, 3, 4, 0, 1, 12, 4, &patch[0][0][0]);
    glEnable(GL_MAP2_VERTEX_3), glEnable(GL_LIGHTING), glEnable(GL_AUTO_NORMAL);
    glMapGrid2f(30, 0, 1, 30, 0, 1);
    glEvalMesh2(GL_FILL, 0, 30, 0, 30);
    glDisable(GL_LIGHTING);

    cell(2, 1);
    glColor3f(1, 0.9f, 0.3f);
    glMapGrid2f(8, 0, 1, 6, 0, 1);
    glEvalMesh2(GL_LINE, 0, 8, 0, 6);

    cell(0, 0);
    glTranslatef(0.5f, 0.5f, 0);
    glMap2f(GL_MAP2_COLOR_4, 0, 1, 4, 2, 0, 1, 8, 2, &corners[0][0][0]);
    glEnable(GL_MAP2_COLOR_4);
    glPointSize(3);
    glMapGrid2f(6, 0, 1, 6, 0, 1);
    glEvalMesh2(GL_POINT, 0, 6, 0, 6);
    glDisable(GL_MAP2_COLOR_4);

    cell(1, 0);
    glMap2f(GL_MAP2_TEXTURE_COORD_2, 0, 1, 2, 2, 0, 1, 4, 2, &texCoords[0][0][0]);
    glEnable(GL_MAP2_TEXTURE_COORD_2), glEnable(GL_TEXTURE_2D);
    glMapGrid2f(10, 0, 1, 10, 0, 1);
    glEvalMesh2(GL_FILL, 0, 10, 0, 10);
    glDisable(GL_TEXTURE_2D), glDisable(GL_MAP2_TEXTURE_COORD_2);

    /* Compiled only, then called. */
    glMap1f(GL_MAP1_VERTEX_4, 0, 1, 4, 3, &arc[0][0]);
    glEnable(GL_MAP1_VERTEX_4);
    glColor3f(0.5f, 1, 0.7f);
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    for (i = 0; i <= 20; i++) glEvalCoord1f((float)i / 20.0f);
    glEnd();
    glEndList();
    for (i = 0; i < 4; i++) {
        cell(2, 0);
        glTranslatef(50, 50, 0);
        glRotatef(90.0f * (float)i, 0, 0, 1);
        glCallList(list);
    }
    glDisable(GL_MAP1_VERTEX_4);
    glDeleteLists(list, 1);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    static const GLfloat lightPosition[4] = {0.4f, 0.5f, 1.0f, 0.0f};
    GLubyte checker[8][8][3];
    int i, j;
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 320, 220, "compare eval");
    /* Window pixels, and depth over +-100 for the patch's heights. */
    pixelProjection(320, 220);
    glMatrixMode(GL_PROJECTION);
    glScalef(1, 1, 0.01f);
    glMatrixMode(GL_MODELVIEW);
    for (i = 0; i < 4; i++)
        for (j = 0; j < 4; j++) {
            patch[j][i][0] = 30.0f * (float)i + (j == 2 ? 8.0f : 0.0f);
            patch[j][i][1] = 30.0f * (float)j;
            patch[j][i][2] = (i == 1 || i == 2) && (j == 1 || j == 2) ? 60.0f : -20.0f;
        }
    if (control) patch[1][1][2] = 90.0f;
    for (i = 0; i < 8; i++)
        for (j = 0; j < 8; j++) {
            const GLubyte v = (GLubyte)((i + j) % 2 ? 230 : 40);
            checker[i][j][0] = v, checker[i][j][1] = (GLubyte)(255 - v / 2), checker[i][j][2] = 90;
        }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, checker);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_DEPTH_TEST);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
