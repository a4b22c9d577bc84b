// The web layer's GLU (platform/web/glu.cpp, compiled into this program) against
// the desktop's libGLU (loaded with dlopen) and against values worked out by
// hand. The GL calls both GLUs make go to the recorder here: one current
// matrix, the pixel store, and the texture images loaded.
//
// Prints "ok: ..." or "FAIL: ..." per row; exit status 0 when all pass.
#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace zw {
void notDrawn(const char*) {}
}  // namespace zw

// ---- The recorder ------------------------------------------------------------------
namespace rec {
double m[16];
GLint store[2][6];  // unpack, pack: alignment, row length, skip rows, skip pixels, swap bytes, lsb first
struct Level {
    GLint level, width, height;
    std::vector<unsigned char> bytes;  // the rows without their padding
};
std::vector<Level> levels;
void multiply(const double* b) {
    double r[16] = {0};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += m[k * 4 + row] * b[c * 4 + k];
    std::memcpy(m, r, sizeof r);
}
GLint* slot(GLenum e) {
    static const GLenum names[12] = {GL_UNPACK_ALIGNMENT, GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS,
                                     GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST,
                                     GL_PACK_ALIGNMENT, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS,
                                     GL_PACK_SKIP_PIXELS, GL_PACK_SWAP_BYTES, GL_PACK_LSB_FIRST};
    for (int k = 0; k < 12; ++k)
        if (names[k] == e) return &store[k / 6][k % 6];
    return nullptr;
}
}  // namespace rec

extern "C" {
void glMultMatrixd(const GLdouble* b) { rec::multiply(b); }
void glMultMatrixf(const GLfloat* b) {
    double d[16];
    std::copy(b, b + 16, d);
    rec::multiply(d);
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    const double o[16] = {2 / (r - l), 0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, -2 / (f - n), 0,
                          -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1};
    rec::multiply(o);
}
void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    const double t[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    rec::multiply(t);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { glTranslated(x, y, z); }
void glScaled(GLdouble x, GLdouble y, GLdouble z) {
    const double s[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    rec::multiply(s);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) { glScaled(x, y, z); }
void glPixelStorei(GLenum e, GLint v) {
    if (GLint* s = rec::slot(e)) *s = v;
}
void glGetIntegerv(GLenum e, GLint* v) {
    GLint* s = rec::slot(e);
    *v = s ? *s : e == GL_MAX_TEXTURE_SIZE ? 64 : 0;
}
const GLubyte* glGetString(GLenum) { return reinterpret_cast<const GLubyte*>("1.1"); }
GLenum glGetError(void) { return GL_NO_ERROR; }
void glGetTexLevelParameteriv(GLenum, GLint, GLenum, GLint* v) { *v = 1; }  // every proxy fits
// RGB bytes only, the rows padded to the unpack alignment.
void glTexImage2D(GLenum target, GLint level, GLint, GLsizei w, GLsizei h, GLint, GLenum, GLenum, const void* data) {
    if (target != GL_TEXTURE_2D) return;  // a proxy
    const int row = w * 3, a = rec::store[0][0], stride = (row + a - 1) / a * a;
    rec::Level l{level, w, h, {}};
    for (int y = 0; y < h; ++y) {
        const unsigned char* p = static_cast<const unsigned char*>(data) + size_t(y) * stride;
        l.bytes.insert(l.bytes.end(), p, p + row);
    }
    rec::levels.push_back(l);
}
void glTexImage1D(GLenum, GLint, GLint, GLsizei, GLint, GLenum, GLenum, const void*) {}
}

namespace {

int passed = 0, failed = 0;
void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

void* desktop;
template <typename F>
F* from(F*, const char* name) {
    return reinterpret_cast<F*>(dlsym(desktop, name));
}
#define DESKTOP(name) from(&name, #name)

std::vector<double> after(const std::function<void()>& call) {  // the matrix a call multiplies by
    for (int i = 0; i < 16; ++i) rec::m[i] = i % 5 == 0;
    call();
    return std::vector<double>(rec::m, rec::m + 16);
}

bool close(const std::vector<double>& a, const std::vector<double>& b, double eps) {
    for (size_t i = 0; i < 16; ++i)
        if (std::fabs(a[i] - b[i]) > eps * (1 + std::fabs(b[i]))) return false;
    return true;
}

void matrices() {
    const auto ortho = DESKTOP(gluOrtho2D);
    const auto perspective = DESKTOP(gluPerspective);
    const auto lookAt = DESKTOP(gluLookAt);
    const auto pick = DESKTOP(gluPickMatrix);
    static GLint view[4] = {10, 20, 640, 480};
    struct Row {
        const char* what;
        std::function<void()> ours, theirs;
        double eps;
    };
    const Row rows[] = {
        {"gluOrtho2D(0, 640, 0, 480)", [] { gluOrtho2D(0, 640, 0, 480); }, [&] { ortho(0, 640, 0, 480); }, 0},
        {"gluOrtho2D(-1, 3, 2, -2)", [] { gluOrtho2D(-1, 3, 2, -2); }, [&] { ortho(-1, 3, 2, -2); }, 0},
        {"gluPerspective(60, 4/3, 1, 100)", [] { gluPerspective(60, 4.0 / 3, 1, 100); },
         [&] { perspective(60, 4.0 / 3, 1, 100); }, 1e-12},
        {"gluPerspective(45, 1, 0.1, 1000)", [] { gluPerspective(45, 1, 0.1, 1000); },
         [&] { perspective(45, 1, 0.1, 1000); }, 1e-12},
        {"gluPerspective with aspect 0 (nothing)", [] { gluPerspective(45, 0, 1, 10); },
         [&] { perspective(45, 0, 1, 10); }, 0},
        {"gluLookAt from (0, 0, 5)", [] { gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0); },
         [&] { lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0); }, 1e-6},
        {"gluLookAt from (3, 2, 5) at (1, 0, -1), up tilted", [] { gluLookAt(3, 2, 5, 1, 0, -1, 0.2, 1, 0); },
         [&] { lookAt(3, 2, 5, 1, 0, -1, 0.2, 1, 0); }, 1e-6},
        {"gluPickMatrix(100, 80, 5, 7)", [] { gluPickMatrix(100, 80, 5, 7, view); }, [&] { pick(100, 80, 5, 7, view); },
         1e-12},
        {"gluPickMatrix of an empty box (nothing)", [] { gluPickMatrix(100, 80, 0, 7, view); },
         [&] { pick(100, 80, 0, 7, view); }, 0},
    };
    for (const Row& r : rows) check(close(after(r.ours), after(r.theirs), r.eps), std::string(r.what) + " as libGLU");
    check(!close(after(rows[2].ours), after([&] { perspective(61, 4.0 / 3, 1, 100); }), 1e-12),
          "control: gluPerspective(60) and (61) are told apart");

    // By hand: gluOrtho2D takes its corner to (1, 1); the pick matrix takes its
    // box's right edge (window x 102.5) to +1 and its bottom (y 76.5) to -1.
    std::vector<double> m = after([] { gluOrtho2D(0, 640, 0, 480); });
    check(m[0] * 640 + m[12] == 1 && m[5] * 480 + m[13] == 1 && m[10] == -1, "gluOrtho2D maps its corner to (1, 1)");
    m = after([] { gluPickMatrix(100, 80, 5, 7, view); });
    const double x = 2 * (102.5 - 10) / 640 - 1, y = 2 * (76.5 - 20) / 480 - 1;
    check(std::fabs(m[0] * x + m[12] - 1) < 1e-6 && std::fabs(m[5] * y + m[13] + 1) < 1e-6,
          "gluPickMatrix takes its box's right edge to +1 and bottom edge to -1");
}

void projections() {
    const auto project = DESKTOP(gluProject);
    const auto unproject = DESKTOP(gluUnProject);
    const auto unproject4 = DESKTOP(gluUnProject4);
    const std::vector<double> p = after([] { gluPerspective(50, 1.5, 2, 80); });
    const std::vector<double> m = after([] {
        gluLookAt(4, 3, 9, 0, 1, 0, 0, 1, 0);
        glTranslated(0.5, -1, 2);
    });
    const GLint view[4] = {0, 0, 900, 600};
    const double points[][3] = {{0, 0, 0}, {1, 2, -3}, {-4, 0.5, 1}, {2.5, -1.5, -6}};
    for (const auto& o : points) {
        double a[4], b[4], back[4], back2[4];
        bool same = gluProject(o[0], o[1], o[2], m.data(), p.data(), view, &a[0], &a[1], &a[2]) &&
                    project(o[0], o[1], o[2], m.data(), p.data(), view, &b[0], &b[1], &b[2]) &&
                    gluUnProject(a[0], a[1], a[2], m.data(), p.data(), view, &back[0], &back[1], &back[2]) &&
                    unproject(a[0], a[1], a[2], m.data(), p.data(), view, &back2[0], &back2[1], &back2[2]);
        for (int k = 0; k < 3; ++k)
            same = same && std::fabs(a[k] - b[k]) < 1e-9 && std::fabs(back[k] - o[k]) < 1e-9 &&
                   std::fabs(back[k] - back2[k]) < 1e-9;
        // gluUnProject4 in a depth range of [0.25, 0.75], not divided by w.
        const double z = 0.25 + a[2] * 0.5;
        same = same && gluUnProject4(a[0], a[1], z, 1, m.data(), p.data(), view, 0.25, 0.75, &back[0], &back[1],
                                     &back[2], &back[3]) &&
               unproject4(a[0], a[1], z, 1, m.data(), p.data(), view, 0.25, 0.75, &back2[0], &back2[1], &back2[2],
                          &back2[3]);
        for (int k = 0; k < 4; ++k) same = same && std::fabs(back[k] - back2[k]) < 1e-9;
        char what[160];
        std::snprintf(what, sizeof what,
                      "gluProject, gluUnProject and gluUnProject4 of (%g, %g, %g) as libGLU, and back again", o[0],
                      o[1], o[2]);
        check(same, what);
    }
    const GLdouble zero[16] = {0};
    double x = 7, y = 7, z = 7;
    check(gluUnProject(1, 1, 0, zero, p.data(), view, &x, &y, &z) == GL_FALSE && x == 7 &&
              gluProject(1, 1, 1, zero, p.data(), view, &x, &y, &z) == GL_FALSE,
          "a singular matrix: gluUnProject is GL_FALSE and leaves its outputs; gluProject to w = 0 is GL_FALSE");
}

void strings() {
    const auto errorString = DESKTOP(gluErrorString);
    std::vector<GLenum> codes = {GL_NO_ERROR, GL_INVALID_ENUM, GL_INVALID_VALUE, GL_INVALID_OPERATION,
                                 GL_STACK_OVERFLOW, GL_STACK_UNDERFLOW, GL_OUT_OF_MEMORY, 0x8031, 0x0506,
                                 GLU_INVALID_ENUM, GLU_INVALID_VALUE, GLU_OUT_OF_MEMORY,
                                 GLU_INCOMPATIBLE_GL_VERSION, GLU_INVALID_OPERATION, 100905, 12345};
    for (GLenum e = GLU_NURBS_ERROR1 - 1; e <= GLU_NURBS_ERROR37 + 1; ++e) codes.push_back(e);
    for (GLenum e = GLU_TESS_ERROR1 - 1; e <= GLU_TESS_ERROR8 + 1; ++e) codes.push_back(e);
    std::string differ;
    for (GLenum e : codes) {
        const char* a = reinterpret_cast<const char*>(gluErrorString(e));
        const char* b = reinterpret_cast<const char*>(errorString(e));
        if (!(!a && !b) && !(a && b && !std::strcmp(a, b))) differ += " " + std::to_string(e);
    }
    check(differ.empty(), "gluErrorString gives libGLU's text, or none, for " + std::to_string(codes.size()) +
                              " GL, GLU, NURBS and tessellator codes" + differ);
    check(!std::strcmp(reinterpret_cast<const char*>(gluGetString(GLU_VERSION)), "1.3") && !gluGetString(GL_VENDOR),
          "gluGetString: version 1.3, nothing for other names");
    const char* rows[][3] = {{"GL_EXT_b", "GL_EXT_a GL_EXT_b", "1"}, {"GL_EXT", "GL_EXT_a GL_EXT_b", "0"},
                             {"GL_EXT_a GL", "GL_EXT_a GL_EXT_b", "0"}, {"", "GL_EXT_a", "0"},
                             {"b", "  a   b  ", "1"}};
    for (const auto& r : rows)
        check(gluCheckExtension(reinterpret_cast<const GLubyte*>(r[0]), reinterpret_cast<const GLubyte*>(r[1])) ==
                  (r[2][0] == '1'),
              std::string("gluCheckExtension(\"") + r[0] + "\", \"" + r[1] + "\") is " + r[2]);
}

std::vector<unsigned char> noise(size_t n, unsigned seed) {  // the same bytes every run
    std::vector<unsigned char> v(n);
    for (unsigned char& b : v) b = (unsigned char)((seed = seed * 1103515245u + 12345u) >> 16);
    return v;
}

void images() {
    const auto scale = DESKTOP(gluScaleImage);
    const auto build2D = DESKTOP(gluBuild2DMipmaps);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // By hand: 2 x 2 to 1 x 1 is the mean, rounded; 1 x 1 to 3 x 2 repeats it.
    const unsigned char four[4] = {10, 20, 30, 41};
    unsigned char one[1] = {0}, six[6] = {0};
    gluScaleImage(GL_LUMINANCE, 2, 2, GL_UNSIGNED_BYTE, four, 1, 1, GL_UNSIGNED_BYTE, one);
    gluScaleImage(GL_LUMINANCE, 1, 1, GL_UNSIGNED_BYTE, four, 3, 2, GL_UNSIGNED_BYTE, six);
    const signed char signedFour[4] = {100, -100, -60, 64};  // (libGLU gets signed bytes wrong)
    signed char signedOne[1] = {0};
    gluScaleImage(GL_LUMINANCE, 2, 2, GL_BYTE, signedFour, 1, 1, GL_BYTE, signedOne);
    check(one[0] == 25 && six[0] == 10 && six[5] == 10 && signedOne[0] == 1,
          "gluScaleImage: 2 x 2 to 1 x 1 averages (bytes and signed bytes), 1 x 1 to 3 x 2 repeats");

    // Against libGLU, shrinking by whole and by fractional factors and
    // enlarging: integers within one step.
    struct Row {
        GLenum format, type;
        int wIn, hIn, wOut, hOut, bytes;  // per pixel
    };
    const Row rows[] = {{GL_RGB, GL_UNSIGNED_BYTE, 8, 6, 4, 3, 3},      {GL_RGBA, GL_UNSIGNED_BYTE, 7, 5, 3, 2, 4},
                        {GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, 4, 8, 8, 1}, {GL_RGB, GL_UNSIGNED_SHORT, 6, 6, 4, 4, 6},
                        {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 9, 3, 4, 2, 2}};
    for (const Row& r : rows) {
        const std::vector<unsigned char> in = noise(size_t(r.wIn) * r.hIn * r.bytes, 7);
        std::vector<unsigned char> a(size_t(r.wOut) * r.hOut * r.bytes + 8, 0), b = a;
        const bool ok = !gluScaleImage(r.format, r.wIn, r.hIn, r.type, in.data(), r.wOut, r.hOut, r.type, a.data()) &&
                        !scale(r.format, r.wIn, r.hIn, r.type, in.data(), r.wOut, r.hOut, r.type, b.data());
        const int size = r.type == GL_UNSIGNED_SHORT ? 2 : 1;
        int worst = 0;
        for (size_t i = 0; i + 8 < a.size(); i += size)
            worst = std::max(worst, std::abs((a[i] | (size == 2 ? a[i + 1] << 8 : 0)) -
                                             (b[i] | (size == 2 ? b[i + 1] << 8 : 0))));
        char what[160];
        std::snprintf(what, sizeof what, "gluScaleImage %dx%d to %dx%d (format 0x%x, type 0x%x) as libGLU (within %d)",
                      r.wIn, r.hIn, r.wOut, r.hOut, r.format, r.type, worst);
        check(ok && worst <= 1 && a[a.size() - 8] == 0, what);
    }
    struct Bad {
        const char* what;
        GLenum format, type;
        int w;
    };
    const Bad bad[] = {{"a negative size", GL_RGB, GL_UNSIGNED_BYTE, -1},
                       {"an unknown format", 0x1234, GL_UNSIGNED_BYTE, 2},
                       {"an unknown type", GL_RGB, 0x1234, 2},
                       {"a packed type of another format", GL_RGBA, GL_UNSIGNED_BYTE_3_3_2, 2}};
    for (const Bad& x : bad) {
        unsigned char out[64];
        const GLint ours = gluScaleImage(x.format, x.w, 2, x.type, four, 1, 1, x.type, out);
        check(ours != 0 && ours == scale(x.format, x.w, 2, x.type, four, 1, 1, x.type, out),
              std::string("gluScaleImage of ") + x.what + " is " + reinterpret_cast<const char*>(gluErrorString(ours)) +
                  " as in libGLU");
    }

    // Mipmaps of a 5 x 3 RGB image with 4-aligned rows: scaled to 4 x 4 by
    // gluScaleImage (libGLU's builder enlarges with a resampler of its own, so
    // its gluScaleImage is the reference), then halved, each texel the mean of
    // four.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const std::vector<unsigned char> image = noise(16 * 3, 11);
    rec::levels.clear();
    const GLint ours = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 5, 3, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    const std::vector<rec::Level> mine = rec::levels;
    rec::levels.clear();
    bool sizes = !ours && !build2D(GL_TEXTURE_2D, GL_RGB, 5, 3, GL_RGB, GL_UNSIGNED_BYTE, image.data()) &&
                 mine.size() == 3 && rec::levels.size() == 3;
    for (size_t l = 0; sizes && l < 3; ++l)
        sizes = mine[l].level == int(l) && mine[l].width == 4 >> l && mine[l].height == 4 >> l &&
                rec::levels[l].width == 4 >> l && rec::levels[l].height == 4 >> l;
    check(sizes && rec::store[0][0] == 4,
          "gluBuild2DMipmaps of 5 x 3 loads 4x4, 2x2 and 1x1 as libGLU, and puts the unpack alignment back");
    std::vector<unsigned char> scaled(4 * 4 * 3);
    scale(GL_RGB, 5, 3, GL_UNSIGNED_BYTE, image.data(), 4, 4, GL_UNSIGNED_BYTE, scaled.data());
    int worst = 0;
    for (size_t i = 0; sizes && i < scaled.size(); ++i) worst = std::max(worst, std::abs(mine[0].bytes[i] - scaled[i]));
    bool halved = sizes;
    for (size_t l = 1; halved && l < 3; ++l)
        for (int t = 0; t < mine[l].width * mine[l].width * 3; ++t) {
            const int x = t / 3 % mine[l].width, y = t / 3 / mine[l].width, k = t % 3, up = mine[l - 1].width;
            auto at = [&](int yy, int xx) { return mine[l - 1].bytes[(yy * up + xx) * 3 + k]; };
            const double mean =
                (at(2 * y, 2 * x) + at(2 * y, 2 * x + 1) + at(2 * y + 1, 2 * x) + at(2 * y + 1, 2 * x + 1)) / 4.0;
            halved = halved && std::fabs(mine[l].bytes[t] - mean) <= 0.5;
        }
    check(sizes && worst <= 1 && halved,
          "level 0 is libGLU's gluScaleImage of it (within " + std::to_string(worst) + "), each level after halved");
    rec::levels.clear();
    check(gluBuild2DMipmaps(GL_TEXTURE_1D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, image.data()) == GLU_INVALID_ENUM &&
              gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 0, 4, GL_RGB, GL_UNSIGNED_BYTE, image.data()) ==
                  GLU_INVALID_VALUE &&
              !gluBuild2DMipmapLevels(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, 0, 1, 2, image.data()) &&
              rec::levels.size() == 2 && rec::levels[0].level == 1 && rec::levels[0].width == 2 &&
              gluBuild2DMipmapLevels(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, 0, 1, 3, image.data()) ==
                  GLU_INVALID_VALUE,
          "mipmaps of a wrong target are GLU_INVALID_ENUM, of no pixels GLU_INVALID_VALUE; gluBuild2DMipmapLevels "
          "loads levels 1 to 2 of a 4 x 4 image and refuses level 3");
}

}  // namespace

int main() {
    desktop = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!desktop) {
        std::printf("FAIL: the desktop's libGLU.so.1 cannot be loaded: %s\n", dlerror());
        return 1;
    }
    rec::store[0][0] = rec::store[1][0] = 4;
    matrices();
    projections();
    strings();
    images();
    std::printf("glu check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
