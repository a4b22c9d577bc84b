// The cloth's frame with real GL: draw() into a 1024 x 768 framebuffer object
// of an offscreen Mesa context (EGL's surfaceless platform, no X server),
// through the framework's outermost view frame exactly as the program does;
// glFinish makes the software rasteriser finish the frame inside the timed
// region. (bench_drape measures the processor's part against the GL stand-in.)
//
// Two states of the cloth are measured: frame 10, when all 3600 knobs are still
// free and falling flat (every frame of the first 37 costs the same), and frame
// 450, when most knobs lie frozen on the ground. Each iteration starts from the
// same saved state, so every iteration measures the same frame; only the frame
// itself is timed (manual timing), not the restoring copy.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/drapeApp.h"
#include "framework/zou.h"
#include "app/drapeHarness.h"
#include "platform/egl/offscreenGL.h"

namespace {

using Clock = std::chrono::steady_clock;

struct SavedCloth {
    drapeCloth app{DRAPE_FAITHFUL};
    std::vector<clothknob> knobs;

    explicit SavedCloth(int frame) {
        if (!app.app) {
            std::fprintf(stderr, "bench_drape_gl: not enough memory for the cloth\n");
            std::exit(1);
        }
        app.step(frame);
        knobs.assign(app->thread, app->thread + DRAPE_KNOBS);
    }
    // The stage values of free knobs and the scratch are written before they are
    // read in a frame, so the knobs alone are the state.
    void restore() { std::copy(knobs.begin(), knobs.end(), app->thread); }
};

SavedCloth& cloth(int frame) {
    static SavedCloth freeFall(10), late(450);
    return frame == 10 ? freeFall : late;
}

template <class Body>
void timed(benchmark::State& state, SavedCloth& c, Body body) {
    for (auto _ : state) {
        c.restore();
        const Clock::time_point t0 = Clock::now();
        body(*c.app);
        const Clock::time_point t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    int free = 0;
    for (int k = 0; k < DRAPE_KNOBS; k++) free += !c.app->thread[k].on_surf;
    state.counters["free_knobs"] = free;
}

// --- Offscreen GL ---------------------------------------------------------------

// The outermost view frame as the program opens it for a 1024 x 768 window.
void openFrame() {
    zouWindowWidth = 1024;
    zouWindowHeight = 768;
    zouWindowClear = true;
    zouScreenFov = ZOU_DEFAULT_FOV;
    zouOpenToviFrame();
}

// The program's close swaps the buffers through GLUT; offscreen there is
// nothing to swap, so the frame is presented by waiting for the renderer.
void closeFrame() {
    zouCloseToviFrame();
}

void BM_DrawGL(benchmark::State& state) {
    timed(state, cloth(int(state.range(0))), [](drapeApp& a) {
        openFrame();
        a.draw();
        closeFrame();
    });
}

// draw() alone: the frame's work on the CPU, the GL calls handed to Mesa but
// not yet rasterised.
void BM_DrawCallsOnly(benchmark::State& state) {
    SavedCloth& c = cloth(int(state.range(0)));
    for (auto _ : state) {
        c.restore();
        openFrame();
        const Clock::time_point t0 = Clock::now();
        c.app->draw();
        const Clock::time_point t1 = Clock::now();
        closeFrame();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}

// A frame without the cloth: viewport, clear, camera and the finish.
void BM_EmptyFrameGL(benchmark::State& state) {
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        openFrame();
        closeFrame();
        const Clock::time_point t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
}

void simulationArgs(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(450)->UseManualTime()->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Offscreen gl;
    gl.who = "bench_drape_gl";
    zouPresent = glFinish;
    if (openOffscreen(&gl, 1024, 768)) {
        benchmark::RegisterBenchmark("BM_EmptyFrameGL", BM_EmptyFrameGL)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(9)
            ->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark("BM_DrawCallsOnly", BM_DrawCallsOnly)->Apply(simulationArgs);
        benchmark::RegisterBenchmark("BM_DrawGL", BM_DrawGL)->Apply(simulationArgs);
    } else {
        std::fprintf(stderr, "bench_drape_gl: no offscreen OpenGL context (EGL surfaceless platform); GL figures skipped\n");
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    closeOffscreen(&gl);
    return 0;
}
