// The cloth's layout and its spring stage function rungef.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>

#include "app/drapeApp.h"
#include "platform/fake/fakegl.h"
#include "app/drapeReference.h"
#include "app/drapeHarness.h"

namespace {

uint32_t bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

#define EXPECT_VEC_BITS(v, ex, ey, ez)       \
    do {                                     \
        EXPECT_EQ(bits((v).x), bits(ex)) << #v ".x = " << (v).x; \
        EXPECT_EQ(bits((v).y), bits(ey)) << #v ".y = " << (v).y; \
        EXPECT_EQ(bits((v).z), bits(ez)) << #v ".z = " << (v).z; \
    } while (0)

drapeCloth newCloth() {
    fakegl::reset();
    return drapeCloth(DRAPE_FAITHFUL);
}

// --- Layout --------------------------------------------------------------------

TEST(DrapeLayout, KnobsLieFlatAtRestOnTheUnitGrid) {
    auto app = newCloth();
    ASSERT_NE(app.app, nullptr);
    EXPECT_VEC_BITS(app->thread[0].pos, -29.0f, -29.0f, 30.0f);
    EXPECT_VEC_BITS(app->thread[59].pos, 30.0f, -29.0f, 30.0f);
    EXPECT_VEC_BITS(app->thread[3540].pos, -29.0f, 30.0f, 30.0f);
    EXPECT_VEC_BITS(app->thread[3599].pos, 30.0f, 30.0f, 30.0f);
    EXPECT_VEC_BITS(app->thread[61].pos, -28.0f, -28.0f, 30.0f);
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app->thread[k];
        ASSERT_EQ(n.pos.x, float(k % DRAPE_SIDE - 29)) << k;
        ASSERT_EQ(n.pos.y, float(k / DRAPE_SIDE - 29)) << k;
        ASSERT_EQ(n.pos.z, 30.0f) << k;
        ASSERT_FALSE(n.on_surf) << k;
        ASSERT_EQ(n.vel.x, 0.0f);
        ASSERT_EQ(n.vel.y, 0.0f);
        ASSERT_EQ(n.vel.z, 0.0f);
        for (const zoVec3f* kk : {&app->k1[k], &app->k2[k], &app->k3[k], &app->k4[k]}) {
            ASSERT_EQ(kk->x, 0.0f);
            ASSERT_EQ(kk->y, 0.0f);
            ASSERT_EQ(kk->z, 0.0f);
        }
    }
    // The environment term is the float nearest -0.1; zero is +0 throughout.
    EXPECT_VEC_BITS(app->enviro, 0.0f, 0.0f, DRAPE_GRAVITY);
    EXPECT_EQ(bits(app->enviro.z), 0xBDCCCCCDu);
    EXPECT_VEC_BITS(app->zero, 0.0f, 0.0f, 0.0f);
    ASSERT_NE(app->blanky, nullptr);
    EXPECT_EQ(app->blanky->N, DRAPE_SIDE);
    EXPECT_EQ(app->blanky->M, DRAPE_SIDE);
    EXPECT_EQ(app->blanky->listLength, DRAPE_KNOBS);
}

TEST(DrapeLayout, FieldsLieInDeclarationOrderInsideTheObject) {
    auto app = newCloth();
    const char* base = reinterpret_cast<const char*>(app.app);
    // The knobs and stage vectors are arrays inside the object, not pointers.
    EXPECT_GE(sizeof(drapeApp), sizeof(clothknob) * DRAPE_KNOBS + sizeof(zoVec3f) * 4 * DRAPE_KNOBS);
    const char* order[] = {reinterpret_cast<const char*>(&app->X),      reinterpret_cast<const char*>(&app->H),
                           reinterpret_cast<const char*>(&app->blanky), reinterpret_cast<const char*>(&app->thread),
                           reinterpret_cast<const char*>(&app->del1),   reinterpret_cast<const char*>(&app->del4),
                           reinterpret_cast<const char*>(&app->force),  reinterpret_cast<const char*>(&app->zero),
                           reinterpret_cast<const char*>(&app->enviro), reinterpret_cast<const char*>(&app->k1),
                           reinterpret_cast<const char*>(&app->k4),     reinterpret_cast<const char*>(&app->dist1),
                           reinterpret_cast<const char*>(&app->dist4),  reinterpret_cast<const char*>(&app->fx),
                           reinterpret_cast<const char*>(&app->j),      reinterpret_cast<const char*>(&app->i),
                           reinterpret_cast<const char*>(&app->h),      reinterpret_cast<const char*>(&app->m),
                           reinterpret_cast<const char*>(&app->n)};
    for (size_t k = 1; k < sizeof order / sizeof order[0]; k++) EXPECT_LT(order[k - 1], order[k]) << k;
    EXPECT_LT(order[sizeof order / sizeof order[0] - 1], base + sizeof(drapeApp));
}

TEST(DrapeLayout, ExportsTheFactoryAndTheModuleKind) {
    EXPECT_EQ(0, std::memcmp(my_type, "App\0", 4));
    EXPECT_STREQ(my_type, "App");
    fakegl::reset();
    zoApp* made = makeApp();
    std::unique_ptr<drapeApp> app(dynamic_cast<drapeApp*>(made));
    ASSERT_NE(app, nullptr);
    delete app->blanky;
    // The base part is a plain zoApp of the default size.
    EXPECT_EQ(app->W, 100.0f);
    EXPECT_EQ(app->H, 100.0f);
}

// --- rungef ----------------------------------------------------------------------

// Calls rungef for knob i with the zero offset and returns the stage value.
zoVec3f stage(drapeApp& app, int i, zoVec3f ref = zoVec3f()) {
    zoVec3f out(123, 456, 789);  // rungef does not read it
    app.rungef(app.thread, out, ref, i);
    return out;
}

TEST(DrapeRungef, FlatGridGivesZeroEverywhere) {
    auto app = newCloth();
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        zoVec3f s = stage(*app, k);
        ASSERT_EQ(bits(s.x), 0u) << k;
        ASSERT_EQ(bits(s.y), 0u) << k;
        ASSERT_EQ(bits(s.z), 0u) << k;
    }
}

TEST(DrapeRungef, StretchedNeighbourPullsCompressedOnePushes) {
    auto app = newCloth();
    // Knob 61's next-column neighbour 62 moved to 2.0 away along +x.
    app->thread[62].pos.x = app->thread[61].pos.x + 2.0f;
    zoVec3f s = stage(*app, 61);
    EXPECT_VEC_BITS(app->force, 30.0f, 0.0f, 0.0f);
    EXPECT_VEC_BITS(s, 6.0f, 0.0f, 0.0f);
    EXPECT_VEC_BITS(app->del2, 2.0f, 0.0f, 0.0f);
    EXPECT_EQ(app->dist2, 2.0f);
    EXPECT_EQ(app->dist1, 1.0f);
    EXPECT_EQ(app->dist3, 1.0f);
    EXPECT_EQ(app->dist4, 1.0f);

    app->thread[62].pos.x = app->thread[61].pos.x + 0.5f;
    s = stage(*app, 61);
    EXPECT_VEC_BITS(app->force, -15.0f, 0.0f, 0.0f);
    EXPECT_VEC_BITS(s, -3.0f, 0.0f, 0.0f);
    EXPECT_EQ(app->dist2, 0.5f);
}

TEST(DrapeRungef, StageValueIsForceTimesDoublePointTwo) {
    auto app = newCloth();
    // For many stretches the double 0.2 and the float 0.2f round the product
    // differently; the double one is the rule.
    int told = 0;
    for (int t = 1; t <= 200; t++) {
        app->thread[62].pos.set(-27.0f + float(t) / 997.0f, -28.0f + float(t) / 1999.0f, 29.8f);
        zoVec3f s = stage(*app, 61);
        const zoVec3f f = app->force;
        ASSERT_EQ(bits(s.x), bits(float(double(f.x) * DRAPE_STEP))) << t;
        ASSERT_EQ(bits(s.y), bits(float(double(f.y) * DRAPE_STEP))) << t;
        ASSERT_EQ(bits(s.z), bits(float(double(f.z) * DRAPE_STEP))) << t;
        told += bits(s.x) != bits(f.x * float(DRAPE_STEP));
    }
    EXPECT_GT(told, 0);
}

TEST(DrapeRungef, BorderKnobsHaveOnlyTheirExistingSprings) {
    // Each border knob: move every one of its four would-be neighbours 2.0 away
    // along the spring; only the existing springs pull.
    struct Case {
        int knob;
        bool prevCol, nextCol, prevRow, nextRow;
    } cases[] = {
        {0, false, true, false, true},     {59, true, false, false, true},  {3540, false, true, true, false},
        {3599, true, false, true, false},  {60, false, true, true, true},    {119, true, false, true, true},
        {30, true, true, false, true},     {3570, true, true, true, false}, {61, true, true, true, true},
    };
    for (const Case& c : cases) {
        auto app = newCloth();
        const int k = c.knob;
        // Stretch each existing spring to 2.0 by moving the knob's neighbour;
        // the opposite pulls cancel, so stretch one direction per run.
        const int offs[4] = {-1, 1, -DRAPE_SIDE, DRAPE_SIDE};
        const bool has[4] = {c.prevCol, c.nextCol, c.prevRow, c.nextRow};
        for (int d = 0; d < 4; d++) {
            auto a = newCloth();
            const int nb = k + offs[d];
            if (nb >= 0 && nb < DRAPE_KNOBS) {
                // Move the neighbour that exists in the array (it may be a grid
                // non-neighbour, like 60 for knob 59) one further unit away.
                if (d < 2) a->thread[nb].pos.x += float(offs[d]);
                else a->thread[nb].pos.y += float(offs[d] / DRAPE_SIDE);
            }
            zoVec3f s = stage(*a, k);
            float ex = 0, ey = 0;
            if (has[d]) {
                if (d < 2) ex = 6.0f * float(offs[d]);
                else ey = 6.0f * float(offs[d] / DRAPE_SIDE);
            }
            EXPECT_EQ(s.x, ex) << "knob " << k << " direction " << d;
            EXPECT_EQ(s.y, ey) << "knob " << k << " direction " << d;
            EXPECT_EQ(s.z, 0.0f) << "knob " << k << " direction " << d;
            const float* dist[4] = {&a->dist1, &a->dist2, &a->dist3, &a->dist4};
            EXPECT_EQ(*dist[d], has[d] ? 2.0f : 1.0f) << "knob " << k << " direction " << d;
        }
    }
}

TEST(DrapeRungef, MissingNeighbourScratchIsTheOldVectorTimesZero) {
    auto app = newCloth();
    app->del1.set(-3.0f, 2.0f, -0.5f);
    stage(*app, 0);  // no previous column
    EXPECT_VEC_BITS(app->del1, -0.0f, 0.0f, -0.0f);
    EXPECT_EQ(app->dist1, 1.0f);
}

TEST(DrapeRungef, IgnoresTheStageOffset) {
    auto app = newCloth();
    app->thread[62].pos.set(-26.7f, -27.6f, 31.25f);
    app->thread[1].pos.z = 29.0f;
    zoVec3f a = stage(*app, 61, zoVec3f());
    zoVec3f b = stage(*app, 61, zoVec3f(1e30f, -5.0f, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_VEC_BITS(a, b.x, b.y, b.z);
    EXPECT_NE(a.x, 0.0f);
}

TEST(DrapeRungef, CoincidentNeighboursAddNothingInsteadOfNaN) {
    auto app = newCloth();
    // Knob 62 on top of knob 61: that spring counts as absent for this call.
    app->thread[62].pos = app->thread[61].pos;
    app->thread[1].pos.y -= 1.0f;  // previous row stretched to 2.0
    zoVec3f s = stage(*app, 61);
    EXPECT_EQ(app->dist2, 0.0f);
    EXPECT_VEC_BITS(s, 0.0f, -6.0f, 0.0f);
    EXPECT_VEC_BITS(app->force, 0.0f, -30.0f, 0.0f);
    // And for the other end of the same spring.
    s = stage(*app, 62);
    EXPECT_FALSE(std::isnan(s.x) || std::isnan(s.y) || std::isnan(s.z));
    EXPECT_EQ(app->dist1, 0.0f);
}

TEST(DrapeRungef, CoincidentKnobsDoNotPoisonTheCloth) {
    auto app = newCloth();
    app->thread[1830].pos = app->thread[1831].pos;
    app->thread[1890].pos = app->thread[1831].pos;
    fakegl::recording = false;
    for (int f = 0; f < 20; f++) app->draw();
    for (int k = 0; k < DRAPE_KNOBS; k++) {
        const clothknob& n = app->thread[k];
        ASSERT_FALSE(std::isnan(n.pos.x) || std::isnan(n.pos.y) || std::isnan(n.pos.z)) << k;
        ASSERT_FALSE(std::isnan(n.vel.x) || std::isnan(n.vel.y) || std::isnan(n.vel.z)) << k;
    }
}

// The one-spring-at-a-time formulation: rungef computes the four directions
// side by side and must give exactly its bits, scratch included.
using drapeReference::Scratch;

float awkwardFloat(std::mt19937& rng) {
    static const float specials[] = {0.0f,
                                     -0.0f,
                                     1.0f,
                                     -1.0f,
                                     std::numeric_limits<float>::infinity(),
                                     -std::numeric_limits<float>::infinity(),
                                     std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::denorm_min(),
                                     -1e-40f,
                                     std::numeric_limits<float>::max(),
                                     1e19f,
                                     3e-20f};
    std::uniform_int_distribution<int> pick(0, 9);
    switch (pick(rng)) {
    case 0: return specials[std::uniform_int_distribution<int>(0, 11)(rng)];
    case 1: {
        std::uniform_int_distribution<uint32_t> any;
        uint32_t u = any(rng);
        float f;
        std::memcpy(&f, &u, sizeof f);
        return f;
    }
    case 2: return std::uniform_real_distribution<float>(-1e6f, 1e6f)(rng);
    default: return std::uniform_real_distribution<float>(-40.0f, 40.0f)(rng);
    }
}

class DrapeLanes : public testing::TestWithParam<drapeLanes> {
protected:
    void SetUp() override {
        saved = drapeSpringLanes;
        if (!drapeLanesAvailable(GetParam())) GTEST_SKIP() << "not available on this processor";
        drapeSpringLanes = GetParam();
    }
    void TearDown() override { drapeSpringLanes = saved; }
    drapeLanes saved = DRAPE_LANES_PLAIN;
};

INSTANTIATE_TEST_SUITE_P(InstructionSets, DrapeLanes,
                         testing::Values(DRAPE_LANES_PLAIN, DRAPE_LANES_SSE2, DRAPE_LANES_AVX),
                         [](const testing::TestParamInfo<drapeLanes>& p) {
                             return p.param == DRAPE_LANES_AVX ? "AVX" : p.param == DRAPE_LANES_SSE2 ? "SSE2" : "Plain";
                         });

TEST_P(DrapeLanes, SideBySideLanesMatchTheOneSpringFormulationBitForBit) {
    auto app = newCloth();
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> knob(0, DRAPE_KNOBS - 1);
    std::uniform_real_distribution<float> jitter(-0.7f, 0.7f);
    std::uniform_int_distribution<int> mode(0, 3);
    for (int round = 0; round < 3000; round++) {
        // A cloth that is near the grid, wildly off it, or partly coincident.
        const int how = mode(rng);
        for (int k = 0; k < DRAPE_KNOBS; k++) {
            zoVec3f& p = app->thread[k].pos;
            const float gx = float(k % DRAPE_SIDE - 29), gy = float(k / DRAPE_SIDE - 29);
            if (how == 0) p.set(gx + jitter(rng), gy + jitter(rng), 20.0f + jitter(rng));
            else if (how == 1) p.set(awkwardFloat(rng), awkwardFloat(rng), awkwardFloat(rng));
            else if (how == 2) p.set(gx, gy, (k % 7 == 0) ? 30.0f : 30.0f + jitter(rng) * 1e-6f);
            else p.set(float(int(gx) / 3), float(int(gy) / 3), 5.0f);  // many coincident
        }
        for (int call = 0; call < 40; call++) {
            int k = knob(rng);
            static const int corners[4] = {0, 59, 3540, 3599};
            if (call < 4) k = corners[call];
            Scratch ref;
            for (int d = 0; d < 4; d++) ref.del[d].set(awkwardFloat(rng), awkwardFloat(rng), awkwardFloat(rng));
            app->del1 = ref.del[0];
            app->del2 = ref.del[1];
            app->del3 = ref.del[2];
            app->del4 = ref.del[3];
            const zoVec3f want = drapeReference::stage(app->thread, k, ref);
            const zoVec3f got = stage(*app, k);
            const zoVec3f* dels[4] = {&app->del1, &app->del2, &app->del3, &app->del4};
            const float dists[4] = {app->dist1, app->dist2, app->dist3, app->dist4};
            // NaN payloads are left to the compiler's operand order; any NaN matches any.
            auto eq = [](float a, float b) { return bits(a) == bits(b) || (std::isnan(a) && std::isnan(b)); };
            bool same = eq(got.x, want.x) && eq(got.y, want.y) && eq(got.z, want.z) && eq(app->force.x, ref.force.x) &&
                        eq(app->force.y, ref.force.y) && eq(app->force.z, ref.force.z);
            for (int d = 0; d < 4; d++)
                same = same && eq(dels[d]->x, ref.del[d].x) && eq(dels[d]->y, ref.del[d].y) &&
                       eq(dels[d]->z, ref.del[d].z) && eq(dists[d], ref.dist[d]);
            ASSERT_TRUE(same) << "round " << round << " mode " << how << " knob " << k << ": got (" << got.x << ", "
                              << got.y << ", " << got.z << ") want (" << want.x << ", " << want.y << ", " << want.z
                              << ")";
        }
    }
}

TEST_P(DrapeLanes, RecordedRunIsTheSameOnEitherInstructionSet) {
    auto app = newCloth();
    for (const drapeRecord& rec : drapeRecordedRun(DRAPE_FAITHFUL, 90)) {  // past the break-up
        app.step(rec.frame - app.frame);
        EXPECT_EQ(drapeStateHash(*app), rec.hash) << "frame " << rec.frame;
    }
}

}  // namespace
