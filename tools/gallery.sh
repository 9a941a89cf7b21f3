#!/usr/bin/env bash
# Runs the widget gallery under Wine on a private X display, takes a screenshot and
# checks a few pixels of it: the accent gradient inside a primary button, the dark and
# light window backgrounds, and text inside a label of each theme.
#
#   tools/gallery.sh [gallery.exe] [screenshot.png]
#
# Defaults: build/windows/tests/gallery/gallery.exe and build/gallery.png. The Wine
# prefix is GALLERY_WINEPREFIX, else build/windows/wineprefix-gallery (created on first
# use). Exits non-zero when the program does not paint or a check fails.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"
exe="${1:-$root/build/windows/tests/gallery/gallery.exe}"
shot="${2:-$root/build/gallery.png}"
convert=/usr/bin/convert
import=/usr/bin/import

[ -f "$exe" ] || { echo "gallery.sh: no program at $exe" >&2; exit 2; }
mkdir -p "$(dirname "$shot")"

export WINEPREFIX="${GALLERY_WINEPREFIX:-$root/build/windows/wineprefix-gallery}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEARCH=win64
"$here/wine-prefix" >/dev/null

# A display of our own, so that no other window lies over the gallery.
source "$here/deps.sh"
display=""
for n in $(seq 121 160); do
  if tw_display_free "$n"; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "gallery.sh: no free X display" >&2; exit 2; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
log="$(mktemp)"
gallery_pid=""
cleanup() {
  [ -n "$gallery_pid" ] && kill "$gallery_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$log"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY="$display"

# GALLERY_ARGS: more options for the gallery, e.g. --high-contrast.
wine "$exe" --exit-after-paint 20000 ${GALLERY_ARGS:-} >"$log" 2>&1 &
gallery_pid=$!
for _ in $(seq 600); do
  grep -q "gallery: painted" "$log" && break
  kill -0 "$gallery_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q "gallery: painted" "$log"; then
  echo "gallery.sh: the gallery did not paint" >&2
  cat "$log" >&2
  exit 1
fi
sleep 1.5  # let the presented frames reach the screen
"$import" -display "$display" -window root "$shot"
echo "gallery.sh: screenshot $shot"

failures=0
# "r g b" of one pixel.
pixel() {
  "$convert" "$shot" -format "%[fx:round(255*p{$1,$2}.r)] %[fx:round(255*p{$1,$2}.g)] %[fx:round(255*p{$1,$2}.b)]" info:
}
# Fraction of the pixels of a w x h box at (x, y) whose grey level lies beyond the
# threshold: above it for "bright", below it for "dark".
share() {
  local geometry="$1" threshold="$2" kind="$3" negate=""
  [ "$kind" = dark ] && negate="-negate"
  "$convert" "$shot" -crop "$geometry" +repage -colorspace gray $negate \
    -threshold "$threshold%" -format "%[fx:mean]" info:
}
check() {  # name, condition (awk expression over r g b or v), values
  local name="$1" expr="$2" values="$3"
  if echo "$values" | awk "{ exit !($expr) }"; then
    echo "ok   $name ($values)"
  else
    echo "FAIL $name ($values)"
    failures=$((failures + 1))
  fi
}

# The dark window spans x 0..639, the light one x 640..1279. Between the two cards of a
# window (x 320..335) only the background shows.
check "dark background" '$1 < 60 && $2 < 50 && $3 < 80 && $3 > $1 && $1 > $2' "$(pixel 328 450)"
check "light background" '$1 > 215 && $2 > 215 && $3 > 225 && $3 >= $1' "$(pixel 968 450)"
# Primary button (24, 400)-(144, 434): left of its centred text, near the accent's start
# #a855f7 and clearly violet.
check "accent gradient in primary button (dark)" \
  '$3 > 170 && $1 > 100 && $1 < 210 && $2 < 120 && $3 > $1 && $1 > $2' "$(pixel 34 417)"
check "accent gradient in primary button (light)" \
  '$3 > 170 && $1 > 100 && $1 < 210 && $2 < 120 && $3 > $1 && $1 > $2' "$(pixel 674 417)"
# The gradient runs: the far corner is darker than the near one.
near_corner="$(pixel 30 405)"; far_corner="$(pixel 138 429)"
check "accent gradient darkens toward the bottom right" '$3 > $6' "$near_corner $far_corner"
# Label "Label (1)" at (24, 24)-(304, 44): white text on the dark card, dark text on
# the light card.
check "text in dark label" '$1 > 0.03 && $1 < 0.6' "$(share 100x20+24+24 55 bright)"
check "text in light label" '$1 > 0.03 && $1 < 0.6' "$(share 100x20+664+24 55 dark)"
# An empty stretch of the same label row carries no text.
check "no text beyond the label" '$1 < 0.01' "$(share 60x20+240+24 55 bright)"

if [ "$failures" -ne 0 ]; then
  echo "gallery.sh: $failures check(s) failed" >&2
  exit 1
fi
echo "gallery.sh: all checks passed"
