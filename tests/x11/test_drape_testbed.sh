#!/bin/bash
# drape-stable as a testbed in a real window, under openbox: the full view
# shows the ground's colours and the white cloth; space stops the picture and n
# changes it; r restarts the fall; a knob dragged from the cloth's screen
# position moves the cloth (against a control that steps the same frames
# without the drag, which is itself repeatable); a burst of random drags and
# keys leaves the program running, and Escape ends it with status 0.
source "$(dirname "$0")/lib.sh" "$@"

PROG=$ZT_BUILD/drape-stable
COMPARE=$ZT_BUILD/tests/imgcompare
[ -x "$PROG" ] || zt_fail "$PROG is not built"
[ -x "$COMPARE" ] || zt_fail "$COMPARE is not built"

zt_open_fullscreen "$PROG"
zt_wait_line 'drape-stable keys:'
zt_wait_line '  Escape       quit'

# Keys go to the focused window without moving the pointer (which may be
# holding a knob); the first click of openbox's full-screen window focuses it.
key() { timeout 5 xdotool key "$@" || zt_fail "cannot press $*"; }
same() { "$COMPARE" "$1" "$2" >"$ZT_TMP/cmp" 2>&1; }
timeout 5 xdotool mousemove 5 5 click 3 || zt_fail "cannot click"
zt_wait_line 'drape-stable: only the left button grabs the cloth'

# ---- The full view: ground colours and the white wire
sleep 1
zt_screenshot "$ZT_TMP/view.png"
read -r white blue warm < <(zt_histogram "$ZT_TMP/view.png" "${ZT_SCREEN_W}x${ZT_SCREEN_H}+0+0" | awk -F'[:(),]' '
    { n = $1; r = $3; g = $4; b = $5 }
    r == 255 && g == 255 && b == 255 { w += n; next }
    b > r + 20 && b > 30 { blue += n; next }    # the floor
    r > b + 30 && r > 60 { warm += n }          # the slope, the blocks, the plateau
    END { printf "%d %d %d\n", w, blue, warm }')
zt_log "white $white, floor-blue $blue, warm ground $warm pixels"
[ "$white" -gt 10000 ] || zt_fail "only $white white pixels: the cloth's wire grid is not drawn"
[ "$blue" -gt 30000 ] || zt_fail "only $blue bluish pixels: the floor is not drawn"
[ "$warm" -gt 30000 ] || zt_fail "only $warm warm pixels: the slope and blocks are not drawn"

# ---- space stops the picture, n changes it
key space
zt_wait_line 'drape-stable: paused at frame [0-9]+'
sleep 0.5
zt_screenshot "$ZT_TMP/paused1.png"
sleep 1
zt_screenshot "$ZT_TMP/paused2.png"
same "$ZT_TMP/paused1.png" "$ZT_TMP/paused2.png" ||
    zt_fail "while paused the picture changed: $(head -n 1 "$ZT_TMP/cmp")"
key n
sleep 0.5
zt_screenshot "$ZT_TMP/stepped.png"
same "$ZT_TMP/paused2.png" "$ZT_TMP/stepped.png" && zt_fail "n did not change the picture"

# ---- r restarts the fall: frame 0, and counting up again from there
zt_mark
key r
zt_wait_line 'drape-stable: the cloth is back at frame 0'
key space
zt_wait_line 'drape-stable: running from frame 0'
sleep 1
key space
zt_wait_line 'drape-stable: paused at frame [0-9]+'
zt_screenshot "$ZT_TMP/restarted.png"
same "$ZT_TMP/stepped.png" "$ZT_TMP/restarted.png" && zt_fail "r and a second of running left the picture as it was"

# ---- A drag from the cloth moves it. Paused at frame 0 the cloth lies flat at
# height 30; the knob at (0, 0, 30) is where the camera of a 1024 x 768 window
# shows it (the cloth's transform, then the frame's perspective, 60 degrees).
read -r kx ky < <(awk -v W=$ZT_SCREEN_W -v H=$ZT_SCREEN_H 'BEGIN {
    pi = atan2(0, -1); c = cos(35 * pi / 180); s = sin(35 * pi / 180)
    d = (H / 2) / (sin(pi / 6) / cos(pi / 6))
    wx = 500; wy = 350 + 5 * 30 * s; wz = 5 * 30 * c
    f = d / (d - wz)
    printf "%d %d\n", W / 2 + (wx - W / 2) * f + 0.5, H - 1 - (H / 2 + (wy - H / 2) * f) + 0.5 }')
ten_steps() { for i in $(seq 1 10); do key n; done; sleep 0.5; }
controls() {
    zt_mark
    key r
    zt_wait_line 'drape-stable: the cloth is back at frame 0'
    ten_steps
    zt_screenshot "$1"
}
controls "$ZT_TMP/control1.png"
zt_mark
key r
zt_wait_line 'drape-stable: the cloth is back at frame 0'
timeout 5 xdotool mousemove "$kx" "$ky" mousedown 1 || zt_fail "cannot press the button"
zt_wait_line 'drape-stable: holding knob [0-9]+'
timeout 5 xdotool mousemove $((kx + 60)) $((ky - 120)) || zt_fail "cannot drag"
ten_steps
timeout 5 xdotool mouseup 1 || zt_fail "cannot release the button"
zt_wait_line 'drape-stable: let go of knob [0-9]+'
zt_screenshot "$ZT_TMP/dragged.png"
controls "$ZT_TMP/control2.png"
same "$ZT_TMP/control1.png" "$ZT_TMP/control2.png" ||
    zt_fail "ten frames from a reset gave two different pictures: $(head -n 1 "$ZT_TMP/cmp")"
same "$ZT_TMP/control1.png" "$ZT_TMP/dragged.png" && zt_fail "the drag did not move the cloth"
zt_log "the drag from ($kx, $ky) moved the cloth: $(head -n 1 "$ZT_TMP/cmp")"

# ---- A burst of random drags and keys, running
key space
RANDOM=13
for i in $(seq 1 150); do
    x=$((RANDOM % (ZT_SCREEN_W + 200) - 100)) y=$((RANDOM % (ZT_SCREEN_H + 200) - 100))
    case $((RANDOM % 8)) in
        0) timeout 5 xdotool mousemove "$kx" "$ky" mousedown 1 ;;
        1) timeout 5 xdotool mousedown 1 ;;
        2) timeout 5 xdotool mouseup 1 ;;
        3) timeout 5 xdotool key "$(echo w g n r s h space x | cut -d' ' -f$((RANDOM % 8 + 1)))" ;;
        *) timeout 5 xdotool mousemove -- "$x" "$y" ;;
    esac
    zt_alive "$ZT_APP_PID" || zt_fail "drape-stable ended during the random input (step $i)"
done
timeout 5 xdotool mouseup 1
sleep 1
zt_alive "$ZT_APP_PID" || zt_fail "drape-stable ended after the random input"
zt_mark
key h
zt_wait_line 'drape-stable keys:'

key Escape
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
grep -qiE 'nan|inf' "$ZT_APP_ERR" && zt_fail "the program reported: $(head -n 3 "$ZT_APP_ERR")"
zt_log "PASS"
