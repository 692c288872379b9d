#!/usr/bin/env bash
# installation.sh: installs to a temporary prefix, then installs the Debian package (with dpkg
# as root, otherwise unpacked into a scratch root), and runs each installed launcher from an
# unrelated directory on a virtual display: the window opens with its caption, and the data,
# the font and the trace are in the per-user folder. The challenge mode is run once through the
# launcher on a level, and refuses a level that is not one.
# Usage: installation.sh BUILD_DIR FERMER_FENETRE SCRIPTS_DIR PACKAGES_DIR
set -euo pipefail
build=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"
paquets=$(realpath "$4")

tmp=$(mktemp -d)
installe=
nettoyer() {
    arreter_tout
    [ -z "$installe" ] || dpkg --purge valdrune >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap nettoyer EXIT
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
    # The font arrives as a file of its own, whatever the installed data holds.
    [ -f "$2/valdrune/arial.ttf" ] && [ ! -L "$2/valdrune/arial.ttf" ] &&
        [ -s "$2/valdrune/arial.ttf" ] || echec "$1: no readable font in $2/valdrune"
    local statut=0
    fermer_programme "$fermer" || statut=$?
    [ "$statut" -eq 0 ] || echec "$1: ended with status $statut"
}

demarrer_xvfb

cmake --install "$build" --prefix "$tmp/prefixe" >/dev/null
lancer "$tmp/prefixe/games/valdrune" "$tmp/xdg"
[ -f "$tmp/xdg/valdrune/solution48.xml" ] || echec "the per-user folder was not filled"
# An older copy in the per-user folder is refreshed from the installed data; a level the
# user changed after the installation is kept.
touch -d '2000-01-01' "$tmp/xdg/valdrune/solution19.xml"
echo '<!-- changed -->' >>"$tmp/xdg/valdrune/solution20.xml"
lancer "$tmp/prefixe/games/valdrune" "$tmp/xdg"
cmp -s "$tmp/xdg/valdrune/solution19.xml" "$tmp/prefixe/share/games/valdrune/solution19.xml" ||
    echec "an older copy was not refreshed"
grep -q changed "$tmp/xdg/valdrune/solution20.xml" || echec "a newer user copy was replaced"

# The challenge mode through the launcher: the level asked for reaches the program (a hint
# names it), and the window closes like the viewer's.
lancer_programme "$tmp/ailleurs" env XDG_DATA_HOME="$tmp/xdg" "$tmp/prefixe/games/valdrune" \
    --defi 3 >"$tmp/sortie" || echec "--defi 3: no window captioned 'Jeu Valdrune'"
xdotool windowfocus "$FENETRE"
attendre 10 test "$(xdotool getwindowfocus)" = "$FENETRE" || echec "--defi 3: no focus"
xdotool key h
attendre 10 grep -qx 'niveau 3 : indice' "$tmp/sortie" ||
    echec "--defi 3: H gave no hint on level 3: $(cat "$tmp/sortie")"
statut=0
fermer_programme "$fermer" || statut=$?
[ "$statut" -eq 0 ] || echec "--defi 3: ended with status $statut"
[ -z "$(ls -A "$tmp/ailleurs")" ] || echec "--defi 3: wrote into the directory it was started from"
# A level that is not one is refused before any window: no display is needed to see it.
statut=0
(cd "$tmp/ailleurs" && env -u DISPLAY XDG_DATA_HOME="$tmp/xdg" "$tmp/prefixe/games/valdrune" \
    --defi 99 >/dev/null 2>"$tmp/erreurs") || statut=$?
[ "$statut" -eq 2 ] && [ "$(wc -l <"$tmp/erreurs")" -eq 1 ] ||
    echec "--defi 99: status $statut, standard error: $(cat "$tmp/erreurs")"

# The Debian package, built from debian/ (tests/paquet.sh has Debian's checkers look at it).
paquet=$(echo "$paquets"/valdrune_*.deb)
[ -f "$paquet" ] || echec "no package in $paquets"
dpkg-deb -x "$paquet" "$tmp/racine"

# Installed for real where this may be done (as root, over no copy of the user's), otherwise
# run from the unpacked tree, with the system's font where its dependency would put it.
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W valdrune >/dev/null 2>&1; then
    installe=oui
    dpkg -i "$paquet" >/dev/null || echec "dpkg -i $paquet"
    lancer /usr/games/valdrune "$tmp/xdg-deb"
    dpkg --purge valdrune >/dev/null || echec "dpkg --purge valdrune"
    installe=
    [ ! -e /usr/games/valdrune ] && [ ! -e /usr/share/games/valdrune ] ||
        echec "dpkg --purge left the program or its data behind"
    comment="installed with dpkg, run and purged"
else
    liberation=usr/share/fonts/truetype/liberation
    mkdir -p "$tmp/racine/$liberation"
    ln -s "/$liberation/LiberationSans-Regular.ttf" "$tmp/racine/$liberation/"
    lancer "$tmp/racine/usr/games/valdrune" "$tmp/xdg-deb"
    comment="unpacked and run"
fi
echo "installed launcher and Debian package ($(basename "$paquet"), $comment): window," \
    "caption, font and trace in place; challenge mode on a level, and a bad level refused"
