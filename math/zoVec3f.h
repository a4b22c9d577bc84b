// zoVec3f: three public floats, the framework's point, direction and colour type.
//
// Every result is stored as a float; products and sums inside one operation are
// carried in double and rounded once, when a component is stored or a value is
// returned. The operator set is deliberately small: there is no scalar * vector,
// no unary minus, no comparison and no indexing.
#pragma once

#include <cmath>

class zoVec3f {
public:
    float x, y, z;

    zoVec3f() : x(0), y(0), z(0) {}
    zoVec3f(float x, float y, float z) : x(x), y(y), z(z) {}
    zoVec3f(const zoVec3f&) = default;

    void set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }

    // Yields no value: assignments cannot be chained.
    void operator=(zoVec3f v) { set(v.x, v.y, v.z); }

    void operator+=(zoVec3f v) {
        x = x + v.x;
        y = y + v.y;
        z = z + v.z;
    }

    void operator*=(float s) {
        x = x * s;
        y = y * s;
        z = z * s;
    }

    // No test for s == 0: IEEE arithmetic gives the infinities or NaN.
    void operator/=(float s) {
        x = x / s;
        y = y / s;
        z = z / s;
    }

    float dot(const zoVec3f& v) const {
        return float((double(y) * v.y + double(x) * v.x) + double(z) * v.z);
    }

    zoVec3f cross(const zoVec3f& v) const {
        return zoVec3f(float(double(y) * v.z - double(z) * v.y),
                       float(double(z) * v.x - double(x) * v.z),
                       float(double(x) * v.y - double(y) * v.x));
    }

    // The squared length is rounded to float before the root (unlike length()),
    // so a vector whose squared length underflows is left as it is.
    void normalize() {
        float s = float((double(y) * y + double(x) * x) + double(z) * z);
        float len = float(std::sqrt(double(s)));
        if (len == 0.0f) return;
        x = x / len;
        y = y / len;
        z = z / len;
    }

    float length() const {
        return float(std::sqrt((double(y) * y + double(x) * x) + double(z) * z));
    }

    float lengthSquared() const {
        return float((double(y) * y + double(x) * x) + double(z) * z);
    }
};

inline zoVec3f operator+(zoVec3f a, zoVec3f b) { return zoVec3f(a.x + b.x, a.y + b.y, a.z + b.z); }
inline zoVec3f operator-(zoVec3f a, zoVec3f b) { return zoVec3f(a.x - b.x, a.y - b.y, a.z - b.z); }
inline zoVec3f operator*(zoVec3f v, float s) { return zoVec3f(v.x * s, v.y * s, v.z * s); }
inline zoVec3f operator/(zoVec3f v, float s) { return zoVec3f(v.x / s, v.y / s, v.z / s); }
