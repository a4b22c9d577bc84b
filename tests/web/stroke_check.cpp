// The web layer's stroke fonts (platform/web/glutStroke.cpp, compiled here
// under other names, zwStrokeCharacter..., by tests/CMakeLists.txt) against
// freeglut's: every character of both fonts is drawn in GL's feedback mode,
// which hands back each line segment as drawn, and the two sets of segments are
// compared. Mono Roman must match as placed; Roman glyphs must have the same
// strokes once their leftmost points are lined up (GLUT's Roman spaces its
// characters by a table of its own, the Hershey font by its glyphs' bounds).
//
// Prints "ok: ..." or "FAIL: ..." per check; exit status 0 when all pass.
#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

extern "C" {
void zwStrokeCharacter(void* font, int character);
void zwStrokeString(void* font, const unsigned char* string);
int zwStrokeWidth(void* font, int character);
GLfloat zwStrokeWidthf(void* font, int character);
int zwStrokeLength(void* font, const unsigned char* string);
GLfloat zwStrokeHeight(void* font);
}

namespace {

int passed = 0, failed = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

struct Segment {
    float x0, y0, x1, y1;
};

// The segments a drawing call makes, in the units it was drawn in (the
// projection maps them one to one onto the window, offset by 200), each with
// its lower end first; and the model-view's x translation after it.
std::vector<Segment> capture(void (*drawing)(), float* advance = nullptr) {
    static GLfloat buffer[200000];
    glViewport(0, 0, 1000, 1000);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-200, 800, -200, 800, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(200000, GL_2D, buffer);
    glRenderMode(GL_FEEDBACK);
    drawing();
    const int n = glRenderMode(GL_RENDER);
    std::vector<Segment> out;
    for (int i = 0; i + 4 < n; i += 5) {  // a line token, then two 2D vertices
        Segment s = {buffer[i + 1] - 200, buffer[i + 2] - 200, buffer[i + 3] - 200, buffer[i + 4] - 200};
        if (std::make_pair(s.x1, s.y1) < std::make_pair(s.x0, s.y0)) std::swap(s.x0, s.x1), std::swap(s.y0, s.y1);
        out.push_back(s);
    }
    if (advance) {
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        *advance = m[12];
    }
    return out;
}

float left(const std::vector<Segment>& s) {
    float x = 1e9f;
    for (const Segment& e : s) x = std::min({x, e.x0, e.x1});
    return s.empty() ? 0 : x;
}

// Same segments, within 0.01 unit, once `b` is moved right by `shift`.
bool same(const std::vector<Segment>& a, std::vector<Segment> b, float shift) {
    if (a.size() != b.size()) return false;
    for (Segment& e : b) e.x0 += shift, e.x1 += shift;
    for (size_t i = 0; i < a.size(); ++i) {
        bool found = false;
        for (size_t j = 0; j < b.size() && !found; ++j)
            found = std::fabs(a[i].x0 - b[j].x0) < 0.01f && std::fabs(a[i].y0 - b[j].y0) < 0.01f &&
                    std::fabs(a[i].x1 - b[j].x1) < 0.01f && std::fabs(a[i].y1 - b[j].y1) < 0.01f;
        if (!found) return false;
    }
    return true;
}

std::string printable(const std::string& s) {
    std::string out;
    for (char c : s) out += c == 0x7f ? std::string("DEL") : std::string(1, c);
    return out;
}

void* font;
int character;
const unsigned char* text;
void theirs() { glutStrokeCharacter(font, character); }
void ours() { zwStrokeCharacter(font, character); }
void theirString() { glutStrokeString(font, text); }
void ourString() { zwStrokeString(font, text); }

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitWindowSize(64, 64);
    glutCreateWindow("stroke check");

    // Characters whose GLUT glyph is drawn differently from the Hershey simplex
    // Roman's: GLUT's font has its own apostrophe, asterisk, slash, at sign,
    // circumflex, underscore, grave accent and delete.
    const std::string own = "'*/@^_`\x7f";
    for (int f = 0; f < 2; ++f) {
        font = f ? GLUT_STROKE_MONO_ROMAN : GLUT_STROKE_ROMAN;
        const char* name = f ? "Mono Roman" : "Roman";
        std::string differ;
        int alike = 0, advances = 0;
        for (character = 32; character < 128; ++character) {
            float theirAdvance = 0, ourAdvance = 0;
            const std::vector<Segment> a = capture(theirs, &theirAdvance), b = capture(ours, &ourAdvance);
            const float shift = f ? 0 : left(a) - left(b);
            if (same(a, b, shift)) ++alike;
            else differ += char(character);
            advances += std::fabs(theirAdvance - ourAdvance) < 0.01f;
            if (std::fabs(ourAdvance - zwStrokeWidthf(font, character)) > 1e-4f) differ += "(advance)";
        }
        const bool expected = differ == own;
        check(expected, std::string(name) + ": every glyph has GLUT's strokes (" + std::to_string(alike) +
                            " alike; differing: \"" + printable(differ) + "\", GLUT's own: \"" + printable(own) +
                            "\")");
        if (f) check(advances == 96, "Mono Roman: every character advances by GLUT's 104.76");

        // A control: a glyph moved by a tenth of a unit is told apart.
        character = 'A';
        const std::vector<Segment> a = capture(theirs);
        check(!same(a, capture(ours), (f ? 0 : left(a) - left(capture(ours))) + 0.1f),
              std::string(name) + ": 'A' moved by 0.1 is told apart");

        check(std::fabs(zwStrokeHeight(font) - glutStrokeHeight(font)) < 0.01f,
              std::string(name) + ": glutStrokeHeight is GLUT's " + std::to_string(glutStrokeHeight(font)));
    }

    // Strings: lines start under one another, one font height apart; lengths
    // are the longest line's, rounded.
    font = GLUT_STROKE_MONO_ROMAN;
    static const unsigned char lines[] = "Hi!\nthere";
    text = lines;
    check(same(capture(theirString), capture(ourString), 0), "Mono Roman: a two-line string as GLUT draws it");
    check(zwStrokeLength(font, lines) == glutStrokeLength(font, lines) && zwStrokeLength(font, lines) == 524,
          "Mono Roman: the length of \"Hi!\\nthere\" is its longest line's, 5 x 104.76 rounded");
    font = GLUT_STROKE_ROMAN;
    check(zwStrokeWidth(font, 'A') == int(zwStrokeWidthf(font, 'A') + 0.5f) && zwStrokeWidth(font, 'A') == 86,
          "Roman: glutStrokeWidth('A') is the glyph's 18 units, 85.71 rounded");
    character = 200;
    check(zwStrokeWidth(font, 31) == 0 && zwStrokeWidth(font, 200) == 0 && capture(ours).empty(),
          "characters the fonts do not have draw nothing and advance by nothing");
    check(zwStrokeWidth(GLUT_BITMAP_8_BY_13, 'A') == 0, "a bitmap font is not a stroke font: width 0");

    std::printf("stroke check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
