// The native side of the web page's measurement (drape.html?bench): one drape
// frame at frame 10 as app/drapeFrameCost.h defines it, with the GL
// stand-in reduced to no-ops, and its simulation alone. tools/web-bench.sh
// runs this beside the page and prints the ratios.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/drapeFrameCost.h"
#include "platform/fake/fakegl.h"

namespace {

drapeFrameBench& bench() {
    static drapeFrameBench b;
    if (!b.ok()) {
        std::fprintf(stderr, "bench_web_fake: not enough memory for the cloth\n");
        std::exit(1);
    }
    return b;
}

template <class Body>
void timed(benchmark::State& state, Body body) {
    fakegl::reset();
    fakegl::recording = false;
    drapeFrameBench& b = bench();
    for (auto _ : state) {
        b.restore();
        const auto t0 = std::chrono::steady_clock::now();
        body(b);
        const auto t1 = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}

void BM_WebFrameNative_Simulation(benchmark::State& state) {
    timed(state, [](drapeFrameBench& b) { b.simulation(); });
}
void BM_WebFrameNative_FrameNoopGL(benchmark::State& state) {
    timed(state, [](drapeFrameBench& b) { b.frame(); });
}

BENCHMARK(BM_WebFrameNative_Simulation)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WebFrameNative_FrameNoopGL)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
