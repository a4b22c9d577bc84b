/* Fog, its three modes: three strips of coloured tiles running away from the
   eye under a perspective projection, left to right in linear (start 2, end
   8), exponential (density 0.25) and squared exponential (density 0.2) fog of
   one colour, so that each tile's far end is fogged more than its near end.
   --control: the linear fog ends at 7 instead of 8. */
#include "compare.h"


/* A strip of 8 tiles from z = -1.5 to z = -9.5, rising from y = -1 to y = 4,
   its sides at the x the strip covers on screen at each depth. */
static void strip(float left, float right) {
    int k;
    glBegin(GL_QUADS);
    for (k = 0; k < 8; k++) {
        float z0 = -1.5f - (float)k, z1 = z0 - 1.0f;
        float y0 = -1.0f + 0.625f * (float)k, y1 = y0 + 0.625f;
        if (k & 1)
            glColor3f(0.9f, 0.3f, 0.2f);
        else
            glColor3f(0.2f, 0.8f, 0.3f);
        glVertex3f(-left * z0, y0, z0);
        glVertex3f(-right * z0, y0, z0);
        glVertex3f(-right * z1, y1, z1);
        glVertex3f(-left * z1, y1, z1);
    }
    glEnd();
}

static void display(void) {
    static const GLfloat fogColor[4] = {0.6f, 0.65f, 0.8f, 1.0f};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 2.0f);
    glFogf(GL_FOG_END, control ? 7.0f : 8.0f);
    strip(-0.95f, -0.35f);
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, 0.25f);
    strip(-0.3f, 0.3f);
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogf(GL_FOG_DENSITY, 0.2f);
    strip(0.35f, 0.95f);
    glDisable(GL_FOG);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH, 256, 256, "compare fog");
    glClearColor(0.05f, 0.05f, 0.1f, 0.0f);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_FLAT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -1.0, 1.0, 1.0, 12.0);
    glMatrixMode(GL_MODELVIEW);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
