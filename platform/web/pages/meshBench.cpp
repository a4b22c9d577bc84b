// The benchmark of client arrays against immediate mode: a lit wavy mesh of
// 100 x 100 vertices (19602 triangles), turning, drawn once with one
// glDrawElements from vertex and normal arrays and once more, beside it, with
// the same triangles between glBegin and glEnd. ?bench reports for each way
// zouWebMeasure's medians, the frame on the wasm side alone (the layer's
// submission turned off) and with its WebGL calls issued, and the WebGL draw
// calls a frame of it makes.
#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/web/glState.h"
#include "platform/web/webglPass.h"

namespace {

const int side = 100;  // vertices along each edge
std::vector<GLfloat> positions, normals;  // 3 per vertex
std::vector<GLushort> triangles;          // 3 indices each
float turn = 0;                           // degrees, a step per frame

// The surface z = 0.08 sin(6x) cos(5y) over [-1, 1]^2, with its normals.
void makeMesh() {
    for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
            const float x = -1 + 2.0f * float(i) / (side - 1), y = -1 + 2.0f * float(j) / (side - 1);
            const float dx = 0.48f * std::cos(6 * x) * std::cos(5 * y), dy = -0.4f * std::sin(6 * x) * std::sin(5 * y);
            const float l = std::sqrt(dx * dx + dy * dy + 1);
            positions.insert(positions.end(), {x, y, 0.08f * std::sin(6 * x) * std::cos(5 * y)});
            normals.insert(normals.end(), {-dx / l, -dy / l, 1 / l});
        }
    for (int j = 0; j + 1 < side; ++j)
        for (int i = 0; i + 1 < side; ++i) {
            const GLushort a = GLushort(j * side + i), b = GLushort(a + 1), c = GLushort(a + side), d = GLushort(c + 1);
            triangles.insert(triangles.end(), {a, b, d, a, d, c});
        }
}

void drawElements() {
    glVertexPointer(3, GL_FLOAT, 0, positions.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glDrawElements(GL_TRIANGLES, GLsizei(triangles.size()), GL_UNSIGNED_SHORT, triangles.data());
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawImmediate() {
    glBegin(GL_TRIANGLES);
    for (GLushort k : triangles) {
        glNormal3fv(&normals[3 * k]);
        glVertex3fv(&positions[3 * k]);
    }
    glEnd();
}

// The mesh drawn one way: on the left with arrays, on the right without.
void mesh(bool arrays) {
    glPushMatrix();
    glTranslatef(arrays ? -1.1f : 1.1f, 0, 0);
    glRotatef(-55, 1, 0, 0);
    glRotatef(turn, 0, 0, 1);
    arrays ? drawElements() : drawImmediate();
    glPopMatrix();
}

// A frame of one way, as the measurement takes it.
void scene(bool arrays) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mesh(arrays);
    zw::flushBatch();
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mesh(true);
    mesh(false);
    glutSwapBuffers();
    turn += 1;
    glutPostRedisplay();
}

void reshape(int w, int h) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = h > 0 ? double(w) / h : 1;
    glOrtho(-1.2 * aspect, 1.2 * aspect, -1.2, 1.2, -3, 3);
    glMatrixMode(GL_MODELVIEW);
}

// The median time of a scene of each way in microseconds, the two taken in
// turn so that they share the machine's state: up to 101 scenes each or 4
// seconds, at least 5. Each starts once a pixel is read back, so that it is
// not charged with the GPU's work on the scene before (the WebGL calls are
// issued, not waited for).
void medianMicros(double out[2]) {
    std::vector<double> t[2];
    double total = 0;
    while (t[0].size() < 101 && (t[0].size() < 5 || total < 4e6))
        for (int way = 0; way < 2; ++way) {
            GLubyte pixel[4];
            glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
            const auto t0 = std::chrono::steady_clock::now();
            scene(way == 0);
            const auto t1 = std::chrono::steady_clock::now();
            t[way].push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
            total += t[way].back();
        }
    for (int way = 0; way < 2; ++way) {
        std::sort(t[way].begin(), t[way].end());
        out[way] = t[way][t[way].size() / 2];
    }
}

}  // namespace

extern "C" const char* zouWebMeasure(void) {
    static char out[512];
    double wasmSide[2], withWebGL[2];
    unsigned draws[2];
    zw::submit = false;
    medianMicros(wasmSide);
    zw::submit = true;
    medianMicros(withWebGL);
    for (int way = 0; way < 2; ++way) {
        const unsigned before = zw::drawCalls;
        scene(way == 0);
        draws[way] = zw::drawCalls - before;
    }
    std::snprintf(out, sizeof out,
                  "{\"elements_frame_without_webgl_us\": %.1f, \"elements_frame_with_webgl_calls_us\": %.1f, "
                  "\"elements_draws_per_frame\": %u, \"immediate_frame_without_webgl_us\": %.1f, "
                  "\"immediate_frame_with_webgl_calls_us\": %.1f, \"immediate_draws_per_frame\": %u}",
                  wasmSide[0], withWebGL[0], draws[0], wasmSide[1], withWebGL[1], draws[1]);
    return out;
}

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(1024, 512);
    glutCreateWindow("meshBench");
    makeMesh();
    glClearColor(0.1f, 0.1f, 0.15f, 1);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float light[4] = {0.3f, 0.6f, 1, 0}, colour[4] = {0.9f, 0.6f, 0.3f, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, colour);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    glutDisplayFunc(display);
    glutReshapeFunc(reshape);
    glutMainLoop();
    return 0;
}
