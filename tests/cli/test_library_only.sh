#!/usr/bin/env bash
# The library-only build: with GoogleTest, Google Benchmark and libpng hidden
# from CMake, ZOU_LIBRARY_ONLY configures, builds the framework and the demo
# programs, and installs them, and never looks for giflib or for EGL itself.
#   test_library_only.sh <build dir> <source dir>
set -uo pipefail
src="$(cd "${2:?usage: test_library_only.sh <build dir> <source dir>}" && pwd)"
work="$(mktemp -d /tmp/zou-libonly.XXXXXX)"
trap 'rm -rf "$work"' EXIT
fail() { echo "test_library_only: FAIL: $*" >&2; exit 1; }

cmake -S "$src" -B "$work/build" -DZOU_LIBRARY_ONLY=ON -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
    -DCMAKE_DISABLE_FIND_PACKAGE_PNG=ON >"$work/log" 2>&1 || { tail -n 30 "$work/log"; fail "configure"; }
if grep -Eq '^(ZOU_GIF_LIBRARY|ZOU_EGL_LIBRARY|GTEST_|benchmark_DIR)[^=]*=[^-]' \
    "$work/build/CMakeCache.txt"; then
    fail "the library-only build looked for an optional dependency: $(grep -E '^(ZOU_GIF|ZOU_EGL|GTEST_|benchmark_DIR)' "$work/build/CMakeCache.txt")"
fi
cmake --build "$work/build" -j"$(nproc 2>/dev/null || echo 2)" >"$work/log" 2>&1 || { tail -n 30 "$work/log"; fail "build"; }
cmake --install "$work/build" --prefix "$work/prefix" >"$work/log" 2>&1 || { tail -n 30 "$work/log"; fail "install"; }
for f in bin/drape bin/drape-stable include/zou/framework/zou.h include/zou/shape/zoShape.h; do
    [ -e "$work/prefix/$f" ] || fail "the installed tree lacks $f"
done
find "$work/prefix" -name libzou.a | grep -q . || fail "the installed tree lacks libzou.a"
[ ! -e "$work/build/drape-render" ] || fail "drape-render was built"
[ ! -e "$work/build/tests" ] || fail "the tests were configured"
echo "test_library_only: PASS"
