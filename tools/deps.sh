#!/usr/bin/env bash
# Installs what building and testing Tilewright on Debian 12 needs, when it is missing.
# Sourced by tools/run and tools/test; safe to run again (it only installs what lacks).
set -euo pipefail

tw_need_packages() {
  local missing=()
  local -A probe=(
    [cmake]="cmake" [ninja-build]="ninja" [g++]="g++" [python3]="python3"
    [g++-mingw-w64-x86-64]="x86_64-w64-mingw32-g++-posix"
    [wine]="wine" [wine64]="wine64" [xvfb]="Xvfb" [xdotool]="xdotool"
    [imagemagick]="/usr/bin/import" [openssl]="openssl" [x11-utils]="xwininfo"
  )
  local pkg
  for pkg in "${!probe[@]}"; do
    command -v "${probe[$pkg]}" >/dev/null 2>&1 || missing+=("$pkg")
  done
  [ -f /usr/include/gtest/gtest.h ] || missing+=(libgtest-dev)
  [ -f /usr/include/gmock/gmock.h ] || missing+=(libgmock-dev)
  [ -d /usr/src/googletest/googletest ] || missing+=(googletest)
  [ -f /usr/include/benchmark/benchmark.h ] || missing+=(libbenchmark-dev)
  [ -e /usr/lib/x86_64-linux-gnu/dri/swrast_dri.so ] || missing+=(libgl1-mesa-dri)
  command -v glxinfo >/dev/null 2>&1 || missing+=(mesa-utils)
  printf '%s\n' "${missing[@]}"
}

tw_install_deps() {
  local missing
  missing=$(tw_need_packages | sort -u | tr '\n' ' ')
  if [ -n "${missing// /}" ]; then
    echo "tools: installing missing packages: $missing"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
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
