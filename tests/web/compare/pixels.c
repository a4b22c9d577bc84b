/* Pixel rectangles, one case a cell of 64x64: RGB bytes; RGBA blended over a
   stripe; luminance under the unpack store (row length, skips, alignment);
   colour indices (bytes, and a bitmap) through the maps; zoomed by (2, 3)
   and by (-2, -1); scale and bias; alpha-tested floats; a depth image then a
   quad tested against it; stencil images (as they are, and under a write
   mask) and a copy of one, each masking a quad; glCopyPixels of a cell,
   zoomed, and onto itself overlapping; glReadPixels of depth and of stencil
   drawn back as luminance; images from raster positions near the window's
   edges.
   --control: the (2, 3) zoom becomes (3, 2). */
#include "compare.h"

#define N 40
static GLubyte rgb[N * N * 3], rgba[N * N * 4], lum[N * N * 2], index_[N * N], stencil[N * N], bits[N * 8];
static GLfloat stencil2[N * N], depth[N * N], floats[N * N * 4], readDepth[N * N];
static GLubyte readStencil[N * N];

static void at(int cell) { glRasterPos2i(64 * (cell % 5) + 12, 256 - 64 * (cell / 5 + 1) + 12); }

static void quad(int cell, float z) {
    float x = 64.0f * (float)(cell % 5), y = 256.0f - 64.0f * (float)(cell / 5 + 1);
    glBegin(GL_QUADS);
    glVertex3f(x + 4, y + 4, z), glVertex3f(x + 60, y + 4, z), glVertex3f(x + 60, y + 60, z), glVertex3f(x + 4, y + 60, z);
    glEnd();
}

static void display(void) {
    static const GLfloat toR[4] = {0, 1, 0, 1}, toG[4] = {0, 0, 1, 1}, toB[4] = {1, 0, 0, 0.5f}, toA[4] = {1, 1, 1, 1};
    int i;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    at(0), glDrawPixels(N, N, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glColor3f(0.2f, 0.4f, 0.9f), quad(1, 0), glRectf(64, 216, 128, 232);
    glEnable(GL_BLEND), glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    at(1), glDrawPixels(N, N, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glDisable(GL_BLEND);
    /* Rows of 41 bytes, aligned to 2: each row starts on an even byte. */
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 41), glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1), glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);
    at(2), glDrawPixels(N - 4, N - 4, GL_LUMINANCE, GL_UNSIGNED_BYTE, lum);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0), glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0), glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelMapfv(GL_PIXEL_MAP_I_TO_R, 4, toR), glPixelMapfv(GL_PIXEL_MAP_I_TO_G, 4, toG);
    glPixelMapfv(GL_PIXEL_MAP_I_TO_B, 4, toB), glPixelMapfv(GL_PIXEL_MAP_I_TO_A, 4, toA);
    at(3), glDrawPixels(N, N, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, index_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    at(4), glDrawPixels(N, N, GL_COLOR_INDEX, GL_BITMAP, bits);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelZoom(control ? 3.0f : 2.0f, control ? 2.0f : 3.0f);
    at(5), glDrawPixels(20, 16, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelZoom(-2.0f, -1.0f), glRasterPos2i(64 * 2 - 4, 256 - 64 - 6);
    glDrawPixels(20, 40, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelZoom(1.0f, 1.0f);
    glPixelTransferf(GL_RED_SCALE, 0.5f), glPixelTransferf(GL_BLUE_BIAS, 0.5f);
    at(7), glDrawPixels(N, N, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelTransferf(GL_RED_SCALE, 1.0f), glPixelTransferf(GL_BLUE_BIAS, 0.0f);
    glEnable(GL_ALPHA_TEST), glAlphaFunc(GL_GEQUAL, 0.5f);
    at(9), glDrawPixels(N, N, GL_RGBA, GL_FLOAT, floats);
    glDisable(GL_ALPHA_TEST);
    /* Depth: a ramp from 0 (left) to 1, then a quad at window depth 0.5. */
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 0.8f, 0.2f), at(10), glDrawPixels(N, N, GL_DEPTH_COMPONENT, GL_FLOAT, depth);
    glColor3f(0.3f, 0.9f, 0.9f), quad(10, 0);
    glDisable(GL_DEPTH_TEST);
    at(15), glReadPixels(64 * 0 + 12, 256 - 64 * 3 + 12, N, N, GL_DEPTH_COMPONENT, GL_FLOAT, readDepth);
    glDrawPixels(N, N, GL_LUMINANCE, GL_FLOAT, readDepth);
    /* Stencil: a disc of 1s, and of 3s in 2s under a write mask of 1; quads where it is 1. */
    at(11), glDrawPixels(N, N, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, stencil);
    glStencilMask(1), at(12), glDrawPixels(N, N, GL_STENCIL_INDEX, GL_FLOAT, stencil2);
    glStencilMask(0xff);
    at(8), glCopyPixels(64 * 1 + 12, 64 * 1 + 12, N, N, GL_STENCIL);
    glEnable(GL_STENCIL_TEST), glStencilFunc(GL_EQUAL, 1, 0xff), glColor3f(0.9f, 0.3f, 0.6f);
    quad(11, 0), quad(12, 0), quad(8, 0);
    glDisable(GL_STENCIL_TEST);
    glReadPixels(64 * 1 + 12, 256 - 64 * 3 + 12, N, N, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, readStencil);
    for (i = 0; i < N * N; i++) readStencil[i] = (GLubyte)(readStencil[i] * 200 + 30);
    at(16), glDrawPixels(N, N, GL_LUMINANCE, GL_UNSIGNED_BYTE, readStencil);
    /* Copies: a cell, the same zoomed down the middle, and one onto itself 8 pixels on. */
    at(13), glCopyPixels(8, 200, 48, 48, GL_COLOR);
    glPixelZoom(0.5f, -0.5f), glRasterPos2i(64 * 4 + 16, 64 * 1 + 56);
    glCopyPixels(64, 192, 64, 64, GL_COLOR);
    glPixelZoom(1.0f, 1.0f);
    glRasterPos2i(64 * 2 + 8, 64 * 0 + 8), glCopyPixels(64 * 2, 64 * 3, 48, 48, GL_COLOR);
    glRasterPos2i(64 * 2 + 16, 64 * 0 + 4), glCopyPixels(64 * 2 + 8, 64 * 0 + 8, 40, 40, GL_COLOR);
    /* From near the top right corner: only what is inside the window. */
    glRasterPos2i(300, 236), glDrawPixels(N, N, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glRasterPos2i(296, 8), glDrawPixels(N, N, GL_RGBA, GL_FLOAT, floats);
    glPixelZoom(1.0f, -1.0f), glRasterPos2i(204, 20), glDrawPixels(N, N, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPixelZoom(1.0f, 1.0f);
    glutSwapBuffers();
    drawn();
}

int main(int argc, char** argv) {
    int x, y;
    for (y = 0; y < N; y++)
        for (x = 0; x < N; x++) {
            int k = y * N + x, dx = x - N / 2, dy = y - N / 2;
            rgb[3 * k] = (GLubyte)(x * 6), rgb[3 * k + 1] = (GLubyte)(y * 6), rgb[3 * k + 2] = (GLubyte)(x < 4 || y < 4 ? 255 : 96);
            rgba[4 * k] = 240, rgba[4 * k + 1] = (GLubyte)(y * 6), rgba[4 * k + 2] = 40, rgba[4 * k + 3] = (GLubyte)(x * 6);
            floats[4 * k] = 0.2f, floats[4 * k + 1] = (float)y / N, floats[4 * k + 2] = 0.8f, floats[4 * k + 3] = (float)x / N;
            index_[k] = (GLubyte)((x / 10 + y / 20) % 4);
            stencil[k] = dx * dx + dy * dy < 15 * 15;
            stencil2[k] = stencil[k] ? 3.0f : 2.0f;
            depth[k] = (float)x / (N - 1);
        }
    for (x = 0; x < N * N * 2; x++) lum[x] = (GLubyte)((x % 42) * 6 + (x / 42) % 2 * 30);
    for (x = 0; x < N * 5; x++) bits[x] = (GLubyte)(0xF0 >> (x / 5 % 4) | (x % 5 == 2));
    openWindow(&argc, argv, GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH | GLUT_STENCIL, 320, 256, "compare pixels");
    glClearColor(0.12f, 0.12f, 0.15f, 0.0f);
    pixelProjection(320, 256);
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
