/* GLU's quadrics, one 64x64 cell each, turned the same way and lit from the
   upper right. Rows from the top: the sphere, the cylinder (a cone's frustum),
   the disk with a hole and the partial disk (from 30 degrees, 250 degrees on),
   each in the four draw styles fill, line, silhouette and point from the
   left, then filled with flat normals under flat shading. The bottom row:
   the sphere turned inside (its near side cut away by a clip plane), the
   sphere and the cylinder textured with a checker, a disk drawn from a
   display list, and a sphere without normals (lit by the current one).
   --control: the fill sphere has 10 slices instead of 14. */
#include "compare.h"

static const GLenum styles[4] = {GLU_FILL, GLU_LINE, GLU_SILHOUETTE, GLU_POINT};

static void shape(GLUquadric* q, int which) {
    switch (which) {
    case 0: gluSphere(q, 0.9, control ? 10 : 14, 9); break;
    case 1: glTranslatef(0.0f, 0.0f, -0.7f); gluCylinder(q, 0.8, 0.4, 1.4, 12, 3); break;
    case 2: gluDisk(q, 0.35, 0.9, 12, 3); break;
    default: gluPartialDisk(q, 0.2, 0.9, 10, 2, 30.0, 250.0); break;
    }
}

static void cell(int column, int row) {
    glViewport(64 * column, 320 - 64 * (row + 1), 64, 64);
    glLoadIdentity();
    glRotatef(-60.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-20.0f, 0.0f, 0.0f, 1.0f);
}

static void display(void) {
    static const GLfloat light[4] = {0.5f, 0.5f, 1.0f, 0.0f};
    static const GLdouble cut[4] = {0.0, 1.0, 0.0, 0.3};
    GLUquadric* q = gluNewQuadric();
    GLuint list = glGenLists(1);
    int row, column;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    for (row = 0; row < 4; row++)
        for (column = 0; column < 5; column++) {
            cell(column, row);
            gluQuadricDrawStyle(q, styles[column % 4]);
            gluQuadricNormals(q, column == 4 ? GLU_FLAT : GLU_SMOOTH);
            glShadeModel(column == 4 ? GL_FLAT : GL_SMOOTH);
            shape(q, row);
        }
    glShadeModel(GL_SMOOTH);
    gluQuadricDrawStyle(q, GLU_FILL);

    cell(0, 4);
    gluQuadricOrientation(q, GLU_INSIDE);
    glClipPlane(GL_CLIP_PLANE0, cut);
    glEnable(GL_CLIP_PLANE0);
    gluSphere(q, 0.9, 14, 9);
    glDisable(GL_CLIP_PLANE0);
    gluQuadricOrientation(q, GLU_OUTSIDE);

    gluQuadricTexture(q, GL_TRUE);
    glEnable(GL_TEXTURE_2D);
    cell(1, 4);
    gluSphere(q, 0.9, 14, 9);
    cell(2, 4);
    shape(q, 1);
    glDisable(GL_TEXTURE_2D);
    gluQuadricTexture(q, GL_FALSE);

    glNewList(list, GL_COMPILE);
    gluPartialDisk(q, 0.0, 0.9, 12, 2, 0.0, 360.0);
    glEndList();
    cell(3, 4);
    glCallList(list);
    glDeleteLists(list, 1);

    /* Without normals the sphere keeps the current one: evenly lit. */
    gluQuadricNormals(q, GLU_NONE);
    glNormal3f(0.6f, 0.0f, 0.8f);
    cell(4, 4);
    gluSphere(q, 0.9, 8, 6);
    gluDeleteQuadric(q);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    static const GLfloat diffuse[4] = {0.9f, 0.7f, 0.4f, 1.0f};
    static GLubyte checker[8][8][3];
    int i, j;
    for (i = 0; i < 8; i++)
        for (j = 0; j < 8; j++)
            checker[i][j][0] = checker[i][j][1] = (GLubyte)((i + j) % 2 ? 255 : 60), checker[i][j][2] = 90;
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 320, 320, "compare quadric");
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, diffuse);
    glPointSize(2.0f);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGB, GL_UNSIGNED_BYTE, checker);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.1, 1.1, -1.1, 1.1, -3.0, 3.0);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
