#!/bin/sh
# Builds and runs every test: the native unit tests under AddressSanitizer
# and UndefinedBehaviorSanitizer, the same unit tests as a 32-bit Windows
# program under Wine, the end-to-end tests of Tallowind.exe under Wine and
# Xvfb, and each fuzz target for a short, fixed time. Installs what is
# missing first. Fails when any test fails.
set -eu
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc)

echo "== native unit tests (ASan + UBSan)"
cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j "$jobs"

echo "== 32-bit Windows build: unit tests and end-to-end tests under Wine"
cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset win32 -j "$jobs"

echo "== benchmarks (built, not run)"
cmake --preset bench >/dev/null
cmake --build --preset bench

echo "== fuzzing"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
scripts/run-fuzzers.sh build/fuzz/fuzz 20
