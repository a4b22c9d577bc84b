#!/bin/bash
# Window sizes without area set through the parameter store: the store keeps
# the values as given, GLUT is asked for 1 x 1, and the program lives on. (Handed
# to freeglut unchanged, 0 x 0 ends the process with the X error BadValue from
# X_ConfigureWindow, and -5 x -5 becomes a 65531 x 65531 window on which Mesa's
# buffer swap crashes.) Under openbox, which gives the window the size asked for.
source "$(dirname "$0")/lib.sh" "$@"

zt_start_x openbox
zt_start_app "$ZT_BUILD/tests/eventapp"
zt_wait_window zou
WIN=$ZT_WIN
zt_wait_line "draw $ZT_SCREEN_W $ZT_SCREEN_H"

# eventapp sets 0 x 0 on 'z' and -5 x -5 on 'n'.
for key in z n; do
    [ "$key" = z ] && size="0 0" || size="-5 -5"
    zt_settle
    zt_mark
    timeout 5 xdotool key "$key" || zt_fail "cannot press $key"
    zt_wait_line "stored $size"
    read -r _ _ w h <<<"$(zt_geometry "$WIN")"
    for i in $(seq 1 50); do
        [ "$w $h" = "1 1" ] && break
        sleep 0.1
        read -r _ _ w h <<<"$(zt_geometry "$WIN")"
    done
    [ "$w $h" = "1 1" ] || zt_fail "after a size of $size the window is $w x $h, expected 1 x 1"
    sleep 0.5  # frames keep being drawn at that size
    zt_alive "$ZT_APP_PID" || { wait "$ZT_APP_PID"; zt_fail "the program died (status $?) after a size of $size"; }
    grep -q 'X Error' "$ZT_APP_ERR" && zt_fail "an X error followed a size of $size"
    zt_log "size $size: stored as given, window 1 x 1, program alive"
done

timeout 5 xdotool key Escape || zt_fail "cannot press Escape"
zt_wait_exit 10
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
