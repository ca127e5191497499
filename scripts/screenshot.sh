#!/bin/sh
# Takes a screenshot of the main window: starts Tallowind.exe under Xvfb (no
# window manager: a headless prefix) in an empty directory and captures the
# window to docs/screenshot.png, or the path given.
#   scripts/screenshot.sh [OUT]
# TALLOWIND_DPI (default 96) is the display's DPI, set in a Wine prefix of
# that DPI's own; TALLOWIND_SCREEN (default 1024x768) the screen's size.
set -eu
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
dpi=${TALLOWIND_DPI:-96}
screen=${TALLOWIND_SCREEN:-1024x768}
case $dpi in *[!0-9]* | '') echo "screenshot: TALLOWIND_DPI is no number: $dpi" >&2; exit 2 ;; esac

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Tallowind

root=$PWD
work=$(mktemp -d)
xvfb=
app=
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it takes connections.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "screenshot: Xvfb did not start" >&2; exit 1; }
  sleep 0.1
done
[ -s "$work/display" ] || { echo "screenshot: Xvfb gave no display within 10 seconds" >&2; exit 1; }
DISPLAY=:$(cat "$work/display")
export DISPLAY TALLOWIND_HEADLESS=1
export WINEPREFIX="$root/build/win32/wineprefix"
if [ "$dpi" != 96 ]; then
  WINEPREFIX="$root/build/win32/wineprefix-$dpi"
  scripts/wine-run.sh reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
fi

cp build/win32/Tallowind.exe "$work/"
(cd "$work" && exec "$root/scripts/wine-run.sh" Tallowind.exe) &
app=$!
# A new Wine prefix takes a minute or more to create under qemu. Without a
# window id import would wait for a mouse click, so its absence is an error.
id=
for _ in $(seq 360); do
  id=$(xwininfo -root -tree 2>/dev/null | awk '/"Tallowind"/ {print $1; exit}')
  [ -n "$id" ] && break
  if ! kill -0 "$app" 2>/dev/null; then
    echo "screenshot: Tallowind.exe ended without showing its window" >&2
    exit 1
  fi
  sleep 0.5
done
if [ -z "$id" ]; then
  echo "screenshot: no Tallowind window after three minutes" >&2
  exit 1
fi
# Captured until two captures in a row are the same: the window has painted.
mkdir -p "$(dirname "$out")"
for _ in $(seq 60); do
  sleep 0.5
  import -window "$id" -define png:exclude-chunks=date,time "$work/shot.png"
  if [ -f "$work/last.png" ] && cmp -s "$work/shot.png" "$work/last.png"; then break; fi
  mv "$work/shot.png" "$work/last.png"
done
mv "$work/shot.png" "$out" 2>/dev/null || mv "$work/last.png" "$out"
echo "screenshot: $out"
