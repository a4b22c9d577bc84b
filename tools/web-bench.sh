#!/usr/bin/env bash
# Prints what one drape frame costs on the web beside the native build, in one
# run: the native simulation and frame with a no-op GL (bench_web_fake), and in
# drape.html?bench under headless Chromium (SwiftShader, 1024x768) the wasm
# simulation, the wasm side of a frame (simulation and the vertex buffer, no
# WebGL), the frame with its WebGL calls, and the frames per second; then the
# ratios. Medians; both sides measure the frame as app/drapeFrameCost.h says.
# Then the same page figures for teapots.html?bench (two dozen lit GLUT teapots,
# hundreds of small glBegin/glEnd blocks a frame), and for both pages the WebGL
# draw calls per frame, counted by wrapping the WebGL context's draw calls.
# Last, meshBench.html?bench: a 100 x 100 lit mesh drawn by glDrawElements and
# by glBegin/glEnd, side by side, with the draw calls the layer counts.
# ZOU_BENCH_BUILD and ZOU_BENCH_WEB_BUILD name other build folders than build
# and build-web. Figures, not a test: nothing fails on a slow machine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
source tools/deps.sh
zou_install_deps
zou_install_deps "${ZOU_WEB_PACKAGES[@]}"
source tools/webenv.sh
jobs="$(nproc 2>/dev/null || echo 2)"
build="${ZOU_BENCH_BUILD:-build}"
web_build="${ZOU_BENCH_WEB_BUILD:-build-web}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$jobs" --target bench_web_fake >/dev/null
emcmake cmake -S . -B "$web_build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$web_build" -j"$jobs" --target drape drape_run teapots meshBench >/dev/null

native="$(./"$build"/bench/bench_web_fake --benchmark_format=json 2>/dev/null)"
/usr/bin/python3 - "$here/$web_build/web" "$native" <<'PY'
import json, sys, time
sys.path.insert(0, "tests/web")
from cdp import Browser

# Every draw call of every WebGL 2 context the page makes, counted.
COUNT_DRAWS = """
window.zouDrawCalls = 0;
for (const name of ['drawArrays', 'drawElements', 'drawArraysInstanced', 'drawElementsInstanced', 'drawRangeElements']) {
  const draw = WebGL2RenderingContext.prototype[name];
  WebGL2RenderingContext.prototype[name] = function () { window.zouDrawCalls++; return draw.apply(this, arguments); };
}
"""


def draws_per_frame(br, page):
    """The WebGL draw calls per frame of the running page (without ?bench),
    over at least 5 frames or 20 s."""
    br.open(page + ".html")
    br.wait("(window.zouFrames || 0) >= 2", timeout=300)
    calls0, frames0 = br.eval("[window.zouDrawCalls, window.zouFrames]")
    deadline = time.time() + 20
    while br.frames() < frames0 + 5 and time.time() < deadline:
        br.pump(0.5)
    calls1, frames1 = br.eval("[window.zouDrawCalls, window.zouFrames]")
    return (calls1 - calls0) / max(frames1 - frames0, 1)


def bench(br, page):
    """The page's ?bench figures and its draw calls per frame."""
    draws = draws_per_frame(br, page)
    br.open(page + ".html?bench")
    br.ws.settimeout(600)  # the measurement holds the page for a while
    br.wait("window.zouBench !== undefined", timeout=600)
    figures = br.eval("window.zouBench")
    figures["draws_per_frame"] = draws
    return figures


native = {}
for b in json.loads(sys.argv[2])["benchmarks"]:
    if b.get("aggregate_name") == "median":
        native[b["run_name"].split("/")[0]] = b["real_time"]
sim_n = native["BM_WebFrameNative_Simulation"]
frame_n = native["BM_WebFrameNative_FrameNoopGL"]

with Browser(sys.argv[1], 1024, 768) as br:
    br.call("Page.addScriptToEvaluateOnNewDocument", source=COUNT_DRAWS)
    web = bench(br, "drape")
    teapots = bench(br, "teapots")
    br.open("meshBench.html?bench")
    br.wait("window.zouBench !== undefined", timeout=600)
    mesh = br.eval("window.zouBench")

print("one drape frame at frame 10 (all knobs free), medians in microseconds")
print("  native simulation                         %8.1f" % sim_n)
print("  native frame, no-op GL                    %8.1f" % frame_n)
print("  wasm simulation                           %8.1f   %.2fx native" % (web["simulation_us"], web["simulation_us"] / sim_n))
print("  wasm side of a frame (no WebGL)           %8.1f   %.2fx the native frame with no-op GL" % (
    web["frame_without_webgl_us"], web["frame_without_webgl_us"] / frame_n))
print("  wasm frame with its WebGL calls           %8.1f" % web["frame_with_webgl_calls_us"])
print("  headless Chromium + SwiftShader, %dx%d   %8.1f frames per second" % (
    web["canvas"][0], web["canvas"][1], web["fps"]))
print("  WebGL draw calls per frame                %8.1f" % web["draws_per_frame"])
print("teapots.html: 24 lit GLUT teapots, medians in microseconds")
print("  wasm side of a frame (no WebGL)           %8.1f" % teapots["frame_without_webgl_us"])
print("  wasm frame with its WebGL calls           %8.1f" % teapots["frame_with_webgl_calls_us"])
print("  headless Chromium + SwiftShader, %dx%d   %8.1f frames per second" % (
    teapots["canvas"][0], teapots["canvas"][1], teapots["fps"]))
print("  WebGL draw calls per frame                %8.1f" % teapots["draws_per_frame"])
print("meshBench.html: a 100 x 100 lit mesh, medians in microseconds   glDrawElements  glBegin/glEnd")
for key, what in (("frame_without_webgl_us", "wasm side of a frame (no WebGL)"),
                  ("frame_with_webgl_calls_us", "wasm frame with its WebGL calls"),
                  ("draws_per_frame", "WebGL draw calls per frame")):
    print("  %-41s %8.1f        %8.1f" % (what, mesh["elements_" + key], mesh["immediate_" + key]))
PY
