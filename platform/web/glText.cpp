// Bitmap text on WebGL: glRasterPos and GLUT's bitmap fonts. WebGL has no
// glBitmap, and the fonts' bitmaps come with GLUT libraries, not with the
// browser: each font's printable ASCII characters are drawn once by the
// page's own 2D canvas into a texture of fixed cells, and a character is one
// textured quad at the raster position, its pixels thresholded so that it
// covers whole pixels as a bitmap does.
#include <GL/gl.h>
#include <GL/freeglut.h>
#include <emscripten/emscripten.h>
#include <webgl/webgl1.h>
#include <webgl/webgl2.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/web/glState.h"

extern "C" {
// GLUT's font handles: only their addresses matter.
void* glutStrokeRoman;
void* glutStrokeMonoRoman;
void* glutBitmap9By15;
void* glutBitmap8By13;
void* glutBitmapTimesRoman10;
void* glutBitmapTimesRoman24;
void* glutBitmapHelvetica10;
void* glutBitmapHelvetica12;
void* glutBitmapHelvetica18;
}

// Draws characters 32..127 in `css` into cells of w x h pixels, 16 to a row,
// baseline `baseline` pixels above a cell's bottom, as RGBA into out; writes
// each character's advance. Fixed fonts advance by the cell width.
EM_JS(void, zwDrawGlyphs, (const char* css, int w, int h, int baseline, int fixed, unsigned char* out, int* advances), {
    var canvas = document.createElement('canvas');
    canvas.width = 16 * w;
    canvas.height = 6 * h;
    var g = canvas.getContext('2d');
    g.fillStyle = '#fff';
    g.font = UTF8ToString(css);
    g.textBaseline = 'alphabetic';
    for (var c = 32; c < 128; c++) {
        var i = c - 32, x = (i % 16) * w, y = Math.floor(i / 16) * h;
        var s = String.fromCharCode(c);
        g.fillText(s, x, y + h - baseline);
        var advance = fixed ? w : Math.max(1, Math.round(g.measureText(s).width));
        HEAP32[(advances >> 2) + i] = advance;
    }
    HEAPU8.set(g.getImageData(0, 0, canvas.width, canvas.height).data, out);
});

namespace zw {
namespace {

struct Font {
    void* handle;
    const char* css;
    int w, h, baseline;  // cell size; baseline above the cell's bottom
    bool fixed;
    GLuint texture;
    int advance[96];
};

Font fonts[] = {
    {&glutBitmap8By13, "13px monospace", 8, 13, 3, true, 0, {}},
    {&glutBitmap9By15, "15px monospace", 9, 15, 4, true, 0, {}},
    {&glutBitmapTimesRoman10, "10px serif", 10, 13, 3, false, 0, {}},
    {&glutBitmapTimesRoman24, "24px serif", 24, 29, 7, false, 0, {}},
    {&glutBitmapHelvetica10, "10px sans-serif", 10, 13, 3, false, 0, {}},
    {&glutBitmapHelvetica12, "12px sans-serif", 12, 15, 4, false, 0, {}},
    {&glutBitmapHelvetica18, "18px sans-serif", 18, 22, 5, false, 0, {}},
};

Font* findFont(void* handle) {
    for (Font& f : fonts)
        if (f.handle == handle) return &f;
    return nullptr;
}

void load(Font& f) {
    if (f.texture) return;
    std::vector<unsigned char> pixels(size_t(16 * f.w) * size_t(6 * f.h) * 4);
    zwDrawGlyphs(f.css, f.w, f.h, f.baseline, f.fixed, pixels.data(), f.advance);
    emscripten_glGenTextures(1, &f.texture);
    emscripten_glBindTexture(GL_TEXTURE_2D, f.texture);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16 * f.w, 6 * f.h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

const char* const glyphVertex = R"(#version 300 es
layout(location = 0) in vec3 aPos;
layout(location = 3) in vec2 aTex;
out vec2 vTex;
void main() { gl_Position = vec4(aPos, 1.0); vTex = aTex; }
)";
const char* const glyphFragment = R"(#version 300 es
precision mediump float;
uniform sampler2D uGlyphs;
uniform vec4 uColor;
in vec2 vTex;
out vec4 fragColor;
void main() {
    if (texture(uGlyphs, vTex).a < 0.5) discard;
    fragColor = uColor;
}
)";

GLuint program = 0, buffer = 0;
GLint colorAt = -1, glyphsAt = -1;

void setUp() {
    program = emscripten_glCreateProgram();
    for (int k = 0; k < 2; ++k) {
        GLuint s = emscripten_glCreateShader(k == 0 ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
        const char* src = k == 0 ? glyphVertex : glyphFragment;
        emscripten_glShaderSource(s, 1, &src, nullptr);
        emscripten_glCompileShader(s);
        emscripten_glAttachShader(program, s);
    }
    emscripten_glLinkProgram(program);
    colorAt = emscripten_glGetUniformLocation(program, "uColor");
    glyphsAt = emscripten_glGetUniformLocation(program, "uGlyphs");
    emscripten_glGenBuffers(1, &buffer);
}

// The raster position in window coordinates, its colour, and whether it lies
// inside the view volume (outside, characters only advance it).
struct Raster {
    float x = 0, y = 0, z = 0;
    float color[4] = {1, 1, 1, 1};
    bool valid = true;
} raster;

}  // namespace
}  // namespace zw

extern "C" {

void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!zw::record([=] { glRasterPos3f(x, y, z); })) return;
    const zw::State& s = zw::state();
    const zw::Mat m = zw::multiply(s.projection.back(), s.modelview.back());
    float clip[4];
    for (int r = 0; r < 4; ++r) clip[r] = m.m[r] * x + m.m[4 + r] * y + m.m[8 + r] * z + m.m[12 + r];
    zw::Raster& p = zw::raster;
    p.valid = clip[3] != 0 && std::fabs(clip[0]) <= std::fabs(clip[3]) && std::fabs(clip[1]) <= std::fabs(clip[3]) &&
              std::fabs(clip[2]) <= std::fabs(clip[3]);
    if (clip[3] != 0) {
        p.x = s.viewport[0] + (clip[0] / clip[3] + 1) * 0.5f * s.viewport[2];
        p.y = s.viewport[1] + (clip[1] / clip[3] + 1) * 0.5f * s.viewport[3];
        p.z = (clip[2] / clip[3] + 1) * 0.5f;
    }
    for (int i = 0; i < 4; ++i) p.color[i] = s.color[i];
}

void glRasterPos2f(GLfloat x, GLfloat y) { glRasterPos3f(x, y, 0); }
void glRasterPos2i(GLint x, GLint y) { glRasterPos3f(GLfloat(x), GLfloat(y), 0); }

void glutBitmapCharacter(void* font, int character) {
    zw::Font* f = zw::findFont(font);
    if (!f || character < 32 || character > 127) return;
    if (!zw::record([=] { glutBitmapCharacter(font, character); })) return;
    zw::load(*f);
    zw::Raster& p = zw::raster;
    const int i = character - 32;
    if (p.valid && character != 32 && zw::submit) {
        if (!zw::program) zw::setUp();
        const GLint* v = zw::state().viewport;
        if (v[2] > 0 && v[3] > 0) {
            // The cell with its baseline on the raster position, whole pixels.
            const float x0 = std::floor(p.x), y0 = std::floor(p.y) - f->baseline;
            const float x1 = x0 + f->w, y1 = y0 + f->h;
            auto nx = [v](float x) { return (x - v[0]) / v[2] * 2 - 1; };
            auto ny = [v](float y) { return (y - v[1]) / v[3] * 2 - 1; };
            const float z = p.z * 2 - 1;
            const float s0 = float(i % 16) / 16, s1 = float(i % 16 + 1) / 16;
            const float t0 = float(i / 16) / 6, t1 = float(i / 16 + 1) / 6;
            // Texture rows run from the top of the atlas down.
            const float quad[] = {nx(x0), ny(y0), z, s0, t1, nx(x1), ny(y0), z, s1, t1,
                                  nx(x1), ny(y1), z, s1, t0, nx(x0), ny(y1), z, s0, t0};
            emscripten_glUseProgram(zw::program);
            emscripten_glUniform4fv(zw::colorAt, 1, p.color);
            emscripten_glUniform1i(zw::glyphsAt, 0);
            emscripten_glActiveTexture(GL_TEXTURE0);
            emscripten_glBindTexture(GL_TEXTURE_2D, f->texture);
            emscripten_glBindBuffer(GL_ARRAY_BUFFER, zw::buffer);
            emscripten_glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STREAM_DRAW);
            emscripten_glDisableVertexAttribArray(1);
            emscripten_glDisableVertexAttribArray(2);
            emscripten_glEnableVertexAttribArray(0);
            emscripten_glEnableVertexAttribArray(3);
            emscripten_glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 5 * sizeof(float), (void*)0);
            emscripten_glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, 5 * sizeof(float), (void*)(3 * sizeof(float)));
            emscripten_glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
            emscripten_glDisableVertexAttribArray(3);
        }
    }
    p.x += f->advance[i];
}

int glutBitmapWidth(void* font, int character) {
    zw::Font* f = zw::findFont(font);
    if (!f || character < 32 || character > 127) return 0;
    zw::load(*f);
    return f->advance[character - 32];
}

int glutBitmapLength(void* font, const unsigned char* text) {
    int n = 0;
    for (; text && *text; ++text) n += glutBitmapWidth(font, *text);
    return n;
}

}  // extern "C"
