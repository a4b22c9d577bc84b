// The simulation of one frame of drape-stable (two substeps: twice drapeApp's
// contact and stage passes, and the substep update), without GL: a frame in
// which every knob is free and one after the cloth has come to rest. Each is
// measured for stableDrapeApp itself, whose passes compute rungef and surface
// directly, and (..EveryCall) for a subclass that has not declared that it
// keeps them, which gets every call.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

#include "app/stableDrapeApp.h"

namespace {

struct EveryCallStable : stableDrapeApp {};

// A cloth after `frame` frames, released with its mesh shape.
template <class T>
struct Cloth {
    std::unique_ptr<T> app{new T};
    explicit Cloth(int frame) {
        for (int f = 0; f < frame; f++) app->step();
    }
    ~Cloth() { delete app->blanky; }
};

// Frames 1 to 30 have every knob free; each iteration starts again from frame
// 10 so that the state measured stays in that range.
template <class T>
void allFree(benchmark::State& state) {
    Cloth<T> start(10), c(0);
    for (auto _ : state) {
        state.PauseTiming();
        // The knobs are the state: stage values and scratch are written before
        // they are read in a frame.
        std::copy(start.app->thread, start.app->thread + DRAPE_KNOBS, c.app->thread);
        state.ResumeTiming();
        c.app->step();
        benchmark::DoNotOptimize(c.app->thread[1830].pos);
    }
}

// After frame 450 the cloth is at rest: a third of the knobs frozen, the rest
// hanging still.
template <class T>
void atRest(benchmark::State& state) {
    Cloth<T> c(450);
    for (auto _ : state) {
        c.app->step();
        benchmark::DoNotOptimize(c.app->thread[1830].pos);
    }
}

void BM_StableStepAllFree(benchmark::State& state) { allFree<stableDrapeApp>(state); }
void BM_StableStepAllFreeEveryCall(benchmark::State& state) { allFree<EveryCallStable>(state); }
void BM_StableStepAtRest(benchmark::State& state) { atRest<stableDrapeApp>(state); }
void BM_StableStepAtRestEveryCall(benchmark::State& state) { atRest<EveryCallStable>(state); }

void repeated(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
}
BENCHMARK(BM_StableStepAllFree)->Apply(repeated);
BENCHMARK(BM_StableStepAllFreeEveryCall)->Apply(repeated);
BENCHMARK(BM_StableStepAtRest)->Apply(repeated);
BENCHMARK(BM_StableStepAtRestEveryCall)->Apply(repeated);

}  // namespace

BENCHMARK_MAIN();
