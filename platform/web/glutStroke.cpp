// GLUT's stroke fonts, Roman and Mono Roman: each character is line strips in
// the model-view, after which the model-view moves on by the character's
// advance. The glyphs are the Hershey simplex Roman (hersheyStroke.py makes the
// table from Debian's data at build time), scaled as GLUT's fonts are: 21
// Hershey units (the capitals' height) make 100, so a font stands 119.05 above
// the baseline and 33.33 below it.
#include <GL/freeglut.h>

#include <cstdio>

#include "glutStrokeGlyphs.h"

namespace {

const float unit = 100.0f / 21;         // GLUT units per Hershey unit
const int baseline = 9;                 // the Hershey y of the baseline (y grows downwards)
const int monoCell = 22;               // Mono Roman: every glyph's strokes centred in 22 units
const float fontHeight = 32 * unit;      // 152.38: the Hershey em, ascent plus descent

enum Font { roman, monoRoman, none };

Font fontOf(void* font, const char* caller) {
    if (font == GLUT_STROKE_ROMAN) return roman;
    if (font == GLUT_STROKE_MONO_ROMAN) return monoRoman;
    static bool said = false;
    if (!said) std::fprintf(stderr, "%s: not a stroke font (GLUT_STROKE_ROMAN or GLUT_STROKE_MONO_ROMAN)\n", caller);
    said = true;
    return none;
}

// The glyph of a character, or null for those the font has none of (below 32,
// above 127): they draw nothing and advance by nothing.
const HersheyGlyph* glyphOf(int character) {
    return character >= 32 && character < 128 ? &hersheyGlyphs[character - 32] : nullptr;
}

float advance(Font font, const HersheyGlyph* g) {
    if (!g) return 0;
    return font == monoRoman ? monoCell * unit : (g->right - g->left) * unit;
}

void draw(Font font, const HersheyGlyph* g) {
    // The Hershey x at the cell's left: Roman's is the glyph's own left bound;
    // Mono Roman centres the strokes' extent in the cell.
    float origin = g->left;
    if (font == monoRoman) {
        int low = 127, high = -127;
        for (int k = 0; k < g->count; ++k) {
            const signed char* p = hersheyPoints[g->first + k];
            if (p[0] == -128) continue;
            low = p[0] < low ? p[0] : low;
            high = p[0] > high ? p[0] : high;
        }
        origin = low > high ? 0 : (low + high) / 2.0f - monoCell / 2.0f;
    }
    bool open = false;
    for (int k = 0; k < g->count; ++k) {
        const signed char* p = hersheyPoints[g->first + k];
        if (p[0] == -128) {  // the pen lifts
            if (open) glEnd();
            open = false;
            continue;
        }
        if (!open) glBegin(GL_LINE_STRIP);
        open = true;
        glVertex2f((p[0] - origin) * unit, (baseline - p[1]) * unit);
    }
    if (open) glEnd();
}

// The longest line of a string ('\n' starts a new one).
float length(Font font, const unsigned char* string) {
    float longest = 0, line = 0;
    for (const unsigned char* c = string; c && *c; ++c) {
        if (*c == '\n') {
            line = 0;
            continue;
        }
        line += advance(font, glyphOf(*c));
        if (line > longest) longest = line;
    }
    return longest;
}

}  // namespace

extern "C" {

void glutStrokeCharacter(void* fontId, int character) {
    const Font font = fontOf(fontId, "glutStrokeCharacter");
    const HersheyGlyph* g = glyphOf(character);
    if (font == none || !g) return;
    draw(font, g);
    glTranslatef(advance(font, g), 0, 0);
}

// Each line starts where the first did, one font height lower.
void glutStrokeString(void* fontId, const unsigned char* string) {
    const Font font = fontOf(fontId, "glutStrokeString");
    if (font == none || !string) return;
    float line = 0;
    for (const unsigned char* c = string; *c; ++c) {
        if (*c == '\n') {
            glTranslatef(-line, -fontHeight, 0);
            line = 0;
            continue;
        }
        const HersheyGlyph* g = glyphOf(*c);
        if (!g) continue;
        draw(font, g);
        glTranslatef(advance(font, g), 0, 0);
        line += advance(font, g);
    }
}

GLfloat glutStrokeWidthf(void* fontId, int character) {
    const Font font = fontOf(fontId, "glutStrokeWidth");
    return font == none ? 0 : advance(font, glyphOf(character));
}

int glutStrokeWidth(void* fontId, int character) { return int(glutStrokeWidthf(fontId, character) + 0.5f); }

GLfloat glutStrokeLengthf(void* fontId, const unsigned char* string) {
    const Font font = fontOf(fontId, "glutStrokeLength");
    return font == none ? 0 : length(font, string);
}

int glutStrokeLength(void* fontId, const unsigned char* string) {
    return int(glutStrokeLengthf(fontId, string) + 0.5f);
}

GLfloat glutStrokeHeight(void* fontId) { return fontOf(fontId, "glutStrokeHeight") == none ? 0 : fontHeight; }

}  // extern "C"
