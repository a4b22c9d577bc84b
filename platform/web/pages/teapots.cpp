// The benchmark scene of many small blocks: two dozen lit teapots (GLUT's
// teapot is hundreds of small glBegin/glEnd strips), turning, in a plain GLUT
// program. ?bench on its page (as on drape's) reports the frames per second,
// the WebGL draw calls per frame, and zouWebMeasure's medians: the scene's
// frame on the wasm side alone (the layer's submission turned off) and with
// its WebGL calls issued.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/web/glState.h"

namespace {

float turn = 0;  // degrees, a step per frame

void scene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int i = 0; i < 24; i++) {
        const float colour[4] = {0.3f + 0.1f * float(i % 6), 0.5f, 0.9f - 0.15f * float(i / 6), 1};
        glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour);
        glPushMatrix();
        glTranslatef(-2.5f + float(i % 6), 1.5f - float(i / 6), 0);
        glRotatef(turn + 15.0f * float(i), 0, 1, 0);
        glutSolidTeapot(0.3);
        glPopMatrix();
    }
    zw::flushBatch();
}

void display() {
    scene();
    glutSwapBuffers();
    turn += 1;
    glutPostRedisplay();
}

void reshape(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = h > 0 ? double(w) / h : 1;
    glOrtho(-3.2 * aspect / (4.0 / 3), 3.2 * aspect / (4.0 / 3), -2.4, 2.4, -5, 5);
    glMatrixMode(GL_MODELVIEW);
}

// The median time of a scene, in microseconds, over up to 101 scenes or 2
// seconds, whichever comes first (at least 5): each frame's WebGL work queues
// behind the last, so a slow machine gets fewer runs rather than a stalled page.
double medianMicros() {
    std::vector<double> t;
    double total = 0;
    while (t.size() < 101 && (t.size() < 5 || total < 2e6)) {
        const auto t0 = std::chrono::steady_clock::now();
        scene();
        const auto t1 = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        total += t.back();
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

extern "C" const char* zouWebMeasure(void) {
    static char out[256];
    zw::submit = false;
    const double wasmSide = medianMicros();
    zw::submit = true;
    const double withWebGL = medianMicros();
    std::snprintf(out, sizeof out, "{\"frame_without_webgl_us\": %.1f, \"frame_with_webgl_calls_us\": %.1f}", wasmSide,
                  withWebGL);
    return out;
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(1024, 768);
    glutCreateWindow("teapots");
    glClearColor(0.1f, 0.1f, 0.15f, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float light[4] = {0.3f, 0.6f, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMainLoop();
    return 0;
}
