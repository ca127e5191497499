#!/bin/sh
# Takes the README's screenshot of the main window: starts Tallowind.exe
# under Xvfb (no window manager: the tests' headless prefix) in an empty
# directory and captures the window to docs/screenshot.png (or the path given).
set -eu
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}

cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Tallowind

work=$(mktemp -d)
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp build/win32/Tallowind.exe "$work/"
sleep 1
root=$PWD
(cd "$work" && DISPLAY=$display TALLOWIND_HEADLESS=1 WINEPREFIX=$root/build/win32/wineprefix exec "$root/scripts/wine-run.sh" Tallowind.exe) &
app=$!
# A new Wine prefix takes a minute or more to create under qemu. Without a
# window id import would wait for a mouse click, so its absence is an error.
id=
for _ in $(seq 360); do
  id=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null | awk '/"Tallowind"/ {print $1; exit}')
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
sleep 2
mkdir -p "$(dirname "$out")"
DISPLAY=$display import -window "$id" "$out"
echo "screenshot: $out"
