// drape-stable's frame in the full view (the ground and the shaded cloth)
// against the wire-only frame (today's picture), both drawn by the testbed into
// the same 1024 x 768 framebuffer object of an offscreen Mesa context (EGL's
// surfaceless platform), through the framework's outermost frame, with glFinish
// inside the timed region. Each iteration starts from the same saved knobs, so
// every iteration measures the same frame, simulation included: frame 10, the
// cloth falling flat, and frame 400, at rest on the ground.
//
// The status line is left out (its bitmap font needs GLUT's start-up, which an
// offscreen context has not had). Repetitions are interleaved at random by
// default, so that the load of the machine falls on both alike.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/drapeTestbed.h"
#include "framework/zou.h"
#include "platform/egl/offscreenGL.h"

namespace {

using Clock = std::chrono::steady_clock;

struct SavedTestbed {
    std::unique_ptr<drapeTestbed> app;
    std::vector<clothknob> knobs;
    int frame;

    explicit SavedTestbed(int f) : app(static_cast<drapeTestbed*>(makeTestbedApp())), frame(f) {
        if (!app) {
            std::fprintf(stderr, "bench_view: not enough memory for the cloth\n");
            std::exit(1);
        }
        app->showStatus = false;
        app->resize(0, 0, 1024, 768);
        for (int k = 0; k < f; k++) app->step();
        app->m = f;
        knobs.assign(app->thread, app->thread + DRAPE_KNOBS);
    }
    ~SavedTestbed() { delete app->blanky; }
    void restore() {
        std::copy(knobs.begin(), knobs.end(), app->thread);
        app->m = frame;
    }
};

SavedTestbed& saved(int frame) {
    static SavedTestbed falling(10), resting(400);
    return frame == 10 ? falling : resting;
}

void measure(benchmark::State& state, bool ground, bool shaded) {
    SavedTestbed& s = saved(int(state.range(0)));
    s.app->look.ground = ground;
    s.app->look.shaded = shaded;
    s.app->look.wireOnShaded = false;
    zouWindowWidth = 1024;
    zouWindowHeight = 768;
    // The ground's display list is compiled by the first frame, not timed.
    s.restore();
    zouOpenToviFrame();
    s.app->draw();
    zouCloseToviFrame();
    for (auto _ : state) {
        s.restore();
        const Clock::time_point t0 = Clock::now();
        zouOpenToviFrame();
        s.app->draw();
        zouCloseToviFrame();  // glFinish
        const Clock::time_point t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}

void BM_WireFrameGL(benchmark::State& state) { measure(state, false, false); }
void BM_FullViewFrameGL(benchmark::State& state) { measure(state, true, true); }
// The two halves of the difference.
void BM_WireOnGroundGL(benchmark::State& state) { measure(state, true, false); }
void BM_ShadedNoGroundGL(benchmark::State& state) { measure(state, false, true); }

void frames(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(400)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    Offscreen gl;
    gl.who = "bench_view";
    if (!openOffscreen(&gl, 1024, 768)) {
        std::fprintf(stderr, "bench_view: no offscreen OpenGL context (EGL surfaceless platform)\n");
        closeOffscreen(&gl);
        return 1;
    }
    zouInitState();
    zouPresent = glFinish;
    benchmark::RegisterBenchmark("BM_WireFrameGL", BM_WireFrameGL)->Apply(frames);
    benchmark::RegisterBenchmark("BM_FullViewFrameGL", BM_FullViewFrameGL)->Apply(frames);
    benchmark::RegisterBenchmark("BM_WireOnGroundGL", BM_WireOnGroundGL)->Apply(frames);
    benchmark::RegisterBenchmark("BM_ShadedNoGroundGL", BM_ShadedNoGroundGL)->Apply(frames);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeOffscreen(&gl);
    return 0;
}
