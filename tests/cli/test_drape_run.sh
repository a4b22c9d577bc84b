#!/bin/bash
# drape_run: the cloth without a window. Two runs print the same state hashes,
# and those are the hashes recorded in the unit tests (so this build agrees with
# every other); the dump of frame 38 shows the first 60 frozen knobs; bad
# arguments are refused with a message and a non-zero status.
set -u
BUILD=${1:?usage: $0 <build dir> <source dir>}
RUN=$BUILD/drape_run
fail() { echo "test_drape_run: FAIL: $*" >&2; exit 1; }
[ -x "$RUN" ] || fail "$RUN is not built"

expected="38 e02b0f28bb3c74fd
82 f8449ebfa98f9a62
1000 203845a83de48f50"
first=$("$RUN" hash 38 82 1000) || fail "drape_run hash failed"
second=$("$RUN" hash 1000 38 82 | sort -n) || fail "drape_run hash failed"
[ "$first" = "$expected" ] || fail "hashes differ from the recorded ones: $first"
[ "$second" = "$expected" ] || fail "a second run (frames in another order) differs: $second"

dump=$("$RUN" dump 38) || fail "drape_run dump failed"
[ "$(printf '%s\n' "$dump" | grep -vc '^#')" = 3600 ] || fail "dump of frame 38 does not list 3600 knobs"
frozen=$(printf '%s\n' "$dump" | awk '!/^#/ && $2 == 1' | wc -l)
[ "$frozen" = 60 ] || fail "dump of frame 38 shows $frozen frozen knobs, expected 60"
printf '%s\n' "$dump" | awk '!/^#/ && $2 == 1 && ($3 != 30 || $5 != 25) { bad = 1 } END { exit bad }' ||
    fail "a knob frozen in frame 38 is not at x = 30 on the plateau's edge (z = 25)"

for args in "" "hash" "hash x" "hash -1" "hash 1.5" "dump 1 2" "frob 3" "hash 99999999999"; do
    # shellcheck disable=SC2086
    out=$("$RUN" $args 2>&1 >/dev/null)
    status=$?
    [ "$status" -ne 0 ] || fail "'drape_run $args' succeeded"
    printf '%s\n' "$out" | grep -q '^usage: drape_run' || fail "'drape_run $args' printed no usage: $out"
done
echo "test_drape_run: PASS"
