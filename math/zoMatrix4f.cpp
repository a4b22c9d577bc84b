#include "math/zoMatrix4f.h"

#include <cmath>

// rotgen keeps the matrix's old value here while it multiplies; this makes
// rotgen single-threaded, like everything else in the framework.
static zoMatrix4f temp;

void zoMatrix4f::set(const zoMatrix4f* other) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = other->m[r][c];
}

void zoMatrix4f::set(const float src[4][4]) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = src[r][c];
}

void zoMatrix4f::setIdentity() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) m[r][c] = (r == c) ? 1.0f : 0.0f;
}

void zoMatrix4f::multiply(const float a[4][4], const float b[4][4], float dst[4][4]) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) dst[i][j] = 0.0f;
    // The running sum is stored as a float after every term.
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) dst[i][j] = float(double(dst[i][j]) + double(a[i][k]) * b[k][j]);
}

void zoMatrix4f::rotgen(float x, float y, float z, float angle) {
    float len = float(std::sqrt((double(y) * y + double(x) * x) + double(z) * z));
    if (len == 0.0f || angle == 0.0f) return;
    x = x / len;
    y = y / len;
    z = z / len;
    float co = float(std::cos(double(angle)));
    float si = float(std::sin(double(angle)));
    float t = 1.0f - co;

    // The rotation glRotate builds for the same angle: counter-clockwise when
    // looking from the axis tip towards the origin.
    float R[4][4] = {
        {float(double(t) * x * x + co), float(double(t) * x * y - double(si) * z), float(double(t) * x * z + double(si) * y), 0},
        {float(double(t) * x * y + double(si) * z), float(double(t) * y * y + co), float(double(t) * y * z - double(si) * x), 0},
        {float(double(t) * x * z - double(si) * y), float(double(t) * y * z + double(si) * x), float(double(t) * z * z + co), 0},
        {0, 0, 0, 1},
    };
    temp.set(this);
    multiply(temp.m, R, m);
}

void zoMatrix4f::scale(float x, float y, float z) {
    for (int r = 0; r < 4; ++r) {
        m[r][0] = m[r][0] * x;
        m[r][1] = m[r][1] * y;
        m[r][2] = m[r][2] * z;
    }
}

void zoMatrix4f::translate(float x, float y, float z) {
    for (int r = 0; r < 4; ++r)
        m[r][3] = float(((double(y) * m[r][1] + double(x) * m[r][0]) + double(z) * m[r][2]) + m[r][3]);
}
