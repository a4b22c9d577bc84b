#!/bin/bash
# Fuzzes zoShape::readFromFile for a bounded time with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer. Fails when the fuzzer finds a crash, a
# sanitizer report or a broken invariant (see tests/fuzz/fuzz_read_shape.cpp).
# Arguments: <build dir> <source dir> [seconds, default 20]
set -eu
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
seconds=${3:-20}
out="$build/fuzz_read_shape"
cxx=clang++-14
if ! command -v "$cxx" >/dev/null; then
    echo "test_fuzz_read_shape: $cxx is not installed (Debian packages clang-14, libclang-rt-14-dev)" >&2
    exit 1
fi
mkdir -p "$out/corpus"
"$cxx" -std=c++17 -g -O1 -ffp-contract=off \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$src" \
    "$src/tests/fuzz/fuzz_read_shape.cpp" \
    "$src"/shape/*.cpp \
    "$src/math/zoMatrix4f.cpp" "$src/math/zoTransforms.cpp" \
    "$src/platform/fake/fakegl.cpp" \
    -lm -o "$out/fuzz_read_shape"
# The committed seeds are copied so that the corpus the run grows stays in the
# build directory.
cp "$src"/tests/fuzz/corpus/* "$out/corpus/"
cd "$out"
ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 \
    ./fuzz_read_shape -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
    -artifact_prefix="$out/" -print_final_stats=1 corpus 2>"$out/fuzz.log" || {
    tail -n 60 "$out/fuzz.log" >&2
    echo "test_fuzz_read_shape: the fuzzer found a failure; reproducer in $out/" >&2
    exit 1
}
grep -E "stat::number_of_executed_units|Done" "$out/fuzz.log" || true
echo "test_fuzz_read_shape: no failure in $seconds s"
