// The simulation of one frame of drape-stable (two substeps: twice drapeApp's
// contact and stage passes, and the substep update), without GL: a frame in
// which every knob is free and one after the cloth has come to rest.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/stableDrapeApp.h"

namespace {

std::unique_ptr<stableDrapeApp> clothAt(int frame) {
    std::unique_ptr<stableDrapeApp> app(static_cast<stableDrapeApp*>(makeStableApp()));
    for (int f = 0; f < frame; f++) app->stableStep();
    return app;
}

// Frames 1 to 30 have every knob free; each iteration starts again from frame
// 10 so that the state measured stays in that range.
void BM_StableStepAllFree(benchmark::State& state) {
    auto start = clothAt(10);
    auto app = clothAt(0);
    for (auto _ : state) {
        state.PauseTiming();
        *app = *start;
        state.ResumeTiming();
        app->stableStep();
        benchmark::DoNotOptimize(app->thread[1830].pos);
    }
}
BENCHMARK(BM_StableStepAllFree)->Unit(benchmark::kMicrosecond);

// After frame 450 the cloth is at rest: a third of the knobs frozen, the rest
// hanging still.
void BM_StableStepAtRest(benchmark::State& state) {
    auto app = clothAt(450);
    for (auto _ : state) {
        app->stableStep();
        benchmark::DoNotOptimize(app->thread[1830].pos);
    }
}
BENCHMARK(BM_StableStepAtRest)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
