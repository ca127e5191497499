#!/bin/sh
# Builds Tallowind.exe and starts it under Wine on the user's display. The
# exe is copied to a stable directory outside the build tree (by default
# ~/.local/share/tallowind), because its saved data lives beside it in
# save_data: cleaning or rebuilding never touches a user's trade log.
set -eu
cd "$(dirname "$0")/.."

# Wine draws on an X display; without one the program ends at once, unseen.
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display found (DISPLAY is not set): run it on a desktop, or under xvfb-run" >&2
  exit 2
fi
if command -v xdpyinfo >/dev/null 2>&1 && ! xdpyinfo >/dev/null 2>&1; then
  echo "run.sh: the display $DISPLAY does not answer: run it on a desktop, or under xvfb-run" >&2
  exit 2
fi

scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Tallowind

home=${TALLOWIND_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/tallowind}
mkdir -p "$home"
cp build/win32/Tallowind.exe "$home/Tallowind.exe"
cd "$home"
WINEPREFIX=${WINEPREFIX:-$home/wineprefix} exec "$OLDPWD/scripts/wine-run.sh" Tallowind.exe
