#!/usr/bin/env bash
# tester.sh: builds Valdrune with its tests and runs every test; exits non-zero on a failure.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
preparer
cd "$RACINE/build"
ctest --output-on-failure -j "$(nproc)"
