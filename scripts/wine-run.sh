#!/bin/sh
# Runs a Windows program under Wine the way Tallowind expects: the Japanese
# locale (ANSI code page 932), no debug chatter, no Mono or Gecko prompts, and
# a prefix of its own (WINEPREFIX, by default one under the user's data
# directory), created on first use. Exits with the program's exit code.
set -eu

export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
: "${WINEPREFIX:=${XDG_DATA_HOME:-$HOME/.local/share}/tallowind/wineprefix}"
export WINEPREFIX

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.tallowind-ready" ]; then
    echo "wine-run: creating the Wine prefix $WINEPREFIX" >&2
    wine wineboot --init >/dev/null 2>&1 || true
    # Without a window manager Wine waits about two seconds whenever a
    # message box closes unless its windows are unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tallowind-ready"
  fi
) 9>"$WINEPREFIX.lock"

exec wine "$@"
