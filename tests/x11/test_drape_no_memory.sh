#!/bin/bash
# When the cloth cannot be allocated, drape says so in one line on standard
# error and ends with a failure status instead of starting a null application.
# A preloaded allocator refuses every nothrow allocation above 100 KB: the
# cloth object (about 270 KB) is the only one that large.
source "$(dirname "$0")/lib.sh" "$@"

cat >"$ZT_TMP/refuse.cpp" <<'CPP'
#include <cstdlib>
#include <new>
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    return n > 100000 ? nullptr : std::malloc(n ? n : 1);
}
CPP
g++ -shared -fPIC -O1 -o "$ZT_TMP/librefuse.so" "$ZT_TMP/refuse.cpp" || zt_fail "cannot build the refusing allocator"

zt_start_x
LD_PRELOAD="$ZT_TMP/librefuse.so" zt_start_app "$ZT_BUILD/drape"
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 1 ] || zt_fail "exit status without memory for the cloth is $ZT_APP_STATUS, expected 1"
err=$(cat "$ZT_APP_ERR")
[ "$err" = "drape: not enough memory for the cloth" ] || zt_fail "standard error is '$err'"

# The control: the same start without the refusing allocator keeps running.
zt_start_app "$ZT_BUILD/drape"
zt_wait_window zou
sleep 0.5
zt_alive "$ZT_APP_PID" || zt_fail "drape ended by itself with enough memory"
zt_key "$ZT_WIN" Escape
zt_wait_exit 15
[ "$ZT_APP_STATUS" = 0 ] || zt_fail "exit status after Escape is $ZT_APP_STATUS, expected 0"
zt_log "PASS"
