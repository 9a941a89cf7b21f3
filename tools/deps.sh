#!/usr/bin/env bash
# Installs what building and testing Tilewright on Debian 12 needs, when it is missing.
# Sourced by tools/run, tools/test and tools/release; safe to run again (it only
# installs what lacks). It leaves the caller's shell options alone: tools/test counts
# failing steps and must not end at the first one.

# The Debian packages the build and the tests use.
TW_PACKAGES=(cmake ninja-build g++ python3 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool
  x11-utils imagemagick openssl libgtest-dev libgmock-dev googletest libbenchmark-dev
  libgl1-mesa-dri mesa-utils fonts-dejavu-core fonts-liberation nsis clang)

tw_need_packages() {
  local pkg
  for pkg in "${TW_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
  done
}

tw_install_deps() {
  local missing
  missing=$(tw_need_packages | sort -u | tr '\n' ' ')
  if [ -n "${missing// /}" ]; then
    echo "tools: installing missing packages: $missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    # With Wine's recommended packages (X extensions, fonts, TLS): the tests under Wine
    # rely on them, as a desktop Wine install would have them.
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
  fi
}

# Starts a private Xvfb when no display is set; exports DISPLAY and TW_XVFB_PID.
tw_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 130); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
      TW_XVFB_PID=$!
      export DISPLAY=":$n"
      local i
      for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
      done
      echo "tools: Xvfb did not start on :$n" >&2
      return 1
    fi
  done
  echo "tools: no free X display number" >&2
  return 1
}
