// zoVec4f: four public floats. Holds colours (red, green, blue, alpha) and a
// shape's rotation (angle in degrees, then the axis); no arithmetic of its own.
#pragma once

class zoVec4f {
public:
    float x, y, z, w;

    zoVec4f() : x(0), y(0), z(0), w(0) {}  // w is 0, not 1

    void set(float nx, float ny, float nz, float nw) {
        x = nx;
        y = ny;
        z = nz;
        w = nw;
    }
};
