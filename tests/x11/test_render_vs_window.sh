#!/bin/bash
# One frame drawn offscreen by drape-render against the same frame drawn in a
# real full-screen window under Xvfb.
#
# The window is drapehold (tests/apps), which draws drape-stable's frames as
# the program does and stops advancing after frame 150, under openbox so that
# full screen is exactly the 1024x768 screen. drape-render draws frame 150 at
# 1024x768 without a display. Both go through the same framework frame and the
# same draw(), both rasterise with Mesa's llvmpipe, and the knobs are the same
# bits (the step reads no clock and nothing of the window), so the two pictures
# are expected to be identical: the tolerance is 0 differing pixels. What could
# legitimately differ is only how each target stores a pixel (the window's
# 24-bit visual against an RGBA8 renderbuffer); for white lines on black both
# store exactly 0 and 255.
source "$(dirname "$0")/lib.sh" "$@"

HOLD=$ZT_BUILD/tests/drapehold
RENDER=$ZT_BUILD/drape-render
COMPARE=$ZT_BUILD/tests/imgcompare
for p in "$HOLD" "$RENDER" "$COMPARE"; do
    [ -x "$p" ] || zt_fail "$p is not built"
done
FRAME=150

# The offscreen picture first, with no display in reach.
(unset DISPLAY; "$RENDER" --stable --png $FRAME --out "$ZT_TMP/offscreen" >"$ZT_TMP/render.out" 2>&1) ||
    zt_fail "drape-render failed: $(cat "$ZT_TMP/render.out")"
OFFSCREEN=$ZT_TMP/offscreen/frame-$(printf %04d $FRAME).png
[ -s "$OFFSCREEN" ] || zt_fail "drape-render wrote no $OFFSCREEN"

zt_start_x openbox
zt_start_app "$HOLD" $FRAME
zt_wait_window zou
zt_wait_geometry "$ZT_WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
zt_wait_line "held at frame $FRAME in a .* window after .*" 60
# A resize after the frame was reached draws the held frame again; wait for
# the window to be quiet and at full size.
zt_settle
zt_wait_geometry "$ZT_WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
sleep 0.5
zt_alive "$ZT_APP_PID" || zt_fail "drapehold ended by itself"
zt_screenshot "$ZT_TMP/window.png"
cp "$OFFSCREEN" "$ZT_ARTIFACTS/offscreen-frame-$FRAME.png" 2>/dev/null

if ! "$COMPARE" --diff "$ZT_ARTIFACTS/render-vs-window-diff.png" "$OFFSCREEN" "$ZT_TMP/window.png" \
    >"$ZT_TMP/compare.out" 2>&1; then
    cat "$ZT_TMP/compare.out"
    zt_fail "frame $FRAME in the window differs from the offscreen frame (see $ZT_ARTIFACTS)"
fi
cat "$ZT_TMP/compare.out"
zt_log "PASS: $(head -n 1 "$ZT_TMP/compare.out")"
