#!/usr/bin/env bash
# tester.sh: builds Valdrune with its tests and runs every test: the suite as shipped, the same
# suite built with AddressSanitizer and UndefinedBehaviorSanitizer, and the level reader's
# fuzzer for a bounded time. Exits non-zero on any failure or sanitizer report.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
preparer_tout
cd "$RACINE/build"
ctest --output-on-failure -j "$(nproc)"

echo "== The tests again, with AddressSanitizer and UndefinedBehaviorSanitizer"
CXX=clang++ cmake -S "$RACINE" -B "$RACINE/build-san" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVALDRUNE_SANITIZE=ON -DVALDRUNE_FUZZ=ON >/dev/null
cmake --build "$RACINE/build-san" -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$RACINE/tests/lsan.supp"
cd "$RACINE/build-san"
ctest --output-on-failure -j "$(nproc)"

echo "== The level reader's fuzzer, ${FUZZ_SECONDES:=30} seconds"
corpus=$(mktemp -d)
journal=$(mktemp)
trap 'rm -rf "$corpus" "$journal"' EXIT
if ! "$RACINE/build-san/tests/fuzz_lecteur" -max_total_time="$FUZZ_SECONDES" \
    -artifact_prefix="$RACINE/build-san/" "$corpus" "$RACINE/tests/lecteur" >"$journal" 2>&1; then
    tail -n 40 "$journal"
    echo "The fuzzer found a crash, saved in build-san/: add it to tests/lecteur as a case." >&2
    exit 1
fi
grep '^Done' "$journal"
