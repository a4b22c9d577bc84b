/* The GLU tessellator, one 64x64 cell per case, normal (0, 0, 1). The top
   three rows: a concave outline, a star drawn clockwise (windings -1 and -2)
   and three overlapping squares (windings -1 to 2), each under the five
   winding rules (odd, nonzero, positive, negative, abs >= 2) from the left.
   The bottom row: the squares and the star as boundaries only; the star with
   a colour per vertex half mixed with the polygon data's grey, the combine
   callback mixing the colours of the crossings (the _DATA callbacks); a square with a square hole in the GLU 1.0 calls;
   the outline's triangles drawn as lines with edge flags (only its boundary).
   --control: the odd star becomes nonzero, which fills its middle. */
#include "compare.h"

#include <math.h>

static const double outline[8][3] = {{8, 8, 0}, {56, 8, 0}, {56, 56, 0}, {40, 56, 0},
                                     {40, 24, 0}, {24, 24, 0}, {24, 56, 0}, {8, 56, 0}};
static const double squares[3][4][3] = {{{6, 6, 0}, {38, 6, 0}, {38, 38, 0}, {6, 38, 0}},
                                        {{22, 22, 0}, {54, 22, 0}, {54, 54, 0}, {22, 54, 0}},
                                        {{12, 28, 0}, {12, 60, 0}, {44, 60, 0}, {44, 28, 0}}};
static const double hole[4][3] = {{14, 14, 0}, {14, 30, 0}, {30, 30, 0}, {30, 14, 0}};
static double star[5][6]; /* x y z r g b, clockwise */
static double pool[512][6]; /* vertices the combine callbacks make */
static int used;

static void combine(GLdouble c[3], void* d[4], GLfloat w[4], void** out) {
    double* v = pool[used < 511 ? used++ : 511];
    int i, k;
    for (k = 0; k < 6; k++) v[k] = k < 3 ? c[k] : 0.0;
    for (i = 0; i < 4; i++)
        if (d[i])
            for (k = 3; k < 6; k++) v[k] += w[i] * ((double*)d[i])[k];
    *out = v;
}
static void combineData(GLdouble c[3], void* d[4], GLfloat w[4], void** out, void* polygon) {
    if (polygon) combine(c, d, w, out);
}
static void colourVertex(void* v, void* polygon) {
    const double *c = (double*)v + 3, *p = (double*)polygon;
    glColor3d(0.5 * (c[0] + p[0]), 0.5 * (c[1] + p[1]), 0.5 * (c[2] + p[2]));
    glVertex3dv((double*)v);
}
static void vertices(GLUtesselator* t, const double (*v)[3], int n, int stride) {
    int i;
    for (i = 0; i < n; i++) gluTessVertex(t, (GLdouble*)v + i * stride, (GLdouble*)v + i * stride);
}
static void contour(GLUtesselator* t, const double (*v)[3], int n, int stride) {
    gluTessBeginContour(t);
    vertices(t, v, n, stride);
    gluTessEndContour(t);
}
static void shape(GLUtesselator* t, int which) {
    int i;
    gluTessBeginPolygon(t, NULL);
    if (which == 0) contour(t, outline, 8, 3);
    if (which == 1) contour(t, (const double(*)[3])star, 5, 6);
    for (i = 0; which == 2 && i < 3; i++) contour(t, squares[i], 4, 3);
    gluTessEndPolygon(t);
}
static void cell(int column, int row) {
    glLoadIdentity();
    glTranslatef(64.0f * column, 256.0f - 64.0f * (row + 1), 0.0f);
}

static void display(void) {
    static const GLfloat colours[3][3] = {{0.9f, 0.5f, 0.2f}, {0.3f, 0.8f, 0.4f}, {0.4f, 0.5f, 1.0f}};
    static double grey[3] = {0.5, 0.5, 0.5};
    GLUtesselator* t = gluNewTess();
    int rule, row;
    used = 0;
    glClear(GL_COLOR_BUFFER_BIT);
    gluTessNormal(t, 0, 0, 1);
    gluTessCallback(t, GLU_TESS_BEGIN, (_GLUfuncptr)glBegin);
    gluTessCallback(t, GLU_TESS_VERTEX, (_GLUfuncptr)glVertex3dv);
    gluTessCallback(t, GLU_TESS_END, (_GLUfuncptr)glEnd);
    gluTessCallback(t, GLU_TESS_COMBINE, (_GLUfuncptr)combine);
    for (row = 0; row < 3; row++)
        for (rule = 0; rule < 5; rule++) {
            int nonzero = control && row == 1 && rule == 0; /* odd + 1 */
            gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD + (nonzero ? 1 : rule));
            glColor3fv(colours[row]);
            cell(rule, row);
            shape(t, row);
        }
    glColor3f(1.0f, 1.0f, 1.0f);
    gluTessProperty(t, GLU_TESS_BOUNDARY_ONLY, GL_TRUE);
    gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    cell(0, 3);
    shape(t, 2);
    gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
    cell(1, 3);
    shape(t, 1);
    gluTessProperty(t, GLU_TESS_BOUNDARY_ONLY, GL_FALSE);
    /* The _DATA callbacks replace the plain ones that are set too. */
    gluTessCallback(t, GLU_TESS_VERTEX_DATA, (_GLUfuncptr)colourVertex);
    gluTessCallback(t, GLU_TESS_COMBINE_DATA, (_GLUfuncptr)combineData);
    cell(2, 3);
    gluTessBeginPolygon(t, grey);
    contour(t, (const double(*)[3])star, 5, 6);
    gluTessEndPolygon(t);
    gluTessCallback(t, GLU_TESS_VERTEX_DATA, NULL);
    gluTessCallback(t, GLU_TESS_COMBINE_DATA, NULL);
    glColor3f(0.9f, 0.8f, 0.3f);
    cell(3, 3);
    gluBeginPolygon(t);
    vertices(t, squares[0], 4, 3);
    gluNextContour(t, GLU_INTERIOR);
    vertices(t, hole, 4, 3);
    gluEndPolygon(t);
    gluTessCallback(t, GLU_TESS_EDGE_FLAG, (_GLUfuncptr)glEdgeFlag);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    cell(4, 3);
    shape(t, 0);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    gluDeleteTess(t);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    int i;
    for (i = 0; i < 5; i++) {
        double a = 1.5707963 - i * 2.5132741; /* 144 degrees on, clockwise */
        star[i][0] = 32 + 28 * cos(a), star[i][1] = 32 + 28 * sin(a), star[i][2] = 0;
        star[i][3] = i % 2, star[i][4] = i % 3 == 0, star[i][5] = i > 2;
    }
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB, 320, 256, "compare tess");
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    pixelProjection(320, 256);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
