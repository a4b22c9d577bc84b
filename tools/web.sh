#!/usr/bin/env bash
# Installs what is missing, builds the web pages (drape, drape-stable,
# shapeview and an index) with emscripten and serves them on 127.0.0.1,
# printing the address; Ctrl-C stops the server. Without a display it first
# opens drape-stable in headless Chromium and saves a screenshot of the page
# (out/web-drape-stable.png).
#   bash tools/web.sh               serve on port 8000 (or WEB_PORT)
#   WEB_SECONDS=30 bash tools/web.sh  serve for 30 seconds, then stop
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
source tools/deps.sh
zou_install_deps "${ZOU_WEB_PACKAGES[@]}"
source tools/webenv.sh

emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-web -j"$(nproc 2>/dev/null || echo 2)"
web="$here/build-web/web"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    mkdir -p "$here/out"
    shot="$here/out/web-drape-stable.png"
    echo "web: no display; drape-stable in headless Chromium, at rest after 400 frames"
    /usr/bin/python3 - "$web" "$shot" <<'PY'
import sys
sys.path.insert(0, "tests/web")
from cdp import Browser
with Browser(sys.argv[1]) as b:
    b.open("drape-stable.html?hold=400")
    b.wait("['held', 'ended', 'nowebgl'].includes(document.body.dataset.state)", timeout=300)
    b.page_png(sys.argv[2])
    print("web: %s; screenshot saved to %s" % (b.status(), sys.argv[2]))
PY
fi

port="${WEB_PORT:-8000}"
echo "web: serving $web at http://127.0.0.1:$port/ (index.html links the pages)"
serve=(/usr/bin/python3 -c '
import sys, time
sys.path.insert(0, "tests/web")
from cdp import serve
server = serve(sys.argv[1], int(sys.argv[2]))
seconds = float(sys.argv[3]) if len(sys.argv) > 3 else None
try:
    time.sleep(seconds) if seconds else [time.sleep(3600) for _ in iter(int, 1)]
except KeyboardInterrupt:
    pass
server.shutdown()
' "$web" "$port")
[ -n "${WEB_SECONDS:-}" ] && serve+=("$WEB_SECONDS")
"${serve[@]}"
