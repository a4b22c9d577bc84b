// zoVec3f and zoVec4f: exact results where the rounding is fixed.
#include "math/zoVec3f.h"
#include "math/zoVec4f.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <cstddef>
#include <type_traits>
#include <utility>

namespace {

void expectVec(const zoVec3f& v, float x, float y, float z) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.z, z);
}

// Arrays of vectors are read as runs of plain floats by the shape code and OpenGL.
static_assert(sizeof(zoVec3f) == 3 * sizeof(float), "zoVec3f is three packed floats");
static_assert(sizeof(zoVec4f) == 4 * sizeof(float), "zoVec4f is four packed floats");
static_assert(offsetof(zoVec3f, x) == 0 && offsetof(zoVec3f, y) == 4 && offsetof(zoVec3f, z) == 8,
              "x, y, z in this order");
static_assert(offsetof(zoVec4f, w) == 12, "w last");
static_assert(std::is_same<decltype(std::declval<zoVec3f&>() = zoVec3f()), void>::value,
              "assignment yields no value");

// The framework supports exactly these operators; callers must not be able to
// write a scalar times a vector, a negation, a comparison or an index.
template <class...>
using void_t = void;
#define ZO_DETECT(name, expr)                                         \
    template <class T, class = void>                                  \
    struct name : std::false_type {};                                 \
    template <class T>                                                \
    struct name<T, void_t<decltype(expr)>> : std::true_type {};
ZO_DETECT(HasPlus, std::declval<T>() + std::declval<T>())
ZO_DETECT(HasVecTimesScalar, std::declval<T>() * 2.0f)
ZO_DETECT(HasScalarTimesVec, 2.0f * std::declval<T>())
ZO_DETECT(HasUnaryMinus, -std::declval<T>())
ZO_DETECT(HasEquality, std::declval<T>() == std::declval<T>())
ZO_DETECT(HasIndex, std::declval<T>()[0])
ZO_DETECT(HasMinusAssign, std::declval<T&>() -= std::declval<T>())
ZO_DETECT(HasVecTimesVec, std::declval<T>() * std::declval<T>())
#undef ZO_DETECT
static_assert(HasPlus<zoVec3f>::value && HasVecTimesScalar<zoVec3f>::value, "the supported operators exist");
static_assert(!HasScalarTimesVec<zoVec3f>::value, "no scalar * vector");
static_assert(!HasUnaryMinus<zoVec3f>::value, "no unary minus");
static_assert(!HasEquality<zoVec3f>::value, "no comparison");
static_assert(!HasIndex<zoVec3f>::value, "no indexing");
static_assert(!HasMinusAssign<zoVec3f>::value, "no -=");
static_assert(!HasVecTimesVec<zoVec3f>::value, "no vector * vector");
static_assert(!HasPlus<zoVec4f>::value && !HasVecTimesScalar<zoVec4f>::value, "zoVec4f has no arithmetic");

TEST(Vec, DefaultsAreZero) {
    zoVec3f v;
    expectVec(v, 0, 0, 0);
    zoVec4f c;
    EXPECT_EQ(c.x, 0.0f);
    EXPECT_EQ(c.y, 0.0f);
    EXPECT_EQ(c.z, 0.0f);
    EXPECT_EQ(c.w, 0.0f);  // not 1
    c.set(1, 2, 3, 4);
    EXPECT_EQ(c.x, 1.0f);
    EXPECT_EQ(c.y, 2.0f);
    EXPECT_EQ(c.z, 3.0f);
    EXPECT_EQ(c.w, 4.0f);
}

TEST(Vec, SetAssignAndCompoundOperators) {
    zoVec3f v(1, 2, 3);
    zoVec3f w;
    w = v;
    expectVec(w, 1, 2, 3);
    w = w;  // self-assignment through the by-value copy is harmless
    expectVec(w, 1, 2, 3);
    w.set(-1, 0.5f, 8);
    expectVec(w, -1, 0.5f, 8);
    w += v;
    expectVec(w, 0, 2.5f, 11);
    w *= 2;
    expectVec(w, 0, 5, 22);
    w /= 4;
    expectVec(w, 0, 1.25f, 5.5f);
    expectVec(v, 1, 2, 3);  // the argument of += was a copy
    // Adding a vector to itself reads the copy, not the half-updated object.
    w += w;
    expectVec(w, 0, 2.5f, 11);
}

TEST(Vec, FreeOperatorsReturnNewVectors) {
    zoVec3f a(1, 2, 3), b(0.5f, -4, 10);
    expectVec(a + b, 1.5f, -2, 13);
    expectVec(a - b, 0.5f, 6, -7);
    expectVec(a * 3, 3, 6, 9);
    expectVec(b / 2, 0.25f, -2, 5);
    expectVec(a, 1, 2, 3);
    expectVec(b, 0.5f, -4, 10);
}

TEST(Vec, DivisionByZeroFollowsIeee) {
    const float inf = std::numeric_limits<float>::infinity();
    zoVec3f q = zoVec3f(1, -2, 0) / 0.0f;
    EXPECT_EQ(q.x, inf);
    EXPECT_EQ(q.y, -inf);
    EXPECT_TRUE(std::isnan(q.z));
    zoVec3f v(3, 0, -1);
    v /= 0.0f;
    EXPECT_EQ(v.x, inf);
    EXPECT_TRUE(std::isnan(v.y));
    EXPECT_EQ(v.z, -inf);
}

TEST(Vec, CrossProduct) {
    zoVec3f x(1, 0, 0), y(0, 1, 0);
    expectVec(x.cross(y), 0, 0, 1);
    expectVec(y.cross(x), 0, 0, -1);
    expectVec(zoVec3f(2, 4, 6).cross(zoVec3f(1, 2, 3)), 0, 0, 0);
    expectVec(zoVec3f(1, 2, 3).cross(zoVec3f(4, 5, 6)), -3, 6, -3);
    expectVec(x, 1, 0, 0);
    expectVec(y, 0, 1, 0);
}

TEST(Vec, CrossProductCancelsInDouble) {
    // y*v.z - z*v.y = (1 + 2^-12)^2 - (1 + 2^-11) = 2^-24 exactly; the two
    // products rounded to float first would cancel to 0.
    const float a = 1.0f + 0x1p-12f;
    zoVec3f u(0, a, 1.0f + 0x1p-11f), v(0, 1, a);
    EXPECT_EQ(u.cross(v).x, 0x1p-24f);
}

TEST(Vec, DotIsCarriedInDouble) {
    zoVec3f a(1, 2, 3), b(4, -5, 6);
    EXPECT_EQ(a.dot(b), 12.0f);
    // (1*1 + 1e8*1) + (-1e8) is 1; summed in float, 1e8 + 1 rounds back to 1e8
    // and the result would be 0.
    zoVec3f p(1e8f, 1, 1), q(1, 1, -1e8f);
    EXPECT_EQ(p.dot(q), 1.0f);
    expectVec(p, 1e8f, 1, 1);
    expectVec(q, 1, 1, -1e8f);
}

TEST(Vec, LengthIsCarriedInDouble) {
    EXPECT_EQ(zoVec3f(3, 4, 0).length(), 5.0f);
    EXPECT_EQ(zoVec3f(2, 3, 6).length(), 7.0f);
    EXPECT_EQ(zoVec3f(3, 4, 0).lengthSquared(), 25.0f);
    // The squares would overflow or underflow in float.
    EXPECT_EQ(zoVec3f(1e20f, 0, 0).length(), 1e20f);
    EXPECT_EQ(zoVec3f(0, 0, -1e-30f).length(), 1e-30f);
    EXPECT_EQ(zoVec3f(1e-30f, 0, 0).lengthSquared(), 0.0f);
}

TEST(Vec, NormalizeExactResults) {
    zoVec3f v(3, 4, 0);
    v.normalize();
    expectVec(v, 3.0f / 5.0f, 4.0f / 5.0f, 0);
    EXPECT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.8f);

    zoVec3f zero;
    zero.normalize();
    expectVec(zero, 0, 0, 0);

    zoVec3f n(0, -2, 0);
    n.normalize();
    expectVec(n, 0, -1, 0);
}

TEST(Vec, NormalizeRoundsTheSquaredLengthToFloatFirst) {
    // The squared length 1e-60 is 0 as a float: the vector is left alone,
    // although its length is not 0.
    zoVec3f tiny(1e-30f, 0, 0);
    tiny.normalize();
    expectVec(tiny, 1e-30f, 0, 0);
    EXPECT_EQ(tiny.length(), 1e-30f);

    // 8198^2 + 37^2 = 67208573, which lies off the float grid (spacing 8 there)
    // and rounds to 67208576 before the root. Without that rounding, or with
    // the squares summed in float (67208568), the results differ in the last bit.
    const float s = 67208576.0f;
    const float len = std::sqrt(s);
    zoVec3f v(8198, 37, 0);
    v.normalize();
    expectVec(v, 8198.0f / len, 37.0f / len, 0);
    const float unrounded = float(std::sqrt(67208573.0));
    const float floatSum = std::sqrt(67208568.0f);
    ASSERT_NE(8198.0f / unrounded, v.x);
    ASSERT_NE(8198.0f / floatSum, v.x);
}

TEST(Vec, NormalizeWithNaNGivesNaN) {
    zoVec3f v(1, std::numeric_limits<float>::quiet_NaN(), 0);
    v.normalize();
    EXPECT_TRUE(std::isnan(v.x));
    EXPECT_TRUE(std::isnan(v.y));
    EXPECT_TRUE(std::isnan(v.z));
}

}  // namespace
