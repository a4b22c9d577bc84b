// glBitmap as OpenGL 1.1 rasterises it, and GLUT's bitmap fonts drawn through
// it. The fonts' glyphs are the X bitmap fonts GLUT's fonts were taken from,
// read at build time by pcfFonts.py into glutBitmapFonts.h.
#include <GL/freeglut.h>
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
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

namespace zw {
namespace {

// One character: the arguments GLUT hands glBitmap, and where its rows start
// in the font's bits (rows bottom first, whole bytes, most significant bit
// leftmost).
struct Glyph {
    unsigned char width, height;
    signed char xorig, yorig;
    unsigned char advance;
    unsigned offset;
};

#include "glutBitmapFonts.h"

struct Font {
    void* handle;
    const Glyph* glyphs;  // characters 0..255
    const unsigned char* bits;
    int height;  // GLUT's line spacing
};

const Font fonts[] = {
    {&glutBitmap8By13, fixed8x13Glyphs, fixed8x13Bits, fixed8x13Height},
    {&glutBitmap9By15, fixed9x15Glyphs, fixed9x15Bits, fixed9x15Height},
    {&glutBitmapTimesRoman10, times10Glyphs, times10Bits, times10Height},
    {&glutBitmapTimesRoman24, times24Glyphs, times24Bits, times24Height},
    {&glutBitmapHelvetica10, helvetica10Glyphs, helvetica10Bits, helvetica10Height},
    {&glutBitmapHelvetica12, helvetica12Glyphs, helvetica12Bits, helvetica12Height},
    {&glutBitmapHelvetica18, helvetica18Glyphs, helvetica18Bits, helvetica18Height},
};

// The font of a handle; null, said once per calling function, for anything else.
const Font* findFont(void* handle, const char* caller) {
    for (const Font& f : fonts)
        if (f.handle == handle) return &f;
    static std::vector<const char*> said;
    for (const char* s : said)
        if (s == caller) return nullptr;
    said.push_back(caller);
    std::fprintf(stderr, "%s: not a bitmap font (GLUT_BITMAP_8_BY_13 ... GLUT_BITMAP_HELVETICA_18)\n", caller);
    return nullptr;
}

// A bitmap's bits (GL_COLOR_INDEX, GL_BITMAP) as one byte per pixel, rows
// bottom first, read as glPixelStore's unpack settings say (swapping bytes
// does not apply to single bytes).
std::vector<unsigned char> unpackBits(const PixelStore& store, int w, int h, const unsigned char* bits) {
    std::vector<unsigned char> coverage(size_t(w) * size_t(h), 0);
    if (!bits) return coverage;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            int bit;
            coverage[size_t(j) * size_t(w) + size_t(i)] = (bits[bitAt(store, w, i, j, &bit)] >> bit) & 1;
        }
    return coverage;
}

// glBitmap once its bits are unpacked (at the call, or when a list was
// compiled): fragments where the bits are set, with the bitmap's origin on the
// raster position, then the raster position moves on. An invalid raster
// position draws nothing and stays where it is.
void bitmap(int w, int h, float xorig, float yorig, float xmove, float ymove, const std::vector<unsigned char>& bits) {
    if (!outsideBlock()) return;
    State& s = state();
    if (!s.rasterValid) return;
    if (renderMode() != GL_RENDER)
        feedbackRaster(GL_BITMAP_TOKEN);
    else if (w > 0 && h > 0) {
        drawBitmap(std::floor(s.rasterPos[0] - xorig), std::floor(s.rasterPos[1] - yorig), w, h, bits.data(),
                  s.rasterColor, s.rasterPos[2]);
    }
    s.rasterPos[0] += xmove;
    s.rasterPos[1] += ymove;
}

void recordBitmap(int w, int h, float xorig, float yorig, float xmove, float ymove, std::vector<unsigned char> bits) {
    if (record([=] { bitmap(w, h, xorig, yorig, xmove, ymove, bits); }))
        bitmap(w, h, xorig, yorig, xmove, ymove, bits);
}

// GLUT draws a glyph with the unpack settings it needs (alignment 1, nothing
// skipped, most significant bit first), whatever the program's are.
const PixelStore glyphStore = {1, 0, 0, 0, GL_FALSE, GL_FALSE};

void drawGlyph(const Font& f, int character) {
    const Glyph& g = f.glyphs[character];
    recordBitmap(g.width, g.height, float(g.xorig), float(g.yorig), float(g.advance), 0,
                 unpackBits(glyphStore, g.width, g.height, f.bits + g.offset));
}

// A line of characters as one bitmap, the same fragments and the same move
// as a glBitmap for each (glyph cells never overlap, their origins are whole
// pixels apart), in one draw.
void drawLine(const Font& f, const unsigned char* text, size_t n) {
    int bottom = 0, top = 0, width = 0;  // from the origin
    for (size_t k = 0; k < n; ++k) {
        const Glyph& g = f.glyphs[text[k]];
        if (g.height > 0) {
            bottom = std::min(bottom, -g.yorig);
            top = std::max(top, g.height - g.yorig);
        }
        width += g.advance;
    }
    const int h = top - bottom;
    std::vector<unsigned char> line(size_t(width) * size_t(h), 0);
    int x = 0;
    for (size_t k = 0; k < n; ++k) {
        const Glyph& g = f.glyphs[text[k]];
        const std::vector<unsigned char> bits = unpackBits(glyphStore, g.width, g.height, f.bits + g.offset);
        for (int j = 0; j < g.height; ++j)
            for (int i = 0; i < g.width; ++i)
                line[size_t(j - g.yorig - bottom) * size_t(width) + size_t(x - g.xorig + i)] = bits[size_t(j * g.width + i)];
        x += g.advance;
    }
    recordBitmap(width, h, 0, float(-bottom), float(width), 0, std::move(line));
}

}  // namespace
}  // namespace zw

extern "C" {

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,
              const GLubyte* bitmap) {
    if (width < 0 || height < 0) return zw::setError(GL_INVALID_VALUE);
    // Larger than any window: only the move, rather than memory a page lacks.
    if (width > 8192 || height > 8192) {
        zw::notDrawn("glBitmap");
        width = height = 0;
    }
    // The bits are read now, under today's unpack settings, also into a list.
    zw::recordBitmap(width, height, xorig, yorig, xmove, ymove,
                     zw::unpackBits(zw::state().unpack, width, height, bitmap));
}

void glutBitmapCharacter(void* font, int character) {
    const zw::Font* f = zw::findFont(font, "glutBitmapCharacter");
    if (f && character >= 1 && character <= 255) zw::drawGlyph(*f, character);
}

// A newline goes back to where the string started, one line lower.
void glutBitmapString(void* font, const unsigned char* string) {
    const zw::Font* f = zw::findFont(font, "glutBitmapString");
    if (!f || !string) return;
    for (;;) {
        const size_t n = std::strcspn(reinterpret_cast<const char*>(string), "\n");
        // Feedback sees a bitmap for each character.
        if (zw::renderMode() != GL_RENDER)
            for (size_t k = 0; k < n; ++k) zw::drawGlyph(*f, string[k]);
        else
            zw::drawLine(*f, string, n);
        if (string[n] == 0) return;
        int width = 0;
        for (size_t k = 0; k < n; ++k) width += f->glyphs[string[k]].advance;
        zw::recordBitmap(0, 0, 0, 0, -float(width), -float(f->height), {});
        string += n + 1;
    }
}

int glutBitmapWidth(void* font, int character) {
    const zw::Font* f = zw::findFont(font, "glutBitmapWidth");
    return f && character >= 0 && character <= 255 ? f->glyphs[character].advance : 0;
}

// The widest line's width.
int glutBitmapLength(void* font, const unsigned char* string) {
    const zw::Font* f = zw::findFont(font, "glutBitmapLength");
    int widest = 0, line = 0;
    for (; f && string && *string; ++string) {
        line = *string == '\n' ? 0 : line + f->glyphs[*string].advance;
        if (line > widest) widest = line;
    }
    return widest;
}

int glutBitmapHeight(void* font) {
    const zw::Font* f = zw::findFont(font, "glutBitmapHeight");
    return f ? f->height : 0;
}

}  // extern "C"
