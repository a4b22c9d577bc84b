// zoMatrix4f: post-multiplication, exact rounding of sums and products, and
// the rotation matching glRotate.
#include "math/zoMatrix4f.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/fake/fakegl.h"

namespace {

void expectIdentityBut(const zoMatrix4f& a, int r0, int c0, float v0) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float want = (r == c) ? 1.0f : 0.0f;
            if (r == r0 && c == c0) want = v0;
            EXPECT_EQ(a.m[r][c], want) << "m[" << r << "][" << c << "]";
        }
}

bool sameBits(const zoMatrix4f& a, const zoMatrix4f& b) { return std::memcmp(a.m, b.m, sizeof a.m) == 0; }

zoMatrix4f numbered() {
    zoMatrix4f a;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) a.m[r][c] = float(r * 4 + c + 1) * 0.37f;
    return a;
}

TEST(Matrix, SetAndIdentity) {
    zoMatrix4f a = numbered(), b;
    b.set(&a);
    EXPECT_TRUE(sameBits(a, b));
    float raw[4][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};
    b.set(raw);
    EXPECT_EQ(b.m[0][3], 4.0f);
    EXPECT_EQ(b.m[3][0], 13.0f);
    EXPECT_EQ(std::memcmp(b.m, raw, sizeof raw), 0);
    b.setIdentity();
    expectIdentityBut(b, 0, 0, 1);
}

TEST(Matrix, TranslatePostMultiplies) {
    zoMatrix4f a;
    a.setIdentity();
    a.translate(1, 2, 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float want = (r == c) ? 1.0f : 0.0f;
            if (c == 3 && r < 3) want = float(r + 1);
            EXPECT_EQ(a.m[r][c], want);
        }

    // The translation is applied on the right, inside the scale.
    a.setIdentity();
    a.scale(2, 2, 2);
    a.translate(1, 0, 0);
    EXPECT_EQ(a.m[0][3], 2.0f);
    EXPECT_EQ(a.m[0][0], 2.0f);

    // In the other order the scale does not touch the translation.
    a.setIdentity();
    a.translate(1, 0, 0);
    a.scale(2, 3, 4);
    EXPECT_EQ(a.m[0][3], 1.0f);
    EXPECT_EQ(a.m[1][1], 3.0f);
    EXPECT_EQ(a.m[2][2], 4.0f);
}

TEST(Matrix, ScaleMultipliesColumnsOfEveryRow) {
    zoMatrix4f a = numbered(), b = numbered();
    a.scale(2, -1, 0.5f);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(a.m[r][0], b.m[r][0] * 2);
        EXPECT_EQ(a.m[r][1], -b.m[r][1]);
        EXPECT_EQ(a.m[r][2], b.m[r][2] * 0.5f);
        EXPECT_EQ(a.m[r][3], b.m[r][3]);
    }
}

TEST(Matrix, TranslateSumsInDouble) {
    // Row 0: (1*1e8 + 1*1) + 1*(-1e8) + 0 is 1; in float the 1 is lost. Row 3
    // is updated like the others.
    zoMatrix4f a;
    float raw[4][4] = {{1, 1e8f, -1e8f, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}};
    a.set(raw);
    a.translate(1, 1, 1);
    EXPECT_EQ(a.m[0][3], 1.0f);
    EXPECT_EQ(a.m[1][3], 1.0f);
    EXPECT_EQ(a.m[3][3], 2.0f);
}

TEST(Matrix, Transform3IgnoresRowThreeAndSumsInDouble) {
    zoMatrix4f a;
    float raw[4][4] = {{1e8f, 1, -1e8f, 0.5f}, {0, 2, 0, 0}, {0, 0, 3, -1}, {7, 7, 7, 7}};
    a.set(raw);
    zoVec3f p(1, 1, 1), q(9, 9, 9);
    a.transform3(&p, &q);
    // (1*1 + 1e8*1) + (-1e8) + 0.5: a float sum would drop the 1.
    EXPECT_EQ(q.x, 1.5f);
    EXPECT_EQ(q.y, 2.0f);
    EXPECT_EQ(q.z, 2.0f);  // no division by row 3's 28
}

TEST(Matrix, Transform4UsesAllFourComponentsAndSumsInDouble) {
    zoMatrix4f a;
    float raw[4][4] = {{1, 5e7f, 0, 1e8f}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 2}};
    a.set(raw);
    float p[4] = {1, 2, 3, -1}, q[4];
    a.transform4(p, q);
    // (5e7*2 + 1*1) + 0 + 1e8*(-1) is 1; a float sum would lose the 1 in 1e8 + 1.
    EXPECT_EQ(q[0], 1.0f);
    EXPECT_EQ(q[1], 2.0f);
    EXPECT_EQ(q[2], 3.0f);
    EXPECT_EQ(q[3], 1.0f);
}

TEST(Matrix, MultiplyOverwritesDirtyDestination) {
    float a[4][4] = {{1, 2, 0, 0}, {0, 1, 0, 3}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    float b[4][4] = {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 5}, {0, 0, 0, 1}};
    float want[4][4] = {{2, 1, 0, 0}, {1, 0, 0, 3}, {0, 0, 2, 10}, {0, 0, 0, 1}};
    float dst[4][4];
    for (auto& row : dst)
        for (float& v : row) v = std::nanf("");
    zoMatrix4f::multiply(a, b, dst);
    EXPECT_EQ(std::memcmp(dst, want, sizeof want), 0);
}

TEST(Matrix, MultiplyRoundsTheRunningSumAfterEveryTerm) {
    float a[4][4] = {}, b[4][4] = {}, dst[4][4];
    // Row 0 of a times column 0 of b: 1e8, then 1e8 + 1 (stored as 1e8), then 0.
    a[0][0] = 1e8f;
    a[0][1] = 1;
    a[0][2] = -1e8f;
    b[0][0] = b[1][0] = b[2][0] = 1;
    // Row 1 times column 1: -1, then -1 + (1 + 2^-12)^2 = 2^-11 + 2^-24, kept
    // because the product is exact in double (as a float it would be 1 + 2^-11).
    const float e = 1.0f + 0x1p-12f;
    a[1][0] = -1;
    a[1][1] = e;
    b[0][1] = 1;
    b[1][1] = e;
    zoMatrix4f::multiply(a, b, dst);
    EXPECT_EQ(dst[0][0], 0.0f);
    EXPECT_EQ(dst[1][1], 0x1p-11f + 0x1p-24f);
}

TEST(Matrix, RotgenQuarterTurnAboutZ) {
    zoMatrix4f a;
    a.setIdentity();
    const float angle = float(M_PI / 2);
    a.rotgen(0, 0, 1, angle);
    zoVec3f p(1, 0, 0), q;
    a.transform3(&p, &q);
    // cos of the float nearest pi/2 is a tiny negative number, not 0.
    const float co = float(std::cos(double(angle)));
    EXPECT_LT(co, 0.0f);
    EXPECT_EQ(q.x, co);
    EXPECT_EQ(q.y, 1.0f);
    EXPECT_EQ(q.z, 0.0f);
    EXPECT_EQ(a.m[0][1], -1.0f);
    EXPECT_EQ(a.m[1][0], 1.0f);
    // t = 1 - co rounds to exactly 1, so t*z*z + co is the float just below 1.
    EXPECT_EQ(a.m[2][2], 1.0f - 0x1p-24f);
}

TEST(Matrix, RotgenAxisLengthDoesNotMatter) {
    zoMatrix4f a = numbered(), b = numbered();
    a.rotgen(0, 0, 5, 0.7f);
    b.rotgen(0, 0, 1, 0.7f);
    EXPECT_TRUE(sameBits(a, b));
    a = numbered();
    b = numbered();
    a.rotgen(-2, 0, 0, 1.3f);
    b.rotgen(-1, 0, 0, 1.3f);
    EXPECT_TRUE(sameBits(a, b));
}

TEST(Matrix, RotgenWithZeroAxisOrAngleLeavesMatrixAlone) {
    const zoMatrix4f before = numbered();
    zoMatrix4f a = numbered();
    a.rotgen(0, 0, 0, 1.0f);
    EXPECT_TRUE(sameBits(a, before));
    a.rotgen(1, 2, 3, 0.0f);
    EXPECT_TRUE(sameBits(a, before));
    a.rotgen(1, 2, 3, -0.0f);
    EXPECT_TRUE(sameBits(a, before));
    // The smallest float axis still has a length in double: it is a real axis.
    a.rotgen(0x1p-149f, 0, 0, 1.0f);
    EXPECT_FALSE(sameBits(a, before));
}

TEST(Matrix, RotgenPostMultipliesLikeGlRotate) {
    // Build the same product with the stand-in's glRotate (double precision,
    // column-major) and compare up to float rounding.
    fakegl::reset();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(3, -2, 1);
    glScalef(2, 1, 0.5f);
    glRotatef(30, 1, 2, 3);
    glRotatef(-75, 0, 1, 0);
    const std::vector<double>& gl = fakegl::modelviewStack.back();

    zoMatrix4f a;
    a.setIdentity();
    a.translate(3, -2, 1);
    a.scale(2, 1, 0.5f);
    a.rotgen(1, 2, 3, float(30 * M_PI / 180));
    a.rotgen(0, 1, 0, float(-75 * M_PI / 180));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(a.m[r][c], gl[c * 4 + r], 2e-6) << r << "," << c;
}

}  // namespace
