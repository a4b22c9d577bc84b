#!/bin/bash
# Full screen and the F1 toggle under a window manager that honours the EWMH
# full-screen state (openbox), where the window gets exactly the geometry the
# program asks for, so the checks tell a right program from a wrong one.
#
# What openbox does: the full-screen window is the client at (0, 0), the size of
# the screen, undecorated (_NET_FRAME_EXTENTS 0 0 0 0). A windowed client is
# wrapped in a frame with a border and a title bar (Debian's default theme:
# left 1, right 1, top 20, bottom 5); glutPositionWindow(35, 55) places the
# frame's top-left corner at (35, 55), so the client itself sits at
# (35 + left, 55 + top) with the size asked for. freeglut passes through
# 300 x 300 (the size before full screen) on the way out of full screen; the
# last reshape carries the size asked for.
source "$(dirname "$0")/lib.sh" "$@"

zt_start_x openbox
zt_start_app "$ZT_BUILD/tests/eventapp"
zt_wait_window zou
WIN=$ZT_WIN
zt_wait_line "draw $ZT_SCREEN_W $ZT_SCREEN_H"

full="0 0 $ZT_SCREEN_W $ZT_SCREEN_H"

# Full screen: the client covers the screen exactly and carries the EWMH state.
expect_full_screen() {
    zt_wait_geometry "$WIN" "$full"
    zt_is_fullscreen "$WIN" || zt_fail "_NET_WM_STATE_FULLSCREEN is not set in full-screen mode"
}

# Windowed: the frame's corner where the program put the window, the client
# inside it by the frame's extents, with the size the program asked for.
expect_windowed() {
    local fx=$1 fy=$2 cw=$3 ch=$4 l r t b
    zt_wait_line "resize 0 0 $cw $ch"
    read -r l r t b <<<"$(zt_frame_extents "$WIN")"
    [ "$t" -gt 0 ] || zt_fail "openbox gave the windowed client no title bar (extents $l $r $t $b)"
    zt_wait_geometry "$WIN" "$((fx + l)) $((fy + t)) $cw $ch"
    zt_wait_geometry "$(zt_frame "$WIN")" "$fx $fy $((cw + l + r)) $((ch + t + b))"
    zt_is_fullscreen "$WIN" && zt_fail "_NET_WM_STATE_FULLSCREEN is still set in windowed mode"
    zt_log "windowed: frame at ($fx, $fy), client $cw x $ch at ($((fx + l)), $((fy + t))), extents $l $r $t $b"
}

press_f1() {
    zt_settle
    zt_mark
    zt_key "$WIN" F1
    zt_wait_line "specialKeyDown 1"
}

zt_expect_title_zou "$WIN"
expect_full_screen
zt_log "full screen: client $(zt_geometry "$WIN")"

# The cleared frame fills the whole (white-rooted) screen with black.
zt_screenshot "$ZT_TMP/openbox.png"
hist=$(zt_histogram "$ZT_TMP/openbox.png" "${ZT_SCREEN_W}x${ZT_SCREEN_H}+0+0")
[ "$(echo "$hist" | wc -l)" = 1 ] && echo "$hist" | grep -q '(0,0,0)' || zt_fail "the screen is not uniformly black: $hist"

# First F1: the full-screen size less 70 across and 90 down, at (35, 55).
press_f1
expect_windowed 35 55 $((ZT_SCREEN_W - 70)) $((ZT_SCREEN_H - 90))

# Mouse rows now count from the bottom of the 678-row window.
zt_settle
timeout 5 xdotool mousemove --window "$WIN" 10 20 || zt_fail "cannot move the pointer"
zt_settle
zt_mark
timeout 5 xdotool click 1 || zt_fail "cannot click"
zt_wait_line "mouseUp 10 657 0"
got=$(zt_lines_since | tr '\n' '|')
[ "$got" = "mouseDown 10 657 0|mouseUp 10 657 0|" ] || zt_fail "a left click in the window gave '$got'"

# Second F1: back to full screen; third F1: the same windowed geometry again.
press_f1
expect_full_screen
zt_wait_line "resize 0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
press_f1
expect_windowed 35 55 $((ZT_SCREEN_W - 70)) $((ZT_SCREEN_H - 90))

# The margins apply only once: after the user moves and resizes the window, a
# round trip through full screen restores the new place and size.
zt_settle
zt_mark
timeout 5 xdotool windowmove "$WIN" 200 150 windowsize "$WIN" 600 400 || zt_fail "cannot move the window"
expect_windowed 200 150 600 400
press_f1
expect_full_screen
press_f1
expect_windowed 200 150 600 400

# Escape ends the process with status 0.
zt_settle
zt_key "$WIN" Escape
zt_wait_exit 10
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
