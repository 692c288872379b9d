#!/usr/bin/env bash
# installation.sh: installs to a temporary prefix, and unpacks the Debian package, then runs
# each installed launcher from an unrelated directory on a virtual display: the window opens
# with its caption, and the data and the trace are in the per-user folder.
# Usage: installation.sh BUILD_DIR FERMER_FENETRE SCRIPTS_DIR
set -euo pipefail
build=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"

tmp=$(mktemp -d)
trap 'arreter_tout; rm -rf "$tmp"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }

# lancer LAUNCHER XDG_DATA_HOME: one run, from an unrelated directory, closed like a user would.
lancer() {
    mkdir -p "$tmp/ailleurs"
    lancer_programme "$tmp/ailleurs" env XDG_DATA_HOME="$2" "$1" ||
        echec "$1: no window captioned 'Jeu Valdrune'"
    capturer_premiere_image "$FENETRE" "$tmp/image.ppm" || echec "$1: no frame drawn"
    attendre 10 test "$(wc -l <"$2/valdrune/fichier_ecriture_pute.txt" 2>/dev/null)" = 70 ||
        echec "$1: no trace in $2/valdrune"
    [ -z "$(ls -A "$tmp/ailleurs")" ] || echec "$1: wrote into the directory it was started from"
    local statut=0
    fermer_programme "$fermer" || statut=$?
    [ "$statut" -eq 0 ] || echec "$1: ended with status $statut"
}

demarrer_xvfb

cmake --install "$build" --prefix "$tmp/prefixe" >/dev/null
desktop-file-validate "$tmp/prefixe/share/applications/valdrune.desktop"
[ -s "$tmp/prefixe/share/icons/hicolor/64x64/apps/valdrune.png" ] || echec "no icon"
lancer "$tmp/prefixe/bin/valdrune" "$tmp/xdg"
[ -f "$tmp/xdg/valdrune/solution48.xml" ] && [ -f "$tmp/xdg/valdrune/arial.ttf" ] ||
    echec "the per-user folder was not filled"
# An older copy in the per-user folder is refreshed from the installed data; a level the
# user changed after the installation is kept.
touch -d '2000-01-01' "$tmp/xdg/valdrune/solution19.xml"
echo '<!-- changed -->' >>"$tmp/xdg/valdrune/solution20.xml"
lancer "$tmp/prefixe/bin/valdrune" "$tmp/xdg"
cmp -s "$tmp/xdg/valdrune/solution19.xml" "$tmp/prefixe/share/valdrune/solution19.xml" ||
    echec "an older copy was not refreshed"
grep -q changed "$tmp/xdg/valdrune/solution20.xml" || echec "a newer user copy was replaced"

# The Debian package: its runtime dependencies, and its launcher unpacked elsewhere.
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/deb" >/dev/null
paquet=$(ls "$tmp"/deb/valdrune_*.deb)
dependances=$(dpkg-deb -f "$paquet" Depends)
for d in libsdl1.2debian libsdl-ttf2.0-0; do
    grep -q "$d" <<<"$dependances" || echec "the package does not depend on $d: $dependances"
done
dpkg-deb -x "$paquet" "$tmp/racine"
lancer "$tmp/racine/usr/bin/valdrune" "$tmp/xdg-deb"
echo "installed launcher and Debian package ($(basename "$paquet")): window, caption and trace in place"
