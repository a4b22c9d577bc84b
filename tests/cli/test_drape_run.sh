#!/bin/bash
# drape_run: the cloth without a window. For both cloths, two runs print the
# same state hashes, and those are the recorded ones (so this build agrees with
# every other); the dump of frame 38 shows the first 60 frozen knobs; --help
# succeeds; bad arguments are refused with a message and a non-zero status.
set -u
BUILD=${1:?usage: $0 <build dir> <source dir>}
RUN=$BUILD/drape_run
fail() { echo "test_drape_run: FAIL: $*" >&2; exit 1; }
[ -x "$RUN" ] || fail "$RUN is not built"

recorded=$("$RUN" recorded) || fail "drape_run recorded failed"
for kind in drape drape-stable; do
    flag=""
    [ "$kind" = drape-stable ] && flag=--stable
    expected=$(printf '%s\n' "$recorded" | awk -v k="$kind" '$1 == k { print $2, $3 }')
    [ "$(printf '%s\n' "$expected" | wc -l)" -ge 5 ] || fail "fewer than 5 recorded hashes for $kind"
    frames=$(printf '%s\n' "$expected" | awk '{ print $1 }')
    # shellcheck disable=SC2086
    first=$("$RUN" $flag hash $frames) || fail "drape_run $flag hash failed"
    # shellcheck disable=SC2086
    second=$("$RUN" $flag hash $(printf '%s\n' $frames | sort -rn) | sort -n) || fail "drape_run $flag hash failed"
    [ "$first" = "$expected" ] || fail "$kind: hashes differ from the recorded ones: $first"
    [ "$second" = "$expected" ] || fail "$kind: a second run (frames in another order) differs: $second"
done
[ "$("$RUN" hash 38)" != "$("$RUN" --stable hash 38)" ] || fail "--stable runs the same cloth"
"$RUN" --help | grep -q '^usage: drape_run' || fail "drape_run --help printed no usage or failed"

dump=$("$RUN" dump 38) || fail "drape_run dump failed"
[ "$(printf '%s\n' "$dump" | grep -vc '^#')" = 3600 ] || fail "dump of frame 38 does not list 3600 knobs"
frozen=$(printf '%s\n' "$dump" | awk '!/^#/ && $2 == 1' | wc -l)
[ "$frozen" = 60 ] || fail "dump of frame 38 shows $frozen frozen knobs, expected 60"
printf '%s\n' "$dump" | awk '!/^#/ && $2 == 1 && ($3 != 30 || $5 != 25) { bad = 1 } END { exit bad }' ||
    fail "a knob frozen in frame 38 is not at x = 30 on the plateau's edge (z = 25)"

for args in "" "hash" "hash x" "hash -1" "hash 1.5" "dump 1 2" "frob 3" "hash 99999999999" "--stable" \
    "--stable recorded" "recorded 3" "hash --stable 3"; do
    # shellcheck disable=SC2086
    out=$("$RUN" $args 2>&1 >/dev/null)
    status=$?
    [ "$status" -ne 0 ] || fail "'drape_run $args' succeeded"
    printf '%s\n' "$out" | grep -q '^usage: drape_run' || fail "'drape_run $args' printed no usage: $out"
done
echo "test_drape_run: PASS"
