// The recording stand-in's definitions. See fakegl.h.
#include "platform/fake/fakegl.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace fakegl {

std::vector<Call> calls;
bool recording = true;

std::vector<std::vector<double>> modelviewStack;
std::vector<std::vector<double>> projectionStack;
GLenum matrixMode = GL_MODELVIEW;
GLint viewport[4];

int currentWindow, windowX, windowY, windowW, windowH, screenW, screenH;
int elapsedMs;
unsigned nextList;

void (*displayFunc)(void);
void (*reshapeFunc)(int, int);
void (*mouseFunc)(int, int, int, int);
void (*motionFunc)(int, int);
void (*passiveMotionFunc)(int, int);
void (*idleFunc)(void);
void (*keyboardFunc)(unsigned char, int, int);
void (*specialFunc)(int, int, int);

static std::vector<double> identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

void reset() {
    calls.clear();
    recording = true;
    modelviewStack.assign(1, identity());
    projectionStack.assign(1, identity());
    matrixMode = GL_MODELVIEW;
    viewport[0] = viewport[1] = viewport[2] = viewport[3] = 0;
    currentWindow = 1;
    windowX = windowY = 0;
    windowW = windowH = 0;
    screenW = 1024;
    screenH = 768;
    elapsedMs = 0;
    nextList = 1;
    displayFunc = nullptr;
    reshapeFunc = nullptr;
    mouseFunc = nullptr;
    motionFunc = nullptr;
    passiveMotionFunc = nullptr;
    idleFunc = nullptr;
    keyboardFunc = nullptr;
    specialFunc = nullptr;
}

// Static initialisation puts the state in place for tests that never reset.
static const bool initialised = (reset(), true);

std::string Call::str() const {
    std::string s = name + "(";
    char buf[64];
    for (size_t i = 0; i < args.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%.9g", i ? ", " : "", args[i]);
        s += buf;
    }
    if (!text.empty()) s += (args.empty() ? "\"" : ", \"") + text + "\"";
    return s + ")";
}

std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const Call& c : calls) out.push_back(c.name);
    return out;
}

std::vector<std::string> trace() {
    std::vector<std::string> out;
    for (const Call& c : calls) out.push_back(c.str());
    return out;
}

int count(const std::string& name) {
    int n = 0;
    for (const Call& c : calls) n += (c.name == name);
    return n;
}

std::vector<Call> only(const std::string& name) {
    std::vector<Call> out;
    for (const Call& c : calls)
        if (c.name == name) out.push_back(c);
    return out;
}

__attribute__((noinline)) static void logCall(const char* name, std::initializer_list<double> args, const char* text) {
    calls.push_back(Call{name, std::vector<double>(args), text ? text : ""});
}

// Inline, so that with recording off a call costs only the test of the flag
// (benchmarks time code that makes thousands of GL calls a frame).
__attribute__((always_inline)) inline void record(const char* name, std::initializer_list<double> args,
                                                  const char* text = nullptr) {
    if (__builtin_expect(recording, 0)) logCall(name, args, text);
}

static std::vector<double>& current() {
    return matrixMode == GL_PROJECTION ? projectionStack.back() : modelviewStack.back();
}

static std::vector<std::vector<double>>& currentStack() {
    return matrixMode == GL_PROJECTION ? projectionStack : modelviewStack;
}

// current <- current * m, both column-major.
static void multiply(const double* m) {
    std::vector<double>& c = current();
    double r[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += c[k * 4 + row] * m[col * 4 + k];
            r[col * 4 + row] = s;
        }
    std::memcpy(c.data(), r, sizeof r);
}

static void translate(double x, double y, double z) {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    multiply(m);
}

static bool invert(const double* m, double* inv) {
    // Cofactor expansion; fine for a stand-in.
    double a[16];
    a[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] + m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
    a[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] - m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
    a[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] + m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
    a[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] - m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
    a[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] - m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
    a[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] + m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
    a[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] - m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
    a[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] + m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
    a[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] + m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
    a[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] - m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
    a[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] + m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
    a[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] - m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
    a[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] - m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
    a[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] + m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
    a[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] - m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
    a[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] + m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
    double det = m[0] * a[0] + m[1] * a[4] + m[2] * a[8] + m[3] * a[12];
    if (det == 0) return false;
    for (int i = 0; i < 16; ++i) inv[i] = a[i] / det;
    return true;
}

}  // namespace fakegl

using fakegl::record;

// The calls made per vertex: with recording off, nothing but the test of the
// flag (the arguments are converted only on the logging side).
template <class... Args>
__attribute__((noinline)) static void recordArgs(const char* name, Args... args) {
    record(name, {double(args)...});
}

// --- OpenGL -------------------------------------------------------------------
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd(void) { record("glEnd", {}); }
void glVertex2f(GLfloat x, GLfloat y) {
    if (fakegl::recording) recordArgs("glVertex2f", x, y);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (fakegl::recording) recordArgs("glVertex3f", x, y, z);
}
void glColor3f(GLfloat r, GLfloat g, GLfloat b) {
    if (fakegl::recording) recordArgs("glColor3f", r, g, b);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (fakegl::recording) recordArgs("glColor4f", r, g, b, a);
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record("glNormal3f", {x, y, z}); }
void glTexCoord2f(GLfloat s, GLfloat t) { record("glTexCoord2f", {s, t}); }
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { record("glDisable", {double(cap)}); }
void glBlendFunc(GLenum s, GLenum d) { record("glBlendFunc", {double(s), double(d)}); }
void glDepthFunc(GLenum f) { record("glDepthFunc", {double(f)}); }
void glShadeModel(GLenum m) { record("glShadeModel", {double(m)}); }
void glColorMaterial(GLenum face, GLenum mode) { record("glColorMaterial", {double(face), double(mode)}); }
void glLineWidth(GLfloat w) { record("glLineWidth", {w}); }
void glPointSize(GLfloat s) { record("glPointSize", {s}); }
void glFlush(void) { record("glFlush", {}); }
void glFinish(void) { record("glFinish", {}); }
GLenum glGetError(void) { return GL_NO_ERROR; }

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record("glClearColor", {r, g, b, a}); }
void glClear(GLbitfield mask) { record("glClear", {double(mask)}); }

void glLightfv(GLenum light, GLenum pname, const GLfloat* p) {
    if (pname == GL_POSITION || pname == GL_SPOT_DIRECTION || pname == GL_AMBIENT || pname == GL_DIFFUSE ||
        pname == GL_SPECULAR)
        record("glLightfv", {double(light), double(pname), p[0], p[1], p[2], pname == GL_SPOT_DIRECTION ? 0.0 : p[3]});
    else
        record("glLightfv", {double(light), double(pname), p[0]});
}

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
    fakegl::viewport[0] = x;
    fakegl::viewport[1] = y;
    fakegl::viewport[2] = w;
    fakegl::viewport[3] = h;
}

void glMatrixMode(GLenum mode) {
    record("glMatrixMode", {double(mode)});
    fakegl::matrixMode = mode;
}

void glLoadIdentity(void) {
    record("glLoadIdentity", {});
    fakegl::current() = fakegl::identity();
}

void glPushMatrix(void) {
    record("glPushMatrix", {});
    auto& s = fakegl::currentStack();
    s.push_back(s.back());
}

void glPopMatrix(void) {
    record("glPopMatrix", {});
    auto& s = fakegl::currentStack();
    if (s.size() > 1) s.pop_back();  // underflow is GL's error; the stand-in ignores it
}

void glLoadMatrixd(const GLdouble* m) {
    record("glLoadMatrixd", {});
    fakegl::current().assign(m, m + 16);
}

void glLoadMatrixf(const GLfloat* m) {
    record("glLoadMatrixf", {});
    fakegl::current().assign(m, m + 16);
}

void glMultMatrixd(const GLdouble* m) {
    record("glMultMatrixd", {});
    fakegl::multiply(m);
}

void glMultMatrixf(const GLfloat* m) {
    record("glMultMatrixf", {});
    double d[16];
    for (int i = 0; i < 16; ++i) d[i] = m[i];
    fakegl::multiply(d);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    record("glTranslatef", {x, y, z});
    fakegl::translate(x, y, z);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
    record("glTranslated", {x, y, z});
    fakegl::translate(x, y, z);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", {x, y, z});
    double m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    fakegl::multiply(m);
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    record("glRotatef", {angle, x, y, z});
    double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0) return;
    double ax = x / len, ay = y / len, az = z / len;
    double a = angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a), t = 1 - c;
    double m[16] = {t * ax * ax + c,      t * ax * ay + s * az, t * ax * az - s * ay, 0,
                    t * ax * ay - s * az, t * ay * ay + c,      t * ay * az + s * ax, 0,
                    t * ax * az + s * ay, t * ay * az - s * ax, t * az * az + c,      0,
                    0,                    0,                    0,                    1};
    fakegl::multiply(m);
}

void glGetDoublev(GLenum pname, GLdouble* out) {
    record("glGetDoublev", {double(pname)});
    if (pname == GL_PROJECTION_MATRIX)
        for (int i = 0; i < 16; ++i) out[i] = fakegl::projectionStack.back()[i];
    else if (pname == GL_MODELVIEW_MATRIX)
        for (int i = 0; i < 16; ++i) out[i] = fakegl::modelviewStack.back()[i];
}

void glGetFloatv(GLenum pname, GLfloat* out) {
    record("glGetFloatv", {double(pname)});
    if (pname == GL_PROJECTION_MATRIX)
        for (int i = 0; i < 16; ++i) out[i] = GLfloat(fakegl::projectionStack.back()[i]);
    else if (pname == GL_MODELVIEW_MATRIX)
        for (int i = 0; i < 16; ++i) out[i] = GLfloat(fakegl::modelviewStack.back()[i]);
}

void glGetIntegerv(GLenum pname, GLint* out) {
    record("glGetIntegerv", {double(pname)});
    if (pname == GL_VIEWPORT)
        for (int i = 0; i < 4; ++i) out[i] = fakegl::viewport[i];
    else if (pname == GL_MATRIX_MODE)
        out[0] = GLint(fakegl::matrixMode);
}

// --- GLU ----------------------------------------------------------------------
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    record("gluPerspective", {fovy, aspect, zNear, zFar});
    double radians = fovy / 2 * M_PI / 180;
    double deltaZ = zFar - zNear, sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    double cotangent = std::cos(radians) / sine;
    double m[16] = {cotangent / aspect, 0, 0, 0, 0, cotangent, 0, 0,
                    0, 0, -(zFar + zNear) / deltaZ, -1, 0, 0, -2 * zNear * zFar / deltaZ, 0};
    fakegl::multiply(m);
}

void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux,
               GLdouble uy, GLdouble uz) {
    record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
    double f[3] = {cx - ex, cy - ey, cz - ez};
    double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl != 0)
        for (double& v : f) v /= fl;
    double s[3] = {f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux};
    double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl != 0)
        for (double& v : s) v /= sl;
    double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    double m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    fakegl::multiply(m);
    fakegl::translate(-ex, -ey, -ez);
}

GLint gluUnProject(GLdouble winX, GLdouble winY, GLdouble winZ, const GLdouble* model, const GLdouble* proj,
                   const GLint* view, GLdouble* objX, GLdouble* objY, GLdouble* objZ) {
    record("gluUnProject", {winX, winY, winZ});
    // final = proj * model, then invert it and map window coordinates back.
    double final_[16];
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += proj[k * 4 + row] * model[col * 4 + k];
            final_[col * 4 + row] = s;
        }
    double inv[16];
    if (!fakegl::invert(final_, inv)) return GL_FALSE;
    double in[4] = {(winX - view[0]) / view[2] * 2 - 1, (winY - view[1]) / view[3] * 2 - 1, winZ * 2 - 1, 1};
    double out[4];
    for (int row = 0; row < 4; ++row) {
        out[row] = 0;
        for (int k = 0; k < 4; ++k) out[row] += inv[k * 4 + row] * in[k];
    }
    if (out[3] == 0) return GL_FALSE;
    *objX = out[0] / out[3];
    *objY = out[1] / out[3];
    *objZ = out[2] / out[3];
    return GL_TRUE;
}

// --- GLUT ---------------------------------------------------------------------
void glutInit(int* argc, char** argv) {
    record("glutInit", {double(argc ? *argc : -1)}, argc && *argc > 0 && argv && argv[0] ? argv[0] : nullptr);
}
void glutInitDisplayMode(unsigned int mode) { record("glutInitDisplayMode", {double(mode)}); }
void glutInitWindowSize(int w, int h) { record("glutInitWindowSize", {double(w), double(h)}); }
void glutInitWindowPosition(int x, int y) { record("glutInitWindowPosition", {double(x), double(y)}); }
int glutCreateWindow(const char* title) {
    record("glutCreateWindow", {}, title);
    return fakegl::currentWindow;
}
int glutGetWindow(void) { return fakegl::currentWindow; }
void glutSetWindow(int win) {
    record("glutSetWindow", {double(win)});
    fakegl::currentWindow = win;
}
void glutFullScreen(void) { record("glutFullScreen", {}); }
void glutReshapeWindow(int w, int h) {
    record("glutReshapeWindow", {double(w), double(h)});
    fakegl::windowW = w;
    fakegl::windowH = h;
}
void glutPositionWindow(int x, int y) {
    record("glutPositionWindow", {double(x), double(y)});
    fakegl::windowX = x;
    fakegl::windowY = y;
}
void glutPostRedisplay(void) { record("glutPostRedisplay", {}); }
void glutSwapBuffers(void) { record("glutSwapBuffers", {}); }
void glutMainLoop(void) { record("glutMainLoop", {}); }
void glutLeaveMainLoop(void) { record("glutLeaveMainLoop", {}); }
void glutSetOption(GLenum what, int value) { record("glutSetOption", {double(what), double(value)}); }

int glutGet(GLenum query) {
    switch (query) {
    case GLUT_WINDOW_X: return fakegl::windowX;
    case GLUT_WINDOW_Y: return fakegl::windowY;
    case GLUT_WINDOW_WIDTH: return fakegl::windowW;
    case GLUT_WINDOW_HEIGHT: return fakegl::windowH;
    case GLUT_SCREEN_WIDTH: return fakegl::screenW;
    case GLUT_SCREEN_HEIGHT: return fakegl::screenH;
    case GLUT_ELAPSED_TIME: return fakegl::elapsedMs;
    default: return 0;
    }
}

using DisplayFn = void (*)(void);
using SizeFn = void (*)(int, int);
using MouseFn = void (*)(int, int, int, int);
using KeyFn = void (*)(unsigned char, int, int);
using SpecialFn = void (*)(int, int, int);

#define FAKEGL_REGISTER(glutName, member, type) \
    void glutName(type f) {                      \
        record(#glutName, {f ? 1.0 : 0.0});      \
        fakegl::member = f;                      \
    }
FAKEGL_REGISTER(glutDisplayFunc, displayFunc, DisplayFn)
FAKEGL_REGISTER(glutReshapeFunc, reshapeFunc, SizeFn)
FAKEGL_REGISTER(glutMouseFunc, mouseFunc, MouseFn)
FAKEGL_REGISTER(glutMotionFunc, motionFunc, SizeFn)
FAKEGL_REGISTER(glutPassiveMotionFunc, passiveMotionFunc, SizeFn)
FAKEGL_REGISTER(glutIdleFunc, idleFunc, DisplayFn)
FAKEGL_REGISTER(glutKeyboardFunc, keyboardFunc, KeyFn)
FAKEGL_REGISTER(glutSpecialFunc, specialFunc, SpecialFn)
#undef FAKEGL_REGISTER

// --- Appended for the shape viewer ----------------------------------------------
void glFrontFace(GLenum mode) { record("glFrontFace", {double(mode)}); }
void glLightModeli(GLenum pname, GLint param) { record("glLightModeli", {double(pname), double(param)}); }

// --- Appended for the cloth testbed: display lists, polygon offset, bitmap text
GLuint glGenLists(GLsizei range) {
    record("glGenLists", {double(range)});
    const GLuint first = fakegl::nextList;
    if (first != 0) fakegl::nextList += GLuint(range);
    return first;
}
void glNewList(GLuint list, GLenum mode) { record("glNewList", {double(list), double(mode)}); }
void glEndList(void) { record("glEndList", {}); }
void glCallList(GLuint list) { record("glCallList", {double(list)}); }
void glDeleteLists(GLuint list, GLsizei range) { record("glDeleteLists", {double(list), double(range)}); }
void glPolygonOffset(GLfloat factor, GLfloat units) { record("glPolygonOffset", {factor, units}); }
void glPushAttrib(GLbitfield mask) { record("glPushAttrib", {double(mask)}); }
void glPopAttrib(void) { record("glPopAttrib", {}); }
void glRasterPos2f(GLfloat x, GLfloat y) { record("glRasterPos2f", {x, y}); }
// freeglut names its fonts by the address of these objects.
void* glutBitmap8By13 = nullptr;
void glutBitmapCharacter(void* font, int character) {
    (void)font;
    record("glutBitmapCharacter", {double(character)});
}
