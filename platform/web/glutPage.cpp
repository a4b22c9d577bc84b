// GLUT's pieces that need the GL layer itself; glut.js calls the exported
// ones (zouWeb.cmake exports them, which also links them in).
#include <GL/freeglut.h>
#include <emscripten.h>

#include <cstdio>

extern "C" {

// GLUT's reshape for a window without a reshape callback: the whole window.
EMSCRIPTEN_KEEPALIVE void zwGlutReshape(int width, int height) { glViewport(0, 0, width, height); }

void glutReportErrors(void) {
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        std::fprintf(stderr, "glutReportErrors: GL error 0x%04x\n", static_cast<unsigned>(e));
}

}  // extern "C"
