#!/usr/bin/env bash
# The reference of the public headers: runs the build's Doxygen configuration
# (the one the `docs` target uses) over copies of framework/, math/ and shape/.
# The real headers must give a reference without a single warning; each copy
# with one undocumented public item added must make the run fail and name it.
# Exits 77 (skipped) when the build was configured without Doxygen.
#   test_docs.sh <build dir> <source dir>
set -uo pipefail
build="$(cd "${1:?usage: test_docs.sh <build dir> <source dir>}" && pwd)"
src="$(cd "${2:?usage: test_docs.sh <build dir> <source dir>}" && pwd)"

doxyfile="$build/docs/Doxyfile"
if [ ! -f "$doxyfile" ]; then
    echo "test_docs: $doxyfile is missing: the build was configured without Doxygen (Debian package doxygen); skipped"
    exit 77
fi
doxygen="$(sed -n 's/^DOXYGEN_EXECUTABLE:[A-Z]*=//p' "$build/CMakeCache.txt")"
[ -x "$doxygen" ] || doxygen="$(command -v doxygen || true)"
if [ -z "$doxygen" ]; then
    echo "FAIL: the build has a Doxygen configuration but doxygen cannot be found"
    exit 1
fi

work="$(mktemp -d /tmp/zou-docs.XXXXXX)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# A fresh copy of the three header folders in $work/<name>/tree.
copy_tree() {
    local tree="$work/$1/tree"
    mkdir -p "$tree"
    cp -r "$src/framework" "$src/math" "$src/shape" "$tree/"
    echo "$tree"
}

# Runs the build's configuration over a tree; the output and the log go next
# to it. Returns doxygen's status.
run_docs() {
    local tree="$1" dir
    dir="$(dirname "$tree")"
    {
        cat "$doxyfile"
        echo "INPUT = $tree/framework $tree/math $tree/shape"
        echo "STRIP_FROM_PATH = $tree"
        echo "STRIP_FROM_INC_PATH = $tree"
        echo "OUTPUT_DIRECTORY = $dir/out"
    } | "$doxygen" - >"$dir/log" 2>&1
}

# ---- The real headers: no warning at all, and a page for every header.
tree="$(copy_tree real)"
if ! run_docs "$tree"; then
    fail "the real headers do not pass:"
    head -n 30 "$work/real/log"
elif [ -s "$work/real/log" ]; then
    fail "the real headers pass with output:"
    head -n 30 "$work/real/log"
fi
html="$work/real/out/html"
[ -f "$html/index.html" ] || fail "no index.html in the reference"
for h in framework/zou.h framework/zoApp.h framework/zoGeo.h math/zoVec3f.h math/zoVec4f.h \
         math/zoMatrix4f.h math/zoTransforms.h shape/zoShape.h shape/zoNiceShapes.h; do
    grep -q ">${h##*/}<" "$html/files.html" 2>/dev/null || fail "the file list lacks $h"
done
# The comments reach the pages: a class page carries its members' text.
grep -q "GL_LINE_STRIP (3) in a new shape" "$html/classzoShape.html" 2>/dev/null ||
    fail "the zoShape page lacks the comment of drawStyle"

# ---- Controls: one undocumented public item each, which must fail the run.
# Arguments: case name, the name doxygen must report, header, awk program that
# rewrites the header.
control() {
    local name="$1" item="$2" header="$3" program="$4" tree
    tree="$(copy_tree "$name")"
    awk "$program" "$src/$header" >"$tree/$header"
    if cmp -s "$src/$header" "$tree/$header"; then
        fail "$name: the control did not change $header"
        return
    fi
    if run_docs "$tree"; then
        fail "$name: an undocumented $item in $header passed"
    elif ! grep -q "$item.*is not documented" "$work/$name/log"; then
        fail "$name: the run failed without naming $item:"
        head -n 10 "$work/$name/log"
    fi
}

control free_function zouUndocumentedCall framework/zou.h \
    '{ print } END { print "void zouUndocumentedCall(void);" }'
control class_field undocumentedField shape/zoShape.h \
    '{ print } /^class zoShape / { inside = 1 } inside && /^public:/ { print "    int undocumentedField;"; inside = 0 }'
control macro ZO_UNDOCUMENTED_LIMIT math/zoTransforms.h \
    '{ print } /^#pragma once/ { print "#define ZO_UNDOCUMENTED_LIMIT 3" }'
# A second name in a documented declaration has no comment of its own.
control shared_declaration zouSecondName framework/zou.h \
    '{ sub(/^extern int zouDebugLevel;/, "extern int zouDebugLevel, zouSecondName;"); print }'
control member_function undocumentedOperation framework/zoApp.h \
    '/^    virtual void specialKeyDown/ { print; print "    virtual void undocumentedOperation();"; next } { print }'

if [ "$failures" -eq 0 ]; then
    echo "test_docs: the real headers pass without a warning; 5 controls with an undocumented item fail"
fi
[ "$failures" -eq 0 ]
