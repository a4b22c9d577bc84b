/* GLUT's shapes, each solid (lit) and wire (unlit), one 64x64 viewport per
   shape: rows from the top, the solid then the wire sphere, cube, cone,
   torus and teapot, then the solid and wire dodecahedron, octahedron,
   tetrahedron, icosahedron and cylinder. Every shape turned the same way and
   scaled to fill about the same room.
   --control: the spheres have 12 slices instead of 16. */
#include "compare.h"


static void shape(int which, int solid) {
    switch (which) {
    case 0:
        if (solid) glutSolidSphere(0.9, control ? 12 : 16, 12);
        else glutWireSphere(0.9, control ? 12 : 16, 12);
        break;
    case 1:
        if (solid) glutSolidCube(1.2);
        else glutWireCube(1.2);
        break;
    case 2:
        glTranslatef(0.0f, 0.0f, -0.7f);
        if (solid) glutSolidCone(0.7, 1.4, 12, 6);
        else glutWireCone(0.7, 1.4, 12, 6);
        break;
    case 3:
        if (solid) glutSolidTorus(0.25, 0.65, 10, 16);
        else glutWireTorus(0.25, 0.65, 10, 16);
        break;
    case 4:
        if (solid) glutSolidTeapot(0.6);
        else glutWireTeapot(0.6);
        break;
    case 5:
        glScalef(0.5f, 0.5f, 0.5f);
        if (solid) glutSolidDodecahedron();
        else glutWireDodecahedron();
        break;
    case 6:
        glScalef(0.9f, 0.9f, 0.9f);
        if (solid) glutSolidOctahedron();
        else glutWireOctahedron();
        break;
    case 7:
        glScalef(0.5f, 0.5f, 0.5f);
        if (solid) glutSolidTetrahedron();
        else glutWireTetrahedron();
        break;
    case 8:
        glScalef(0.9f, 0.9f, 0.9f);
        if (solid) glutSolidIcosahedron();
        else glutWireIcosahedron();
        break;
    default:
        glTranslatef(0.0f, 0.0f, -0.7f);
        if (solid) glutSolidCylinder(0.6, 1.4, 12, 3);
        else glutWireCylinder(0.6, 1.4, 12, 3);
        break;
    }
}

static void display(void) {
    static const GLfloat lightDirection[4] = {0.4f, 0.7f, 1.0f, 0.0f};
    static const GLfloat diffuse[4] = {0.85f, 0.6f, 0.3f, 1.0f};
    int which, solid;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, lightDirection);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, diffuse);
    for (which = 0; which < 10; which++)
        for (solid = 0; solid < 2; solid++) {
            int row = 2 * (which / 5) + (solid ? 0 : 1);
            glViewport(64 * (which % 5), 256 - 64 * (row + 1), 64, 64);
            if (solid)
                glEnable(GL_LIGHTING);
            else
                glDisable(GL_LIGHTING);
            glColor3f(0.6f, 0.9f, 1.0f);
            glPushMatrix();
            glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
            glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
            shape(which, solid);
            glPopMatrix();
        }
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 320, 256, "compare shapes");
    glClearColor(0.1f, 0.1f, 0.1f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHT0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.1, 1.1, -1.1, 1.1, -3.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
