// The accumulation buffer on WebGL 2: two textures of the drawing buffer's
// device size, made for a window that asks for GLUT_ACCUM. Every operation
// is a pass over the whole buffer that reads one texture and writes the
// other (no blending, which float targets may not offer), keeping the old
// value outside the scissor box; ACCUM and LOAD read the colour buffer
// through a copy of it. The textures are 32-bit float where WebGL can draw
// into float (EXT_color_buffer_float), else 16-bit signed integers holding
// [-1, 1] as fixed point.
#include <GL/gl.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
#include <string>

#include "platform/web/glState.h"
#include "platform/web/webglPass.h"

namespace zw {

int accumBits = 0;

namespace {

// One triangle over the whole window, without vertex attributes.
const char* const accumVertexSource = R"(
void main() {
    gl_Position = vec4(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? 3.0 : -1.0, 0.0, 1.0);
}
)";

// new = clamp(keep * old + take * colour + add, -1, 1) inside the box; RETURN
// writes clamp(keep * old, 0, 1) to the colour buffer instead.
const char* const accumFragmentSource = R"(
#ifdef INTEGER
uniform highp isampler2D uAccum;
vec4 accumAt(ivec2 p) { return vec4(texelFetch(uAccum, p, 0)) / 32767.0; }
#else
uniform highp sampler2D uAccum;
vec4 accumAt(ivec2 p) { return texelFetch(uAccum, p, 0); }
#endif
uniform float uKeep;
#ifdef RETURN
out vec4 fragColor;
void main() { fragColor = clamp(accumAt(ivec2(gl_FragCoord.xy)) * uKeep, 0.0, 1.0); }
#else
uniform sampler2D uColor;
uniform float uTake;
uniform vec4 uAdd;
uniform ivec4 uBox;  // x0, y0, x1, y1: device pixels
#ifdef INTEGER
out ivec4 fragAccum;
#else
out vec4 fragAccum;
#endif
void main() {
    ivec2 p = ivec2(gl_FragCoord.xy);
    vec4 v = accumAt(p);
    if (all(greaterThanEqual(p, uBox.xy)) && all(lessThan(p, uBox.zw)))
        v = clamp(v * uKeep + texelFetch(uColor, p, 0) * uTake + uAdd, -1.0, 1.0);
#ifdef INTEGER
    fragAccum = ivec4(round(v * 32767.0));
#else
    fragAccum = v;
#endif
}
#endif
)";

struct Accum {
    bool integer = false;
    GLuint update = 0, back = 0;  // the programs: operations on the buffer, RETURN
    GLuint texture[2] = {0, 0}, framebuffer[2] = {0, 0};
    int at = 0;         // which texture holds the values
    GLuint colour = 0;  // the colour buffer, copied for ACCUM and LOAD
    int width = 0, height = 0;
} acc;

// The programs and WebGL's objects, at the first operation.
void makeOnce() {
    if (acc.update) return;
    const std::string kind = acc.integer ? "#define INTEGER\n" : "";
    acc.update = linkProgram(kind, accumVertexSource, accumFragmentSource);
    acc.back = linkProgram(kind + "#define RETURN\n", accumVertexSource, accumFragmentSource);
    emscripten_glGenTextures(2, acc.texture);
    emscripten_glGenTextures(1, &acc.colour);
    emscripten_glGenFramebuffers(2, acc.framebuffer);
}

// The textures at the drawing buffer's size: made again when the window's
// size or pixel ratio changed (the values start at 0).
void fit(int width, int height) {
    if (acc.width == width && acc.height == height) return;
    acc.width = width, acc.height = height;
    emscripten_glActiveTexture(GL_TEXTURE1);
    for (int i = 0; i < 2; ++i) {
        emscripten_glBindTexture(GL_TEXTURE_2D, acc.texture[i]);
        if (acc.integer)
            emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16I, width, height, 0, GL_RGBA_INTEGER, GL_SHORT, nullptr);
        else
            emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, acc.framebuffer[i]);
        emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, acc.texture[i], 0);
    }
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // A copy takes no component the drawing buffer lacks: without alpha
    // (no GLUT_ALPHA) it reads as 1, as GL reads a window without it.
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_get_context_attributes(emscripten_webgl_get_current_context(), &attributes);
    const bool alpha = attributes.alpha;
    emscripten_glBindTexture(GL_TEXTURE_2D, acc.colour);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, alpha ? GL_RGBA8 : GL_RGB8, width, height, 0, alpha ? GL_RGBA : GL_RGB,
                            GL_UNSIGNED_BYTE, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glActiveTexture(GL_TEXTURE0);
}

// One pass: keep * old + take * colour + add within the scissor box.
void update(float keep, float take, const float add[4]) {
    flushBatch();
    if (!submit) return;
    int w = 0, h = 0;
    makeOnce();
    windowPass(acc.update, w, h, PassOps::None);
    fit(w, h);
    GLint box[4] = {0, 0, w, h};
    if (state().scissorTest) {
        GLint s[4];
        scaled(state().scissor, s);
        box[0] = std::max(s[0], 0), box[1] = std::max(s[1], 0);
        box[2] = std::min(s[0] + s[2], w), box[3] = std::min(s[1] + s[3], h);
    }
    if (box[0] >= box[2] || box[1] >= box[3]) return;
    if (take != 0) {
        emscripten_glActiveTexture(GL_TEXTURE2);
        emscripten_glBindTexture(GL_TEXTURE_2D, acc.colour);
        emscripten_glCopyTexSubImage2D(GL_TEXTURE_2D, 0, box[0], box[1], box[0], box[1], box[2] - box[0], box[3] - box[1]);
    }
    emscripten_glActiveTexture(GL_TEXTURE1);
    emscripten_glBindTexture(GL_TEXTURE_2D, acc.texture[acc.at]);
    emscripten_glActiveTexture(GL_TEXTURE0);
    acc.at = 1 - acc.at;
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, acc.framebuffer[acc.at]);
    const GLuint p = acc.update;
    emscripten_glUniform1i(emscripten_glGetUniformLocation(p, "uAccum"), 1);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(p, "uColor"), 2);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(p, "uKeep"), keep);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(p, "uTake"), take);
    emscripten_glUniform4fv(emscripten_glGetUniformLocation(p, "uAdd"), 1, add);
    emscripten_glUniform4iv(emscripten_glGetUniformLocation(p, "uBox"), 1, box);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, 3);
    ++drawCalls;
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// RETURN: value times the buffer, clamped, into the colour buffer under the
// scissor test, the colour mask and dithering alone.
void giveBack(float value) {
    flushBatch();
    if (!submit) return;
    int w = 0, h = 0;
    makeOnce();
    windowPass(acc.back, w, h, PassOps::Return);
    fit(w, h);
    emscripten_glActiveTexture(GL_TEXTURE1);
    emscripten_glBindTexture(GL_TEXTURE_2D, acc.texture[acc.at]);
    emscripten_glActiveTexture(GL_TEXTURE0);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(acc.back, "uAccum"), 1);
    emscripten_glUniform1f(emscripten_glGetUniformLocation(acc.back, "uKeep"), value);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, 3);
    ++drawCalls;
}

}  // namespace

void accumulate(GLenum op, float value) {
    const float none[4] = {0, 0, 0, 0}, all[4] = {value, value, value, value};
    switch (op) {
    case GL_ACCUM: return update(1, value, none);
    case GL_LOAD: return update(0, value, none);
    case GL_ADD: return update(1, 0, all);
    case GL_MULT: return update(value, 0, none);
    default: return giveBack(value);
    }
}

void clearAccum() { update(0, 0, state().clearAccum); }

}  // namespace zw

// glut.js, making a window with GLUT_ACCUM: the buffer's format, chosen once;
// answers its bits per component.
extern "C" EMSCRIPTEN_KEEPALIVE int zwAccumCreate() {
    const bool floats = emscripten_webgl_enable_extension(emscripten_webgl_get_current_context(), "EXT_color_buffer_float");
    zw::acc.integer = !floats;
    return zw::accumBits = floats ? 32 : 16;
}
