#!/bin/bash
# The web layer's GLUT shapes and stroke fonts (platform/web/glutShapes.cpp,
# glutStroke.cpp) against freeglut's, drawn by Mesa in feedback mode:
# web_shapes_check compares the primitives of every solid and wire shape
# (vertices in order, lit colours, texture coordinates), web_stroke_check the
# line segments of every character of both stroke fonts. Each has perturbed
# controls that must be told apart.
source "$(dirname "$0")/lib.sh" "$@"

zt_start_x
for check in web_shapes_check web_stroke_check; do
    program=$ZT_BUILD/tests/$check
    [ -x "$program" ] || zt_skip "$program is not built"
    "$program" >"$ZT_TMP/$check.log" 2>&1
    status=$?
    cat "$ZT_TMP/$check.log"
    [ "$status" = 0 ] || zt_fail "$check ended with status $status"
    grep -q "check: [0-9]* passed, 0 failed" "$ZT_TMP/$check.log" || zt_fail "$check gave no closing count"
done
zt_log "PASS"
