#!/usr/bin/env bash
# The wasm cloth under Node.js against the native drape_run: the hash lines of
# both cloths at frames 0, 1, 38, 82, 200 and 1000 are the same text, and a bad
# frame number is refused the same way (status 2).
#   test_node_determinism.sh <web dir> <native build dir>
set -uo pipefail
web="$(cd "${1:?usage: test_node_determinism.sh <web dir> <native build dir>}" && pwd)"
native="${2:?usage: test_node_determinism.sh <web dir> <native build dir>}"
passed=0
failed=0
check() {
    if [ "$1" = 0 ]; then echo "ok: $2"; passed=$((passed + 1)); else echo "FAIL: $2"; failed=$((failed + 1)); fi
}
wasm_run() {
    node -e 'require(process.argv[1])({arguments: process.argv.slice(2)})' "$web/drape_run.js" "$@"
}
for options in "" "--stable"; do
    # shellcheck disable=SC2086
    expected="$("$native/drape_run" $options hash 0 1 38 82 200 1000)"
    # shellcheck disable=SC2086
    got="$(wasm_run $options hash 0 1 38 82 200 1000)"
    [ -n "$got" ] && [ "$got" = "$expected" ]
    check $? "node drape_run.js $options hash: the native lines$(printf '\n%s' "$got")"
done
wasm_run hash 12x >/dev/null 2>&1
status=$?
[ "$status" = 2 ]
check $? "node drape_run.js hash 12x ends with status 2 (got $status)"
echo "web node determinism: $passed passed, $failed failed"
[ "$failed" = 0 ]
