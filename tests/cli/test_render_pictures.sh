#!/usr/bin/env bash
# drape-render without an X server: its pictures against committed references,
# controls that must fail the comparison, the GIF, the knob state, and bad
# arguments.
#   test_render_pictures.sh <build dir> <source dir>
#
# Tolerance: a picture matches its reference when at most 0.5% of its pixels
# differ (imgcompare --max-share 0.5). On the same Mesa the pictures are
# identical; the margin lets another Mesa rasterise a few line ends
# differently. Consecutive frames of the falling cloth differ in about 1.7% of
# the pixels at 320x240 and a shift by one pixel in about 4%, so a wrong frame
# or a misplaced camera does not pass.
set -uo pipefail
build="$(cd "${1:?usage: test_render_pictures.sh <build dir> <source dir>}" && pwd)"
src="$(cd "${2:?usage: test_render_pictures.sh <build dir> <source dir>}" && pwd)"
render="$build/drape-render"
compare="$build/tests/imgcompare"
run="$build/drape_run"
ref="$src/tests/data/render"
tolerance=0.5

work="$(mktemp -d /tmp/zou-render.XXXXXX)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
for p in "$render" "$compare"; do
    [ -x "$p" ] || { echo "FAIL: $p is not built"; exit 1; }
done
command -v convert >/dev/null || { echo "FAIL: ImageMagick's convert is not installed"; exit 1; }
# No X server, whatever the caller's environment has.
unset DISPLAY WAYLAND_DISPLAY

# Runs drape-render; on failure shows what it said and stops the test.
render_ok() {
    if ! "$render" "$@" >"$work/out" 2>"$work/err"; then
        echo "FAIL: drape-render $* ended with status $?"
        cat "$work/out" "$work/err"
        exit 1
    fi
    cat "$work/out"
}

# Expects a match (0) or a mismatch (1) from imgcompare.
expect_compare() {
    local want=$1 expected=$2 actual=$3 status
    "$compare" --max-share "$tolerance" --diff "$work/diff.png" "$expected" "$actual" >"$work/cmp" 2>&1
    status=$?
    cat "$work/cmp"
    if [ "$status" != "$want" ]; then
        case $want in
            0) fail "$actual does not match $expected" ;;
            1) fail "the control $actual passed the comparison with $expected (status $status)" ;;
        esac
    fi
}

echo "== drape, frames 1, 38 and 39 at 320x240"
render_ok --png 1,38,39 --state 38 --size 320x240 --out "$work/drape"
grep -qx "drape-render: wrote $work/drape/frame-0038.png (drape frame 38, 320x240)" "$work/out" ||
    fail "drape-render does not say where it wrote frame 38"
expect_compare 0 "$ref/drape-0001-320x240.png" "$work/drape/frame-0001.png"
expect_compare 0 "$ref/drape-0038-320x240.png" "$work/drape/frame-0038.png"

echo "== drape-stable, frame 400 at 320x240, and a GIF of frames 390 to 400"
render_ok --stable --png 400 --gif 390:400:5 --delay 7 --size 320x240 --out "$work/stable"
expect_compare 0 "$ref/drape-stable-0400-320x240.png" "$work/stable/frame-0400.png"

echo "== without --ground and --shaded the pictures are today's, pixel for pixel"
"$compare" "$ref/drape-0038-320x240.png" "$work/drape/frame-0038.png" >"$work/cmp" 2>&1 ||
    fail "drape frame 38 is no longer exactly its reference: $(head -n 1 "$work/cmp")"

echo "== the ground and the shaded cloth, for either cloth"
render_ok --stable --ground --shaded --png 400 --size 320x240 --out "$work/stable-view"
expect_compare 0 "$ref/drape-stable-ground-shaded-0400-320x240.png" "$work/stable-view/frame-0400.png"
render_ok --ground --shaded --png 60,61 --size 320x240 --out "$work/drape-view"
expect_compare 0 "$ref/drape-ground-shaded-0060-320x240.png" "$work/drape-view/frame-0060.png"
# Controls: the ground's colours turned by 7 degrees of hue; the next frame;
# the same frame with the wire grid and no ground.
convert "$ref/drape-stable-ground-shaded-0400-320x240.png" -modulate 100,100,96 "$work/hue.png"
expect_compare 1 "$ref/drape-stable-ground-shaded-0400-320x240.png" "$work/hue.png"
expect_compare 1 "$ref/drape-ground-shaded-0060-320x240.png" "$work/drape-view/frame-0061.png"
expect_compare 1 "$ref/drape-stable-ground-shaded-0400-320x240.png" "$work/stable/frame-0400.png"
render_ok --stable --ground --png 400 --size 320x240 --out "$work/stable-ground"
expect_compare 1 "$ref/drape-stable-ground-shaded-0400-320x240.png" "$work/stable-ground/frame-0400.png"

echo "== controls that must fail"
# The reference moved by one pixel, as a misplaced camera would move it.
convert "$ref/drape-0038-320x240.png" -roll +1+0 "$work/shifted.png"
expect_compare 1 "$ref/drape-0038-320x240.png" "$work/shifted.png"
# The next frame in place of frame 38.
expect_compare 1 "$ref/drape-0038-320x240.png" "$work/drape/frame-0039.png"
# Noise on a quarter of the picture.
convert "$ref/drape-stable-0400-320x240.png" -region 160x120+0+0 -evaluate add 40% +region "$work/noisy.png"
expect_compare 1 "$ref/drape-stable-0400-320x240.png" "$work/noisy.png"
# A picture of another size.
convert "$ref/drape-0001-320x240.png" -crop 319x240+0+0 +repage "$work/cropped.png"
expect_compare 1 "$ref/drape-0001-320x240.png" "$work/cropped.png"

echo "== the GIF"
gif="$work/stable/drape-stable.gif"
[ -s "$gif" ] || fail "no GIF at $gif"
frames=$(identify "$gif" 2>/dev/null | wc -l)
[ "$frames" = 3 ] || fail "the GIF has $frames pictures, expected 3 (frames 390, 395, 400)"
delay=$(identify -format '%T\n' "$gif" 2>/dev/null | sort -u)
[ "$delay" = 7 ] || fail "the GIF's delay is '$delay', expected 7 hundredths"
# Its last picture, put together from the changed rectangles, is frame 400:
# black and white survive the palette exactly.
convert "$gif" -coalesce "$work/gif-%d.png"
"$compare" "$work/stable/frame-0400.png" "$work/gif-2.png" || fail "the GIF's last picture is not frame 400"

echo "== the knob state"
if [ -x "$run" ]; then
    "$run" dump 38 >"$work/run-38.txt"
    cmp -s "$work/run-38.txt" "$work/drape/state-0038.txt" ||
        fail "the knobs after frame 38 of the offscreen program differ from drape_run dump 38"
else
    fail "$run is not built"
fi
[ "$(wc -l <"$work/drape/state-0038.txt")" = 3601 ] || fail "the state file does not hold 3600 knobs"

echo "== bad arguments"
bad() {
    local want=$1
    shift
    mkdir -p "$work/bad"
    "$render" "$@" --out "$work/bad" >"$work/out" 2>"$work/err"
    local status=$?
    [ "$status" = 2 ] || fail "drape-render $* ended with status $status, expected 2"
    grep -qF "$want" "$work/err" || fail "drape-render $* said '$(cat "$work/err")', expected '$want'"
    [ -z "$(ls -A "$work/bad")" ] || fail "drape-render $* wrote files: $(ls "$work/bad")"
}
bad "drape-render: --png needs frame numbers from 1, separated by commas, not '0'" --png 0
bad "drape-render: --size needs WIDTHxHEIGHT, each from 1 to 8192, not '320x'" --size 320x
bad "drape-render: --gif needs FIRST:LAST or FIRST:LAST:STEP" --gif 9:3
bad "drape-render: frame 50 is asked for but only 10 frames are run (--frames)" --png 50 --frames 10
bad "drape-render: unknown option --colour (see drape-render --help)" --colour red
"$render" --help | grep -q '^usage: drape-render' || fail "drape-render --help failed or printed no usage"
bad "drape-render: --ground takes no value" --ground=yes
bad "drape-render: --shaded takes no value" --shaded=1
"$render" --out /proc/no-such-place --frames 1 >/dev/null 2>"$work/err"
status=$?
[ "$status" = 1 ] || fail "an unwritable --out ended with status $status, expected 1"
grep -q "^drape-render: cannot make the directory /proc/no-such-place" "$work/err" ||
    fail "an unwritable --out said '$(cat "$work/err")'"

echo "== progress as plain lines when not on a terminal"
render_ok --frames 100 --size 64x48 --out "$work/plain" >/dev/null
[ "$(grep -c '^drape-render: frame [0-9]* of 100$' "$work/err")" = 10 ] ||
    fail "expected ten progress lines on a pipe, got: $(cat "$work/err")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "PASS"
