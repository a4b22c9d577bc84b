#!/usr/bin/env bash
# Prints what one drape frame costs on the web beside the native build, in one
# run: the native simulation and frame with a no-op GL (bench_web_fake), and in
# drape.html?bench under headless Chromium (SwiftShader, 1024x768) the wasm
# simulation, the wasm side of a frame (simulation and the vertex buffer, no
# WebGL), the frame with its WebGL calls, and the frames per second; then the
# ratios. Medians; both sides measure the frame as app/drapeFrameCost.h says.
# Figures, not a test: nothing fails on a slow machine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
source tools/deps.sh
zou_install_deps
zou_install_deps "${ZOU_WEB_PACKAGES[@]}"
source tools/webenv.sh
jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target bench_web_fake >/dev/null
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$jobs" --target drape drape_run >/dev/null

native="$(./build/bench/bench_web_fake --benchmark_format=json 2>/dev/null)"
/usr/bin/python3 - "$here/build-web/web" "$native" <<'PY'
import json, sys
sys.path.insert(0, "tests/web")
from cdp import Browser

native = {}
for b in json.loads(sys.argv[2])["benchmarks"]:
    if b.get("aggregate_name") == "median":
        native[b["run_name"].split("/")[0]] = b["real_time"]
sim_n = native["BM_WebFrameNative_Simulation"]
frame_n = native["BM_WebFrameNative_FrameNoopGL"]

with Browser(sys.argv[1], 1024, 768) as br:
    br.open("drape.html?bench")
    br.wait("window.zouBench !== undefined", timeout=300)
    web = br.eval("window.zouBench")

print("one drape frame at frame 10 (all knobs free), medians in microseconds")
print("  native simulation                         %8.1f" % sim_n)
print("  native frame, no-op GL                    %8.1f" % frame_n)
print("  wasm simulation                           %8.1f   %.2fx native" % (web["simulation_us"], web["simulation_us"] / sim_n))
print("  wasm side of a frame (no WebGL)           %8.1f   %.2fx the native frame with no-op GL" % (
    web["frame_without_webgl_us"], web["frame_without_webgl_us"] / frame_n))
print("  wasm frame with its WebGL calls           %8.1f" % web["frame_with_webgl_calls_us"])
print("  headless Chromium + SwiftShader, %dx%d   %8.1f frames per second" % (
    web["canvas"][0], web["canvas"][1], web["fps"]))
PY
