#!/bin/sh
# Runs a Windows program under Wine the way Tallowind expects: the Japanese
# locale (ANSI code page 932), no debug chatter, no Mono or Gecko prompts, and
# a prefix of its own (WINEPREFIX, by default one under the user's data
# directory), created on first use. Exits with the program's exit code.
#
# TALLOWIND_HEADLESS=1 marks a run on a display without a window manager (the
# tests' Xvfb): its prefix gets Managed=N, since without a window manager Wine
# waits about two seconds whenever a message box closes unless its windows are
# unmanaged. Any other run keeps Wine's default, so that a desktop's window
# manager frames the window and can move, focus, minimise and list it. The
# file .tallowind-setup in the prefix records which of the two ("headless" or
# "desktop") the prefix has, so Wine is started for the set-up only when the
# prefix is new or asked for the other one.
set -eu

export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
: "${WINEPREFIX:=${XDG_DATA_HOME:-$HOME/.local/share}/tallowind/wineprefix}"
export WINEPREFIX

wanted=desktop
[ "${TALLOWIND_HEADLESS:-}" = 1 ] && wanted=headless

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  marker=$WINEPREFIX/.tallowind-setup
  recorded=$(cat "$marker" 2>/dev/null || true)
  have=$recorded
  # Earlier versions marked a finished prefix with .tallowind-ready and gave
  # every prefix Managed=N.
  if [ -z "$have" ] && [ -f "$WINEPREFIX/.tallowind-ready" ]; then have=headless; fi
  created=no
  if [ -z "$have" ]; then
    echo "wine-run: creating the Wine prefix $WINEPREFIX" >&2
    wine wineboot --init >/dev/null 2>&1 || true
    have=desktop
    created=yes
  fi
  if [ "$have" != "$wanted" ]; then
    key='HKCU\Software\Wine\X11 Driver'
    if [ "$wanted" = headless ]; then
      wine reg add "$key" /v Managed /d N /f >/dev/null 2>&1
    else
      # A missing value is what is wanted, so its absence is no error.
      wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
    fi
  fi
  # A new prefix is used by nothing else yet: wait until Wine has finished
  # with it and written it out. An existing one may be in use by a running
  # program; its server keeps the change and writes it out when it ends.
  if [ "$created" = yes ]; then wineserver -w; fi
  if [ "$recorded" != "$wanted" ]; then
    echo "$wanted" >"$marker.new"
    mv "$marker.new" "$marker"
    rm -f "$WINEPREFIX/.tallowind-ready"
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
