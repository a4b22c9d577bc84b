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

}  // namespace

int main() {
    static char name[] = "layer_checks";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
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
    std::printf("layer checks: %d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    std::exit(failed == 0 ? 0 : 1);
}
