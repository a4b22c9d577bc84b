/// \file
/// zoVec4f: four public floats. Holds colours (red, green, blue, alpha) and a
/// shape's rotation (angle in degrees, then the axis); no arithmetic of its own.
#pragma once

/// Four floats: a colour (red, green, blue, alpha, each 0 to 1) or a rotation
/// (angle in degrees, then the axis x, y, z); a plain value, 16 bytes, no padding.
class zoVec4f {
public:
    float x;  ///< Red, or the rotation angle in degrees.
    float y;  ///< Green, or the rotation axis's x.
    float z;  ///< Blue, or the rotation axis's y.
    float w;  ///< Alpha, or the rotation axis's z.

    /// (0, 0, 0, 0): w is 0, not 1.
    zoVec4f() : x(0), y(0), z(0), w(0) {}

    /// Stores (nx, ny, nz, nw).
    void set(float nx, float ny, float nz, float nw) {
        x = nx;
        y = ny;
        z = nz;
        w = nw;
    }
};
