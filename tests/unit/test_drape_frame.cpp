// The cloth's frame step: contact, stages, update, the wire grid, and the run
// of frames as a whole.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/drapeApp.h"
#include "platform/fake/fakegl.h"
#include "app/drapeHarness.h"

namespace {

uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

drapeCloth newCloth() {
    fakegl::reset();
    return drapeCloth(DRAPE_FAITHFUL);
}

// The knob a vertex belongs to, from its position; only valid while every knob
// still sits over its own grid point.
int knobAt(const fakegl::Call& c) {
    const int col = int(std::lround(c.args[0])) + 29;
    const int row = int(std::lround(c.args[1])) + 29;
    return row * DRAPE_SIDE + col;
}

TEST(DrapeFrame, FirstFrameFallsFlat) {
    auto app = newCloth();
    fakegl::recording = false;
    app->draw();
    // vel = 0.9 * (0 + k + enviro) with k = 0, then pos += 0.2 * vel, in floats.
    volatile float enviro = DRAPE_GRAVITY, damping = float(DRAPE_DAMPING), dt = float(DRAPE_STEP), start = 30.0f;
    const float vz = enviro * damping;
    const float z = start + vz * dt;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app->thread[k];
        ASSERT_FALSE(n.on_surf) << k;
        ASSERT_EQ(bits(n.vel.x), 0u) << k;
        ASSERT_EQ(bits(n.vel.y), 0u) << k;
        ASSERT_EQ(bits(n.vel.z), bits(vz)) << k;
        ASSERT_EQ(bits(n.pos.z), bits(z)) << k;
        ASSERT_EQ(n.pos.x, float(k % DRAPE_SIDE - 29)) << k;
        ASSERT_EQ(n.pos.y, float(k / DRAPE_SIDE - 29)) << k;
    }
    EXPECT_NEAR(app->thread[0].vel.z, -0.09, 1e-6);
    EXPECT_NEAR(app->thread[0].pos.z, 29.982, 1e-5);
    EXPECT_EQ(app->m, 1);
}

TEST(DrapeFrame, OneFrameSendsTransformsCaptureAndOneBlockOfWhiteLines) {
    auto app = newCloth();
    app->draw();
    const std::vector<fakegl::Call>& calls = fakegl::calls;
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[0].str(), "glTranslatef(500, 350, 0)");
    EXPECT_EQ(calls[1].str(), "glRotatef(-35, 1, 0, 0)");
    EXPECT_EQ(calls[2].str(), "glScalef(5, 5, 5)");

    // Then the camera capture reads the matrices and the viewport, and nothing
    // else happens until the line block.
    size_t begin = 3;
    std::vector<std::string> capture;
    while (begin < calls.size() && calls[begin].name != "glBegin") capture.push_back(calls[begin++].str());
    const std::vector<std::string> expectedCapture = {
        "glGetDoublev(" + std::to_string(GL_PROJECTION_MATRIX) + ")",
        "glGetIntegerv(" + std::to_string(GL_VIEWPORT) + ")",
        "glGetDoublev(" + std::to_string(GL_MODELVIEW_MATRIX) + ")",
    };
    ASSERT_GE(capture.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(capture.begin(), capture.begin() + 3), expectedCapture);
    for (size_t k = 3; k < capture.size(); k++) EXPECT_EQ(capture[k].rfind("gluUnProject(", 0), 0u) << capture[k];

    ASSERT_LT(begin, calls.size());
    EXPECT_EQ(calls[begin].str(), "glBegin(" + std::to_string(GL_LINES) + ")");
    // 59 x 58 inner steps of one colour and two segments each: 6844 segments.
    ASSERT_EQ(calls.size(), begin + 1 + (DRAPE_SIDE - 1) * (DRAPE_SIDE - 2) * 5 + 1);
    EXPECT_EQ(calls.back().str(), "glEnd()");
    EXPECT_EQ(fakegl::count("glBegin"), 1);
    EXPECT_EQ(fakegl::count("glEnd"), 1);
    EXPECT_EQ(fakegl::count("glVertex3f"), 13688);

    // Each segment pair: white, then the x segment of row h between columns
    // i - 1 and i, then the y segment of column h between rows i - 1 and i.
    std::vector<int> seen(DRAPE_KNOBS, 0);
    size_t at = begin + 1;
    const int S = DRAPE_SIDE;
    for (int i = 1; i <= S - 1; i++) {
        for (int h = 1; h <= S - 2; h++) {
            ASSERT_EQ(calls[at].str(), "glColor3f(1, 1, 1)") << i << "," << h;
            const int want[4] = {S * h + i - 1, S * h + i, S * (i - 1) + h, S * i + h};
            for (int v = 0; v < 4; v++) {
                const fakegl::Call& c = calls[at + 1 + v];
                ASSERT_EQ(c.name, "glVertex3f");
                ASSERT_EQ(knobAt(c), want[v]) << i << "," << h << " vertex " << v;
                const zoVec3f& p = app->thread[want[v]].pos;  // the position after this frame's update
                ASSERT_EQ(c.args[0], double(p.x));
                ASSERT_EQ(c.args[1], double(p.y));
                ASSERT_EQ(c.args[2], double(p.z));
                seen[want[v]]++;
            }
            at += 5;
        }
    }
    for (int corner : {0, 59, 3540, 3599}) EXPECT_EQ(seen[corner], 0) << corner;
    EXPECT_EQ(seen[1], 1);   // only as the end of the segment to knob 61
    EXPECT_EQ(seen[61], 4);  // interior knobs end four segments
    EXPECT_EQ(seen[60], 1);  // border knobs one
}

TEST(DrapeFrame, TransformsReachTheCapturedCamera) {
    auto app = newCloth();
    fakegl::recording = false;
    app->draw();
    // The model-view the capture read is the one the three transforms built.
    ASSERT_EQ(fakegl::modelviewStack.size(), 1u);
    const std::vector<double>& mv = fakegl::modelviewStack.back();
    EXPECT_DOUBLE_EQ(mv[12], 500.0);
    EXPECT_DOUBLE_EQ(mv[13], 350.0);
    EXPECT_DOUBLE_EQ(mv[0], 5.0);
    EXPECT_NEAR(mv[5], 5.0 * std::cos(-35.0 * M_PI / 180.0), 1e-6);
}

TEST(DrapeFrame, KnobBelowTheSurfaceIsLiftedFrozenAndStillPulls) {
    auto app = newCloth();
    clothknob& k = app->thread[61];  // over the slope: surface 16 at (-28, -28)
    ASSERT_EQ(app->surface(k.pos.x, k.pos.y), 16.0f);
    k.pos.z = 10.0f;
    k.vel.set(0.5f, -0.25f, -3.0f);
    app->contactPass();
    EXPECT_TRUE(k.on_surf);
    EXPECT_EQ(k.pos.z, 16.0f);
    EXPECT_EQ(k.pos.x, -28.0f);
    EXPECT_EQ(k.pos.y, -28.0f);
    EXPECT_EQ(k.vel.x, 0.5f);
    EXPECT_EQ(k.vel.y, -0.25f);
    EXPECT_EQ(bits(k.vel.z), 0u);
    EXPECT_FALSE(app->thread[62].on_surf);

    // The stage pass skips it but its neighbour is pulled toward it (down and
    // toward -x) by the stretched spring.
    app->k1[61].set(7, 7, 7);
    app->stagePass();
    EXPECT_EQ(app->k1[61].x, 7.0f);
    EXPECT_LT(app->k1[62].x, 0.0f);
    EXPECT_LT(app->k1[62].z, 0.0f);
    app->updatePass();
    EXPECT_EQ(k.vel.x, 0.5f);

    // It never moves again, however hard the cloth pulls on it afterwards.
    const zoVec3f frozenAt = k.pos;
    fakegl::recording = false;
    for (int f = 0; f < 40; f++) app->draw();
    EXPECT_TRUE(k.on_surf);
    EXPECT_EQ(bits(k.pos.x), bits(frozenAt.x));
    EXPECT_EQ(bits(k.pos.y), bits(frozenAt.y));
    EXPECT_EQ(bits(k.pos.z), bits(frozenAt.z));
    EXPECT_EQ(k.vel.x, 0.5f);
    EXPECT_EQ(k.vel.y, -0.25f);
}

// Knob 1813 (column 13, row 30, at x = -16, y = 1) and its neighbours lie over
// the floor at height 4.
const int overFloor = 1813;

TEST(DrapeFrame, KnobExactlyAtTheSurfaceStaysFree) {
    auto app = newCloth();
    for (int k = 0; k < DRAPE_KNOBS; k++) app->thread[k].pos.z = 4.0f;
    clothknob& k = app->thread[overFloor];
    ASSERT_EQ(app->surface(k.pos.x, k.pos.y), 4.0f);
    app->step();  // everything over higher ground is lifted; the floor knobs stay free
    EXPECT_FALSE(k.on_surf);
    EXPECT_TRUE(app->thread[0].on_surf);
    volatile float fall = DRAPE_GRAVITY * float(DRAPE_DAMPING);
    EXPECT_EQ(k.pos.z, 4.0f + fall * float(DRAPE_STEP));  // springs at rest: it fell by one free step
    app->step();
    EXPECT_TRUE(k.on_surf);
    EXPECT_EQ(k.pos.z, 4.0f);
}

TEST(DrapeFrame, KnobMovedBelowIsDrawnThereAndCaughtNextFrame) {
    auto app = newCloth();
    clothknob& k = app->thread[overFloor];
    k.vel.z = -500.0f;  // one step takes it far below the floor
    app->draw();
    ASSERT_FALSE(k.on_surf);
    ASSERT_LT(k.pos.z, 4.0f);
    int drawn = 0;
    for (const fakegl::Call& c : fakegl::only("glVertex3f")) {
        if (knobAt(c) != overFloor) continue;
        EXPECT_EQ(c.args[2], double(k.pos.z));
        drawn++;
    }
    EXPECT_EQ(drawn, 4);
    fakegl::calls.clear();
    app->draw();
    EXPECT_TRUE(k.on_surf);
    EXPECT_EQ(k.pos.z, 4.0f);
}

TEST(DrapeFrame, DrawAdvancesExactlyAsStep) {
    auto a = newCloth();
    auto b = newCloth();
    fakegl::recording = false;
    for (int f = 0; f < 45; f++) {
        a->draw();
        b->step();
    }
    EXPECT_EQ(drapeStateHash(*a), drapeStateHash(*b));
    EXPECT_EQ(a->m, 45);
}

TEST(DrapeFrame, FirstContactIsTheSixtyKnobsOfTheHighColumnInFrame38) {
    auto app = newCloth();
    for (int f = 1; f <= 37; f++) app->step();
    for (int k = 0; k < DRAPE_KNOBS; k++) ASSERT_FALSE(app->thread[k].on_surf) << k;
    app->step();
    int frozen = 0;
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        if (!app->thread[k].on_surf) continue;
        frozen++;
        EXPECT_EQ(k % DRAPE_SIDE, DRAPE_SIDE - 1) << k;  // x = 30, over the plateau's high edge
        EXPECT_EQ(app->thread[k].pos.z, 25.0f) << k;
    }
    EXPECT_EQ(frozen, DRAPE_SIDE);
}

// Every build, debug with sanitizers or optimised, reproduces the recorded
// runs bit for bit, frame by frame through the program's own draw().
TEST(DrapeFrame, RunIsBitIdenticalToTheRecordedOne) {
    auto app = newCloth();
    fakegl::recording = false;
    const std::vector<drapeRecord> marks = drapeRecordedRun(DRAPE_FAITHFUL);
    ASSERT_GE(marks.size(), 5u);
    for (const drapeRecord& mark : marks) {
        for (; app.frame < mark.frame; app.frame++) app->draw();
        EXPECT_EQ(drapeStateHash(*app), mark.hash) << "frame " << mark.frame;
    }
    // After the break-up the cloth is spread far and wide but still finite.
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const zoVec3f& p = app->thread[k].pos;
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << k;
    }
}

}  // namespace
