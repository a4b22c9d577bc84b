# Helpers for the X11 tests, sourced by tests/x11/test_*.sh:
#
#   source "$(dirname "$0")/lib.sh" <build dir> <source dir>
#
# Each test gets a private Xvfb (1024x768x24, white root so that anything the
# program leaves undrawn shows up in a screenshot), optionally openbox as its
# window manager, and its own scratch directory. Helpers that find something set
# a ZT_ variable rather than print it, so that their failures end the test. Every process started here is
# ended by the EXIT trap, whatever way the test ends. Every wait has a timeout.

set -u

ZT_BUILD=$(cd "${1:?usage: $0 <build dir> <source dir>}" && pwd)
ZT_SRC=$(cd "${2:?usage: $0 <build dir> <source dir>}" && pwd)
ZT_NAME=$(basename "$0" .sh)
ZT_TMP=$(mktemp -d "/tmp/zou-$ZT_NAME.XXXXXX")
# Screenshots are kept for a look after the run.
ZT_ARTIFACTS=$ZT_BUILD/x11-artifacts
mkdir -p "$ZT_ARTIFACTS"
ZT_PIDS=()
ZT_APP_PID=
ZT_APP_OUT=$ZT_TMP/app.out
ZT_APP_ERR=$ZT_TMP/app.err
ZT_SCREEN_W=1024
ZT_SCREEN_H=768
unset DISPLAY
# In a sanitizer build, Mesa's driver leaves allocations behind at exit that
# LeakSanitizer would report with exit status 23; leaks are the unit tests'
# business, memory errors still end the program here.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

zt_log() { echo "[$ZT_NAME] $*"; }

zt_fail() {
    echo "[$ZT_NAME] FAIL: $*" >&2
    if [ -s "$ZT_APP_OUT" ]; then
        echo "[$ZT_NAME] --- program output ---" >&2
        tail -n 40 "$ZT_APP_OUT" >&2
    fi
    if [ -s "$ZT_APP_ERR" ]; then
        echo "[$ZT_NAME] --- program errors ---" >&2
        tail -n 20 "$ZT_APP_ERR" >&2
    fi
    exit 1
}

zt_skip() {
    echo "[$ZT_NAME] SKIP: $*"
    exit 0
}

# True while a process runs (an ended child that is not yet reaped does not count).
zt_alive() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    case "$state" in Z*) return 1 ;; esac
    return 0
}

# Ends one process of ours: politely, then after a second for good.
zt_stop() {
    local pid=$1 i
    if zt_alive "$pid"; then
        kill "$pid" 2>/dev/null
        for i in $(seq 1 20); do
            zt_alive "$pid" || break
            sleep 0.05
        done
        zt_alive "$pid" && kill -9 "$pid" 2>/dev/null
    fi
    wait "$pid" 2>/dev/null
    return 0
}

zt_cleanup() {
    local i
    # Newest first: the program, then the window manager, then the server.
    for ((i = ${#ZT_PIDS[@]} - 1; i >= 0; i--)); do zt_stop "${ZT_PIDS[$i]}"; done
    rm -rf "$ZT_TMP"
}
trap zt_cleanup EXIT
trap 'exit 1' INT TERM

for tool in Xvfb xdotool xwininfo xprop xwd convert timeout; do
    command -v "$tool" >/dev/null || zt_fail "$tool is not installed"
done

# Starts a private Xvfb on a display number the server picks itself (so that
# parallel runs never collide) and, with "openbox", the window manager.
zt_start_x() {
    local wm=${1:-none} i
    local fdfile=$ZT_TMP/display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "${ZT_SCREEN_W}x${ZT_SCREEN_H}x24" -nolisten tcp -wr -noreset \
        3>"$fdfile" >"$ZT_TMP/xvfb.log" 2>&1 &
    ZT_PIDS+=($!)
    for i in $(seq 1 100); do
        grep -q '^[0-9]' "$fdfile" 2>/dev/null && break
        kill -0 "${ZT_PIDS[-1]}" 2>/dev/null || zt_fail "Xvfb did not start: $(tail -n 3 "$ZT_TMP/xvfb.log")"
        sleep 0.1
    done
    grep -q '^[0-9]' "$fdfile" || zt_fail "Xvfb gave no display number within 10 s"
    export DISPLAY=:$(head -n 1 "$fdfile")
    timeout 10 xdpyinfo >/dev/null 2>&1 || zt_fail "display $DISPLAY does not answer"
    zt_log "Xvfb on $DISPLAY"

    if [ "$wm" = openbox ]; then
        command -v openbox >/dev/null || zt_fail "openbox is not installed"
        openbox --sm-disable >"$ZT_TMP/openbox.log" 2>&1 &
        ZT_PIDS+=($!)
        # openbox announces itself on the root window once it manages the screen.
        for i in $(seq 1 100); do
            xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
            kill -0 "${ZT_PIDS[-1]}" 2>/dev/null || zt_fail "openbox did not start: $(tail -n 3 "$ZT_TMP/openbox.log")"
            sleep 0.1
        done
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
            zt_fail "openbox did not take the screen within 10 s"
        zt_log "openbox manages the screen"
    fi
}

# Starts the program under test in the background; its stdout goes to
# $ZT_APP_OUT, its stderr to $ZT_APP_ERR.
zt_start_app() {
    [ -x "$1" ] || zt_fail "$1 is not built"
    "$@" >"$ZT_APP_OUT" 2>"$ZT_APP_ERR" &
    ZT_APP_PID=$!
    ZT_PIDS+=($ZT_APP_PID)
}

# Sets ZT_WIN to the id of the visible window with this exact title, waiting
# up to 10 s for it.
zt_wait_window() {
    local title=$1
    ZT_WIN=$(timeout 10 xdotool search --sync --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
    [ -n "$ZT_WIN" ] || zt_fail "no window titled \"$title\" appeared within 10 s"
}

# Fails unless window $1 is titled exactly "zou".
zt_expect_title_zou() {
    local name
    name=$(timeout 5 xprop -id "$1" WM_NAME | sed -n 's/^WM_NAME([A-Z_]*) = //p')
    [ "$name" = '"zou"' ] || zt_fail "window title is $name, expected \"zou\""
}

# zt_mark remembers how many lines the program has printed so far; the waits
# and zt_lines_since look only at lines printed after that.
ZT_MARK=0
zt_mark() { ZT_MARK=$(wc -l <"$ZT_APP_OUT"); }
zt_lines_since() { tail -n +$((ZT_MARK + 1)) "$ZT_APP_OUT"; }

# Waits up to $2 seconds (default 10) for a line printed since the mark that
# matches the extended regular expression $1 as a whole.
zt_wait_line() {
    local re=$1 limit=${2:-10} i
    for i in $(seq 1 $((limit * 20))); do
        zt_lines_since | grep -qxE -- "$re" && return 0
        sleep 0.05
    done
    zt_fail "the program did not print a line matching '$re' within $limit s"
}

# Waits until the program's output has stopped growing for a moment.
zt_settle() {
    local before after i
    for i in $(seq 1 40); do
        before=$(wc -l <"$ZT_APP_OUT")
        sleep 0.25
        after=$(wc -l <"$ZT_APP_OUT")
        [ "$before" = "$after" ] && return 0
    done
    zt_fail "the program kept printing for 10 s"
}

# "x y w h" of a window: the absolute position of its top-left pixel and its size.
zt_geometry() {
    timeout 5 xwininfo -id "$1" | awk '
        /Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        END { print x, y, w, h }'
}

# The window a window manager has wrapped the client in (its parent), or the
# client itself when it sits directly on the root.
zt_frame() {
    local parent root
    parent=$(timeout 5 xwininfo -tree -id "$1" | awk '/Parent window id:/ { print $4 }')
    root=$(timeout 5 xwininfo -tree -id "$1" | awk '/Root window id:/ { print $4 }')
    if [ "$parent" = "$root" ]; then echo "$1"; else echo "$parent"; fi
}

# "left right top bottom" of _NET_FRAME_EXTENTS, or "0 0 0 0" without one.
zt_frame_extents() {
    local v
    v=$(timeout 5 xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',')
    echo "${v:-0 0 0 0}"
}

zt_is_fullscreen() {
    timeout 5 xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_FULLSCREEN
}

# Waits up to 10 s for a window to have the geometry "x y w h".
zt_wait_geometry() {
    local win=$1 want=$2 got i
    for i in $(seq 1 100); do
        got=$(zt_geometry "$win")
        [ "$got" = "$want" ] && return 0
        sleep 0.1
    done
    zt_fail "window geometry is '$got' (x y w h), expected '$want'"
}

# Keyboard input goes through XTEST to the focused window, as a user's would;
# without a window manager the focus follows the pointer, so it is put over
# the window first.
zt_key() {
    local win=$1 key=$2
    timeout 5 xdotool mousemove --window "$win" 5 5 || zt_fail "cannot move the pointer"
    timeout 5 xdotool key "$key" || zt_fail "cannot press $key"
}

# Saves a screenshot of the whole screen as PNG in $2 (also kept in the
# artifacts directory).
zt_screenshot() {
    local png=$1
    timeout 10 xwd -silent -root >"$ZT_TMP/shot.xwd" || zt_fail "xwd failed"
    timeout 20 convert "xwd:$ZT_TMP/shot.xwd" "png:$png" || zt_fail "convert failed"
    cp "$png" "$ZT_ARTIFACTS/" 2>/dev/null
}

# The colours of a region of a PNG, one "count: (r,g,b) ..." line each.
zt_histogram() {
    local png=$1 geom=$2
    timeout 20 convert "$png" -crop "$geom" +repage -format %c histogram:info:- | sed 's/^ *//'
}

# Waits up to $1 seconds (default 10) for the program to end and sets
# ZT_APP_STATUS to its exit status.
zt_wait_exit() {
    local limit=${1:-10} i
    for i in $(seq 1 $((limit * 20))); do
        if ! zt_alive "$ZT_APP_PID"; then
            wait "$ZT_APP_PID"
            ZT_APP_STATUS=$?
            return 0
        fi
        sleep 0.05
    done
    zt_fail "the program did not end within $limit s"
}

# Starts Xvfb with openbox and the program "$@", waits for its one window titled
# "zou" to cover the screen, and sets WIN to it.
zt_open_fullscreen() {
    zt_start_x openbox
    zt_start_app "$@"
    zt_wait_window zou
    WIN=$ZT_WIN
    zt_expect_title_zou "$WIN"
    zt_wait_geometry "$WIN" "0 0 $ZT_SCREEN_W $ZT_SCREEN_H"
}
