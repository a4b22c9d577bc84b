#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Sourced by tools/demo.sh and tools/test.sh; safe to run on its own as root.
set -euo pipefail

ZOU_PACKAGES=(
  build-essential cmake pkg-config git
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev libegl-mesa0 libgbm1
  libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xauth xdotool openbox x11-apps x11-utils imagemagick
  libpng-dev libgif-dev
  doxygen
)

# The web build and its browser tests: the compiler, a browser, and the
# DevTools client's WebSocket library (for Debian's own python3), and the
# X bitmap fonts and Hershey stroke data that GLUT's fonts are built from.
ZOU_WEB_PACKAGES=(emscripten chromium python3-websocket xfonts-base xfonts-75dpi hershey-fonts-data)
# npm installs the GLU tessellator's package (libtess) for the pages. A Node.js
# from elsewhere (NodeSource's) brings its own npm and conflicts with Debian's
# package, which would replace it: asked for only when no npm is found.
command -v npm >/dev/null 2>&1 || ZOU_WEB_PACKAGES+=(npm)

# zou_install_deps [PACKAGE...]: the given packages (default: ZOU_PACKAGES).
zou_install_deps() {
  local wanted=("$@")
  [ ${#wanted[@]} -gt 0 ] || wanted=("${ZOU_PACKAGES[@]}")
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    echo "deps: all ${#wanted[@]} packages present"
    return 0
  fi
  echo "deps: installing ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  zou_install_deps
  zou_install_deps "${ZOU_WEB_PACKAGES[@]}"
fi
