/// \file
/// zoVec3f: three public floats, the framework's point, direction and colour type.
///
/// Every result is stored as a float; products and sums inside one operation are
/// carried in double and rounded once, when a component is stored or a value is
/// returned. The operator set is deliberately small: there is no scalar * vector,
/// no unary minus, no comparison and no indexing. Nothing is checked: a division
/// by 0 gives IEEE infinities or NaN, and a NaN spreads.
#pragma once

#include <cmath>

/// A point, direction or colour of three floats; a plain value, 12 bytes, no padding.
class zoVec3f {
public:
    float x;  ///< First component.
    float y;  ///< Second component.
    float z;  ///< Third component.

    /// (0, 0, 0).
    zoVec3f() : x(0), y(0), z(0) {}
    /// (x, y, z).
    zoVec3f(float x, float y, float z) : x(x), y(y), z(z) {}
    /// Copies the three components.
    zoVec3f(const zoVec3f&) = default;

    /// Stores (nx, ny, nz).
    void set(float nx, float ny, float nz) {
        x = nx;
        y = ny;
        z = nz;
    }

    /// Copies v. Yields no value: assignments cannot be chained.
    void operator=(zoVec3f v) { set(v.x, v.y, v.z); }

    /// Adds v component by component.
    void operator+=(zoVec3f v) {
        x = x + v.x;
        y = y + v.y;
        z = z + v.z;
    }

    /// Multiplies each component by s.
    void operator*=(float s) {
        x = x * s;
        y = y * s;
        z = z * s;
    }

    /// Divides each component by s. No test for s == 0: IEEE arithmetic gives
    /// the infinities or NaN.
    void operator/=(float s) {
        x = x / s;
        y = y / s;
        z = z / s;
    }

    /// The dot product, (y·v.y + x·v.x) + z·v.z, rounded once.
    float dot(const zoVec3f& v) const {
        return float((double(y) * v.y + double(x) * v.x) + double(z) * v.z);
    }

    /// The cross product this × v (right-handed: x × y is z); this is unchanged.
    zoVec3f cross(const zoVec3f& v) const {
        return zoVec3f(float(double(y) * v.z - double(z) * v.y),
                       float(double(z) * v.x - double(x) * v.z),
                       float(double(x) * v.y - double(y) * v.x));
    }

    /// Scales the vector to unit length in place. The squared length is
    /// rounded to float before the root (unlike length()), so a vector whose
    /// squared length underflows is left as it is, as is (0, 0, 0); a vector
    /// with a NaN becomes all NaN.
    void normalize() {
        float s = float((double(y) * y + double(x) * x) + double(z) * z);
        float len = float(std::sqrt(double(s)));
        if (len == 0.0f) return;
        x = x / len;
        y = y / len;
        z = z / len;
    }

    /// The length, with the sum of squares carried in double and the root rounded once.
    float length() const {
        return float(std::sqrt((double(y) * y + double(x) * x) + double(z) * z));
    }

    /// The squared length, y² + x² + z², rounded once.
    float lengthSquared() const {
        return float((double(y) * y + double(x) * x) + double(z) * z);
    }
};

/// a + b, component by component.
inline zoVec3f operator+(zoVec3f a, zoVec3f b) { return zoVec3f(a.x + b.x, a.y + b.y, a.z + b.z); }
/// a − b, component by component.
inline zoVec3f operator-(zoVec3f a, zoVec3f b) { return zoVec3f(a.x - b.x, a.y - b.y, a.z - b.z); }
/// v scaled by s (vector times scalar only; there is no s * v).
inline zoVec3f operator*(zoVec3f v, float s) { return zoVec3f(v.x * s, v.y * s, v.z * s); }
/// v divided by s; no test for s == 0.
inline zoVec3f operator/(zoVec3f v, float s) { return zoVec3f(v.x / s, v.y / s, v.z / s); }
