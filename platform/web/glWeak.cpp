// Stand-ins for the WebGL side's calls (webgl.cpp) that the state side uses,
// so the layer links while the WebGL side does not define them yet: weak
// definitions that keep today's behaviour, replaced by webgl.cpp's own the
// moment it defines them. Remove each once webgl.cpp has it.
#include <GL/gl.h>
#include <webgl/webgl1.h>

#include "platform/web/glState.h"

namespace zw {

__attribute__((weak)) void flushBatch() {}

__attribute__((weak)) void uploadTexture(Texture&, int, int, int, int, int, const unsigned char*, bool) {}

__attribute__((weak)) void freeTexture(Texture&) {}

__attribute__((weak)) void drawBitmap(float, float, int, int, const unsigned char*, const float*, float) {}

__attribute__((weak)) void clearBuffers(GLbitfield mask) {
    if (submit) emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
}

__attribute__((weak)) void readPixels(int x, int y, int w, int h, unsigned char* rgba) {
    emscripten_glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

}  // namespace zw
