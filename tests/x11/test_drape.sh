#!/bin/bash
# The demo itself, under openbox (where full screen means exactly the screen):
# drape opens one window titled "zou" that covers the screen and shows a white
# wire grid on black, centred where the cloth is
# drawn (its origin at pixel (500, 350) from the bottom-left, 5 pixels a unit),
# still moving (a few columns stay free and swing after the break-up, and long
# lines reach out to knobs thrown far away); F1 toggles the window as the
# framework does; Escape ends it with status 0.
source "$(dirname "$0")/lib.sh" "$@"

DRAPE=$ZT_BUILD/drape
[ -x "$DRAPE" ] || zt_skip "$DRAPE is not built"

zt_start_x openbox
zt_start_app "$DRAPE"
zt_wait_window zou
WIN=$ZT_WIN
zt_expect_title_zou "$WIN"
zt_wait_geometry "$WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
zt_is_fullscreen "$WIN" || zt_fail "_NET_WM_STATE_FULLSCREEN is not set"
count=$(timeout 5 xdotool search --onlyvisible --name '^zou$' | wc -l)
[ "$count" = 1 ] || zt_fail "drape shows $count windows titled \"zou\", expected 1"

# Pixels of a region of a PNG that are pure white, pure black, and anything else.
counts() {
    zt_histogram "$1" "$2" | awk -F: '
        /\(255,255,255\)/ { w += $1; next }
        /\(0,0,0\)/ { b += $1; next }
        { o += $1 }
        END { printf "%d %d %d\n", w, b, o }'
}

sleep 2
zt_alive "$ZT_APP_PID" || zt_fail "drape ended by itself"
zt_screenshot "$ZT_TMP/cloth1.png"
sleep 1
zt_alive "$ZT_APP_PID" || zt_fail "drape ended by itself"
zt_screenshot "$ZT_TMP/cloth2.png"

total=$((ZT_SCREEN_W * ZT_SCREEN_H))
read -r white black other < <(counts "$ZT_TMP/cloth1.png" "${ZT_SCREEN_W}x${ZT_SCREEN_H}+0+0")
zt_log "whole screen: $white white, $black black, $other other pixels"
[ "$other" -lt $((total / 100)) ] || zt_fail "$other pixels are neither black nor white: not a white wire on black"
[ "$black" -gt $((total / 2)) ] || zt_fail "only $black black pixels: the background is not black"
[ "$white" -gt $((total / 50)) ] || zt_fail "only $white white pixels: no wire grid drawn"

# The knobs that lie on the ground form a dense grid about the cloth's origin:
# x from 330 to 680 and, from the top, y from 250 to 550 cover it. Its white is
# much denser there than at the screen's edge, where only stray lines pass.
read -r cwhite _ _ < <(counts "$ZT_TMP/cloth1.png" "350x300+330+250")
read -r ewhite _ _ < <(counts "$ZT_TMP/cloth1.png" "1024x120+0+648")
zt_log "grid region: $cwhite of $((350 * 300)) white; bottom strip: $ewhite of $((1024 * 120)) white"
[ "$cwhite" -gt $((350 * 300 / 10)) ] || zt_fail "the grid region holds only $cwhite white pixels"
[ $((cwhite * 1024 * 120)) -gt $((ewhite * 350 * 300 * 2)) ] ||
    zt_fail "the grid region is not denser in white than the bottom strip"

diff=$(compare -metric AE "$ZT_TMP/cloth1.png" "$ZT_TMP/cloth2.png" null: 2>&1 >/dev/null)
zt_log "screenshots 1 s apart differ in $diff pixels"
[ "${diff%%.*}" -gt 0 ] 2>/dev/null || zt_fail "two screenshots 1 s apart are identical ($diff): the cloth does not move"

# F1 leaves full screen for the window the framework computes (the screen less
# 70 across and 90 down, its frame at (35, 55)); a second F1 goes back.
zt_key "$WIN" F1
cw=$((ZT_SCREEN_W - 70)) ch=$((ZT_SCREEN_H - 90))
for _ in $(seq 1 100); do
    [ "$(zt_geometry "$WIN" | cut -d' ' -f3,4)" = "$cw $ch" ] && break
    sleep 0.1
done
read -r l r t b <<<"$(zt_frame_extents "$WIN")"
zt_wait_geometry "$(zt_frame "$WIN")" "35 55 $((cw + l + r)) $((ch + t + b))"
zt_wait_geometry "$WIN" "$((35 + l)) $((55 + t)) $cw $ch"
zt_is_fullscreen "$WIN" && zt_fail "_NET_WM_STATE_FULLSCREEN is still set after F1"
zt_key "$WIN" F1
zt_wait_geometry "$WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
zt_is_fullscreen "$WIN" || zt_fail "_NET_WM_STATE_FULLSCREEN is not set after the second F1"
zt_log "F1: windowed $cw x $ch with its frame at (35, 55), then full screen again"

zt_key "$WIN" Escape
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
