// The cloth's frame on the processor, side by side with the plain way of
// computing it, with every GL call going to the do-nothing stand-in.
//
// Two stretches of drape's run are measured: frames 5 to 35, every knob free
// and falling flat, and frames 1000 to 1030, after the break-up, 3420 knobs
// frozen on the ground and 180 free. Iteration n restores the knobs of the
// stretch's (n mod 31)-th frame and times one step of it (manual timing, the
// restoring copy untimed), so every figure covers the same frames. The time is
// the thread's processor time (CLOCK_THREAD_CPUTIME_ID), so that other work on
// a shared machine, which takes the processor away, does not count.
//
//   BM_Plain          the frame written plainly, one spring at a time in scalar
//                     code, four stages per free knob (the yardstick)
//   BM_Step, BM_Draw  drapeApp's simulation, and its whole draw (transforms,
//                     camera capture, simulation, the wire grid's 17 000 calls)
//   ..EveryCall       the same for a subclass that overrides nothing but has
//                     not declared so: every rungef and surface call is made
//   BM_ContactPass, BM_StagePass, BM_UpdatePass, BM_DrawCloth   the parts
//   BM_StagePassLanes/0,1,2   the stage pass computed in plain code, SSE2, AVX
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "app/drapeHarness.h"
#include "platform/fake/fakegl.h"
#include "app/drapeReference.h"

namespace {

double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

struct EveryCall : drapeApp {};

const int stretch = 31;

// The knobs of frames first .. first + 30 of drape's run.
struct Frames {
    std::vector<std::vector<clothknob>> knobs;
    explicit Frames(int first) {
        drapeCloth cloth(DRAPE_FAITHFUL);
        if (!cloth.app) {
            std::fprintf(stderr, "bench_drape: not enough memory for the cloth\n");
            std::exit(1);
        }
        cloth.step(first);
        for (int f = 0; f < stretch; f++, cloth.step())
            knobs.emplace_back(cloth->thread, cloth->thread + DRAPE_KNOBS);
    }
};

const Frames& frames(int first) {
    static const Frames fall(5), late(1000);
    return first == 5 ? fall : late;
}

// The cloth each benchmark steps: drapeApp's own, or one that gets every call.
template <class T>
T& cloth() {
    static T* app = [] {
        fakegl::reset();
        fakegl::recording = false;
        return new T;  // kept for the run
    }();
    return *app;
}

template <class Body>
void timed(benchmark::State& state, drapeApp& app, Body body) {
    const Frames& f = frames(int(state.range(0)));
    size_t n = 0;
    for (auto _ : state) {
        const std::vector<clothknob>& k = f.knobs[n++ % stretch];
        std::copy(k.begin(), k.end(), app.thread);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const double t0 = threadSeconds();
        body(app);
        state.SetIterationTime(threadSeconds() - t0);
    }
    benchmark::DoNotOptimize(app.thread[1830].pos);
}

void BM_Plain(benchmark::State& state) {
    drapeReference::Scratch scratch;
    timed(state, cloth<drapeApp>(), [&](drapeApp& a) { drapeReference::step(a, scratch); });
}
void BM_Step(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.step(); });
}
void BM_Draw(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.draw(); });
}
void BM_StepEveryCall(benchmark::State& state) {
    timed(state, cloth<EveryCall>(), [](drapeApp& a) { a.step(); });
}
void BM_DrawEveryCall(benchmark::State& state) {
    timed(state, cloth<EveryCall>(), [](drapeApp& a) { a.draw(); });
}
void BM_ContactPass(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.contactPass(); });
}
void BM_StagePass(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.stagePass(); });
}
void BM_UpdatePass(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.updatePass(); });
}
void BM_DrawCloth(benchmark::State& state) {
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.drawCloth(); });
}
void BM_StagePassLanes(benchmark::State& state) {
    const drapeLanes lanes = drapeLanes(state.range(1));
    if (!drapeLanesAvailable(lanes)) {
        state.SkipWithError("not available on this processor");
        return;
    }
    const drapeLanes saved = drapeSpringLanes;
    drapeSpringLanes = lanes;
    timed(state, cloth<drapeApp>(), [](drapeApp& a) { a.stagePass(); });
    drapeSpringLanes = saved;
}

void stretches(benchmark::internal::Benchmark* b) {
    b->Arg(5)->Arg(1000)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Plain)->Apply(stretches);
BENCHMARK(BM_Step)->Apply(stretches);
BENCHMARK(BM_Draw)->Apply(stretches);
BENCHMARK(BM_StepEveryCall)->Apply(stretches);
BENCHMARK(BM_DrawEveryCall)->Apply(stretches);
BENCHMARK(BM_ContactPass)->Apply(stretches);
BENCHMARK(BM_StagePass)->Apply(stretches);
BENCHMARK(BM_UpdatePass)->Apply(stretches);
BENCHMARK(BM_DrawCloth)->Apply(stretches);
BENCHMARK(BM_StagePassLanes)
    ->ArgsProduct({{5, 1000}, {DRAPE_LANES_PLAIN, DRAPE_LANES_SSE2, DRAPE_LANES_AVX}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
