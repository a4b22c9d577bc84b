// zoMatrix4f: sixteen floats, m[row][column], acting on column vectors.
//
// Every modifying operation post-multiplies (M <- M * X), as OpenGL's matrix
// calls do, so the newest operation acts first on a point. Within one element's
// computation products and sums are carried in double and rounded once.
#pragma once

#include "math/zoVec3f.h"

class zoMatrix4f {
public:
    float m[4][4];

    // Leaves the elements as they are: give the matrix a value before reading it.
    zoMatrix4f() {}

    void set(const zoMatrix4f* other);
    void set(const float src[4][4]);
    void setIdentity();

    // q = M * (p, 1) for rows 0..2; row 3 is ignored (no perspective division).
    // q must not be p: it is written while p is still being read.
    void transform3(const zoVec3f* p, zoVec3f* q) const {
        q->x = float(((double(m[0][1]) * p->y + double(m[0][0]) * p->x) + double(m[0][2]) * p->z) + m[0][3]);
        q->y = float(((double(m[1][1]) * p->y + double(m[1][0]) * p->x) + double(m[1][2]) * p->z) + m[1][3]);
        q->z = float(((double(m[2][1]) * p->y + double(m[2][0]) * p->x) + double(m[2][2]) * p->z) + m[2][3]);
    }

    // q = M * p for four components; q must not be p.
    void transform4(const float* p, float* q) const {
        for (int r = 0; r < 4; ++r)
            q[r] = float(((double(m[r][1]) * p[1] + double(m[r][0]) * p[0]) + double(m[r][2]) * p[2]) +
                         double(m[r][3]) * p[3]);
    }

    // dst = a * b; dst must be neither a nor b (it is cleared first).
    static void multiply(const float a[4][4], const float b[4][4], float dst[4][4]);

    // M <- M * R(axis, angle in radians); a zero axis or angle changes nothing.
    void rotgen(float x, float y, float z, float angle);
    // M <- M * diag(x, y, z, 1)
    void scale(float x, float y, float z);
    // M <- M * T(x, y, z)
    void translate(float x, float y, float z);
};
