#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. the release build: its reference of the headers (Doxygen), unit tests on
#      the recording GL stand-in, the X11 tests on freeglut + Mesa under private
#      Xvfb servers, and the command-line checks (fuzzing, offscreen pictures,
#      the installed package, the reference's controls);
#   2. the unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the web build (emscripten) and its tests: the wasm cloth under Node.js and
#      the pages in headless Chromium, against the release build's programs.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
source tools/deps.sh
zou_install_deps

jobs="$(nproc 2>/dev/null || echo 2)"

echo "== release build (build/)"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"

echo "== the reference of the public headers (build/docs/html/), failing on an undocumented item"
cmake --build build --target docs

echo "== sanitizer build (build-san/)"
cmake -S . -B build-san -DCMAKE_BUILD_TYPE=Debug -DZOU_SANITIZE=ON -DZOU_BUILD_BENCH=OFF
cmake --build build-san -j"$jobs"

echo "== unit tests under AddressSanitizer + UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-san -L unit --output-on-failure -j"$jobs"

echo "== all tests (unit, X11, command line) on the release build"
ctest --test-dir build --output-on-failure

echo "== web build (build-web/): the pages, then their tests under Node.js and headless Chromium"
zou_install_deps "${ZOU_WEB_PACKAGES[@]}"
source tools/webenv.sh
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DZOU_NATIVE_BUILD="$here/build"
cmake --build build-web -j"$jobs"
ctest --test-dir build-web --output-on-failure
