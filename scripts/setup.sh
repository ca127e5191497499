#!/bin/sh
# Installs from Debian's packages everything needed to build, run and test
# Tallowind on Debian 12: the i686 MinGW cross compiler, 32-bit Wine with its
# own fonts (the glyphs of the caption buttons), Xvfb, Japanese fonts and locale, CMake, Ninja, GoogleTest, Google Benchmark,
# clang's fuzzer runtime and Python. Safe to run again: it changes the system
# (packages, the i386 architecture, an APT source, the qemu registration, the
# locale) only where something is missing, says each change it makes, and
# when everything is present it only checks and returns.
set -eu

packages="g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine wine32:i386
  xvfb xauth x11-utils imagemagick fonts-wine fonts-ipafont-gothic fonts-ipafont-mincho
  locales cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev
  clang libclang-rt-14-dev python3"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' \
    || missing="$missing $p"
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture to dpkg"
    as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi

# The active "deb" entries of APT's sources, one line per suite:
# SUITE <tab> URI <tab> [OPTIONS]. One-line entries of sources.list and
# sources.list.d/*.list, deb822 stanzas of sources.list.d/*.sources (Types,
# URIs, Suites, Enabled, and Signed-By when it names a key file); the first
# URI of an entry stands for it.
apt_entries() {
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && awk '
      { sub(/#.*/, "") }
      $1 == "deb" {
        i = 2; options = ""
        if ($2 ~ /^\[/) { while (i <= NF && $i !~ /\]$/) options = options $(i++) " "; options = options $(i++) }
        if (i + 1 <= NF) print $(i + 1) "\t" $i "\t" options
      }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && awk '
      BEGIN { RS = ""; FS = "\n" }
      {
        types = uris = suites = enabled = key = ""
        for (l = 1; l <= NF; l++) {
          if ($l ~ /^[ \t#]/ || index($l, ":") == 0) continue
          name = tolower(substr($l, 1, index($l, ":") - 1))
          value = substr($l, index($l, ":") + 1); gsub(/^[ \t]+|[ \t]+$/, "", value)
          if (name == "types") types = value; else if (name == "uris") uris = value
          else if (name == "suites") suites = value; else if (name == "enabled") enabled = value
          else if (name == "signed-by" && value ~ /^\//) key = "[signed-by=" value "]"
        }
        if ((" " types " ") !~ / deb / || tolower(enabled) == "no" || uris == "") next
        split(uris, uri, " "); n = split(suites, suite, " ")
        for (s = 1; s <= n; s++) print suite[s] "\t" uri[1] "\t" key
      }' "$f"
  done
}

# Some hosts run 64-bit user code only (the kernel's IA-32 emulation is off):
# 32-bit Wine then runs through qemu's user-mode emulator, registered with
# binfmt_misc. qemu 7.2 needs about a minute to start each Wine process, so
# the newer one from bookworm-backports is used, taken from the Debian mirror
# that this machine's sources already name for bookworm.
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if ! /usr/bin/qemu-i386-static --version 2>/dev/null | grep -qE 'version ([89]|[1-9][0-9])\.'; then
    echo "setup: this kernel runs no 32-bit code; installing qemu-user-static from bookworm-backports"
    if ! apt_entries | cut -f1 | grep -qx bookworm-backports; then
      mirror=$(apt_entries | awk -F '\t' '$1 == "bookworm" { print; exit }')
      if [ -z "$mirror" ]; then
        echo "setup: no bookworm entry in /etc/apt/sources.list or /etc/apt/sources.list.d to take the mirror from; add bookworm-backports to APT's sources and run this again" >&2
        exit 1
      fi
      echo "setup: adding bookworm-backports to APT's sources (/etc/apt/sources.list.d/bookworm-backports.list)"
      echo "$mirror" | awk -F '\t' '{ print "deb " ($3 == "" ? "" : $3 " ") $2 " bookworm-backports main" }' |
        as_root tee /etc/apt/sources.list.d/bookworm-backports.list >/dev/null
    fi
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      -t bookworm-backports qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  if [ ! -e "$binfmt/register" ]; then
    echo "setup: mounting binfmt_misc at $binfmt"
    as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  fi
  # A registration that is there but does not run 32-bit code (an older qemu) is replaced.
  if [ -e "$binfmt/qemu-i386" ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "setup: removing the qemu-i386 registration that does not run 32-bit code"
    as_root sh -c "echo -1 > $binfmt/qemu-i386"
  fi
  if [ ! -e "$binfmt/qemu-i386" ]; then
    echo "setup: registering qemu-i386 for 32-bit programs"
    as_root sh -c "printf '%s' ':qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:/usr/bin/qemu-i386-static:F' > $binfmt/register"
  fi
fi

# Wine takes its ANSI code page (932) from the Japanese locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  as_root sh -c "sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen && locale-gen ja_JP.UTF-8 >/dev/null"
fi
