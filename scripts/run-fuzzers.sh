#!/bin/sh
# Runs every libFuzzer target in DIR (one per seed corpus fuzz/corpus/<target>)
# for SECONDS seconds, starting from a copy of its corpus. Fails on any crash
# or sanitizer report.
set -eu
dir=$(cd "$1" && pwd)
seconds=${2:-20}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
passed=0
for corpus in "$root"/fuzz/corpus/*/; do
  name=$(basename "$corpus")
  target=$dir/$name
  mkdir -p "$work/$name"
  cp -r "$corpus." "$work/$name/"
  if (cd "$work" && "$target" -max_total_time="$seconds" -print_final_stats=0 "$work/$name" >"$work/$name.log" 2>&1); then
    echo "fuzz: $name ran ${seconds}s without findings"
    passed=$((passed + 1))
  else
    echo "fuzz: $name FAILED"; tail -40 "$work/$name.log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
