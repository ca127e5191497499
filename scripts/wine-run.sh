#!/bin/sh
# Runs a Windows program under Wine the way Tallowind expects: the Japanese
# locale (ANSI code page 932), no debug chatter, no Mono or Gecko prompts, and
# a prefix of its own (WINEPREFIX, by default one under the user's data
# directory), created on first use. Exits with the program's exit code.
#
# The prefix's set-up:
# - Wine's own fonts (Debian's fonts-wine, /usr/share/wine/fonts) are named
#   as a font path: this Wine does not find them by itself, and without
#   Marlett the caption buttons show the letters "0 1 r".
# - TALLOWIND_HEADLESS=1 marks a run on a display without a window manager
#   (the tests' Xvfb): its prefix gets Managed=N, since without a window
#   manager Wine waits about two seconds whenever a message box closes unless
#   its windows are unmanaged. Any other run keeps Wine's default, so that a
#   desktop's window manager frames the window and can move, focus, minimise
#   and list it.
# The file .tallowind-setup in the prefix records which set-up ("headless" or
# "desktop") the prefix has, so Wine is started for it only when the prefix
# is new or is asked for the other one.
set -eu

export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
: "${WINEPREFIX:=${XDG_DATA_HOME:-$HOME/.local/share}/tallowind/wineprefix}"
export WINEPREFIX

wanted=desktop
managed=-  # the value removed: Wine's default
if [ "${TALLOWIND_HEADLESS:-}" = 1 ]; then
  wanted=headless
  managed='"N"'
fi

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  marker=$WINEPREFIX/.tallowind-setup
  if [ "$(cat "$marker" 2>/dev/null || true)" != "$wanted" ]; then
    # A prefix of an earlier version is marked .tallowind-ready instead; it
    # has Managed=N and no font path.
    created=no
    if [ ! -f "$marker" ] && [ ! -f "$WINEPREFIX/.tallowind-ready" ]; then
      echo "wine-run: creating the Wine prefix $WINEPREFIX" >&2
      wine wineboot --init >/dev/null 2>&1 || true
      created=yes
    fi
    settings=$WINEPREFIX/.tallowind-setup.reg
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
      '[HKEY_CURRENT_USER\Software\Wine\Fonts]' '"Path"="Z:\\usr\\share\\wine\\fonts"' '' \
      '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' "\"Managed\"=$managed" >"$settings"
    imported=yes
    wine reg import "Z:$settings" >/dev/null 2>&1 || imported=no
    rm -f "$settings"
    # A new prefix is used by nothing else yet: wait until Wine has finished
    # with it and written it out. An existing one may be in use by a running
    # program; its server keeps the change and writes it out when it ends.
    if [ "$created" = yes ]; then wineserver -w; fi
    if [ "$imported" = yes ]; then
      echo "$wanted" >"$marker.new"
      mv "$marker.new" "$marker"
      rm -f "$WINEPREFIX/.tallowind-ready"
    else
      # Not recorded, so the next run tries again; the program runs all the same.
      echo "wine-run: could not set up the fonts and window management of $WINEPREFIX" >&2
    fi
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
