// ?bench on drape's page: the wasm side of one frame, measured in the page as
// the native benchmark bench_web_fake measures it (app/drapeFrameCost.h).
// Returns JSON: the simulation alone, the frame without WebGL (simulation and
// building the vertex buffer: the layer's submission turned off), and the frame
// with its WebGL calls issued; medians in microseconds.
#include <cstdio>

#include "app/drapeFrameCost.h"
#include "platform/web/glState.h"

extern "C" const char* zouWebMeasure(void) {
    static char out[256];
    drapeFrameBench bench;
    if (!bench.ok()) return "{\"error\": \"not enough memory for the cloth\"}";
    const int runs = 301;
    const double simulation = bench.medianMicros(runs, [&] { bench.simulation(); });
    zw::submit = false;
    const double wasmSide = bench.medianMicros(runs, [&] { bench.frame(); });
    zw::submit = true;
    const double withWebGL = bench.medianMicros(runs, [&] { bench.frame(); });
    std::snprintf(out, sizeof out,
                  "{\"simulation_us\": %.1f, \"frame_without_webgl_us\": %.1f, \"frame_with_webgl_calls_us\": %.1f, "
                  "\"runs\": %d}",
                  simulation, wasmSide, withWebGL, runs);
    return out;
}
