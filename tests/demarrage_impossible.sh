#!/usr/bin/env bash
# demarrage_impossible.sh: with no video device to be had, the program says what failed, with
# SDL's own message, and stops with status 1 instead of running on with no screen.
# Usage: demarrage_impossible.sh VALDRUNE
set -uo pipefail
erreurs=$(mktemp)
trap 'rm -f "$erreurs"' EXIT
for essai in "SDL_VIDEODRIVER=inexistant" "SDL_VIDEODRIVER=x11 DISPLAY=:999999"; do
    env -u DISPLAY $essai "$1" 2>"$erreurs"
    statut=$?
    [ "$statut" -eq 1 ] || { echo "FAILED ($essai): status $statut" >&2; exit 1; }
    grep -q '^valdrune: cannot initialise SDL: .' "$erreurs" ||
        { echo "FAILED ($essai): $(cat "$erreurs")" >&2; exit 1; }
done
echo "no video: message and status 1"
