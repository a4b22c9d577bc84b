// The passes with drapeApp's own rungef and surface: each free knob's stage
// value computed once, frozen knobs still in place left untested, and the same
// bits as the four calls per knob that a subclass which overrides them still
// gets, and as the one-spring-at-a-time frame, from any state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/drapeHarness.h"
#include "app/drapeTestbed.h"
#include "app/stableDrapeApp.h"
#include "platform/fake/fakegl.h"
#include "app/drapeReference.h"

namespace {

// A subclass that declares nothing: the passes cannot know it keeps drapeApp's
// parts, so it gets every call (today's path, the yardstick here).
struct EveryCall : drapeApp {};
struct EveryCallStable : stableDrapeApp {};

// Counts the calls it sees and passes them on.
struct CountsRungef : drapeApp {
    struct Call {
        int knob;
        const zoVec3f* vstore;
        zoVec3f ref;
    };
    std::vector<Call> calls;
    CountsRungef() { keepsOwnParts<CountsRungef>(); }
    void rungef(clothknob* P, zoVec3f& vstore, zoVec3f ref, int i) override {
        calls.push_back({i, &vstore, ref});
        drapeApp::rungef(P, vstore, ref, i);
    }
};

struct CountsSurface : drapeApp {
    std::vector<std::pair<float, float>> calls;
    CountsSurface() { keepsOwnParts<CountsSurface>(); }
    float surface(float x, float y) override {
        calls.push_back({x, y});
        return drapeApp::surface(x, y);
    }
};

// The application classes never release their mesh: each cloth here is
// released with it.
template <class T>
struct Owned {
    std::unique_ptr<T> app{new T};
    ~Owned() { delete app->blanky; }
    T* operator->() const { return app.get(); }
    T& operator*() const { return *app; }
};

uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

// Equal bits, or both NaN (payloads are left to the compiler's operand order).
bool same(float a, float b) {
    return bits(a) == bits(b) || (std::isnan(a) && std::isnan(b));
}
bool same(const zoVec3f& a, const zoVec3f& b) {
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}

// The knobs and every stage value; the first difference, or an empty text.
std::string knobDifference(const drapeApp& a, const drapeApp& b) {
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob &p = a.thread[k], &q = b.thread[k];
        if (!same(p.pos, q.pos) || !same(p.vel, q.vel) || p.on_surf != q.on_surf) return "knob " + std::to_string(k);
        if (!same(a.k1[k], b.k1[k]) || !same(a.k2[k], b.k2[k]) || !same(a.k3[k], b.k3[k]) || !same(a.k4[k], b.k4[k]))
            return "stage values of knob " + std::to_string(k);
    }
    return "";
}

// Everything a frame writes: the knobs, every stage value and the scratch.
// Returns the first difference, or an empty text.
std::string difference(const drapeApp& a, const drapeApp& b) {
    const std::string knobs = knobDifference(a, b);
    if (!knobs.empty()) return knobs;
    const zoVec3f* da[4] = {&a.del1, &a.del2, &a.del3, &a.del4};
    const zoVec3f* db[4] = {&b.del1, &b.del2, &b.del3, &b.del4};
    const float la[4] = {a.dist1, a.dist2, a.dist3, a.dist4}, lb[4] = {b.dist1, b.dist2, b.dist3, b.dist4};
    for (int d = 0; d < 4; d++) {
        if (!same(*da[d], *db[d])) return "del" + std::to_string(d + 1);
        if (!same(la[d], lb[d])) return "dist" + std::to_string(d + 1);
    }
    if (!same(a.force, b.force)) return "force";
    if (a.i != b.i) return "i";
    return "";
}

// --- Which path a cloth takes ----------------------------------------------------

TEST(DrapeOwnParts, OnlyDeclaredClassesWithDrapeAppsOwnPartsSkipTheCalls) {
    fakegl::reset();
    Owned<drapeApp> plain;
    Owned<stableDrapeApp> stable;
    Owned<EveryCall> undeclared;
    Owned<CountsRungef> rungef;
    Owned<CountsSurface> surface;
    Owned<drapeTestbed> testbed;  // drape-stable's program
    EXPECT_TRUE(plain->ownRungef() && plain->ownSurface());
    EXPECT_TRUE(stable->ownRungef() && stable->ownSurface());
    EXPECT_TRUE(testbed->ownRungef() && testbed->ownSurface());
    EXPECT_FALSE(undeclared->ownRungef() || undeclared->ownSurface());
    EXPECT_FALSE(rungef->ownRungef());
    EXPECT_TRUE(rungef->ownSurface());
    EXPECT_TRUE(surface->ownRungef());
    EXPECT_FALSE(surface->ownSurface());
}

// --- Overriding subclasses keep every call --------------------------------------

TEST(DrapeOwnParts, AnOverriddenRungefSeesFourCallsPerFreeKnobInOrder) {
    fakegl::reset();
    fakegl::recording = false;
    Owned<CountsRungef> app;
    Owned<drapeApp> plain;
    for (int frame = 1; frame <= 60; frame++) {  // frozen knobs from frame 38
        app->calls.clear();
        app->draw();
        plain->draw();
        ASSERT_EQ(drapeStateHash(*app), drapeStateHash(*plain)) << "frame " << frame;
        size_t at = 0;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            if (app->thread[k].on_surf) continue;  // frozen by this frame's contact pass or before
            const zoVec3f* stores[4] = {&app->k1[k], &app->k2[k], &app->k3[k], &app->k4[k]};
            const zoVec3f refs[4] = {app->zero, app->k1[k] / 2.0f, app->k2[k] / 2.0f, app->k3[k]};
            for (int s = 0; s < 4; s++, at++) {
                ASSERT_LT(at, app->calls.size()) << "frame " << frame;
                const CountsRungef::Call& c = app->calls[at];
                ASSERT_EQ(c.knob, k) << "frame " << frame << " call " << at;
                ASSERT_EQ(c.vstore, stores[s]) << "frame " << frame << " knob " << k << " stage " << s;
                ASSERT_TRUE(same(c.ref, refs[s])) << "frame " << frame << " knob " << k << " stage " << s;
            }
        }
        ASSERT_EQ(at, app->calls.size()) << "frame " << frame;
    }
}

TEST(DrapeOwnParts, AnOverriddenSurfaceIsAskedForEveryKnobAndTwiceBelowIt) {
    fakegl::reset();
    Owned<CountsSurface> app;
    Owned<drapeApp> plain;
    for (int frame = 1; frame <= 60; frame++) {
        std::vector<clothknob> before(app->thread, app->thread + DRAPE_KNOBS);
        app->calls.clear();
        app->step();
        plain->step();
        ASSERT_EQ(drapeStateHash(*app), drapeStateHash(*plain)) << "frame " << frame;
        size_t at = 0;
        int lifted = 0;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            const zoVec3f& p = before[k].pos;
            const bool below = plain->drapeApp::surface(p.x, p.y) > p.z;
            lifted += below;
            for (int n = 0; n < (below ? 2 : 1); n++, at++) {
                ASSERT_LT(at, app->calls.size());
                ASSERT_EQ(bits(app->calls[at].first), bits(p.x)) << "frame " << frame << " knob " << k;
                ASSERT_EQ(bits(app->calls[at].second), bits(p.y)) << "frame " << frame << " knob " << k;
            }
        }
        EXPECT_EQ(app->calls.size(), size_t(DRAPE_KNOBS + lifted)) << "frame " << frame;
        if (frame == 38) {
            EXPECT_EQ(lifted, DRAPE_SIDE);  // the first contact
        }
    }
}

// --- The same bits on every path --------------------------------------------------

class DrapeOnce : public testing::TestWithParam<drapeLanes> {
protected:
    void SetUp() override {
        saved = drapeSpringLanes;
        if (!drapeLanesAvailable(GetParam())) GTEST_SKIP() << "not available on this processor";
        drapeSpringLanes = GetParam();
        fakegl::reset();
        fakegl::recording = false;
    }
    void TearDown() override { drapeSpringLanes = saved; }
    drapeLanes saved = DRAPE_LANES_PLAIN;
};

INSTANTIATE_TEST_SUITE_P(Lanes, DrapeOnce, testing::Values(DRAPE_LANES_PLAIN, DRAPE_LANES_SSE2, DRAPE_LANES_AVX),
                         [](const testing::TestParamInfo<drapeLanes>& p) {
                             return p.param == DRAPE_LANES_AVX ? "AVX" : p.param == DRAPE_LANES_SSE2 ? "SSE2" : "Plain";
                         });

// Through the fall, the first contact, the break-up and long after it: the
// knobs, all stage values (frozen knobs' included) and the scratch after every
// frame are those of the four calls per knob.
TEST_P(DrapeOnce, EveryFrameLeavesWhatTheFourCallsLeave) {
    Owned<drapeApp> once;
    Owned<EveryCall> calls;
    for (int frame = 1; frame <= 300; frame++) {
        once->draw();
        calls->draw();
        const std::string diff = difference(*once, *calls);
        ASSERT_EQ(diff, "") << "frame " << frame;
    }
}

TEST_P(DrapeOnce, TheStableClothsSubstepsLeaveWhatTheFourCallsLeave) {
    Owned<stableDrapeApp> once;
    Owned<EveryCallStable> calls;
    for (int frame = 1; frame <= 150; frame++) {
        once->draw();
        calls->draw();
        ASSERT_EQ(difference(*once, *calls), "") << "frame " << frame;
    }
}

// The recorded runs of both cloths, and the plain one-spring-at-a-time frame
// reproducing the faithful one.
TEST_P(DrapeOnce, RecordedHashesOnThisPath) {
    for (drapeKind kind : {DRAPE_FAITHFUL, DRAPE_STABLE}) {
        drapeCloth cloth(kind);
        for (const drapeRecord& rec : drapeRecordedRun(kind, 1000)) {
            cloth.step(rec.frame - cloth.frame);
            EXPECT_EQ(drapeStateHash(*cloth), rec.hash) << drapeKindName(kind) << " frame " << rec.frame;
        }
    }
}

TEST(DrapeReference, ThePlainFrameReproducesTheRecordedRun) {
    fakegl::reset();
    Owned<drapeApp> app;
    drapeReference::Scratch scratch;
    long at = 0;
    for (const drapeRecord& rec : drapeRecordedRun(DRAPE_FAITHFUL, 1000)) {
        for (; at < rec.frame; at++) drapeReference::step(*app, scratch);
        EXPECT_EQ(drapeStateHash(*app), rec.hash) << "frame " << rec.frame;
    }
}

// Any state a program may set, which no run from the layout reaches: knobs
// jittered by up to 0.3 in x and y, at heights from -2 to 35 (below the ground
// too), moving up to 1 in each component, one in seven frozen wherever it lies.
// Every path gives the one-spring-at-a-time frame, after one frame and after a
// few; the stable cloth's substeps give what their calls give.
TEST_P(DrapeOnce, AnyStateGivesTheOneSpringAtATimeFrame) {
    std::mt19937 rng(20261210);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f), height(-2.0f, 35.0f), speed(-1.0f, 1.0f);
    std::uniform_int_distribution<int> seventh(0, 6);
    for (int round = 0; round < 4; round++) {
        Owned<drapeApp> once, reference;
        Owned<EveryCall> calls;
        Owned<stableDrapeApp> stable;
        Owned<EveryCallStable> stableCalls;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            clothknob& n = reference->thread[k];
            n.pos.set(n.pos.x + jitter(rng), n.pos.y + jitter(rng), height(rng));
            n.vel.set(speed(rng), speed(rng), speed(rng));
            n.on_surf = seventh(rng) == 0;
        }
        const auto start = [&](drapeApp& a) { std::copy(reference->thread, reference->thread + DRAPE_KNOBS, a.thread); };
        start(*once), start(*calls), start(*stable), start(*stableCalls);
        drapeReference::Scratch scratch;
        for (int frame = 1; frame <= 4; frame++) {
            drapeReference::step(*reference, scratch);
            once->step();
            calls->step();
            ASSERT_EQ(knobDifference(*once, *reference), "") << "round " << round << " frame " << frame;
            ASSERT_EQ(difference(*once, *calls), "") << "round " << round << " frame " << frame;
            stable->step();
            stableCalls->step();
            ASSERT_EQ(difference(*stable, *stableCalls), "") << "stable, round " << round << " frame " << frame;
        }
    }
}

// Cloths no run reaches: knobs far apart, coincident, infinite or NaN, frozen
// at random, and scratch holding anything. A missing neighbour's term comes
// from the old scratch then, and lengths beyond the floats must not change
// the outcome either.
TEST_P(DrapeOnce, AwkwardClothsAndScratchGiveTheSameStagePass) {
    std::mt19937 rng(20261209);
    std::uniform_real_distribution<float> jitter(-0.7f, 0.7f);
    std::uniform_int_distribution<int> pick(0, 99);
    const float huge = 3e38f, inf = INFINITY, nan = NAN;
    for (int round = 0; round < 60; round++) {
        Owned<drapeApp> once;
        Owned<EveryCall> calls;
        const int frozenShare = round % 3 == 0 ? 0 : round % 3 == 1 ? 50 : 97;
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            clothknob& n = once->thread[k];
            n.pos.set(n.pos.x + jitter(rng), n.pos.y + jitter(rng), 20.0f + jitter(rng));
            const int r = pick(rng);
            if (round % 4 == 1 && r < 3) n.pos.x = r == 0 ? huge : r == 1 ? -huge : inf;
            if (round % 4 == 2 && r < 2) n.pos.z = nan;
            if (round % 4 == 3 && r < 20) n.pos = once->thread[k > 0 ? k - 1 : 0].pos;  // coincident
            n.on_surf = pick(rng) < frozenShare;
        }
        const zoVec3f scratch[4] = {{inf, 1.0f, -2.0f}, {-0.0f, nan, 3.0f}, {1e30f, -1e-40f, 0.0f}, {-5.0f, 0.0f, -inf}};
        const bool awkwardScratch = round % 2 == 1;
        for (drapeApp* a : {static_cast<drapeApp*>(once.app.get()), static_cast<drapeApp*>(calls.app.get())}) {
            if (a == calls.app.get()) std::copy(once->thread, once->thread + DRAPE_KNOBS, a->thread);
            if (!awkwardScratch) continue;
            a->del1 = scratch[0];
            a->del2 = scratch[1];
            a->del3 = scratch[2];
            a->del4 = scratch[3];
        }
        once->stagePass();
        calls->stagePass();
        ASSERT_EQ(difference(*once, *calls), "") << "round " << round;
    }
}

}  // namespace
