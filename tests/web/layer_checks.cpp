// Checks of the web platform layer against OpenGL 1.x's rules, run in a real
// WebGL 2 context (test_layer.py opens its page): what the framework relies on
// and the pictures alone would not show. Pixels are read back with
// glReadPixels under a projection of one unit per pixel.
//
// Prints "ok: ..." or "FAIL: ..." per check and a closing count; the program
// ends with status 0 only when every check passed.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/web/layerStateChecks.h"

namespace {

int passed = 0, failed = 0;

void check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    (ok ? passed : failed)++;
}

struct Pixel {
    int r, g, b;
};

Pixel at(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// A colour in 0..1 as the framebuffer stores it, within one step of rounding.
bool near(Pixel p, float r, float g, float b) {
    auto one = [](int got, float want) { return std::abs(got - int(std::lround(want * 255))) <= 1; };
    return one(p.r, r) && one(p.g, g) && one(p.b, b);
}

void report(Pixel p, float r, float g, float b, const char* what) {
    char text[256];
    std::snprintf(text, sizeof text, "%s (got %d %d %d, want %.0f %.0f %.0f)", what, p.r, p.g, p.b, r * 255, g * 255,
                  b * 255);
    check(near(p, r, g, b), text);
}

// A fresh frame: black, one unit per pixel with the origin bottom-left, no
// lighting, smooth shading, modelview at the identity.
void fresh() {
    glViewport(0, 0, 1024, 768);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 0, 768, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void square(float x, float y, float side, bool clockwise = false) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    if (clockwise) {
        glVertex3f(x, y, 0), glVertex3f(x, y + side, 0), glVertex3f(x + side, y + side, 0), glVertex3f(x + side, y, 0);
    } else {
        glVertex3f(x, y, 0), glVertex3f(x + side, y, 0), glVertex3f(x + side, y + side, 0), glVertex3f(x, y + side, 0);
    }
    glEnd();
}

void matrices() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90, 0, 0, 1);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // The x axis goes to the y axis.
    check(std::fabs(m[0]) < 1e-6f && std::fabs(m[1] - 1) < 1e-6f, "glRotatef(90, z) takes x to y");

    glLoadIdentity();
    glPushMatrix();
    glTranslatef(5, 6, 7);
    glPopMatrix();
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    check(m[12] == 0 && m[13] == 0 && m[14] == 0, "glPopMatrix restores what glPushMatrix saved");

    while (glGetError() != GL_NO_ERROR) {
    }
    glPopMatrix();
    check(glGetError() == GL_STACK_UNDERFLOW, "a pop of the last matrix is GL_STACK_UNDERFLOW");
    GLint depth = 0, most = 0;
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &most);
    for (int i = 0; i < most; ++i) glPushMatrix();
    GLenum overflow = glGetError();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    check(overflow == GL_STACK_OVERFLOW && depth == most, "the push past the full stack is GL_STACK_OVERFLOW");
    for (int i = 0; i < most; ++i) glPopMatrix();
    glGetError();

    // The camera: what the matrices project, gluUnProject takes back.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 4.0 / 3.0, 66, 6650);
    gluLookAt(512, 384, 665, 512, 384, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    GLdouble P[16], M[16];
    GLint view[4] = {0, 0, 1024, 768};
    glGetDoublev(GL_PROJECTION_MATRIX, P);
    glGetDoublev(GL_MODELVIEW_MATRIX, M);
    const double point[4] = {300, 200, 40, 1};
    double clip[4];
    for (int r = 0; r < 4; ++r) {
        clip[r] = 0;
        for (int k = 0; k < 4; ++k) clip[r] += P[k * 4 + r] * point[k];
    }
    const double wx = (clip[0] / clip[3] + 1) * 512, wy = (clip[1] / clip[3] + 1) * 384, wz = (clip[2] / clip[3] + 1) / 2;
    double ox = 0, oy = 0, oz = 0;
    const GLint ok = gluUnProject(wx, wy, wz, M, P, view, &ox, &oy, &oz);
    check(ok == GL_TRUE && std::fabs(ox - 300) < 1e-2 && std::fabs(oy - 200) < 1e-2 && std::fabs(oz - 40) < 1e-2,
          "gluUnProject takes a projected point back");
    const GLdouble singular[16] = {0};
    ox = 7;
    check(gluUnProject(1, 1, 0, singular, P, view, &ox, &oy, &oz) == GL_FALSE && ox == 7,
          "gluUnProject of a singular matrix fails and leaves the outputs");
}

void flatShading() {
    fresh();
    glShadeModel(GL_FLAT);
    // A quad takes its colour from its last vertex, a polygon from its first,
    // quad j of a strip from vertex 2j+3.
    glBegin(GL_QUADS);
    glColor3f(1, 0, 0), glVertex3f(10, 10, 0);
    glColor3f(0, 1, 0), glVertex3f(110, 10, 0);
    glColor3f(0, 0, 1), glVertex3f(110, 110, 0);
    glColor3f(1, 1, 1), glVertex3f(10, 110, 0);
    glEnd();
    check(near(at(100, 20), 1, 1, 1) && near(at(20, 100), 1, 1, 1), "a flat quad has its last vertex's colour");
    glBegin(GL_POLYGON);
    glColor3f(1, 1, 0), glVertex3f(200, 10, 0);
    glColor3f(0, 1, 0), glVertex3f(300, 10, 0);
    glColor3f(0, 0, 1), glVertex3f(320, 60, 0);
    glColor3f(1, 0, 0), glVertex3f(300, 110, 0);
    glColor3f(0, 1, 1), glVertex3f(200, 110, 0);
    glEnd();
    check(near(at(290, 20), 1, 1, 0) && near(at(210, 100), 1, 1, 0) && near(at(305, 60), 1, 1, 0),
          "a flat polygon has its first vertex's colour");
    glBegin(GL_QUAD_STRIP);
    const float colors[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};
    for (int k = 0; k < 6; ++k) {
        glColor3fv(colors[k]);
        glVertex3f(400 + 50 * float(k / 2), k % 2 ? 110.0f : 10.0f, 0);
    }
    glEnd();
    check(near(at(410, 20), 1, 0, 1) && near(at(440, 100), 1, 0, 1) && near(at(460, 20), 1, 1, 1) &&
              near(at(490, 100), 1, 1, 1),
          "quad j of a flat quad strip has vertex 2j+3's colour");
    glShadeModel(GL_SMOOTH);
}

void lighting() {
    // The fixed-function formula with colour material (ambient and diffuse):
    // c = a_m * 0.2 (the model's ambient) + max(n.L, 0) d_m + specular.
    const float c[3] = {0.8f, 0.6f, 0.4f};
    fresh();
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat slanted[4] = {1, 0, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, slanted);
    glColor3fv(c);
    square(10, 200, 100);
    const float k = 0.2f + std::sqrt(0.5f);
    report(at(60, 250), c[0] * k, c[1] * k, c[2] * k, "a directional light at 45 degrees: ambient plus n.L diffuse");

    // Two-sided lighting: a quad that shows its back is lit with -n, so only
    // the ambient part remains; one-sided, it is lit as its front.
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    square(150, 200, 100, true);
    report(at(200, 250), c[0] * 0.2f, c[1] * 0.2f, c[2] * 0.2f, "two-sided: the back side is lit with -n");
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    square(290, 200, 100, true);
    report(at(340, 250), c[0] * k, c[1] * k, c[2] * k, "one-sided: the back side is lit as the front");

    // Specular: h = normalize(L + (0, 0, 1)), (n.h)^10 times the white specular.
    const float d[3] = {0.4f, 0.3f, 0.2f};
    const GLfloat white[4] = {1, 1, 1, 1};
    const GLfloat black[4] = {0, 0, 0, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 10);
    glColor3fv(d);
    square(430, 200, 100);
    const float hx = std::sqrt(0.5f), hz = 1 + std::sqrt(0.5f), hl = std::sqrt(hx * hx + hz * hz);
    const float s = std::pow(hz / hl, 10.0f);
    report(at(480, 250), d[0] * k + s, d[1] * k + s, d[2] * k + s, "specular: (n.h)^shininess");
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);

    // A light at a position 100 above the square's centre, attenuated
    // linearly: 1 / (1 + 0.01 d). Lighting is per vertex: each corner is 122.5
    // away, at n.L = 100 / 122.5, and so is every pixel between them.
    const GLfloat above[4] = {620, 250, 100, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, above);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.01f);
    glColor3fv(c);
    square(570, 200, 100);
    const float dist = std::sqrt(50.0f * 50 + 50 * 50 + 100 * 100);
    const float lit = 0.2f + (100 / dist) / (1 + 0.01f * dist);
    report(at(620, 250), c[0] * lit, c[1] * lit, c[2] * lit, "a positional light, attenuated by distance");
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0);

    // The position is kept in eye coordinates: set under a rotation that takes
    // it onto the normal, the light falls straight on.
    glPushMatrix();
    glRotatef(-45, 0, 1, 0);
    glLightfv(GL_LIGHT0, GL_POSITION, slanted);
    glPopMatrix();
    square(710, 200, 100);
    report(at(760, 250), c[0] * 1.2f, c[1] * 1.2f, c[2] * 1.2f,
           "a light position is transformed by the model-view current when it is set");
    glDisable(GL_LIGHTING);
}

void lists() {
    fresh();
    GLuint list = glGenLists(1);
    glColor3f(0, 0, 1);
    glNewList(list, GL_COMPILE);
    glColor3f(1, 0, 0);
    square(10, 400, 50);
    glColor3f(0, 1, 0);
    glEndList();
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    check(near(at(30, 420), 0, 0, 0) && color[2] == 1 && color[0] == 0,
          "compiling a list draws nothing and leaves the current colour");
    glCallList(list);
    glGetFloatv(GL_CURRENT_COLOR, color);
    check(near(at(30, 420), 1, 0, 0) && color[1] == 1 && color[0] == 0,
          "calling it draws its block and leaves its last colour current");
    glTranslatef(100, 0, 0);
    glCallList(list);
    glLoadIdentity();
    check(near(at(130, 420), 1, 0, 0), "a list's block follows the model-view current at the call");
}

void attributes() {
    fresh();
    glColor3f(0.5f, 0.5f, 0.5f);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 0, 0);
    glPopAttrib();
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    check(!glIsEnabled(GL_LIGHTING) && !glIsEnabled(GL_DEPTH_TEST) && color[0] == 0.5f,
          "glPopAttrib restores the enables and the current colour");
    glGetError();
    glEnable(0x1234);
    check(glGetError() == GL_INVALID_ENUM && glGetError() == GL_NO_ERROR,
          "an unknown capability is GL_INVALID_ENUM, read once");
    glBegin(GL_LINES);
    glBegin(GL_LINES);
    glEnd();
    check(glGetError() == GL_INVALID_OPERATION, "glBegin inside a block is GL_INVALID_OPERATION");
}

// How many pixels of a column (x fixed, rows y0..y1) or a row are lit.
int litRun(int x0, int y0, int dx, int dy, int n) {
    int lit = 0;
    for (int k = 0; k < n; ++k) {
        const Pixel p = at(x0 + k * dx, y0 + k * dy);
        lit += (p.r > 0 || p.g > 0 || p.b > 0);
    }
    return lit;
}

void wideLines() {
    // GL widens a line along the window's minor axis to the rounded width.
    fresh();
    glColor3f(1, 1, 1);
    glLineWidth(5);
    glBegin(GL_LINES);
    glVertex3f(100, 700.5f, 0), glVertex3f(300, 700.5f, 0);  // horizontal
    glVertex3f(400.5f, 600, 0), glVertex3f(410.5f, 700, 0);  // steep: widened along x
    glEnd();
    check(litRun(200, 690, 0, 1, 20) == 5 && near(at(200, 698), 1, 1, 1) && near(at(200, 702), 1, 1, 1),
          "a horizontal line 5 wide covers 5 rows");
    check(litRun(395, 650, 1, 0, 20) == 5, "a steep line 5 wide covers 5 columns");
    glLineWidth(2.6f);
    glBegin(GL_LINE_LOOP);
    glVertex3f(500, 500.5f, 0), glVertex3f(600, 500.5f, 0), glVertex3f(600, 560.5f, 0);
    glEnd();
    check(litRun(550, 490, 0, 1, 20) == 3, "a width of 2.6 draws 3 pixels wide");
    // The closing segment, from (600, 560.5) back to (500, 500.5), crosses
    // x = 550 at y = 530.5, widened along y since it is x-major.
    check(litRun(550, 520, 0, 1, 20) == 3, "a line loop closes with its last segment, as wide");
    glLineWidth(1);
    glBegin(GL_LINES);
    glVertex3f(100, 650.5f, 0), glVertex3f(300, 650.5f, 0);
    glEnd();
    check(litRun(200, 640, 0, 1, 20) == 1, "a line 1 wide covers one row");
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINE_STRIP);
    glVertex3f(700, 700.5f, 0), glVertex3f(900, 700.5f, 0);
    glEnd();
    glEndList();
    glLineWidth(3);
    glCallList(list);
    glLineWidth(1);
    check(litRun(800, 690, 0, 1, 20) == 3, "a list's line block is drawn at the width current at the call");
}

void text() {
    fresh();
    glColor3f(1, 1, 0);
    glRasterPos2f(100, 600);
    glColor3f(0, 0, 1);  // the raster colour was taken at glRasterPos
    glutBitmapCharacter(GLUT_BITMAP_8_BY_13, 'H');
    glutBitmapCharacter(GLUT_BITMAP_8_BY_13, 'H');
    int inside = 0, outside = 0, second = 0;
    for (int y = 590; y < 620; ++y)
        for (int x = 90; x < 130; ++x) {
            const Pixel p = at(x, y);
            const bool lit = p.r > 0 || p.g > 0 || p.b > 0;
            const bool cell = x >= 100 && x < 108 && y >= 597 && y < 610;
            if (lit && near(p, 1, 1, 0)) {
                if (cell) inside++;
                else if (x >= 108 && x < 116 && y >= 597 && y < 610) second++;
                else outside++;
            } else if (lit) {
                outside++;
            }
        }
    char what[160];
    std::snprintf(what, sizeof what,
                  "an 8x13 character draws in its cell in the raster colour, the next one 8 pixels on (%d, %d, %d)",
                  inside, second, outside);
    check(inside > 8 && second == inside && outside == 0, what);
    check(glutBitmapWidth(GLUT_BITMAP_8_BY_13, 'W') == 8 && glutBitmapWidth(GLUT_BITMAP_9_BY_15, 'i') == 9,
          "the fixed fonts advance by their cell width");
}

bool lit(int x, int y) {
    const Pixel p = at(x, y);
    return p.r > 0 || p.g > 0 || p.b > 0;
}

// glBitmap as GL 1.1 rasterises it: the origin floored from the raster
// position, the bits unpacked as glPixelStore says (when a list is compiled,
// for a list), the raster position moved on only while it is valid.
void bitmaps() {
    fresh();
    glColor3f(1, 1, 1);
    const GLubyte one[] = {0x80};
    // Rows at y = 192 (and whole x), where the window's y is exact in floats.
    glRasterPos2f(100.5f, 192.75f);
    glBitmap(1, 1, 0.75f, 0, 0, 0, one);
    check(lit(99, 192) && !lit(100, 192), "a bitmap's corner is floor(raster position - origin)");

    glRasterPos2i(200, 192);
    glBitmap(0, 0, 0, 0, 20.5f, 5.25f, nullptr);
    glBitmap(1, 1, 0, 0, 0, 0, one);
    GLfloat pos[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    char what[120];
    std::snprintf(what, sizeof what, "an empty bitmap moves the raster position (to %g %g)", pos[0], pos[1]);
    check(lit(220, 197) && pos[0] == 220.5f && pos[1] == 197.25f, what);

    glRasterPos2f(-10, 192);  // left of the view volume
    GLboolean valid = GL_TRUE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    glBitmap(1, 1, -20, 0, 30, 0, one);
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    GLboolean after = GL_TRUE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &after);
    check(!valid && !after && !lit(10, 192) && !lit(20, 192), "an invalid raster position draws nothing and stays invalid");

    glRasterPos2i(250, 192);
    while (glGetError() != GL_NO_ERROR) {
    }
    glBitmap(-1, 1, 0, 0, 10, 0, one);
    const GLenum negative = glGetError();
    glutBitmapCharacter(&pos, 'A');  // not a font: said on the console, nothing drawn
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    check(negative == GL_INVALID_VALUE && pos[0] == 250 && !lit(250, 192) && glGetError() == GL_NO_ERROR,
          "a negative size is GL_INVALID_VALUE, an unknown font draws nothing; neither moves");

    // Rows of 8 pixels padded to 2 bytes, least significant bit leftmost.
    const GLubyte padded[] = {0x01, 0xff, 0x02, 0xff};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glRasterPos2i(300, 192);
    glBitmap(8, 2, 0, 0, 0, 0, padded);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    check(lit(300, 192) && lit(301, 193) && !lit(301, 192) && !lit(307, 192) && !lit(300, 193),
          "glBitmap honours the unpack alignment and bit order");

    // Rows of 16 pixels, one row and two pixels skipped: the third pixel of the second row.
    const GLubyte wide[] = {0x00, 0x00, 0x20, 0x00};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 16);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 2);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 1);
    glRasterPos2i(400, 192);
    glBitmap(1, 1, 0, 0, 0, 0, wide);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    check(lit(400, 192), "glBitmap honours the unpack row length and skips");

    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBitmap(1, 1, 0, 0, 3, 0, one);
    glEndList();
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);  // after the list: its bits were read already
    glRasterPos2i(500, 192);
    glCallList(list);
    glCallList(list);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glDeleteLists(list, 1);
    check(lit(500, 192) && lit(503, 192) && !lit(501, 192), "a list's bitmap keeps the bits read when it was compiled");

    // A newline in glutBitmapString: back to the start, one line (14 pixels) down.
    glRasterPos2i(600, 192);
    glutBitmapString(GLUT_BITMAP_8_BY_13, reinterpret_cast<const unsigned char*>("H\nH"));
    int same = 0, count = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 8; ++x) {
            count += lit(600 + x, 190 + y);
            same += lit(600 + x, 190 + y) == lit(600 + x, 176 + y);
        }
    check(count > 8 && same == 8 * 13 && glutBitmapHeight(GLUT_BITMAP_8_BY_13) == 14,
          "a newline in glutBitmapString goes one glutBitmapHeight down");
    check(glutBitmapLength(GLUT_BITMAP_8_BY_13, reinterpret_cast<const unsigned char*>("ab\ncde")) == 24 &&
              glutBitmapWidth(GLUT_BITMAP_TIMES_ROMAN_24, 'W') == 23 && glutBitmapWidth(GLUT_BITMAP_HELVETICA_12, 0) == 0,
          "glutBitmapLength is the widest line's, glutBitmapWidth the advance");
}

// ---- The fragment pipeline: scenes read back and compared with GL's formulas.

// A pixel within `tolerance` levels of a colour in 0..1 on every channel.
bool within(Pixel p, const float want[3], int tolerance) {
    auto one = [&](int got, float w) { return std::abs(got - int(std::lround(w * 255))) <= tolerance; };
    return one(p.r, want[0]) && one(p.g, want[1]) && one(p.b, want[2]);
}

void expect(Pixel p, const float want[3], int tolerance, const char* what) {
    char text[256];
    std::snprintf(text, sizeof text, "%s (got %d %d %d, want %.1f %.1f %.1f)", what, p.r, p.g, p.b, want[0] * 255,
                  want[1] * 255, want[2] * 255);
    check(within(p, want, tolerance), text);
}

void rect(float x0, float y0, float x1, float y1, float z = 0) {
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0), glVertex3f(x0, y0, z);
    glTexCoord2f(1, 0), glVertex3f(x1, y0, z);
    glTexCoord2f(1, 1), glVertex3f(x1, y1, z);
    glTexCoord2f(0, 1), glVertex3f(x0, y1, z);
    glEnd();
}

// GL 1.1's texture functions (tables 3.11, 3.12) on one texel: the colour
// and alpha a fragment of colour cf leaves with.
void textureFunction(GLenum format, GLenum mode, const float texel[4], const float cf[4], const float cc[4],
                     float out[4]) {
    const bool hasColor = format != GL_ALPHA;
    const bool hasAlpha = format == GL_ALPHA || format == GL_LUMINANCE_ALPHA || format == GL_INTENSITY || format == GL_RGBA;
    float tc[3], ta = format == GL_INTENSITY ? texel[0] : texel[3];
    for (int k = 0; k < 3; ++k) tc[k] = format == GL_RGB || format == GL_RGBA ? texel[k] : texel[0];
    for (int k = 0; k < 4; ++k) out[k] = cf[k];
    for (int k = 0; k < 3; ++k) {
        if (mode == GL_REPLACE && hasColor) out[k] = tc[k];
        if (mode == GL_MODULATE && hasColor) out[k] = cf[k] * tc[k];
        if (mode == GL_DECAL) out[k] = format == GL_RGB ? tc[k] : cf[k] * (1 - ta) + tc[k] * ta;
        if (mode == GL_BLEND && hasColor) out[k] = cf[k] * (1 - tc[k]) + cc[k] * tc[k];
    }
    if (mode == GL_BLEND && format == GL_INTENSITY) out[3] = cf[3] * (1 - ta) + cc[3] * ta;
    else if ((mode == GL_MODULATE || mode == GL_BLEND) && hasAlpha) out[3] = cf[3] * ta;
    else if (mode == GL_REPLACE && hasAlpha) out[3] = ta;
}

void textureEnvironments() {
    fresh();
    // One texel (153, 102, 51, 128) in every base format; the fragment's
    // alpha shows through blending over black.
    const float texel[4] = {153 / 255.0f, 102 / 255.0f, 51 / 255.0f, 128 / 255.0f};
    const float cf[4] = {0.5f, 1.0f, 0.25f, 0.8f}, cc[4] = {0.2f, 0.9f, 0.3f, 0.7f};
    const struct {
        GLenum format;
        GLubyte bytes[4];
        int size;
    } formats[] = {{GL_ALPHA, {128}, 1},          {GL_LUMINANCE, {153}, 1}, {GL_LUMINANCE_ALPHA, {153, 128}, 2},
                   {GL_INTENSITY, {153}, 1},      {GL_RGB, {153, 102, 51}, 3}, {GL_RGBA, {153, 102, 51, 128}, 4}};
    const GLenum modes[] = {GL_MODULATE, GL_DECAL, GL_REPLACE, GL_BLEND};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, cc);
    for (int f = 0; f < 6; ++f) {
        GLubyte image[4][4];
        for (auto& t : image)
            for (int k = 0; k < 4; ++k) t[k] = formats[f].bytes[k];
        GLubyte packed[16];
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < formats[f].size; ++k) packed[i * formats[f].size + k] = image[i][k];
        // GL_INTENSITY is an internal format only: its image comes as luminance.
        const GLenum given = formats[f].format == GL_INTENSITY ? GL_LUMINANCE : formats[f].format;
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(formats[f].format), 2, 2, 0, given, GL_UNSIGNED_BYTE, packed);
        for (int m = 0; m < 4; ++m) {
            // DECAL is undefined for the formats without colour of their own.
            if (modes[m] == GL_DECAL && formats[f].format != GL_RGB && formats[f].format != GL_RGBA) continue;
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GLint(modes[m]));
            glColor4fv(cf);
            const float x = 20 + 40.0f * float(m), y = 20 + 40.0f * float(f);
            rect(x, y, x + 30, y + 30);
            float out[4], want[3];
            textureFunction(formats[f].format, modes[m], texel, cf, cc, out);
            for (int k = 0; k < 3; ++k) want[k] = out[k] * out[3];
            char what[96];
            std::snprintf(what, sizeof what, "texture environment %d on base format %d: GL's table", int(m), int(f));
            expect(at(int(x) + 15, int(y) + 15), want, 2, what);
        }
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDeleteTextures(1, &texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void fogAndAlphaTest() {
    fresh();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 1024, 0, 768, 0, 20);
    glMatrixMode(GL_MODELVIEW);
    // A square 4 units from the eye: f from |z_eye| = 4.
    const float cf[3] = {1, 0.2f, 0.2f}, fogColor[4] = {0.2f, 0.4f, 1, 1};
    const struct {
        GLenum mode;
        float f;
    } fogs[] = {{GL_LINEAR, (11 - 4) / 10.0f}, {GL_EXP, std::exp(-0.2f * 4)}, {GL_EXP2, std::exp(-0.8f * 0.8f)}};
    glEnable(GL_FOG);
    glFogfv(GL_FOG_COLOR, fogColor);
    glFogf(GL_FOG_START, 1);
    glFogf(GL_FOG_END, 11);
    glFogf(GL_FOG_DENSITY, 0.2f);
    for (int i = 0; i < 3; ++i) {
        glFogi(GL_FOG_MODE, GLint(fogs[i].mode));
        glColor3fv(cf);
        rect(20 + 40.0f * float(i), 300, 50 + 40.0f * float(i), 330, -4);
        float want[3];
        for (int k = 0; k < 3; ++k) want[k] = fogs[i].f * cf[k] + (1 - fogs[i].f) * fogColor[k];
        const char* names[] = {"linear fog: f = (end - z) / (end - start)", "exp fog: f = exp(-density z)",
                               "exp2 fog: f = exp(-(density z)^2)"};
        expect(at(35 + 40 * i, 315), want, 2, names[i]);
    }
    glDisable(GL_FOG);

    // Alpha test against the reference, in the framebuffer's 8 bits.
    const struct {
        GLenum func;
        float ref;
        bool drawn;
    } tests[] = {{GL_GREATER, 0.4f, true}, {GL_GREATER, 0.6f, false}, {GL_EQUAL, 0.5f, true},
                 {GL_LESS, 0.5f, false},   {GL_NEVER, 0, false},       {GL_ALWAYS, 0, true},
                 {GL_NOTEQUAL, 0.5f, false}, {GL_GEQUAL, 0.5f, true},  {GL_LEQUAL, 0.3f, false}};
    glEnable(GL_ALPHA_TEST);
    int right = 0;
    for (int i = 0; i < 9; ++i) {
        glAlphaFunc(tests[i].func, tests[i].ref);
        glColor4f(1, 1, 1, 0.5f);
        rect(200 + 20.0f * float(i), 300, 215 + 20.0f * float(i), 315);
        right += lit(207 + 20 * i, 307) == tests[i].drawn;
    }
    glDisable(GL_ALPHA_TEST);
    glAlphaFunc(GL_ALWAYS, 0);
    char what[96];
    std::snprintf(what, sizeof what, "alpha test: every function against its reference (%d of 9)", right);
    check(right == 9, what);
}

// Whether the pixels x0..x0+63 of row y are lit exactly where the stipple
// pattern's bit (counted from `from` and restarting at `restart`) is 1.
bool stippled(int x0, int y, unsigned pattern, int factor, int restart) {
    for (int i = 0; i < 64; ++i) {
        const int count = i < restart ? i : i - restart;
        const bool want = (pattern >> ((count / factor) % 16)) & 1;
        if (lit(x0 + i, y) != want) return false;
    }
    return true;
}

void stipple() {
    fresh();
    glColor3f(1, 1, 1);
    glEnable(GL_LINE_STIPPLE);
    // The counter runs on through a strip and restarts with each segment of
    // GL_LINES.
    glLineStipple(1, 0x00ff);
    glBegin(GL_LINES);
    glVertex2f(100, 400.5f), glVertex2f(164, 400.5f);
    glEnd();
    check(stippled(100, 400, 0x00ff, 1, 64), "line stipple 0x00ff: 8 pixels on, 8 off");
    glLineStipple(3, 0x1c47);
    glBegin(GL_LINE_STRIP);
    glVertex2f(200, 410.5f), glVertex2f(232, 410.5f), glVertex2f(264, 410.5f);
    glEnd();
    check(stippled(200, 410, 0x1c47, 3, 64), "line stipple factor 3: the counter runs on through a strip");
    glBegin(GL_LINES);
    glVertex2f(300, 420.5f), glVertex2f(332, 420.5f);
    glVertex2f(332, 420.5f), glVertex2f(364, 420.5f);
    glEnd();
    check(stippled(300, 420, 0x1c47, 3, 32), "line stipple: each segment of GL_LINES starts the pattern again");
    glLineWidth(3);
    glLineStipple(2, 0x0f0f);
    glBegin(GL_LINES);
    glVertex2f(400, 430.5f), glVertex2f(464, 430.5f);
    glEnd();
    glLineWidth(1);
    check(stippled(400, 429, 0x0f0f, 2, 64) && stippled(400, 431, 0x0f0f, 2, 64), "a wide line is stippled along its length");
    glDisable(GL_LINE_STIPPLE);

    // Polygon stipple: a checkerboard (bit 31 the leftmost pixel of the row),
    // fixed to the window.
    GLubyte mask[128];
    for (int row = 0; row < 32; ++row)
        for (int b = 0; b < 4; ++b) mask[row * 4 + b] = row % 2 == 0 ? 0xaa : 0x55;
    glPolygonStipple(mask);
    glEnable(GL_POLYGON_STIPPLE);
    rect(600, 400, 640, 440);
    glDisable(GL_POLYGON_STIPPLE);
    int right = 0;
    for (int y = 400; y < 440; ++y)
        for (int x = 600; x < 640; ++x) right += lit(x, y) == ((x % 2 == 0) == (y % 2 == 0));
    check(right == 40 * 40, "polygon stipple: the pattern's 1 bits are drawn, fixed to the window");
}

void clipAndSpot() {
    fresh();
    glColor3f(1, 1, 1);
    // x >= 500, and set under a translation by 100: in eye coordinates x >= 600.
    const GLdouble plane[4] = {1, 0, 0, -500};
    glClipPlane(GL_CLIP_PLANE0, plane);
    glEnable(GL_CLIP_PLANE0);
    rect(450, 500, 550, 520);
    glPushMatrix();
    glTranslatef(100, 0, 0);
    glClipPlane(GL_CLIP_PLANE1, plane);
    glPopMatrix();
    glDisable(GL_CLIP_PLANE0);
    glEnable(GL_CLIP_PLANE1);
    rect(550, 530, 650, 550);
    glDisable(GL_CLIP_PLANE1);
    check(!lit(498, 510) && lit(501, 510) && !lit(598, 540) && lit(601, 540),
          "clip planes keep the eye-space half space a plane was set in");

    // A spot light 100 above (300, 650), pointing down, cut-off 45 degrees,
    // exponent 2. Flat shading shows the colour lit at the last vertex.
    glShadeModel(GL_FLAT);
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    const GLfloat where[4] = {300, 650, 100, 1}, down[3] = {0, 0, -1}, white[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, where);
    glLightfv(GL_LIGHT1, GL_SPOT_DIRECTION, down);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightf(GL_LIGHT1, GL_SPOT_CUTOFF, 45);
    glLightf(GL_LIGHT1, GL_SPOT_EXPONENT, 2);
    const float c[3] = {0.8f, 0.6f, 0.4f};
    glColor3fv(c);
    for (int k = 0; k < 2; ++k) {
        // The last vertex at (px, 650): 50 from the axis (inside), 150 (outside).
        const float px = k == 0 ? 350 : 450;
        glBegin(GL_QUADS);
        glNormal3f(0, 0, 1);
        glVertex2f(px, 630), glVertex2f(px + 20, 630), glVertex2f(px + 20, 650), glVertex2f(px, 650);
        glEnd();
        const float d = std::sqrt((px - 300) * (px - 300) + 100 * 100), cosine = 100 / d;
        const float lit1 = 0.2f + (cosine >= std::cos(float(M_PI) / 4) ? cosine * cosine * cosine : 0);
        const float want[3] = {c[0] * lit1, c[1] * lit1, c[2] * lit1};
        expect(at(int(px) + 10, 640), want, 2, k == 0 ? "a spot light inside its cone: n.L (-L.d)^exponent"
                                                      : "a spot light outside its cone: ambient only");
    }
    glDisable(GL_LIGHT1);
    glDisable(GL_LIGHTING);
    glDisable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
}

void polygonModes() {
    fresh();
    glColor3f(1, 1, 1);
    // Edges: the interior stays empty; an edge whose first vertex has the
    // flag off is not drawn.
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glBegin(GL_QUADS);
    glEdgeFlag(GL_FALSE);
    glVertex2f(100.5f, 600.5f);
    glEdgeFlag(GL_TRUE);
    glVertex2f(150.5f, 600.5f), glVertex2f(150.5f, 650.5f), glVertex2f(100.5f, 650.5f);
    glEnd();
    check(!lit(125, 625) && !lit(125, 600) && lit(150, 625) && lit(125, 650) && lit(100, 625),
          "polygon mode line: the edges whose flag is set, not the inside");
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    glBegin(GL_TRIANGLES);
    glVertex2f(200.5f, 600.5f), glVertex2f(250.5f, 600.5f), glVertex2f(250.5f, 650.5f);
    glEnd();
    check(lit(200, 600) && lit(250, 600) && lit(250, 650) && !lit(225, 600) && !lit(240, 610),
          "polygon mode point: the vertices only");
    // Front filled, back as lines: by the facing in the window.
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_LINE);
    rect(300.5f, 600.5f, 350.5f, 650.5f);
    rect(450.5f, 600.5f, 400.5f, 650.5f);  // clockwise
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    check(lit(325, 625) && !lit(425, 625) && lit(425, 600), "front and back each in its own polygon mode");

    // Points: rounded sizes, square; smooth ones round, their corners faint.
    glPointSize(5);
    glBegin(GL_POINTS);
    glVertex2f(600.5f, 600.5f);
    glEnd();
    check(litRun(590, 600, 1, 0, 20) == 5 && litRun(600, 590, 0, 1, 20) == 5 && lit(602, 602),
          "a point of size 5 is a 5x5 square");
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPointSize(8);
    glBegin(GL_POINTS);
    glVertex2f(700, 600);
    glEnd();
    const Pixel centre = at(700, 600), corner = at(704, 604), inside = at(702, 600);
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SMOOTH);
    glPointSize(1);
    char what[128];
    std::snprintf(what, sizeof what, "a smooth point is round: full inside, faint in its square's corner (%d %d %d)",
                  centre.r, inside.r, corner.r);
    check(centre.r == 255 && inside.r == 255 && corner.r < 128, what);
}

// Coordinates generated from the object's x, through the texture matrix,
// into a 1D texture of two texels (red, green) sampled at their nearest.
void textureCoordinates() {
    fresh();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_1D, texture);
    const GLubyte texels[6] = {255, 0, 0, 0, 255, 0};
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGB, 2, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_1D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_1D);
    const GLfloat plane[4] = {1 / 100.0f, 0, 0, -1};  // s = (x - 100) / 100
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, plane);
    glEnable(GL_TEXTURE_GEN_S);
    rect(100, 200, 200, 220);
    glMatrixMode(GL_TEXTURE);
    glScalef(0.5f, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    rect(100, 230, 200, 250);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_1D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDeleteTextures(1, &texture);
    check(near(at(120, 210), 1, 0, 0) && near(at(180, 210), 0, 1, 0) && near(at(180, 240), 1, 0, 0),
          "a 1D texture through object-linear texgen and the texture matrix");
}

// Consecutive blocks under one state are one WebGL draw call.
extern "C" unsigned zwDrawCalls(void);

void batching() {
    fresh();
    glColor3f(1, 0, 0);
    glFlush();
    const unsigned before = zwDrawCalls();
    for (int i = 0; i < 10; ++i) rect(20 + 10.0f * float(i), 700, 28 + 10.0f * float(i), 708);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(200, 700), glVertex2f(210, 700), glVertex2f(200, 710), glVertex2f(210, 710);
    glEnd();
    glFlush();
    const unsigned one = zwDrawCalls() - before;
    for (int i = 0; i < 4; ++i) {
        glColor3f(0, 1, 0);  // a current attribute, not state: still one batch
        rect(300 + 10.0f * float(i), 700, 308 + 10.0f * float(i), 708);
        glLineWidth(i % 2 ? 1.0f : 2.0f);  // a state change: a batch each
    }
    glFlush();
    const unsigned four = zwDrawCalls() - before - one;
    char what[128];
    std::snprintf(what, sizeof what, "blocks under one state are one draw call (%u), a state set between them splits (%u)",
                  one, four);
    check(one == 1 && four == 4 && near(at(95, 704), 1, 0, 0) && near(at(205, 705), 1, 0, 0) && near(at(335, 704), 0, 1, 0),
          what);
}

// GLU's NURBS: a bad spline reaches the error callback and draws nothing; in
// GLU_NURBS_TESSELLATOR mode the points go to the callbacks, not to GL.
GLenum nurbsCode = 0;
int nurbsVertices = 0;
void GLAPIENTRY nurbsFailed(GLenum code) { nurbsCode = code; }
void GLAPIENTRY nurbsVertex(GLfloat*) { ++nurbsVertices; }

void nurbs() {
    fresh();
    glColor3f(1, 1, 1);
    GLUnurbs* n = gluNewNurbsRenderer();
    gluNurbsCallback(n, GLU_ERROR, reinterpret_cast<_GLUfuncptr>(nurbsFailed));
    GLfloat line[3][3] = {{100, 600.5f, 0}, {200, 600.5f, 0}, {300, 600.5f, 0}};
    GLfloat knots[5] = {0, 0, 1, 2, 2}, decreasing[5] = {0, 0, 2, 1, 2};
    auto curve = [&](GLfloat* k, GLint stride) {
        nurbsCode = 0;
        gluBeginCurve(n);
        gluNurbsCurve(n, 5, k, stride, &line[0][0], 2, GL_MAP1_VERTEX_3);
        gluEndCurve(n);
    };
    curve(decreasing, 3);
    check(nurbsCode == GLU_NURBS_ERROR4 && litRun(100, 600, 1, 0, 200) == 0,
          "a decreasing knot vector calls the NURBS error callback and draws nothing");
    curve(knots, 2);
    check(nurbsCode == GLU_NURBS_ERROR34 && litRun(100, 600, 1, 0, 200) == 0,
          "a stride shorter than a control point is an error and draws nothing");
    curve(knots, 3);
    check(nurbsCode == 0 && litRun(100, 600, 1, 0, 200) == 200, "a linear NURBS curve is drawn from end to end");

    GLfloat patch[2][2][3] = {{{400, 500, 0}, {400, 700, 0}}, {{600, 500, 0}, {600, 700, 0}}};
    GLfloat unit[4] = {0, 0, 1, 1}, open[3][2] = {{0, 0}, {1, 0}, {1, 1}};
    nurbsCode = 0;
    gluBeginSurface(n);
    gluNurbsSurface(n, 4, unit, 4, unit, 6, 3, &patch[0][0][0], 2, 2, GL_MAP2_VERTEX_3);
    gluBeginTrim(n);
    gluPwlCurve(n, 3, &open[0][0], 2, GLU_MAP1_TRIM_2);
    gluEndTrim(n);
    gluEndSurface(n);
    check(nurbsCode == GLU_NURBS_ERROR31 && !lit(500, 600),
          "a trim loop that does not close is an error; nothing is drawn");

    gluNurbsProperty(n, GLU_NURBS_MODE, GLU_NURBS_TESSELLATOR);
    gluNurbsProperty(n, GLU_SAMPLING_METHOD, GLU_DOMAIN_DISTANCE);
    gluNurbsProperty(n, GLU_U_STEP, 3);
    gluNurbsCallback(n, GLU_NURBS_VERTEX, reinterpret_cast<_GLUfuncptr>(nurbsVertex));
    glClear(GL_COLOR_BUFFER_BIT);
    curve(knots, 3);
    check(nurbsVertices == 7 && litRun(100, 600, 1, 0, 200) == 0,
          "GLU_NURBS_TESSELLATOR hands the curve's 7 points (3 steps a unit) to the callback, not to GL");
    gluDeleteNurbsRenderer(n);
}

// GLU's errors reach its error callbacks in the order the desktop's GLU gives them.
std::vector<GLenum> gluErrors;
int tessVertices;

void gluObjectErrors() {
    auto note = [](GLenum e) { gluErrors.push_back(e); };
    auto vertex = [](void*) { ++tessVertices; };
    static GLdouble p[5][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {3, 3, 0}, {4, 3, 0}};
    GLUtesselator* t = gluNewTess();
    gluTessCallback(t, GLU_TESS_ERROR, reinterpret_cast<_GLUfuncptr>(+note));
    gluTessCallback(t, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(+vertex));
    auto contour = [&](int from, int to) {
        gluTessBeginContour(t);
        for (int i = from; i < to; ++i) gluTessVertex(t, p[i], p[i]);
    };
    // A contour without a polygon (drawn), a polygon begun inside a contour
    // (the first dropped), a contour of two vertices (nothing drawn for it).
    contour(0, 3);
    gluTessEndContour(t);
    gluTessEndPolygon(t);
    gluTessBeginPolygon(t, nullptr);
    contour(0, 3);
    gluTessBeginPolygon(t, nullptr);
    contour(3, 5);
    gluTessEndContour(t);
    gluTessEndPolygon(t);
    check(gluErrors == std::vector<GLenum>{GLU_TESS_MISSING_BEGIN_POLYGON, GLU_TESS_MISSING_END_CONTOUR,
                                           GLU_TESS_MISSING_END_POLYGON} &&
              tessVertices == 3,
          "the tessellator reports each missing call, drops an unfinished polygon and a two-vertex contour");
    gluErrors.clear();
    double value = -1;
    gluTessProperty(t, GLU_TESS_WINDING_RULE, 5);
    gluTessProperty(t, GLU_TESS_TOLERANCE, 2);
    gluGetTessProperty(t, 12345, &value);
    check(gluErrors == std::vector<GLenum>{GLU_INVALID_VALUE, GLU_INVALID_VALUE, GLU_INVALID_ENUM} && value == 0,
          "bad tessellator properties are GLU_INVALID_VALUE, an unknown one GLU_INVALID_ENUM");
    gluDeleteTess(t);

    gluErrors.clear();
    GLUquadric* q = gluNewQuadric();
    gluQuadricCallback(q, GLU_ERROR, reinterpret_cast<_GLUfuncptr>(+note));
    gluSphere(q, -1, 8, 8);
    gluCylinder(q, 1, 1, 0, 8, 1);  // neither height nor slope
    gluDisk(q, 0, 0, 8, 1);
    gluPartialDisk(q, 0, 1, 1, 1, 0, 90);
    gluQuadricDrawStyle(q, GL_LINE);
    const std::vector<GLenum> quadric = {GLU_INVALID_VALUE, GLU_INVALID_VALUE, GLU_INVALID_VALUE, GLU_INVALID_VALUE,
                                         GLU_INVALID_ENUM};
    check(gluErrors == quadric && glGetError() == GL_NO_ERROR,
          "bad quadric arguments are GLU_INVALID_VALUE (a bad style GLU_INVALID_ENUM) through the callback, no GL error");
    gluDeleteQuadric(q);
}

}  // namespace

int main() {
    static char name[] = "layer_checks";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_STENCIL | GLUT_RGB);
    glutCreateWindow("layer checks");
    stateChecks::run(check);
    matrices();
    flatShading();
    lighting();
    lists();
    attributes();
    wideLines();
    text();
    bitmaps();
    textureEnvironments();
    textureCoordinates();
    fogAndAlphaTest();
    stipple();
    clipAndSpot();
    polygonModes();
    batching();
    nurbs();
    gluObjectErrors();
    std::printf("layer checks: %d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    std::exit(failed == 0 ? 0 : 1);
}
