#!/usr/bin/env bash
# demarrage_impossible.sh: with no video device to be had, the program says what failed, with
# SDL's own message, and stops with status 1 instead of running on with no screen; --help,
# --version and an option it does not know answer all the same, as they open no window, and
# write nothing in the working directory. The version is debian/changelog's.
# Usage: demarrage_impossible.sh VALDRUNE CHANGELOG
set -uo pipefail
valdrune=$(realpath "$1")
version=$(dpkg-parsechangelog -l "$2" -S Version) || exit 1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/ici"
cd "$tmp/ici" || exit 1
echec() { echo "FAILED: $*" >&2; exit 1; }
for essai in "SDL_VIDEODRIVER=inexistant" "SDL_VIDEODRIVER=x11 DISPLAY=:999999"; do
    env -u DISPLAY $essai "$valdrune" 2>"$tmp/erreurs"
    statut=$?
    [ "$statut" -eq 1 ] || echec "$essai: status $statut"
    grep -q '^valdrune: cannot initialise SDL: .' "$tmp/erreurs" || echec "$essai: $(cat "$tmp/erreurs")"
done

# repondre STATUS ARGUMENT: the program's status, its output in $tmp/sortie and $tmp/erreurs.
repondre() {
    statut=0
    env -u DISPLAY SDL_VIDEODRIVER=inexistant "$valdrune" "$2" >"$tmp/sortie" 2>"$tmp/erreurs" ||
        statut=$?
    [ "$statut" -eq "$1" ] || echec "$2: status $statut: $(cat "$tmp/erreurs")"
}
repondre 0 --help
[ ! -s "$tmp/erreurs" ] && head -n 1 "$tmp/sortie" | grep -q '^Usage: valdrune' &&
    grep -q -- '--version' "$tmp/sortie" || echec "--help: $(cat "$tmp/sortie" "$tmp/erreurs")"
repondre 0 --version
[ ! -s "$tmp/erreurs" ] && [ "$(cat "$tmp/sortie")" = "valdrune $version" ] ||
    echec "--version: $(cat "$tmp/sortie" "$tmp/erreurs"), not valdrune $version"
for faux in --aide -h --defis; do
    repondre 2 "$faux"
    [ ! -s "$tmp/sortie" ] && [ "$(wc -l <"$tmp/erreurs")" -eq 1 ] ||
        echec "$faux: $(cat "$tmp/sortie" "$tmp/erreurs")"
done
! "$valdrune" --help >/dev/full 2>/dev/null || echec "--help: a failed write is not an error"
[ -z "$(ls -A)" ] || echec "files left in the working directory: $(ls -A)"
echo "no video: message and status 1; --help, --version ($version) and a wrong option answer"
