/// \file
/// zoMatrix4f: sixteen floats, m[row][column], acting on column vectors.
///
/// Every modifying operation post-multiplies (M <- M * X), as OpenGL's matrix
/// calls do, so the newest operation acts first on a point. Within one element's
/// computation products and sums are carried in double and rounded once. The
/// layout is the transpose of OpenGL's column-major arrays: m[r][c] is OpenGL's
/// element c * 4 + r, and the translation of an affine matrix is m[0..2][3].
#pragma once

#include "math/zoVec3f.h"

/// A 4 × 4 single-precision matrix, row-major, acting on column vectors (p' = M p).
class zoMatrix4f {
public:
    float m[4][4];  ///< The elements, m[row][column].

    /// Leaves the elements as they are: give the matrix a value before reading
    /// it (one with static storage starts as all zeros).
    zoMatrix4f() {}

    /// Copies the sixteen elements of *other (not null).
    void set(const zoMatrix4f* other);
    /// Copies the sixteen elements of a row-major array laid out as #m.
    void set(const float src[4][4]);
    /// The identity.
    void setIdentity();

    /// q = M * (p, 1) for rows 0..2; row 3 is ignored (no perspective division).
    /// q must not be p: it is written while p is still being read.
    void transform3(const zoVec3f* p, zoVec3f* q) const {
        q->x = float(((double(m[0][1]) * p->y + double(m[0][0]) * p->x) + double(m[0][2]) * p->z) + m[0][3]);
        q->y = float(((double(m[1][1]) * p->y + double(m[1][0]) * p->x) + double(m[1][2]) * p->z) + m[1][3]);
        q->z = float(((double(m[2][1]) * p->y + double(m[2][0]) * p->x) + double(m[2][2]) * p->z) + m[2][3]);
    }

    /// q = M * p for four components; q must not be p.
    void transform4(const float* p, float* q) const {
        for (int r = 0; r < 4; ++r)
            q[r] = float(((double(m[r][1]) * p[1] + double(m[r][0]) * p[0]) + double(m[r][2]) * p[2]) +
                         double(m[r][3]) * p[3]);
    }

    /// dst = a * b, the running sum of each element stored as a float after
    /// every term; dst must be neither a nor b (it is cleared first).
    static void multiply(const float a[4][4], const float b[4][4], float dst[4][4]);

    /// M <- M * R(axis, angle in radians), the rotation glRotate builds:
    /// counter-clockwise looking from the axis tip towards the origin. The axis
    /// need not be unit length; a zero axis or angle changes nothing. Uses one
    /// scratch matrix of the module, so it is not for two threads at once.
    void rotgen(float x, float y, float z, float angle);
    /// M <- M * diag(x, y, z, 1).
    void scale(float x, float y, float z);
    /// M <- M * T(x, y, z).
    void translate(float x, float y, float z);
};
