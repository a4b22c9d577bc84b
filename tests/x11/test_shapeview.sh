#!/bin/bash
# The shape viewer example, built out of tree against the installed package
# (tests/cli/test_install_package.sh leaves it in <build dir>/examples-out),
# full screen under openbox with its rotation stopped: clicks pick the shape
# under the pointer, the picked shape shows in the highlight colour, drags
# select, and the shapes survive a save and a load while a bad file (one cut
# in its first record, one cut in its second) changes nothing on screen.
source "$(dirname "$0")/lib.sh" "$@"

BIN=$ZT_BUILD/examples-out/shapeview/shapeview
if [ ! -x "$BIN" ]; then
    zt_log "building shapeview against the installed package first"
    bash "$ZT_SRC/tests/cli/test_install_package.sh" "$ZT_BUILD" "$ZT_SRC" >"$ZT_TMP/install.log" 2>&1 ||
        zt_fail "could not build shapeview: $(tail -n 20 "$ZT_TMP/install.log")"
fi
FILE=$ZT_TMP/shapes.zos

zt_start_x openbox
zt_start_app "$BIN" --still "$FILE"
zt_wait_window zou
WIN=$ZT_WIN
zt_wait_geometry "$WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
read -r WX WY W H <<<"$(zt_geometry "$WIN")"
zt_wait_line "shapeview: click picks, drag selects, s saves to $FILE, l loads it, m shrinks and turns the shapes, i lists them, space stops or starts the rotation, Esc quits"

# ---- Where the shapes stand. Shape i sits in the middle of the i-th quarter
# of the window, half way up; positions are in the framework's coordinates
# (window pixels from the bottom-left), and GLUT's y runs from the top.
slot() { echo $(((2 * $1 + 1) * W / 8)); }
MID=$((H / 2))
WAVE="$(slot 0) $MID"                 # the centre of the bent grid
FAN="$(($(slot 1) + 15)) $((MID + 10))" # inside the star's core (radius 44)
LOOP="$(slot 2) $((MID + 65))"        # on the hexagon's top edge (75 sin 60 = 64.95)
POINTS="$(($(slot 3) + 70)) $MID"     # the ring's first point: 20 + 50 to the right
EMPTY="$((W / 2)) $((H - 68))"

# Moves the pointer to framework position (x, y) in the window.
point_at() { timeout 5 xdotool mousemove --window "$WIN" "$1" $((H - 1 - $2)) || zt_fail "cannot move the pointer"; }
click_at() {
    point_at "$1" "$2"
    timeout 5 xdotool click 1 || zt_fail "cannot click"
}
drag_from_to() {
    point_at "$1" "$2"
    timeout 5 xdotool mousedown 1 || zt_fail "cannot press"
    point_at $((($1 + $3) / 2)) $((($2 + $4) / 2))
    point_at "$3" "$4"
    timeout 5 xdotool mouseup 1 || zt_fail "cannot release"
}
expect_pick() {
    local where=$1 name=$2
    zt_mark
    # shellcheck disable=SC2086
    click_at $where
    zt_wait_line "picked: .*"
    [ "$(zt_lines_since)" = "picked: $name" ] ||
        zt_fail "a click at ($where) gave '$(zt_lines_since | tr '\n' '|')', expected 'picked: $name'"
    zt_log "click at ($where): picked $name"
}
expect_select() {
    local name=$1
    shift
    zt_mark
    drag_from_to "$@"
    zt_wait_line "selected: .*"
    [ "$(zt_lines_since)" = "selected: $name" ] ||
        zt_fail "a drag over ($*) gave '$(zt_lines_since | tr '\n' '|')', expected 'selected: $name'"
    zt_log "drag over ($*): selected $name"
}
# Presses a key with the pointer left where it is (over the window, which
# openbox has focused).
press() { timeout 5 xdotool key "$1" || zt_fail "cannot press $1"; }
listing() {
    zt_mark
    press i
    zt_wait_line "points: .*"
    zt_lines_since
}

# ---- Pixels. Quarter i of the window holds shape i and nothing else.
shot() { zt_screenshot "$ZT_TMP/$1.png"; }
quarter() { echo "$((W / 4))x$H+$((WX + $1 * W / 4))+$WY"; }
# Number of pixels in the highlight colour (pure yellow) in a region of a shot.
yellow() {
    zt_histogram "$ZT_TMP/$1.png" "$2" | awk -F: '/\(255,255,0\)/ { n += $1 } END { print n + 0 }'
}
region_sum() { timeout 20 convert "$ZT_TMP/$1.png" -crop "$2" +repage rgb:- | md5sum; }
# Waits up to 10 s until the region differs from what it was in shot $1.
wait_change() {
    local geom=$2 i was
    was=$(region_sum "$1" "$geom")
    for i in $(seq 1 40); do
        shot now
        [ "$(region_sum now "$geom")" != "$was" ] && return 0
        sleep 0.25
    done
    zt_fail "the picture in $geom did not change within 10 s"
}

# Wait for a frame at full size: the star's core takes a colour that is
# neither the root's white nor the background in the window's corner.
colour_at() { zt_histogram "$ZT_TMP/$1.png" "1x1+$((WX + $2))+$((WY + H - 1 - $3))" | grep -o '([0-9,]*)' | head -n 1; }
for i in $(seq 1 40); do
    shot start
    core=$(colour_at start "$(slot 1)" "$MID")
    bg=$(colour_at start 5 5)
    [ -n "$core" ] && [ "$core" != "$bg" ] && [ "$core" != "(255,255,255)" ] && break
    sleep 0.25
done
[ -n "$core" ] && [ "$core" != "$bg" ] || zt_fail "no frame with the shapes within 10 s"
for q in 0 1 2 3; do
    n=$(yellow start "$(quarter $q)")
    [ "$n" = 0 ] || zt_fail "$n highlight pixels in quarter $q before anything is picked"
done

# ---- Picking.
expect_pick "$WAVE" wave
expect_pick "$FAN" fan
expect_pick "$POINTS" points
expect_pick "$EMPTY" nothing
expect_pick "$LOOP" loop

# The picked hexagon is drawn in the highlight colour, and nothing else is.
shot nothing-picked
for i in $(seq 1 40); do
    shot loop-picked
    [ "$(yellow loop-picked "$(quarter 2)")" -gt 300 ] && break
    sleep 0.25
done
n=$(yellow loop-picked "$(quarter 2)")
[ "$n" -gt 300 ] || zt_fail "only $n highlight pixels where the picked hexagon is"
# On its top edge, where the click was.
edge=$(yellow loop-picked "40x5+$((WX + $(slot 2) - 20))+$((WY + H - 1 - MID - 65 - 2))")
[ "$edge" -ge 40 ] || zt_fail "only $edge highlight pixels on the hexagon's top edge"
for q in 0 1 3; do
    m=$(yellow loop-picked "$(quarter $q)")
    [ "$m" = 0 ] || zt_fail "$m highlight pixels in quarter $q, where nothing is picked"
done
zt_log "screenshot: $n highlight pixels on the picked hexagon ($edge on its top edge), none elsewhere"

# ---- Selecting with a drag: every vertex must be inside.
expect_select fan $(($(slot 1) - 94)) $((MID - 94)) $(($(slot 1) + 96)) $((MID + 96))
expect_select "loop, points" $((W - 4)) $((MID + 106)) $(($(slot 2) - 100)) $((MID - 104))
expect_select nothing $(($(slot 1) - 84)) $((MID - 84)) $(($(slot 1) + 16)) $((MID + 16))

# ---- Save, change, load.
before=$(listing)
zt_mark
press s
zt_wait_line "saved 4 shapes to $FILE"
[ -s "$FILE" ] || zt_fail "no file at $FILE after saving"
shot saved
zt_mark
press m
zt_wait_line "shrank and turned the shapes"
[ "$(listing)" != "$before" ] || zt_fail "m changed nothing in the listing"
wait_change saved "$(quarter 2)"
shot moved
expect_pick "$LOOP" nothing
zt_mark
press l
zt_wait_line "loaded 4 shapes from $FILE"
after=$(listing)
[ "$after" = "$before" ] || zt_fail "after the load the shapes are
$after
but were saved as
$before"
wait_change moved "$(quarter 2)"
expect_pick "$LOOP" loop
zt_log "save, change and load give back every shape"

# ---- A cut file is reported and changes nothing on screen.
cp "$FILE" "$ZT_TMP/good.zos"
head -c 1000 "$ZT_TMP/good.zos" >"$FILE"
sleep 0.5
shot before-bad
zt_mark
press l
zt_wait_line "load failed: $FILE: shape 1 of 4 is damaged or cut short; nothing changed"
[ "$(listing)" = "$before" ] || zt_fail "a refused load changed the shapes"
sleep 0.5  # several frames at the program's continuous redisplay
shot after-bad
[ "$(region_sum before-bad "${W}x$H+$WX+$WY")" = "$(region_sum after-bad "${W}x$H+$WX+$WY")" ] ||
    zt_fail "the picture changed after a refused load"
cp "$ZT_TMP/good.zos" "$FILE"
zt_mark
press l
zt_wait_line "loaded 4 shapes from $FILE"
zt_log "a cut file is refused with the picture unchanged; the good one loads again"

# ---- A file cut inside its second record: the first record is sound, yet the
# load takes nothing, not even the first shape. The shapes on screen are
# shrunk first, so that a first shape taken from the file would show.
# Where the second record starts, from the first one's head: 86 bytes, then
# the vertices and the arrays its flags (bytes 78, 83..85) say are there.
u32() { od -An -tu4 --endian=little -j "$2" -N4 "$1" | tr -d ' '; }
u8() { od -An -tu1 -j "$2" -N1 "$1" | tr -d ' '; }
good=$ZT_TMP/good.zos
n=$(u32 "$good" 74)
second=$((86 + 12 * n * (1 + $(u8 "$good" 83)) + 16 * n * $(u8 "$good" 84) + 12 * n * $(u8 "$good" 85) +
    4 * $(u32 "$good" 79) * $(u8 "$good" 78)))
[ "$(u32 "$good" "$second")" = 6 ] || zt_fail "no triangle fan record at byte $second of the saved file"
zt_mark
press m
zt_wait_line "shrank and turned the shapes"
shrunk=$(listing)
head -c $((second + 300)) "$good" >"$FILE"
sleep 0.5
shot before-cut-second
zt_mark
press l
zt_wait_line "load failed: $FILE: shape 2 of 4 is damaged or cut short; nothing changed"
[ "$(listing)" = "$shrunk" ] || zt_fail "a file cut inside its second record changed the shapes"
sleep 0.5
shot after-cut-second
[ "$(region_sum before-cut-second "${W}x$H+$WX+$WY")" = "$(region_sum after-cut-second "${W}x$H+$WX+$WY")" ] ||
    zt_fail "the picture changed after a file cut inside its second record"
cp "$good" "$FILE"
zt_mark
press l
zt_wait_line "loaded 4 shapes from $FILE"
[ "$(listing)" = "$before" ] || zt_fail "the good file did not bring every shape back after the refused one"
zt_log "a file cut inside its second record (at byte $((second + 300))) changes nothing; the good one loads all four"

# ---- Space starts the rotation: every quarter keeps changing, frame after frame.
shot turning
zt_mark
press space
zt_wait_line "rotation running"
for q in 0 1 2 3; do wait_change turning "$(quarter $q)"; done
zt_log "space starts the rotation of every shape"

# ---- Escape, inherited from the framework, ends the program with status 0.
press Escape
zt_wait_exit 10
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
