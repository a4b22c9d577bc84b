// The simulation of one frame of drape-stable (two substeps: twice drapeApp's
// contact and stage passes, and the substep update), without GL: a frame in
// which every knob is free and one after the cloth has come to rest.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "app/drapeHarness.h"
#include "app/stableDrapeApp.h"

namespace {

std::unique_ptr<drapeCloth> clothAt(int frame) {
    std::unique_ptr<drapeCloth> cloth(new drapeCloth(DRAPE_STABLE));
    cloth->step(frame);
    return cloth;
}

// Frames 1 to 30 have every knob free; each iteration starts again from frame
// 10 so that the state measured stays in that range.
void BM_StableStepAllFree(benchmark::State& state) {
    auto start = clothAt(10);
    auto app = clothAt(0);
    for (auto _ : state) {
        state.PauseTiming();
        // The knobs are the state: stage values and scratch are written before
        // they are read in a frame.
        std::copy((*start)->thread, (*start)->thread + DRAPE_KNOBS, (*app)->thread);
        state.ResumeTiming();
        app->stable()->stableStep();
        benchmark::DoNotOptimize((*app)->thread[1830].pos);
    }
}
BENCHMARK(BM_StableStepAllFree)->Unit(benchmark::kMicrosecond);

// After frame 450 the cloth is at rest: a third of the knobs frozen, the rest
// hanging still.
void BM_StableStepAtRest(benchmark::State& state) {
    auto app = clothAt(450);
    for (auto _ : state) {
        app->stable()->stableStep();
        benchmark::DoNotOptimize((*app)->thread[1830].pos);
    }
}
BENCHMARK(BM_StableStepAtRest)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
