// The inverse of a 4x4 matrix in OpenGL's column-major order, in double:
// Gauss-Jordan elimination with partial pivoting on [a | I]. Shared by the
// layer's float matrices and GLU, which is also built alone for its check.
#pragma once

#include <cmath>
#include <utility>

namespace zw {

// False, and `inv` untouched, when `a` is singular.
inline bool invertMatrix(const double a[16], double inv[16]) {
    double m[4][8];
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            m[r][c] = a[c * 4 + r];
            m[r][c + 4] = (r == c);
        }
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(m[r][c]) > std::fabs(m[pivot][c])) pivot = r;
        if (m[pivot][c] == 0) return false;
        if (pivot != c)
            for (int k = 0; k < 8; ++k) std::swap(m[c][k], m[pivot][k]);
        const double d = m[c][c];
        for (int k = 0; k < 8; ++k) m[c][k] /= d;
        for (int r = 0; r < 4; ++r) {
            if (r == c) continue;
            const double f = m[r][c];
            for (int k = 0; k < 8; ++k) m[r][k] -= f * m[c][k];
        }
    }
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) inv[c * 4 + r] = m[r][c + 4];
    return true;
}

}  // namespace zw
