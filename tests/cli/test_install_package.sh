#!/usr/bin/env bash
# The framework as others get it: installs the build into a temporary prefix,
# builds examples/shapeview out of tree against the installed CMake package,
# and builds and runs a small program with nothing but `pkg-config zou`.
# Leaves the shapeview program at <build dir>/examples-out/shapeview/shapeview
# for the X11 test.
#   test_install_package.sh <build dir> <source dir>
set -uo pipefail
build="$(cd "${1:?usage: test_install_package.sh <build dir> <source dir>}" && pwd)"
src="$(cd "${2:?usage: test_install_package.sh <build dir> <source dir>}" && pwd)"

work="$(mktemp -d /tmp/zou-install.XXXXXX)"
trap 'rm -rf "$work"' EXIT
log="$work/log"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# Runs a command quietly; on failure shows its output and stops the test.
must() {
    local what="$1"
    shift
    if ! "$@" >"$log" 2>&1; then
        echo "FAIL: $what"
        echo "---- command: $*"
        tail -n 40 "$log"
        exit 1
    fi
}

# ---- 1. Install into a prefix that the build never saw.
prefix="$work/prefix"
must "cmake --install $build --prefix $prefix (is the build complete? run cmake --build first)" \
    cmake --install "$build" --prefix "$prefix"

for f in include/zou/framework/zou.h include/zou/framework/zoApp.h include/zou/framework/zoGeo.h \
         include/zou/math/zoVec3f.h include/zou/math/zoVec4f.h include/zou/math/zoMatrix4f.h \
         include/zou/math/zoTransforms.h include/zou/shape/zoShape.h include/zou/shape/zoNiceShapes.h \
         bin/drape; do
    [ -e "$prefix/$f" ] || fail "installed tree lacks $f"
done
lib="$(find "$prefix" -name libzou.a | head -n 1)"
config="$(find "$prefix" -name zouConfig.cmake | head -n 1)"
version="$(find "$prefix" -name zouConfigVersion.cmake | head -n 1)"
pc="$(find "$prefix" -name zou.pc | head -n 1)"
[ -n "$lib" ] || fail "installed tree lacks libzou.a"
[ -n "$config" ] || fail "installed tree lacks zouConfig.cmake"
[ -n "$version" ] || fail "installed tree lacks zouConfigVersion.cmake"
[ -n "$pc" ] || fail "installed tree lacks zou.pc"
[ "$failures" -eq 0 ] || exit 1

# ---- 2. shapeview, out of tree, against the installed package only.
out="$build/examples-out/shapeview"
rm -rf "$out"
must "configure examples/shapeview against the installed package" \
    cmake -S "$src/examples/shapeview" -B "$out" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
found="$(sed -n 's/^zou_DIR:PATH=//p' "$out/CMakeCache.txt")"
case "$found" in
    "$prefix"/*) ;;
    *) fail "find_package(zou) found '$found', not the package in $prefix" ;;
esac
must "build examples/shapeview against the installed package" \
    cmake --build "$out" -j2
[ -x "$out/shapeview" ] || fail "no shapeview program in $out"
# The package must hand its rounding flag to the application's compiles too.
grep -q -- '-ffp-contract=off' "$out/CMakeFiles/shapeview.dir/flags.make" ||
    fail "zou::zou does not bring -ffp-contract=off to the consumer's compile"
# And it must bring GL, GLU and GLUT to the link.
for l in glut GLU; do
    grep -q "$l" "$out/CMakeFiles/shapeview.dir/link.txt" || fail "zou::zou does not bring lib$l to the link"
done

# The package version is checked: asking for a version it is not refuses it.
mkdir -p "$work/wants-9"
cat >"$work/wants-9/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(wants9 LANGUAGES CXX)
find_package(zou 9.0 REQUIRED)
EOF
if cmake -S "$work/wants-9" -B "$work/wants-9/build" -DCMAKE_PREFIX_PATH="$prefix" \
        -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF >"$log" 2>&1; then
    fail "find_package(zou 9.0) accepted the installed version"
elif ! grep -q 'version: 0\.1' "$log"; then
    fail "find_package(zou 9.0) failed, but not on the version check:"
    tail -n 20 "$log"
fi

# ---- 3. A program built with pkg-config alone, moved prefix and all, so the
# .pc file must find its prefix from where it lies.
moved="$work/moved"
mv "$prefix" "$moved"
export PKG_CONFIG_PATH="$(dirname "${pc/#$prefix/$moved}")"
cflags="$(pkg-config --cflags zou 2>"$log")" || { fail "pkg-config --cflags zou: $(cat "$log")"; exit 1; }
libs="$(pkg-config --libs zou 2>"$log")" || { fail "pkg-config --libs zou: $(cat "$log")"; exit 1; }
case " $cflags " in *" -ffp-contract=off "*) ;; *) fail "pkg-config --cflags zou lacks -ffp-contract=off: $cflags" ;; esac
case " $cflags " in *"$moved"*) ;; *) fail "pkg-config --cflags zou does not point into the moved prefix: $cflags" ;; esac
[ "$(pkg-config --modversion zou)" = "$(sed -n 's/^project(zou VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")" ] ||
    fail "pkg-config --modversion zou is $(pkg-config --modversion zou), not the project's version"

cat >"$work/consumer.cpp" <<'EOF'
// Builds a shape, saves it and reads it back; takes the framework's start-up
// function so that its GLUT, GLU and GL references must link too.
#include <cstdio>

#include "framework/zou.h"
#include "math/zoVec3f.h"
#include "shape/zoShape.h"

int main() {
    void (*volatile open)(void) = zouOpen;
    (void)open;
    zoShape s(false, false, false);
    s.addPoint(0, 0, 0);
    s.addPoint(1, 0, 0);
    s.addPoint(0, 1, 0);
    std::FILE* f = std::tmpfile();
    s.writeToFile(f);
    long size = std::ftell(f);
    std::rewind(f);
    zoShape t(true, true, true);
    t.readFromFile(f);
    zoVec3f n = (t.vertexList[1] - t.vertexList[0]).cross(t.vertexList[2] - t.vertexList[0]);
    std::printf("record %ld bytes, %d vertices, normal (%g, %g, %g)\n", size, t.listLength, n.x, n.y, n.z);
    return 0;
}
EOF
# shellcheck disable=SC2086
must "compile and link a program with \`pkg-config --cflags --libs zou\`" \
    g++ -std=c++17 -Wall -Wextra $cflags "$work/consumer.cpp" $libs -o "$work/consumer"
got="$("$work/consumer" 2>&1)"
want="record 122 bytes, 3 vertices, normal (0, 0, 1)"
[ "$got" = "$want" ] || fail "the pkg-config program printed '$got', expected '$want'"

if [ "$failures" -ne 0 ]; then
    echo "test_install_package: $failures failure(s)"
    exit 1
fi
echo "test_install_package: installed package, out-of-tree shapeview and pkg-config consumer all good"
