// The web layer's GLU (platform/web/glu.cpp, compiled into this program) against
// the desktop's libGLU (loaded with dlopen) and against values worked out by
// hand. The few GL calls GLU makes go to a recorder here, which both GLUs
// share: one current matrix, the pixel store, and the texture images loaded.
//
// Prints "ok: ..." or "FAIL: ..." per row of each table; exit status 0 when all pass.
#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace zw {
void notDrawn(const char*) {}
}  // namespace zw

// ---- The recorder: the GL calls GLU makes ----------------------------------------
namespace rec {
double m[16];
GLint store[2][6] = {{4, 0, 0, 0, 0, 0}, {4, 0, 0, 0, 0, 0}};  // unpack, pack
struct Level {
    GLint level, width, height;
    std::vector<unsigned char> bytes;  // tightly packed, as GLU hands them over
};
std::vector<Level> levels;
void identity() {
    for (int i = 0; i < 16; ++i) m[i] = i % 5 == 0;
}
void multiply(const double* b) {
    double r[16];
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            r[c * 4 + row] = 0;
            for (int k = 0; k < 4; ++k) r[c * 4 + row] += m[k * 4 + row] * b[c * 4 + k];
        }
    std::memcpy(m, r, sizeof r);
}
int slot(GLenum e, int* which) {
    static const GLenum names[2][6] = {
        {GL_UNPACK_ALIGNMENT, GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SWAP_BYTES,
         GL_UNPACK_LSB_FIRST},
        {GL_PACK_ALIGNMENT, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS, GL_PACK_SKIP_PIXELS, GL_PACK_SWAP_BYTES,
         GL_PACK_LSB_FIRST}};
    for (int p = 0; p < 2; ++p)
        for (int k = 0; k < 6; ++k)
            if (names[p][k] == e) return *which = p, k;
    return -1;
}
int bytesPerPixel(GLenum format, GLenum type) {
    const int n = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : format == GL_LUMINANCE_ALPHA ? 2 : 1;
    return n * (type == GL_UNSIGNED_BYTE || type == GL_BYTE ? 1 : type == GL_FLOAT ? 4 : 2);
}
}  // namespace rec

extern "C" {
void glMultMatrixd(const GLdouble* b) { rec::multiply(b); }
void glMultMatrixf(const GLfloat* b) {
    double d[16];
    for (int i = 0; i < 16; ++i) d[i] = b[i];
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
    int which;
    const int k = rec::slot(e, &which);
    if (k >= 0) rec::store[which][k] = v;
}
void glGetIntegerv(GLenum e, GLint* v) {
    int which;
    const int k = rec::slot(e, &which);
    if (k >= 0) *v = rec::store[which][k];
    else if (e == GL_MAX_TEXTURE_SIZE) *v = 64;
    else *v = 0;
}
const GLubyte* glGetString(GLenum) { return reinterpret_cast<const GLubyte*>("1.1"); }
GLenum glGetError(void) { return GL_NO_ERROR; }
void glGetTexLevelParameteriv(GLenum, GLint, GLenum, GLint* v) { *v = 1; }  // every proxy fits
void glTexImage2D(GLenum target, GLint level, GLint, GLsizei w, GLsizei h, GLint, GLenum format, GLenum type,
                  const void* data) {
    if (target != GL_TEXTURE_2D && target != GL_TEXTURE_1D) return;  // proxies
    const int row = w * rec::bytesPerPixel(format, type), a = rec::store[0][0];
    const int stride = (row + a - 1) / a * a;
    rec::Level l{level, w, h, {}};
    for (int y = 0; y < h; ++y) {
        const unsigned char* p = static_cast<const unsigned char*>(data) + size_t(y) * stride;
        l.bytes.insert(l.bytes.end(), p, p + row);
    }
    rec::levels.push_back(l);
}
void glTexImage1D(GLenum target, GLint level, GLint internal, GLsizei w, GLint border, GLenum format, GLenum type,
                  const void* data) {
    glTexImage2D(target == GL_TEXTURE_1D ? GL_TEXTURE_1D : target, level, internal, w, 1, border, format, type, data);
}
}

namespace {

int passed = 0, failed = 0;

void check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    (ok ? passed : failed)++;
}

void* desktop;
template <typename F>
F from(const char* name) {
    return reinterpret_cast<F>(dlsym(desktop, name));
}

// The recorder's matrix after a call, starting from the identity.
std::vector<double> after(const std::function<void()>& call) {
    rec::identity();
    call();
    return std::vector<double>(rec::m, rec::m + 16);
}

bool close(const std::vector<double>& a, const std::vector<double>& b, double eps) {
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i] - b[i]) > eps * (1 + std::fabs(b[i]))) return false;
    return a.size() == b.size();
}

void matrices() {
    using Ortho2D = void (*)(GLdouble, GLdouble, GLdouble, GLdouble);
    using Perspective = void (*)(GLdouble, GLdouble, GLdouble, GLdouble);
    using LookAt = void (*)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble);
    using Pick = void (*)(GLdouble, GLdouble, GLdouble, GLdouble, GLint*);
    const auto ortho = from<Ortho2D>("gluOrtho2D");
    const auto perspective = from<Perspective>("gluPerspective");
    const auto lookAt = from<LookAt>("gluLookAt");
    const auto pick = from<Pick>("gluPickMatrix");
    static GLint view[4] = {10, 20, 640, 480};
    struct Row {
        const char* what;
        std::function<void()> ours, theirs;
        double eps;
    };
    const Row rows[] = {
        {"gluOrtho2D(0, 640, 0, 480)", [] { gluOrtho2D(0, 640, 0, 480); }, [&] { ortho(0, 640, 0, 480); }, 1e-15},
        {"gluOrtho2D(-1, 3, 2, -2)", [] { gluOrtho2D(-1, 3, 2, -2); }, [&] { ortho(-1, 3, 2, -2); }, 1e-15},
        {"gluPerspective(60, 4/3, 1, 100)", [] { gluPerspective(60, 4.0 / 3, 1, 100); },
         [&] { perspective(60, 4.0 / 3, 1, 100); }, 1e-12},
        {"gluPerspective(45, 1, 0.1, 1000)", [] { gluPerspective(45, 1, 0.1, 1000); },
         [&] { perspective(45, 1, 0.1, 1000); }, 1e-12},
        {"gluPerspective with aspect 0 leaves the matrix", [] { gluPerspective(45, 0, 1, 10); },
         [&] { perspective(45, 0, 1, 10); }, 0},
        {"gluLookAt from (0, 0, 5)", [] { gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0); },
         [&] { lookAt(0, 0, 5, 0, 0, 0, 0, 1, 0); }, 1e-6},
        {"gluLookAt from (3, 2, 5) at (1, 0, -1), up tilted", [] { gluLookAt(3, 2, 5, 1, 0, -1, 0.2, 1, 0); },
         [&] { lookAt(3, 2, 5, 1, 0, -1, 0.2, 1, 0); }, 1e-6},
        {"gluPickMatrix(100, 80, 5, 7)", [] { gluPickMatrix(100, 80, 5, 7, view); }, [&] { pick(100, 80, 5, 7, view); },
         1e-12},
        {"gluPickMatrix with a zero box leaves the matrix", [] { gluPickMatrix(100, 80, 0, 7, view); },
         [&] { pick(100, 80, 0, 7, view); }, 0},
    };
    for (const Row& r : rows) check(close(after(r.ours), after(r.theirs), r.eps), std::string(r.what) + " as libGLU");
    // The control: a different field of view is told apart.
    check(!close(after(rows[2].ours), after([&] { perspective(61, 4.0 / 3, 1, 100); }), 1e-12),
          "control: gluPerspective(60) and (61) are told apart");

    // By hand: gluOrtho2D(0, 640, 0, 480) takes (640, 480) to (1, 1); the pick
    // matrix takes its box's corners to the clip square's.
    std::vector<double> m = after([] { gluOrtho2D(0, 640, 0, 480); });
    check(m[0] * 640 + m[12] == 1 && m[5] * 480 + m[13] == 1 && m[10] == -1, "gluOrtho2D maps its corner to (1, 1)");
    m = after([] { gluPickMatrix(100, 80, 5, 7, view); });
    // Window x = 102.5 is NDC 2 * (102.5 - 10) / 640 - 1; it must land on +1.
    const double ndcX = 2 * (102.5 - 10) / 640 - 1, ndcY = 2 * (76.5 - 20) / 480 - 1;
    check(std::fabs(m[0] * ndcX + m[12] - 1) < 1e-6 && std::fabs(m[5] * ndcY + m[13] + 1) < 1e-6,
          "gluPickMatrix takes its box's right edge to +1 and bottom edge to -1");
}

void projections() {
    using Project = GLint (*)(GLdouble, GLdouble, GLdouble, const GLdouble*, const GLdouble*, const GLint*, GLdouble*,
                              GLdouble*, GLdouble*);
    using Unproject4 = GLint (*)(GLdouble, GLdouble, GLdouble, GLdouble, const GLdouble*, const GLdouble*,
                                 const GLint*, GLdouble, GLdouble, GLdouble*, GLdouble*, GLdouble*, GLdouble*);
    const auto project = from<Project>("gluProject");
    const auto unproject = from<Project>("gluUnProject");
    const auto unproject4 = from<Unproject4>("gluUnProject4");
    const std::vector<double> proj = after([] { gluPerspective(50, 1.5, 2, 80); });
    const std::vector<double> model = after([] {
        gluLookAt(4, 3, 9, 0, 1, 0, 0, 1, 0);
        glTranslated(0.5, -1, 2);
    });
    const GLint view[4] = {0, 0, 900, 600};
    const double points[][3] = {{0, 0, 0}, {1, 2, -3}, {-4, 0.5, 1}, {2.5, -1.5, -6}};
    for (const auto& p : points) {
        double a[3], b[3], back[3], back2[3];
        const GLint ok = gluProject(p[0], p[1], p[2], model.data(), proj.data(), view, &a[0], &a[1], &a[2]);
        const GLint ok2 = project(p[0], p[1], p[2], model.data(), proj.data(), view, &b[0], &b[1], &b[2]);
        gluUnProject(a[0], a[1], a[2], model.data(), proj.data(), view, &back[0], &back[1], &back[2]);
        unproject(a[0], a[1], a[2], model.data(), proj.data(), view, &back2[0], &back2[1], &back2[2]);
        char what[160];
        std::snprintf(what, sizeof what, "gluProject/gluUnProject of (%g, %g, %g): libGLU's, and back again", p[0],
                      p[1], p[2]);
        bool same = ok && ok2;
        for (int k = 0; k < 3; ++k)
            same = same && std::fabs(a[k] - b[k]) < 1e-9 && std::fabs(back[k] - p[k]) < 1e-9 &&
                   std::fabs(back[k] - back2[k]) < 1e-9;
        check(same, what);
        double o[4], o2[4];
        const GLint ok4 = gluUnProject4(a[0], a[1], 0.25 + a[2] * 0.5, 1, model.data(), proj.data(), view, 0.25,
                                        0.75, &o[0], &o[1], &o[2], &o[3]);
        unproject4(a[0], a[1], 0.25 + a[2] * 0.5, 1, model.data(), proj.data(), view, 0.25, 0.75, &o2[0], &o2[1],
                   &o2[2], &o2[3]);
        bool four = ok4 == GL_TRUE;
        for (int k = 0; k < 4; ++k) four = four && std::fabs(o[k] - o2[k]) < 1e-9;
        check(four, std::string(what) + " through gluUnProject4 in a depth range of [0.25, 0.75]");
    }
    const GLdouble zero[16] = {0};
    double x = 7, y = 7, z = 7;
    check(gluUnProject(1, 1, 0, zero, proj.data(), view, &x, &y, &z) == GL_FALSE && x == 7,
          "gluUnProject of a singular matrix is GL_FALSE and leaves its outputs");
    check(gluProject(1, 1, 1, zero, proj.data(), view, &x, &y, &z) == GL_FALSE, "gluProject to w = 0 is GL_FALSE");
}

void strings() {
    using ErrorString = const GLubyte* (*)(GLenum);
    const auto errorString = from<ErrorString>("gluErrorString");
    std::vector<GLenum> codes = {GL_NO_ERROR, GL_INVALID_ENUM, GL_INVALID_VALUE, GL_INVALID_OPERATION,
                                 GL_STACK_OVERFLOW, GL_STACK_UNDERFLOW, GL_OUT_OF_MEMORY, 0x8031, 0x0506,
                                 GLU_INVALID_ENUM, GLU_INVALID_VALUE, GLU_OUT_OF_MEMORY,
                                 GLU_INCOMPATIBLE_GL_VERSION, GLU_INVALID_OPERATION, 100905, 12345};
    for (GLenum e = GLU_NURBS_ERROR1 - 1; e <= GLU_NURBS_ERROR37 + 1; ++e) codes.push_back(e);
    for (GLenum e = GLU_TESS_ERROR1 - 1; e <= GLU_TESS_ERROR8 + 1; ++e) codes.push_back(e);
    int same = 0;
    std::string differ;
    for (GLenum e : codes) {
        const char* a = reinterpret_cast<const char*>(gluErrorString(e));
        const char* b = reinterpret_cast<const char*>(errorString(e));
        if ((!a && !b) || (a && b && !std::strcmp(a, b))) ++same;
        else differ += " " + std::to_string(e);
    }
    check(differ.empty(), "gluErrorString gives libGLU's text (or none) for " + std::to_string(same) +
                              " GL, GLU, NURBS and tessellator codes" + (differ.empty() ? "" : "; differ:" + differ));
    check(!std::strcmp(reinterpret_cast<const char*>(gluGetString(GLU_VERSION)), "1.3") &&
              gluGetString(GL_VENDOR) == nullptr,
          "gluGetString: version 1.3, nothing for other names");
    struct Ext {
        const char *name, *list;
        GLboolean found;
    };
    const Ext exts[] = {{"GL_EXT_a", "GL_EXT_a GL_EXT_b", GL_TRUE},
                        {"GL_EXT_b", "GL_EXT_a GL_EXT_b", GL_TRUE},
                        {"GL_EXT", "GL_EXT_a GL_EXT_b", GL_FALSE},
                        {"GL_EXT_a GL", "GL_EXT_a GL_EXT_b", GL_FALSE},
                        {"", "GL_EXT_a", GL_FALSE},
                        {"b", "  a   b  ", GL_TRUE}};
    for (const Ext& x : exts)
        check(gluCheckExtension(reinterpret_cast<const GLubyte*>(x.name), reinterpret_cast<const GLubyte*>(x.list)) ==
                  x.found,
              std::string("gluCheckExtension(\"") + x.name + "\", \"" + x.list + "\")");
}

// Pseudo-random bytes, the same every run.
std::vector<unsigned char> noise(size_t n, unsigned seed) {
    std::vector<unsigned char> v(n);
    for (unsigned char& b : v) b = (unsigned char)((seed = seed * 1103515245u + 12345u) >> 16);
    return v;
}

void images() {
    using Scale = GLint (*)(GLenum, GLint, GLint, GLenum, const void*, GLint, GLint, GLenum, void*);
    using Build2D = GLint (*)(GLenum, GLint, GLint, GLint, GLenum, GLenum, const void*);
    const auto scale = from<Scale>("gluScaleImage");
    const auto build2D = from<Build2D>("gluBuild2DMipmaps");
    // By hand: a 2 x 2 grey image to 1 x 1 is its mean; 1 x 1 to 3 x 2 repeats it.
    const unsigned char four[4] = {10, 20, 30, 41};
    unsigned char one[1] = {0}, six[6] = {0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluScaleImage(GL_LUMINANCE, 2, 2, GL_UNSIGNED_BYTE, four, 1, 1, GL_UNSIGNED_BYTE, one);
    check(one[0] == 25, "gluScaleImage: 2 x 2 to 1 x 1 is the mean, rounded (" + std::to_string(one[0]) + ")");
    gluScaleImage(GL_LUMINANCE, 1, 1, GL_UNSIGNED_BYTE, four, 3, 2, GL_UNSIGNED_BYTE, six);
    check(six[0] == 10 && six[5] == 10, "gluScaleImage: 1 x 1 to 3 x 2 repeats its pixel");

    // Against libGLU: shrinking by whole and by fractional factors and
    // enlarging, in several formats and types; integers within one step.
    struct Row {
        GLenum format, type;
        int wIn, hIn, wOut, hOut, bytesPerPixel;
    };
    const Row rows[] = {{GL_RGB, GL_UNSIGNED_BYTE, 8, 6, 4, 3, 3},     {GL_RGBA, GL_UNSIGNED_BYTE, 7, 5, 3, 2, 4},
                        {GL_LUMINANCE, GL_UNSIGNED_BYTE, 4, 4, 8, 8, 1}, {GL_RGB, GL_UNSIGNED_SHORT, 6, 6, 4, 4, 6},
                        {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, 9, 3, 4, 2, 2}};
    for (const Row& r : rows) {
        const std::vector<unsigned char> in = noise(size_t(r.wIn) * r.hIn * r.bytesPerPixel, 7);
        std::vector<unsigned char> a(size_t(r.wOut) * r.hOut * r.bytesPerPixel + 8, 0), b = a;
        const GLint ea = gluScaleImage(r.format, r.wIn, r.hIn, r.type, in.data(), r.wOut, r.hOut, r.type, a.data());
        const GLint eb = scale(r.format, r.wIn, r.hIn, r.type, in.data(), r.wOut, r.hOut, r.type, b.data());
        int worst = 0;
        const size_t n = a.size() - 8;
        for (size_t i = 0; i < n; i += (r.type == GL_UNSIGNED_SHORT ? 2 : 1)) {
            int va = a[i], vb = b[i];
            if (r.type == GL_UNSIGNED_SHORT) va = a[i] | a[i + 1] << 8, vb = b[i] | b[i + 1] << 8;
            worst = std::max(worst, std::abs(va - vb));
        }
        const int step = r.type == GL_UNSIGNED_SHORT ? 1 : 1;
        char what[160];
        std::snprintf(what, sizeof what, "gluScaleImage %dx%d to %dx%d (format 0x%x, type 0x%x) as libGLU's (largest difference %d)",
                      r.wIn, r.hIn, r.wOut, r.hOut, r.format, r.type, worst);
        check(ea == 0 && eb == 0 && worst <= step && a[n] == 0, what);
    }
    // Bad arguments: GLU's errors, as libGLU gives them.
    unsigned char out[64];
    struct Bad {
        const char* what;
        GLenum format, type;
        int w;
    };
    const Bad bad[] = {{"a negative size", GL_RGB, GL_UNSIGNED_BYTE, -1},
                       {"an unknown format", 0x1234, GL_UNSIGNED_BYTE, 2},
                       {"an unknown type", GL_RGB, 0x1234, 2},
                       {"a packed type of the wrong format", GL_RGBA, GL_UNSIGNED_BYTE_3_3_2, 2}};
    for (const Bad& x : bad) {
        const GLint ours = gluScaleImage(x.format, x.w, 2, x.type, four, 1, 1, x.type, out);
        const GLint theirs = scale(x.format, x.w, 2, x.type, four, 1, 1, x.type, out);
        check(ours == theirs && ours != 0, std::string("gluScaleImage with ") + x.what + " is " +
                                               reinterpret_cast<const char*>(gluErrorString(ours)) + ", libGLU's " +
                                               reinterpret_cast<const char*>(gluErrorString(theirs)));
    }

    // Mipmaps: a 5 x 3 RGB image (rows 4-aligned) is scaled to 4 x 4, then
    // halved to 1 x 1.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const std::vector<unsigned char> image = noise(16 * 3, 11);
    rec::levels.clear();
    const GLint ours = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 5, 3, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    const std::vector<rec::Level> mine = rec::levels;
    rec::levels.clear();
    const GLint theirs = build2D(GL_TEXTURE_2D, GL_RGB, 5, 3, GL_RGB, GL_UNSIGNED_BYTE, image.data());
    bool sizes = ours == 0 && theirs == 0 && mine.size() == rec::levels.size() && mine.size() == 3;
    for (size_t l = 0; sizes && l < mine.size(); ++l)
        sizes = mine[l].level == int(l) && mine[l].width == rec::levels[l].width &&
                mine[l].height == rec::levels[l].height && mine[l].width == 4 >> l && mine[l].height == 4 >> l;
    check(sizes, "gluBuild2DMipmaps of 5 x 3 loads levels 4x4, 2x2 and 1x1, as libGLU");
    // Level 0 is the image through gluScaleImage (libGLU's own builder enlarges
    // with a resampler of its own, so its gluScaleImage is the reference);
    // each level after it is the mean of four texels of the one before.
    std::vector<unsigned char> scaled(4 * 4 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    scale(GL_RGB, 5, 3, GL_UNSIGNED_BYTE, image.data(), 4, 4, GL_UNSIGNED_BYTE, scaled.data());
    int worst = 0;
    for (size_t i = 0; sizes && i < scaled.size(); ++i) worst = std::max(worst, std::abs(mine[0].bytes[i] - scaled[i]));
    bool halved = sizes;
    for (size_t l = 1; halved && l < mine.size(); ++l) {
        const int w = mine[l].width, up = mine[l - 1].width;
        for (int y = 0; y < w; ++y)
            for (int x = 0; x < w; ++x)
                for (int k = 0; k < 3; ++k) {
                    auto at = [&](int yy, int xx) { return int(mine[l - 1].bytes[(yy * up + xx) * 3 + k]); };
                    const double mean = (at(2 * y, 2 * x) + at(2 * y, 2 * x + 1) + at(2 * y + 1, 2 * x) +
                                         at(2 * y + 1, 2 * x + 1)) / 4.0;
                    halved = halved && std::fabs(mine[l].bytes[(y * w + x) * 3 + k] - mean) <= 0.5;
                }
    }
    check(sizes && worst <= 1 && halved, "its level 0 is libGLU's gluScaleImage of the image (largest difference " +
                                             std::to_string(worst) + "), each level after the mean of four texels");
    check(rec::store[0][0] == 4, "gluBuild2DMipmaps puts the unpack alignment back");
    check(gluBuild2DMipmaps(GL_TEXTURE_1D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, image.data()) == GLU_INVALID_ENUM &&
              gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 0, 4, GL_RGB, GL_UNSIGNED_BYTE, image.data()) ==
                  GLU_INVALID_VALUE,
          "gluBuild2DMipmaps: a wrong target is GLU_INVALID_ENUM, an empty image GLU_INVALID_VALUE");
    rec::levels.clear();
    const GLint levelsResult =
        gluBuild2DMipmapLevels(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, 0, 1, 2, image.data());
    check(levelsResult == 0 && rec::levels.size() == 2 && rec::levels[0].level == 1 && rec::levels[0].width == 2 &&
              gluBuild2DMipmapLevels(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, 0, 1, 3, image.data()) ==
                  GLU_INVALID_VALUE,
          "gluBuild2DMipmapLevels loads levels 1 to 2 of a 4 x 4 image, and refuses level 3");
}

}  // namespace

int main() {
    desktop = dlopen("libGLU.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!desktop) {
        std::printf("FAIL: the desktop's libGLU.so.1 cannot be loaded: %s\n", dlerror());
        return 1;
    }
    matrices();
    projections();
    strings();
    images();
    std::printf("glu check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
