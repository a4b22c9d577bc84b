// The stable cloth: substeps that keep drapeApp's picture and constants but
// let the cloth come to rest, through the recording GL stand-in.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/stableDrapeApp.h"
#include "platform/fake/fakegl.h"
#include "framework/zou.h"
#include "app/drapeHarness.h"

namespace {

// A stable cloth owned by the harness, used through its own class.
struct StableCloth : drapeCloth {
    StableCloth() : drapeCloth(DRAPE_STABLE) { EXPECT_NE(app, nullptr); }
    stableDrapeApp* operator->() const { return static_cast<stableDrapeApp*>(app); }
};

StableCloth newStable() {
    return StableCloth();
}

uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

float speed(const clothknob& k) {
    return std::sqrt(k.vel.x * k.vel.x + k.vel.y * k.vel.y + k.vel.z * k.vel.z);
}

}  // namespace

TEST(StableDrapeSetup, ConstantsForTwoSubsteps) {
    auto app = newStable();
    EXPECT_EQ(app->substeps, 2);
    EXPECT_EQ(app->subStep, float(DRAPE_STEP / 2));
    // Each substep damps by the square root of a frame's factor D; c scales the
    // frame's stage values so that two substeps add D (k + e) to a slow velocity.
    const double D = DRAPE_DAMPING, d = std::sqrt(D);
    EXPECT_EQ(app->subDamping, float(d));
    EXPECT_EQ(app->subScale, float(D * (1 - d) / ((1 - D) * d)));
    EXPECT_EQ(app->subEnviro.z, app->enviro.z * app->subScale);
    EXPECT_EQ(app->subEnviro.x, 0.0f);
    // Everything drapeApp lays out is untouched.
    EXPECT_EQ(app->enviro.z, DRAPE_GRAVITY);
    EXPECT_EQ(app->thread[61].pos.x, -28.0f);
    EXPECT_EQ(app->thread[3599].pos.z, 30.0f);
}

TEST(StableDrapeSetup, RefusedSubstepCountChangesNothing) {
    auto app = newStable();
    const float scale = app->subScale, damping = app->subDamping, step = app->subStep;
    zouDebugLevel = 3;  // as zouOpen leaves it
    testing::internal::CaptureStderr();
    app->setSubsteps(0);
    app->setSubsteps(-3);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err,
              "setSubsteps: the count of substeps must be at least 1\n"
              "setSubsteps: the count of substeps must be at least 1\n");
    EXPECT_EQ(app->substeps, 2);
    EXPECT_EQ(bits(app->subScale), bits(scale));
    EXPECT_EQ(bits(app->subDamping), bits(damping));
    EXPECT_EQ(bits(app->subStep), bits(step));
}

// One substep per frame is drapeApp's step to the bit, through the break-up:
// the substep update generalises the original one and nothing else differs.
TEST(StableDrapeStep, OneSubstepIsTheOriginalStepBitForBit) {
    auto stable = newStable();
    stable->setSubsteps(1);
    EXPECT_EQ(stable->subScale, 1.0f);
    EXPECT_EQ(stable->subDamping, float(DRAPE_DAMPING));
    EXPECT_EQ(stable->subStep, float(DRAPE_STEP));
    drapeCloth plain(DRAPE_FAITHFUL);
    for (int frame = 1; frame <= 120; frame++) {
        stable->step();
        plain->step();
        ASSERT_EQ(drapeStateHash(*stable), drapeStateHash(*plain)) << "frame " << frame;
    }
}

// For slow motion a frame of two substeps moves the velocity as a frame of
// drapeApp does: a free fall reaches -0.09 after one frame and the same
// terminal speed 0.9.
TEST(StableDrapeStep, FreeFallMatchesTheOriginalFrame) {
    auto stable = newStable();
    drapeCloth plain(DRAPE_FAITHFUL);
    stable->step();
    plain->step();
    for (int k : {0, 61, 1830, 3599}) {
        EXPECT_NEAR(stable->thread[k].vel.z, plain->thread[k].vel.z, 1e-6) << "knob " << k;
        EXPECT_EQ(stable->thread[k].vel.x, 0.0f);
        EXPECT_FALSE(stable->thread[k].on_surf);
    }
    EXPECT_NEAR(stable->thread[61].vel.z, -0.09, 1e-6);
    for (int frame = 2; frame <= 20; frame++) {
        stable->step();
        plain->step();
    }
    // Still falling flat (nothing touches before frame 30): the speeds agree;
    // the heights only about, since while the fall accelerates the first
    // substep moves at the lower speed of mid-frame (a lag of about 0.002 a frame).
    EXPECT_NEAR(stable->thread[1830].vel.z, plain->thread[1830].vel.z, 1e-5);
    EXPECT_NEAR(stable->thread[1830].pos.z, plain->thread[1830].pos.z, 0.05);
}

// The cloth falls, the knobs that touch stay where they touched, the rest
// hangs from them and comes to rest, and nothing flies off.
TEST(StableDrapeStep, FallsHangsAndComesToRest) {
    auto app = newStable();
    std::vector<zoVec3f> frozenAt(DRAPE_KNOBS);
    std::vector<bool> wasFrozen(DRAPE_KNOBS, false);
    float highest = 30.0f;
    int firstContact = 0, restFrame = 0, movingLate = 0;
    double maxSpeed = 0;
    for (int frame = 1; frame <= 600; frame++) {
        app->step();
        int free = 0;
        double sum = 0;
        float top = -1e9f;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            const clothknob& n = app->thread[k];
            ASSERT_TRUE(std::isfinite(n.pos.x) && std::isfinite(n.pos.y) && std::isfinite(n.pos.z))
                << "knob " << k << " frame " << frame;
            ASSERT_GE(n.pos.x, -29.0f) << "knob " << k << " frame " << frame;
            ASSERT_LE(n.pos.x, 30.0f) << "knob " << k << " frame " << frame;
            ASSERT_GE(n.pos.y, -29.0f) << "knob " << k << " frame " << frame;
            ASSERT_LE(n.pos.y, 30.0f) << "knob " << k << " frame " << frame;
            const double v = speed(n);
            if (v > maxSpeed) maxSpeed = v;
            ASSERT_LT(v, 2.0) << "knob " << k << " frame " << frame;
            if (n.pos.z > top) top = n.pos.z;
            if (n.on_surf) {
                if (!wasFrozen[k]) {
                    wasFrozen[k] = true;
                    frozenAt[k] = n.pos;
                    if (firstContact == 0) firstContact = frame;
                }
                // Where it touched, for good.
                ASSERT_EQ(bits(n.pos.x), bits(frozenAt[k].x)) << "knob " << k << " frame " << frame;
                ASSERT_EQ(bits(n.pos.y), bits(frozenAt[k].y)) << "knob " << k << " frame " << frame;
                ASSERT_EQ(bits(n.pos.z), bits(frozenAt[k].z)) << "knob " << k << " frame " << frame;
            } else {
                free++;
                sum += v;
            }
        }
        if (frame <= 20) {
            EXPECT_LT(top, highest) << "the cloth does not fall in frame " << frame;
            highest = top;
        }
        const double mean = free ? sum / free : 0.0;
        if (frame >= 400 && mean >= 1e-3 && movingLate++ == 0)
            ADD_FAILURE() << "free knobs still moving in frame " << frame << ": mean speed " << mean;
        if (mean < 1e-3 && restFrame == 0 && firstContact) restFrame = frame;
        if (mean >= 1e-3) restFrame = 0;
    }
    EXPECT_EQ(movingLate, 0) << "frames from 400 to 600 with the free knobs' mean speed at or above 1e-3";
    int frozen = 0;
    for (int k = 0; k < DRAPE_KNOBS; k++) frozen += app->thread[k].on_surf;
    // It drapes: part of it lies on the ground, part of it hangs free.
    EXPECT_GT(frozen, 0);
    EXPECT_LT(frozen, DRAPE_KNOBS);
    EXPECT_GT(firstContact, 20);
    RecordProperty("first_contact", firstContact);
    RecordProperty("at_rest_from", restFrame);
    RecordProperty("frozen", frozen);
    std::printf("first contact in frame %d, frozen %d, at rest from frame %d, fastest knob %.4g\n", firstContact,
                frozen, restFrame, maxSpeed);
}

// draw() makes drapeApp's picture of the substepped cloth: the same three
// transforms, one GL_LINES block of 6844 white segments, the knobs as they
// stand after the frame's substeps, and one count on the frame counter.
TEST(StableDrapeDraw, DrawsTheOriginalPictureOfTheSubsteppedCloth) {
    auto app = newStable();
    auto twin = newStable();
    drapeCloth plain(DRAPE_FAITHFUL);
    for (int frame = 0; frame < 40; frame++) {
        app->step();
        twin->step();
        plain->step();
    }
    const int m = app->m;

    fakegl::reset();
    plain->draw();
    const std::vector<std::string> plainNames = fakegl::names();
    const std::vector<fakegl::Call> plainCalls = fakegl::calls;

    fakegl::reset();
    app->draw();
    twin->step();
    EXPECT_EQ(app->m, m + 1);
    EXPECT_EQ(drapeStateHash(*app), drapeStateHash(*twin));
    EXPECT_EQ(fakegl::names(), plainNames);
    ASSERT_GE(fakegl::calls.size(), 4u);
    for (int c = 0; c < 3; c++) EXPECT_EQ(fakegl::calls[c].args, plainCalls[c].args) << fakegl::calls[c].name;
    EXPECT_EQ(fakegl::count("glBegin"), 1);
    EXPECT_EQ(fakegl::only("glBegin")[0].args[0], double(GL_LINES));
    EXPECT_EQ(fakegl::count("glVertex3f"), 4 * (DRAPE_SIDE - 1) * (DRAPE_SIDE - 2));
    for (const fakegl::Call& c : fakegl::only("glColor3f")) EXPECT_EQ(c.args, (std::vector<double>{1, 1, 1}));

    // The vertices, in drapeApp's order, are the twin's knobs.
    const std::vector<fakegl::Call> vertices = fakegl::only("glVertex3f");
    size_t v = 0;
    bool same = true;
    for (int i = 1; i < DRAPE_SIDE && same; i++) {
        for (int h = 1; h < DRAPE_SIDE - 1 && same; h++) {
            for (int k : {DRAPE_SIDE * h + i - 1, DRAPE_SIDE * h + i, DRAPE_SIDE * (i - 1) + h, DRAPE_SIDE * i + h}) {
                const zoVec3f& p = twin->thread[k].pos;
                same = same && vertices[v].args == std::vector<double>{p.x, p.y, p.z};
                v++;
            }
        }
    }
    EXPECT_TRUE(same) << "vertex " << v - 1 << " differs";
    fakegl::reset();
}

// The harness's stable cloth and the program's own draw() both reproduce the
// recorded stable run, past first contact and into the rest.
TEST(StableDrapeStep, RunIsBitIdenticalToTheRecordedOne) {
    drapeCloth viaHarness(DRAPE_STABLE);
    auto viaDraw = newStable();
    fakegl::reset();
    fakegl::recording = false;
    const std::vector<drapeRecord> marks = drapeRecordedRun(DRAPE_STABLE);
    ASSERT_GE(marks.size(), 5u);
    for (const drapeRecord& mark : marks) {
        for (; viaDraw->m < mark.frame;) viaDraw->draw();
        viaHarness.step(mark.frame - viaHarness.frame);
        EXPECT_EQ(drapeStateHash(*viaDraw), mark.hash) << "frame " << mark.frame;
        EXPECT_EQ(drapeStateHash(*viaHarness), mark.hash) << "frame " << mark.frame;
    }
    fakegl::reset();
}
