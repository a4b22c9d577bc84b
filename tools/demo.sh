#!/usr/bin/env bash
# Installs what is missing, builds the demo and starts it. With a display it
# runs in a window (Escape quits, F1 toggles full screen). Without one it runs
# for a few seconds on a private Xvfb server and saves a screenshot.
#   bash tools/demo.sh                 the faithful cloth, drape
#   bash tools/demo.sh drape-stable    the variant that comes to rest
set -euo pipefail
program="${1:-drape}"
case "$program" in
  drape|drape-stable) ;;
  *) echo "demo: unknown program '$program' (drape or drape-stable)" >&2; exit 2 ;;
esac
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
source tools/deps.sh
zou_install_deps

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target "$program"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "./build/$program"
fi

seconds="${DRAPE_SECONDS:-5}"
shot="$here/out/$program.png"
mkdir -p "$here/out"
# A display number nobody uses.
d=90
while [ -e "/tmp/.X11-unix/X$d" ] || [ -e "/tmp/.X$d-lock" ]; do d=$((d + 1)); done
Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do DISPLAY=":$d" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

echo "demo: no display; running $program on a private Xvfb (:$d) for $seconds s"
DISPLAY=":$d" "./build/$program" &
app=$!
sleep "$seconds"
DISPLAY=":$d" xwd -root -silent | convert xwd:- "$shot"
DISPLAY=":$d" xdotool key Escape || true
status=0
wait "$app" || status=$?
echo "demo: $program ended with status $status; screenshot saved to $shot"
