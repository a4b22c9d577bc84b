// OpenGL's two matrix stacks and their operations, computed on the CPU:
// WebGL has no matrix state, so the shader receives the tops of the stacks as
// uniforms.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <utility>

#include "platform/web/glState.h"
#include "platform/web/matrixInverse.h"

namespace zw {

Mat identity() {
    Mat r = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    return r;
}

Mat multiply(const Mat& a, const Mat& b) {
    Mat r;
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a.m[k * 4 + row] * b.m[col * 4 + k];
            r.m[col * 4 + row] = s;
        }
    return r;
}

void transform(const Mat& m, const float in[4], float out[4]) {
    float r[4];
    for (int row = 0; row < 4; ++row)
        r[row] = m.m[row] * in[0] + m.m[4 + row] * in[1] + m.m[8 + row] * in[2] + m.m[12 + row] * in[3];
    for (int row = 0; row < 4; ++row) out[row] = r[row];
}

bool invert(const Mat& a, Mat& out) {
    double m[16], inv[16];
    for (int k = 0; k < 16; ++k) m[k] = a.m[k];
    if (!invertMatrix(m, inv)) return false;
    for (int k = 0; k < 16; ++k) out.m[k] = float(inv[k]);
    return true;
}

static std::vector<Mat>& currentStack() {
    State& s = state();
    return s.matrixMode == GL_PROJECTION ? s.projection : s.matrixMode == GL_TEXTURE ? s.texture : s.modelview;
}

static size_t stackDepth() { return state().matrixMode == GL_TEXTURE ? ZW_TEXTURE_STACK_DEPTH : ZW_STACK_DEPTH; }

Mat& currentMatrix() { return currentStack().back(); }

void touchMatrix() {
    flushBatch();
    ++state().serial;
    ++state().matrixSerial;
}

static void multiplyCurrent(const Mat& m) {
    touchMatrix();
    Mat& c = currentMatrix();
    c = multiply(c, m);
}


}  // namespace zw

using zw::Mat;

extern "C" {

void glMatrixMode(GLenum mode) {
    if (!zw::record([=] { glMatrixMode(mode); }) || !zw::outsideBlock()) return;
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION && mode != GL_TEXTURE) {
        zw::setError(GL_INVALID_ENUM);
        return;
    }
    zw::state().matrixMode = mode;
}

void glLoadIdentity(void) {
    if (!zw::record([] { glLoadIdentity(); }) || !zw::outsideBlock()) return;
    zw::touchMatrix();
    zw::currentMatrix() = zw::identity();
}

void glPushMatrix(void) {
    if (!zw::record([] { glPushMatrix(); }) || !zw::outsideBlock()) return;
    std::vector<Mat>& s = zw::currentStack();
    if (s.size() >= zw::stackDepth()) {
        zw::setError(GL_STACK_OVERFLOW);
        return;
    }
    s.push_back(s.back());
}

void glPopMatrix(void) {
    if (!zw::record([] { glPopMatrix(); }) || !zw::outsideBlock()) return;
    std::vector<Mat>& s = zw::currentStack();
    if (s.size() <= 1) {
        zw::setError(GL_STACK_UNDERFLOW);
        return;
    }
    zw::touchMatrix();
    s.pop_back();
}

void glLoadMatrixf(const GLfloat* m) {
    Mat a;
    for (int i = 0; i < 16; ++i) a.m[i] = m[i];
    if (!zw::record([=] { glLoadMatrixf(a.m); }) || !zw::outsideBlock()) return;
    zw::touchMatrix();
    zw::currentMatrix() = a;
}

void glLoadMatrixd(const GLdouble* m) {
    GLfloat f[16];
    for (int i = 0; i < 16; ++i) f[i] = GLfloat(m[i]);
    glLoadMatrixf(f);
}

void glMultMatrixf(const GLfloat* m) {
    Mat a;
    for (int i = 0; i < 16; ++i) a.m[i] = m[i];
    if (!zw::record([=] { glMultMatrixf(a.m); }) || !zw::outsideBlock()) return;
    zw::multiplyCurrent(a);
}

void glMultMatrixd(const GLdouble* m) {
    GLfloat f[16];
    for (int i = 0; i < 16; ++i) f[i] = GLfloat(m[i]);
    glMultMatrixf(f);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    const GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    glMultMatrixf(m);
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) { glTranslatef(GLfloat(x), GLfloat(y), GLfloat(z)); }

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    const GLfloat m[16] = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    glMultMatrixf(m);
}

void glScaled(GLdouble x, GLdouble y, GLdouble z) { glScalef(GLfloat(x), GLfloat(y), GLfloat(z)); }

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    // The rotation by `angle` degrees about the axis (x, y, z), normalised; a
    // zero axis leaves the matrix as it is.
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0) return;
    const float ax = float(x / len), ay = float(y / len), az = float(z / len);
    const double a = double(angle) * M_PI / 180.0;
    const float c = float(std::cos(a)), s = float(std::sin(a)), t = 1 - c;
    const GLfloat m[16] = {t * ax * ax + c,      t * ax * ay + s * az, t * ax * az - s * ay, 0,
                           t * ax * ay - s * az, t * ay * ay + c,      t * ay * az + s * ax, 0,
                           t * ax * az + s * ay, t * ay * az - s * ax, t * az * az + c,      0,
                           0,                    0,                    0,                    1};
    glMultMatrixf(m);
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z) {
    glRotatef(GLfloat(angle), GLfloat(x), GLfloat(y), GLfloat(z));
}

void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    if (l == r || b == t || n == f) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    const GLdouble m[16] = {2 / (r - l),        0, 0, 0, 0, 2 / (t - b), 0, 0, 0, 0, -2 / (f - n), 0,
                            -(r + l) / (r - l), -(t + b) / (t - b), -(f + n) / (f - n), 1};
    glMultMatrixd(m);
}

void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    if (n <= 0 || f <= 0 || l == r || b == t || n == f) {
        zw::setError(GL_INVALID_VALUE);
        return;
    }
    const GLdouble m[16] = {2 * n / (r - l),   0, 0, 0, 0, 2 * n / (t - b), 0, 0,
                            (r + l) / (r - l), (t + b) / (t - b), -(f + n) / (f - n), -1,
                            0,                 0, -2 * f * n / (f - n), 0};
    glMultMatrixd(m);
}

}  // extern "C"
