#!/bin/bash
# drape-stable in a real window: the same window and keys as drape (one
# full-screen window titled "zou", F1 to a window, Escape ends it with status
# 0), a cloth that moves at first and then comes to rest on screen: two
# screenshots a second apart become identical and stay so.
source "$(dirname "$0")/lib.sh" "$@"

PROG=$ZT_BUILD/drape-stable
COMPARE=$ZT_BUILD/tests/imgcompare
[ -x "$PROG" ] || zt_fail "$PROG is not built"
[ -x "$COMPARE" ] || zt_fail "$COMPARE is not built"

zt_open_fullscreen "$PROG"
zt_is_fullscreen "$WIN" || zt_fail "_NET_WM_STATE_FULLSCREEN is not set"
# The status line counts the frames and would change every picture: off.
zt_key "$WIN" s

# Early on the cloth is falling; within 30 s two screenshots a second apart
# are the same picture, and a third one a second later too.
zt_screenshot "$ZT_TMP/early.png"
prev=$ZT_TMP/early.png
still=0
for i in $(seq 1 30); do
    sleep 1
    zt_alive "$ZT_APP_PID" || zt_fail "drape-stable ended by itself"
    zt_screenshot "$ZT_TMP/shot-$i.png"
    if "$COMPARE" "$prev" "$ZT_TMP/shot-$i.png" >"$ZT_TMP/cmp" 2>&1; then
        still=$((still + 1))
        [ $still -ge 2 ] && break
    else
        still=0
    fi
    prev=$ZT_TMP/shot-$i.png
done
[ $still -ge 2 ] || zt_fail "the cloth did not come to rest on screen within 30 s: $(head -n 1 "$ZT_TMP/cmp")"
"$COMPARE" "$ZT_TMP/early.png" "$prev" >"$ZT_TMP/cmp" 2>&1 &&
    zt_fail "the first screenshot already shows the cloth at rest: nothing was seen moving"
white=$(zt_histogram "$prev" "${ZT_SCREEN_W}x${ZT_SCREEN_H}+0+0" | awk -F: '/\(255,255,255\)/ { print $1 }')
[ "${white:-0}" -gt 10000 ] || zt_fail "only ${white:-0} white pixels: the resting cloth is not drawn"
zt_log "at rest after about $i s, $white white pixels"

# F1: a window the full-screen size less 70 across and 90 down.
zt_key "$WIN" F1
want="$((ZT_SCREEN_W - 70)) $((ZT_SCREEN_H - 90))"
for i in $(seq 1 100); do
    [ "$(zt_geometry "$WIN" | cut -d' ' -f3,4)" = "$want" ] && break
    sleep 0.1
done
[ "$(zt_geometry "$WIN" | cut -d' ' -f3,4)" = "$want" ] ||
    zt_fail "after F1 the window is $(zt_geometry "$WIN"), expected the size $want"
zt_is_fullscreen "$WIN" && zt_fail "_NET_WM_STATE_FULLSCREEN is still set after F1"

zt_key "$WIN" Escape
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
