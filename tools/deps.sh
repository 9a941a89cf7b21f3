#!/usr/bin/env bash
# Installs what building and testing Tilewright on Debian 12 needs, when it is missing.
# Sourced by tools/run, tools/test and tools/release; safe to run again (it only
# installs what lacks). It leaves the caller's shell options alone: tools/test counts
# failing steps and must not end at the first one.

# The Debian packages the build and the tests use.
TW_PACKAGES=(cmake ninja-build g++ python3 g++-mingw-w64-x86-64 wine wine64 xvfb xdotool
  x11-utils imagemagick openssl libgtest-dev libgmock-dev googletest libbenchmark-dev
  libgl1-mesa-dri mesa-utils fonts-dejavu-core fonts-liberation nsis clang
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils osslsigncode python3-yaml)

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

# Whether X display :N is free. A lock file whose server no longer runs (an X server
# killed without its clean-up, by a test run that ended early) is removed, so that such
# leftovers never use up the display numbers.
tw_display_free() {  # N
  local n="$1" pid
  if [ -e "/tmp/.X$n-lock" ]; then
    pid=$(tr -dc '0-9' <"/tmp/.X$n-lock" 2>/dev/null)
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then return 1; fi
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  fi
  [ ! -e "/tmp/.X11-unix/X$n" ]
}

# Starts a private Xvfb when no display is set; exports DISPLAY and TW_XVFB_PID.
tw_ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 130); do
    if tw_display_free "$n"; then
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

# An X server with several monitors, for the multi-monitor scenarios: Xvfb shows Wine
# one monitor whatever its screens, the dummy video driver shows one per output.
# Writes its configuration and log into DIR, starts Xorg on a free display number and
# exports TW_MULTIMON_DISPLAY and TW_XORG_PID; whoever calls this stops the server
# (kill "$TW_XORG_PID"). The outputs are arranged by tw_multimon_layout.
tw_start_multimon_display() {  # DIR
  local dir="$1" n i pid
  mkdir -p "$dir"
  cat >"$dir/xorg.conf" <<'CONF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 256000
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Modeline "1280x1024" 108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1920x1080"
    Virtual 4096 2048
  EndSubSection
EndSection
CONF
  for n in $(seq 150 199); do
    tw_display_free "$n" || continue
    Xorg ":$n" -config "$dir/xorg.conf" -noreset -nolisten tcp -logfile "$dir/xorg.log" \
      </dev/null >"$dir/xorg.out" 2>&1 &
    pid=$!
    for i in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      # The dummy driver's outputs tell this server from one that someone else started
      # on the same number at the same moment.
      if DISPLAY=":$n" xrandr --query 2>/dev/null | grep -q '^DUMMY0 connected'; then
        export TW_MULTIMON_DISPLAY=":$n" TW_XORG_PID="$pid"
        return 0
      fi
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  echo "tools: Xorg with the dummy driver did not start (see $dir/xorg.log)" >&2
  return 1
}

# Arranges the outputs of that server (DISPLAY) as three monitors: the primary
# 1920 x 1080, another 1920 x 1080 left of it (at negative coordinates for Windows
# programs, whose primary keeps the origin) and a smaller 1280 x 1024 on its right.
# Switches back on any output that was switched off.
# Wine asks the server for its current configuration without probing the outputs, so a
# full query (which probes them) follows; without it a fresh server shows Wine one monitor.
tw_multimon_layout() {
  xrandr --addmode DUMMY1 1280x1024 && xrandr --addmode DUMMY2 1920x1080 &&
    xrandr --output DUMMY0 --primary --mode 1920x1080 --pos 1920x0 \
      --output DUMMY1 --mode 1280x1024 --pos 3840x0 --output DUMMY2 --mode 1920x1080 --pos 0x0 &&
    xrandr --query >/dev/null
}
