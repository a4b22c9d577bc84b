#!/bin/bash
# The demo itself: drape opens one window titled "zou" that covers the screen,
# draws into it, and ends with status 0 on Escape. Run under openbox, where
# full screen means exactly the screen (see test_fullscreen_openbox).
source "$(dirname "$0")/lib.sh" "$@"

DRAPE=$ZT_BUILD/drape
[ -x "$DRAPE" ] || zt_skip "$DRAPE is not built (the demo application is missing from this tree)"

zt_start_x openbox
zt_start_app "$DRAPE"
zt_wait_window zou
WIN=$ZT_WIN

name=$(timeout 5 xprop -id "$WIN" WM_NAME | sed -n 's/^WM_NAME([A-Z_]*) = //p')
[ "$name" = '"zou"' ] || zt_fail "window title is $name, expected \"zou\""
zt_wait_geometry "$WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
zt_is_fullscreen "$WIN" || zt_fail "_NET_WM_STATE_FULLSCREEN is not set"
count=$(timeout 5 xdotool search --onlyvisible --name '^zou$' | wc -l)
[ "$count" = 1 ] || zt_fail "drape shows $count windows titled \"zou\", expected 1"

# Frames are being drawn: the white root is hidden behind the cleared frame,
# so the screen is mostly black (whatever the cloth looks like by then).
sleep 1
zt_alive "$ZT_APP_PID" || zt_fail "drape ended by itself"
zt_screenshot "$ZT_TMP/drape.png"
black=$(zt_histogram "$ZT_TMP/drape.png" "${ZT_SCREEN_W}x${ZT_SCREEN_H}+0+0" | awk -F: '/\(0,0,0\)/ { print $1 }')
[ "${black:-0}" -gt $((ZT_SCREEN_W * ZT_SCREEN_H / 2)) ] ||
    zt_fail "only ${black:-0} black pixels on screen: drape did not clear its frame"
zt_log "screenshot: $black of $((ZT_SCREEN_W * ZT_SCREEN_H)) pixels black"

zt_key "$WIN" Escape
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
