/* GLU NURBS, four 160x160 cells:
   - top left: a cubic curve with non-uniform knots, and a curve with a
     decreasing knot vector, which draws nothing;
   - top right: a bicubic surface, lit, with normals from its derivatives;
   - bottom left: the same surface trimmed: an outer boundary, a square hole
     (piecewise linear) and a circular hole (a rational quadratic trim curve);
   - bottom right: the surface in GLU_OUTLINE_POLYGON, sampled 5 and 4 steps
     per unit of u and v (GLU_DOMAIN_DISTANCE).
   --control: the surface's middle control point is 0.5 lower. */
#include "compare.h"
#include <GL/glu.h>

static GLUnurbsObj* nurbs;
static GLfloat net[5][5][3];
static GLfloat knots[9] = {0, 0, 0, 0, 1, 2, 2, 2, 2};

/* On standard error, which the comparison leaves aside: the desktop's GLU
   also reports the piecewise linear trim curves, which it draws all the same. */
static void failed(GLenum code) { fprintf(stderr, "nurbs: %s\n", (const char*)gluErrorString(code)); }

static void view(int x, int y) {
    glViewport(x, y, 160, 160);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-2.0, 2.0, -2.0, 2.0, -10.0, 10.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-55.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(20.0f, 0.0f, 0.0f, 1.0f);
}

static void surface(void) {
    gluNurbsSurface(nurbs, 9, knots, 9, knots, 5 * 3, 3, &net[0][0][0], 4, 4, GL_MAP2_VERTEX_3);
}

static void display(void) {
    static GLfloat curve[6][3] = {{15, 20, 0}, {30, 140, 0}, {70, 30, 0}, {100, 150, 0}, {130, 60, 0}, {150, 130, 0}};
    static GLfloat curveKnots[10] = {0, 0, 0, 0, 1, 3, 4, 4, 4, 4};
    static GLfloat badKnots[10] = {0, 0, 0, 0, 3, 1, 4, 4, 4, 4};
    static GLfloat outer[5][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {0, 0}};
    static GLfloat square[5][2] = {{0.3f, 0.3f}, {0.3f, 0.9f}, {0.9f, 0.9f}, {0.9f, 0.3f}, {0.3f, 0.3f}};
    static GLfloat circleKnots[12] = {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4};
    static GLfloat circle[9][3];
    const float s = 0.70710678f, cx = 1.3f, cy = 1.25f, r = 0.45f;
    /* Clockwise from (cx + r, cy): the corners of the square around it weighted sqrt(1/2). */
    static const float dx[9] = {1, 1, 0, -1, -1, -1, 0, 1, 1}, dy[9] = {0, -1, -1, -1, 0, 1, 1, 1, 0};
    int i;
    for (i = 0; i < 9; i++) {
        float w = i % 2 ? s : 1.0f;
        circle[i][0] = (cx + r * dx[i]) * w, circle[i][1] = (cy + r * dy[i]) * w, circle[i][2] = w;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    glDisable(GL_LIGHTING);
    glViewport(0, 160, 160, 160);
    pixelProjection(160, 160);
    glLoadIdentity();
    glColor3f(1.0f, 0.9f, 0.3f);
    gluBeginCurve(nurbs);
    gluNurbsCurve(nurbs, 10, curveKnots, 3, &curve[0][0], 4, GL_MAP1_VERTEX_3);
    gluEndCurve(nurbs);
    glColor3f(1.0f, 0.0f, 0.0f);
    gluBeginCurve(nurbs);
    gluNurbsCurve(nurbs, 10, badKnots, 3, &curve[0][0], 4, GL_MAP1_VERTEX_3);
    gluEndCurve(nurbs);

    glEnable(GL_LIGHTING);
    view(160, 160);
    gluBeginSurface(nurbs);
    surface();
    gluEndSurface(nurbs);

    view(0, 0);
    gluBeginSurface(nurbs);
    surface();
    gluBeginTrim(nurbs);
    gluPwlCurve(nurbs, 5, &outer[0][0], 2, GLU_MAP1_TRIM_2);
    gluEndTrim(nurbs);
    gluBeginTrim(nurbs);
    gluPwlCurve(nurbs, 5, &square[0][0], 2, GLU_MAP1_TRIM_2);
    gluEndTrim(nurbs);
    gluBeginTrim(nurbs);
    gluNurbsCurve(nurbs, 12, circleKnots, 3, &circle[0][0], 3, GLU_MAP1_TRIM_3);
    gluEndTrim(nurbs);
    gluEndSurface(nurbs);

    view(160, 0);
    gluNurbsProperty(nurbs, GLU_DISPLAY_MODE, GLU_OUTLINE_POLYGON);
    gluNurbsProperty(nurbs, GLU_SAMPLING_METHOD, GLU_DOMAIN_DISTANCE);
    gluBeginSurface(nurbs);
    surface();
    gluEndSurface(nurbs);
    gluNurbsProperty(nurbs, GLU_DISPLAY_MODE, GLU_FILL);
    gluNurbsProperty(nurbs, GLU_SAMPLING_METHOD, GLU_PATH_LENGTH);

    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    static const GLfloat diffuse[4] = {0.7f, 0.6f, 0.3f, 1.0f}, specular[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    int i, j;
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 320, 320, "compare nurbs");
    for (i = 0; i < 5; i++)
        for (j = 0; j < 5; j++) {
            net[i][j][0] = -1.5f + 0.75f * (float)i;
            net[i][j][1] = -1.5f + 0.75f * (float)j;
            net[i][j][2] = (i == 1 || i == 3) && (j == 1 || j == 3) ? 1.2f : 0.0f;
        }
    net[2][2][2] = control ? -1.5f : -1.0f;
    glClearColor(0.1f, 0.1f, 0.2f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHT0);
    glEnable(GL_AUTO_NORMAL);
    glEnable(GL_NORMALIZE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 30.0f);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    nurbs = gluNewNurbsRenderer();
    gluNurbsCallback(nurbs, GLU_ERROR, (_GLUfuncptr)failed);
    gluNurbsProperty(nurbs, GLU_SAMPLING_TOLERANCE, 10.0f);
    gluNurbsProperty(nurbs, GLU_U_STEP, 5.0f);
    gluNurbsProperty(nurbs, GLU_V_STEP, 4.0f);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
