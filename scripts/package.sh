#!/bin/sh
# Makes the download for Windows users, DIST/Tallowind-<version>-win32.zip
# (DIST is dist/ unless given), from the tested 32-bit build (BUILD, by
# default build/win32 of the win32 preset; Tallowind is built there first if
# it is out of date). The zip holds one folder, so that "Extract here" makes
# one folder too:
#   Tallowind-<version>/Tallowind.exe
#   Tallowind-<version>/README-ja.txt  the guide for traders, docs/README-ja.txt
#                  with the version and the version-check URL of that build
#                  filled in, as UTF-8 with a byte-order mark and CR LF line
#                  ends, which Windows Notepad shows.
# The version is that of src/res/version.h, from which the exe's version
# information is built.
#   scripts/package.sh [DIST [BUILD]]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/dist}
build=${2:-$root/build/win32}
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)

cd "$root"
if [ ! -f "$build/CMakeCache.txt" ]; then
  if [ "$build" != "$root/build/win32" ]; then
    echo "package: $build is not a configured build" >&2
    exit 1
  fi
  cmake --preset win32 >/dev/null
fi
cmake --build "$build" --target Tallowind

part() { sed -n "s/^#define TALLOWIND_VERSION_$1 \([0-9][0-9]*\)\$/\1/p" src/res/version.h; }
version=$(part MAJOR).$(part MINOR).$(part PATCH)
url=$(sed -n 's/^TALLOWIND_VERSION_URL:[A-Z]*=//p' "$build/CMakeCache.txt")
case $version in
  *[0-9].*[0-9].*[0-9]) ;;
  *) echo "package: no version in src/res/version.h" >&2; exit 1 ;;
esac
if [ -z "$url" ]; then
  echo "package: no TALLOWIND_VERSION_URL in $build/CMakeCache.txt" >&2
  exit 1
fi

zip=$dist/Tallowind-$version-win32.zip
python3 - "$build/Tallowind.exe" docs/README-ja.txt "$version" "$url" "$zip" <<'PYTHON'
import os, sys, zipfile
exe, guide, version, url, out = sys.argv[1:]
with open(guide, encoding='utf-8') as source:
  text = source.read().replace('@TALLOWIND_VERSION@', version).replace('@TALLOWIND_VERSION_URL@', url)
text = '\ufeff' + text.replace('\r\n', '\n').replace('\n', '\r\n')
with zipfile.ZipFile(out + '.part', 'w', zipfile.ZIP_DEFLATED) as archive:
  folder = 'Tallowind-' + version + '/'
  archive.write(exe, folder + 'Tallowind.exe')
  archive.writestr(folder + 'README-ja.txt', text.encode('utf-8'))
os.replace(out + '.part', out)
PYTHON
echo "package: $zip"
