// The outermost frame presents its picture through zouPresent: glutSwapBuffers
// unless an offscreen run has pointed it elsewhere.
#include <gtest/gtest.h>

#include "platform/fake/fakegl.h"
#include "framework/zou.h"

namespace {

int offscreenPresents = 0;
void offscreenPresent() { offscreenPresents++; }

}  // namespace

TEST(Present, WindowedCloseSwapsTheBuffers) {
    fakegl::reset();
    frameDepth = 0;
    ASSERT_EQ(zouPresent, &glutSwapBuffers);
    zouOpenToviFrame();
    zouOpenToviFrame();
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::count("glutSwapBuffers"), 0) << "a nested close presents nothing";
    zouCloseToviFrame();
    EXPECT_EQ(fakegl::count("glutSwapBuffers"), 1);
    EXPECT_EQ(frameDepth, 0);
}

TEST(Present, OffscreenCloseCallsTheChosenPresenterInstead) {
    fakegl::reset();
    frameDepth = 0;
    offscreenPresents = 0;
    zouPresent = offscreenPresent;
    for (int frame = 0; frame < 3; frame++) {
        zouOpenToviFrame();
        zouOpenToviFrame();
        zouCloseToviFrame();
        EXPECT_EQ(offscreenPresents, frame);
        zouCloseToviFrame();
    }
    zouPresent = glutSwapBuffers;
    EXPECT_EQ(offscreenPresents, 3);
    EXPECT_EQ(fakegl::count("glutSwapBuffers"), 0);
    // Nested frames still restore both matrices as before.
    EXPECT_EQ(fakegl::count("glPopMatrix"), 6);
}
