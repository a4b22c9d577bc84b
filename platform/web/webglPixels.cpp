// Pixel rectangles on WebGL: glDrawPixels' and glCopyPixels' fragments as a
// quad over the zoomed rectangle whose fragment shader picks each CSS
// pixel's image pixel (colours, depths written as the fragment's depth,
// stencil values written bit by bit through the stencil test, as a shader
// cannot write stencil), and the window's depth and stencil read back, which
// WebGL does not read from the default framebuffer: copied into a
// framebuffer of the layer's own, the depth sampled into colour bytes, the
// stencil summed bit by bit into colour under the stencil test.
#include <GL/gl.h>
#include <emscripten/html5.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/web/glState.h"
#include "platform/web/shaderSource.h"
#include "platform/web/webglPass.h"

namespace zw {
namespace {

// The image's fragments. A pixel (i, j) zoomed by (zx, zy) covers the CSS
// pixel centres from its corner x + zx i up to x + zx (i + 1), the left and
// bottom edges in, whichever way the zoom points.
const char* const pixelsFragmentSource = R"(
uniform highp sampler2D uImage;
uniform vec2 uOrigin;  // the image's corner, CSS pixels
uniform vec2 uZoom;
uniform float uRatio;
uniform vec4 uColor;   // depth images' colour
uniform int uBit;      // stencil: the bit a pass writes where it is set, -1 for every pixel
out vec4 fragColor;
void main() {
    vec2 t = (floor(gl_FragCoord.xy / uRatio) + 0.5 - uOrigin) / uZoom;
    ivec2 cell = ivec2(mix(floor(t), ceil(t) - 1.0, vec2(lessThan(uZoom, vec2(0.0)))));
    if (any(lessThan(cell, ivec2(0))) || any(greaterThanEqual(cell, textureSize(uImage, 0)))) discard;
    vec4 v = texelFetch(uImage, cell, 0);
#if defined(STENCIL)
    if (uBit >= 0 && ((int(floor(v.r + 0.5)) >> uBit) & 1) == 0) discard;
    fragColor = vec4(0.0);
#else
#if defined(DEPTH)
    gl_FragDepth = v.r;
    v = uColor;
#endif
    if (!alphaPasses(v.a)) discard;
    fragColor = v;
#endif
}
)";

// Reading back: a depth as three bytes (24 bits, most significant first), or
// a constant colour (the stencil's bits, added by blending).
const char* const readFragmentSource = R"(
uniform highp sampler2D uDepth;
uniform vec4 uColor;
out vec4 fragColor;
void main() {
#if defined(DEPTH)
    float v = floor(texelFetch(uDepth, ivec2(gl_FragCoord.xy), 0).r * 16777215.0 + 0.5);
    fragColor = vec4(floor(v / 65536.0), mod(floor(v / 256.0), 256.0), mod(v, 256.0), 255.0) / 255.0;
#else
    fragColor = uColor;
#endif
}
)";

GLuint image = 0;

GLint at(GLuint program, const char* name) { return emscripten_glGetUniformLocation(program, name); }

// The program of a kind (GL_COLOR, GL_DEPTH, GL_STENCIL) for drawing, or for reading (depth, stencil).
GLuint program(GLenum kind, bool reading) {
    static GLuint programs[2][3];
    GLuint& p = programs[reading][kind - GL_COLOR];
    if (p) return p;
    const char* define = kind == GL_DEPTH ? "#define DEPTH\n" : kind == GL_STENCIL ? "#define STENCIL\n" : "";
    p = linkProgram(define, bitmapVertexSource, reading ? readFragmentSource : pixelsFragmentSource);
    if (!image) emscripten_glGenTextures(1, &image);
    return p;
}

// The pixels [first, last) of a row of n zoomed by `zoom` from `origin` that
// can reach the window's [0, size) (a pixel of margin either side).
void reaching(float origin, float zoom, int n, int size, int& first, int& last) {
    const double t0 = (0.0 - origin) / zoom, t1 = (double(size) - origin) / zoom;
    const double lo = std::floor(std::min(t0, t1)) - 1, hi = std::ceil(std::max(t0, t1)) + 1;
    first = int(std::max(0.0, std::min(double(n), lo)));
    last = int(std::max(0.0, std::min(double(n), hi)));
}

// ---- Reading depth and stencil -----------------------------------------------------------

// The window's depth and stencil are blitted into `copy` (a depth-stencil
// texture beside a colour buffer); `encode` draws into the colour buffer alone.
struct Reader {
    GLuint depthStencil = 0, color = 0, copy = 0, encode = 0;
    int width = 0, height = 0;
    int format = 0;  // into `formats`: the one whose blit WebGL takes
} reader;

// Depth formats a blit from the window may need to match.
struct DepthFormat {
    GLenum internal, format, type;
    bool stencil;
};
const DepthFormat formats[] = {
    {GL_DEPTH24_STENCIL8, GL_DEPTH_STENCIL, GL_UNSIGNED_INT_24_8, true},
    {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, false},
    {GL_DEPTH_COMPONENT16, GL_DEPTH_COMPONENT, GL_UNSIGNED_SHORT, false},
};
const int formatCount = sizeof formats / sizeof formats[0];

void makeReader(int width, int height) {
    Reader& r = reader;
    if (!r.copy) {
        emscripten_glGenTextures(1, &r.depthStencil);
        emscripten_glGenRenderbuffers(1, &r.color);
        emscripten_glGenFramebuffers(1, &r.copy);
        emscripten_glGenFramebuffers(1, &r.encode);
    }
    const DepthFormat& f = formats[r.format];
    emscripten_glActiveTexture(GL_TEXTURE1);
    emscripten_glBindTexture(GL_TEXTURE_2D, r.depthStencil);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GLint(f.internal), width, height, 0, f.format, f.type, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glActiveTexture(GL_TEXTURE0);
    emscripten_glBindRenderbuffer(GL_RENDERBUFFER, r.color);
    emscripten_glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, r.copy);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, r.color);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_TEXTURE_2D, 0, 0);
    emscripten_glFramebufferTexture2D(GL_FRAMEBUFFER, f.stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                      GL_TEXTURE_2D, r.depthStencil, 0);
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, r.encode);
    emscripten_glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, r.color);
    r.width = width, r.height = height;
}

// Copies the window's depth and stencil into the reader: false when WebGL
// takes none of the formats (the window has no depth buffer, say).
bool copyWindow(GLenum kind, int width, int height) {
    Reader& r = reader;
    const int tried = r.format;
    for (int k = 0; k < formatCount; ++k) {
        if (!r.copy || r.width != width || r.height != height || r.format != (tried + k) % formatCount) {
            r.format = (tried + k) % formatCount;
            makeReader(width, height);
        }
        if (kind == GL_STENCIL && !formats[r.format].stencil) continue;
        for (int n = 0; n < 16 && emscripten_glGetError() != GL_NO_ERROR; ++n) {
        }
        emscripten_glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        emscripten_glBindFramebuffer(GL_DRAW_FRAMEBUFFER, r.copy);
        emscripten_glBlitFramebuffer(0, 0, width, height, 0, 0, width, height,
                                     kind == GL_DEPTH ? GL_DEPTH_BUFFER_BIT : GL_STENCIL_BUFFER_BIT, GL_NEAREST);
        if (emscripten_glGetError() == GL_NO_ERROR) return true;
    }
    return false;
}

}  // namespace

void windowSize(int& width, int& height) {
    int w = 0, h = 0;
    emscripten_webgl_get_drawing_buffer_size(emscripten_webgl_get_current_context(), &w, &h);
    width = int(std::lround(w / pixelRatio)), height = int(std::lround(h / pixelRatio));
}

void drawPixels(GLenum kind, float x, float y, float zx, float zy, int w, int h, const float* values,
                const float color[4], float z) {
    flushBatch();
    if (!submit || w <= 0 || h <= 0 || zx == 0 || zy == 0) return;
    int ww = 0, wh = 0;
    windowSize(ww, wh);
    // Only the pixels that can reach the window go to WebGL.
    int i0, i1, j0, j1;
    reaching(x, zx, w, ww, i0, i1);
    reaching(y, zy, h, wh, j0, j1);
    if (i0 >= i1 || j0 >= j1) return;
    const int n = kind == GL_COLOR ? 4 : 1, cw = i1 - i0, ch = j1 - j0;
    std::vector<float> part(size_t(cw) * size_t(ch) * size_t(n));
    for (int j = 0; j < ch; ++j)
        std::copy_n(values + (size_t(j0 + j) * size_t(w) + size_t(i0)) * size_t(n), size_t(cw) * size_t(n),
                    part.begin() + std::ptrdiff_t(size_t(j) * size_t(cw) * size_t(n)));
    const GLuint prog = program(kind, false);
    emscripten_glActiveTexture(GL_TEXTURE1);
    emscripten_glBindTexture(GL_TEXTURE_2D, image);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, kind == GL_COLOR ? GL_RGBA32F : GL_R32F, cw, ch, 0,
                            kind == GL_COLOR ? GL_RGBA : GL_RED, GL_FLOAT, part.data());
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glActiveTexture(GL_TEXTURE0);
    int bw = 0, bh = 0;
    windowPass(prog, bw, bh);
    const State& s = state();
    const float r = pixelRatio, ox = x + zx * float(i0), oy = y + zy * float(j0);
    emscripten_glUniform2f(at(prog, "uOrigin"), ox, oy);
    emscripten_glUniform2f(at(prog, "uZoom"), zx, zy);
    emscripten_glUniform1f(at(prog, "uRatio"), r);
    emscripten_glUniform4fv(at(prog, "uColor"), 1, color);
    emscripten_glUniform1i(at(prog, "uImage"), 1);
    sendAlphaTest(prog);
    // The quad: the zoomed rectangle and a pixel round it, in NDC.
    const float ex = zx * float(cw), ey = zy * float(ch);
    const float x0 = (std::min(ox, ox + ex) - 1) * r / float(bw) * 2 - 1, x1 = (std::max(ox, ox + ex) + 1) * r / float(bw) * 2 - 1;
    const float y0 = (std::min(oy, oy + ey) - 1) * r / float(bh) * 2 - 1, y1 = (std::max(oy, oy + ey) + 1) * r / float(bh) * 2 - 1;
    const float zn = z * 2 - 1;
    if (kind != GL_STENCIL) {
        drawWindowQuad(prog, x0, y0, x1, y1, zn);
        return;
    }
    // Stencil values: the covered pixels' writable bits cleared, then each
    // writable bit set where the image has it. Only the scissor and the
    // write mask apply.
    const GLuint mask = s.stencilWriteMask & 0xff;
    emscripten_glEnable(GL_STENCIL_TEST);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glDepthMask(GL_FALSE);
    emscripten_glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    emscripten_glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    emscripten_glUniform1i(at(prog, "uBit"), -1);
    emscripten_glStencilFunc(GL_ALWAYS, 0, 0xff);
    emscripten_glStencilMask(mask);
    drawWindowQuad(prog, x0, y0, x1, y1, zn);
    emscripten_glStencilFunc(GL_ALWAYS, 0xff, 0xff);
    for (int b = 0; b < 8; ++b) {
        if (!(mask >> b & 1)) continue;
        emscripten_glUniform1i(at(prog, "uBit"), b);
        emscripten_glStencilMask(1u << b);
        drawWindowQuad(prog, x0, y0, x1, y1, zn);
    }
    forgetFragmentOps();
}

void readDepthStencil(GLenum kind, int x, int y, int w, int h, float* values) {
    std::fill(values, values + size_t(w) * size_t(h), 0.0f);
    if (w <= 0 || h <= 0) return;
    const GLuint prog = program(kind, true);
    int bw = 0, bh = 0;
    windowPass(prog, bw, bh);
    // The copy and the passes over the whole buffer, nothing in the way.
    emscripten_glDisable(GL_SCISSOR_TEST);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glDisable(GL_DITHER);
    emscripten_glDepthMask(GL_TRUE);
    emscripten_glStencilMask(0xff);
    emscripten_glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    forgetFragmentOps();
    if (!copyWindow(kind, bw, bh)) {
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
        notDrawn(kind == GL_DEPTH ? "glReadPixels(GL_DEPTH_COMPONENT) of this window"
                                  : "glReadPixels(GL_STENCIL_INDEX) of this window");
        return;
    }
    std::vector<unsigned char> bytes(size_t(w) * size_t(h) * 4);
    if (kind == GL_DEPTH) {
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, reader.encode);
        emscripten_glDisable(GL_STENCIL_TEST);
        emscripten_glDisable(GL_BLEND);
        emscripten_glActiveTexture(GL_TEXTURE1);
        emscripten_glBindTexture(GL_TEXTURE_2D, reader.depthStencil);
        emscripten_glActiveTexture(GL_TEXTURE0);
        emscripten_glUniform1i(at(prog, "uDepth"), 1);
        drawWindowQuad(prog, -1, -1, 1, 1, 0);
        readPixels(x, y, w, h, bytes.data());
        for (size_t i = 0; i < size_t(w) * size_t(h); ++i)
            values[i] = float((bytes[i * 4] * 65536.0 + bytes[i * 4 + 1] * 256.0 + bytes[i * 4 + 2]) / 16777215.0);
    } else {
        // Each bit adds its value (in 255ths) where the stencil test finds it set.
        emscripten_glBindFramebuffer(GL_FRAMEBUFFER, reader.copy);
        emscripten_glClearColor(0, 0, 0, 0);
        emscripten_glClear(GL_COLOR_BUFFER_BIT);
        emscripten_glEnable(GL_STENCIL_TEST);
        emscripten_glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        emscripten_glEnable(GL_BLEND);
        emscripten_glBlendFunc(GL_ONE, GL_ONE);
        for (int b = 0; b < 8; ++b) {
            emscripten_glStencilFunc(GL_EQUAL, 1 << b, 1u << b);
            emscripten_glUniform4f(at(prog, "uColor"), float(1 << b) / 255.0f, 0, 0, 0);
            drawWindowQuad(prog, -1, -1, 1, 1, 0);
        }
        readPixels(x, y, w, h, bytes.data());
        for (size_t i = 0; i < size_t(w) * size_t(h); ++i) values[i] = bytes[i * 4];
    }
    emscripten_glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace zw
