// The height field the cloth falls onto.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "app/drapeApp.h"
#include "platform/fake/fakegl.h"
#include "app/drapeHarness.h"

namespace {

class Surface : public testing::Test {
protected:
    void SetUp() override {
        fakegl::reset();
        ASSERT_NE(app.app, nullptr);
    }
    float at(float x, float y) { return app->surface(x, y); }
    drapeCloth app{DRAPE_FAITHFUL};
};

TEST_F(Surface, WorkedValues) {
    EXPECT_EQ(at(-30, 0), 20.0f);   // slope
    EXPECT_EQ(at(-29, -29), 18.0f); // under knob 0
    EXPECT_EQ(at(-22, 0), 4.0f);    // slope meets the floor
    EXPECT_EQ(at(-21, 0), 4.0f);    // slope below the floor
    EXPECT_EQ(at(20, 0), 22.5f);    // plateau
    EXPECT_EQ(at(20, 35), 4.0f);    // band in front of the wall wins over the plateau
    EXPECT_EQ(at(20, 40.5f), 20.0f);  // wall
    EXPECT_EQ(at(12, 0), 18.0f);    // block
    EXPECT_EQ(at(12, -15), 4.0f);
    EXPECT_EQ(at(50, 0), 10.0f);    // top of the hump
    EXPECT_EQ(at(70, 10), 20.0f);   // far block
    EXPECT_EQ(at(0, 45), 12.0f);    // ramp behind the wall
}

TEST_F(Surface, SquareRootsAreDoubleRoundedToFloat) {
    // Trough: 15 - sqrt(101) at x = -1, 15 - sqrt(65) at x = 5, the root rounded
    // to float before the subtraction.
    EXPECT_EQ(at(-1, 0), float(15.0 - double(float(std::sqrt(101.0)))));
    EXPECT_NEAR(at(-1, 0), 4.950, 0.0005);
    EXPECT_EQ(at(5, -5), float(15.0 - double(float(std::sqrt(65.0)))));
    EXPECT_NEAR(at(5, -5), 6.938, 0.0005);
    // Hump side: x = 45 gives sqrt(100 - 25).
    EXPECT_EQ(at(45, 0), float(std::sqrt(75.0)));
    // Plateau in double from X = x + 30: 0.25 * 45.1f's X, rounded once.
    const float x = 15.1f;
    EXPECT_EQ(at(x, 0), float(0.25 * (double(x) + 30.0) + 10.0));
}

TEST_F(Surface, BoundariesFallThroughToLaterRows) {
    EXPECT_EQ(at(-20, 0), 4.0f);   // X = 10: not the slope, nothing else holds
    EXPECT_EQ(at(-11, 0), 4.0f);   // X = 19: between trough and ledge
    EXPECT_EQ(at(-11.5f, 0), 15.0f);  // ledge
    EXPECT_EQ(at(-12, 0), 4.0f);   // X = 18
    EXPECT_EQ(at(15, 0), 18.0f);   // X = 45: plateau excluded, block holds
    EXPECT_EQ(at(35, 0), 18.0f);   // X = 65: plateau excluded, block holds
    EXPECT_EQ(at(35, 15), 4.0f);   // X = 65, Y = 45: nothing holds
    EXPECT_EQ(at(9, 0), 18.0f);    // X = 39: trough excluded, block
    EXPECT_EQ(at(40, 0), 4.0f);    // X = 70: block and hump both excluded
    EXPECT_EQ(at(60, 0), 4.0f);    // X = 90: hump excluded
    EXPECT_EQ(at(20, 30), 22.5f);  // Y = 60: band excluded, plateau
    EXPECT_EQ(at(20, 40), 22.5f);  // Y = 70: neither band nor wall
    EXPECT_EQ(at(20, 41), 22.5f);  // Y = 71: neither wall nor ramp
    EXPECT_EQ(at(20, 41.5f), 19.0f);  // ramp
    EXPECT_EQ(at(20, 61), 22.5f);  // Y = 91: ramp excluded
    EXPECT_EQ(at(12, -10), 4.0f);  // Y = 20: block excluded
    EXPECT_EQ(at(12, 10), 4.0f);   // Y = 40: block excluded
    EXPECT_EQ(at(69, 0), 4.0f);    // X = 99 but Y = 30: far block excluded
    EXPECT_EQ(at(68, 10), 4.0f);   // X = 98: far block excluded
    EXPECT_EQ(at(68.5f, 19.5f), 20.0f);
}

TEST_F(Surface, SlopeAndRampAreExactInDouble) {
    // 20 - 2 X for X = x + 30 carried in double: x = -29.9 gives a value that a
    // float X would round differently.
    const float x = -29.9f;
    EXPECT_EQ(at(x, 0), float(20.0 - 2.0 * (double(x) + 30.0)));
    const float y = 41.3f;
    EXPECT_EQ(at(0, y), float(2.0 * (81.0 - (double(y) + 30.0))));
}

TEST_F(Surface, NeverBelowTheFloorAndTotalForAnyInput) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(at(nan, 0), 4.0f);
    EXPECT_EQ(at(0, nan), 5.0f);  // the trough depends on X alone
    EXPECT_EQ(at(-inf, 0), inf);  // the slope rises without bound
    EXPECT_EQ(at(inf, inf), 4.0f);
    for (float x = -40; x <= 80; x += 0.37f)
        for (float y = -40; y <= 70; y += 0.41f) ASSERT_GE(at(x, y), 4.0f) << x << ", " << y;
}

TEST_F(Surface, TheStartingAreaIsBelowTheCloth) {
    float highest = 0;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const zoVec3f& p = app->thread[k].pos;
        highest = std::fmax(highest, at(p.x, p.y));
    }
    EXPECT_EQ(highest, 25.0f);  // the plateau's edge under the x = 30 column
}

}  // namespace
