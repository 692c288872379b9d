#!/usr/bin/env bash
# installation.sh: installs to a temporary prefix, then installs the Debian package (with dpkg
# as root, otherwise unpacked into a scratch root), and runs each installed launcher from an
# unrelated directory on a virtual display: the window opens with its caption, the trace is
# written in the folder of the user's own, which sees the installed files through links. The
# challenge mode is run once through the launcher on a level, and refuses a level that is not
# one. The package is then upgraded to a later version whose level 19 differs, and downgraded
# again: the window shows each installed version's level 19; at last it is purged. Installed
# for real, the package also passes its autopkgtest.
# Usage: installation.sh BUILD_DIR FERMER_FENETRE SCRIPTS_DIR PACKAGES_DIR
set -euo pipefail
build=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"
paquets=$(realpath "$4")
source "$(dirname "$0")/version_suivante.sh"

tmp=$(mktemp -d)
installe=
nettoyer() {
    arreter_tout
    [ -z "$installe" ] || dpkg --purge valdrune >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap nettoyer EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }

# lancer LAUNCHER XDG_DATA_HOME: one run, from an unrelated directory, closed like a user would;
# the trace of level 19, where the program starts, is left in $tmp/trace.
lancer() {
    mkdir -p "$tmp/ailleurs"
    lancer_programme "$tmp/ailleurs" env XDG_DATA_HOME="$2" "$1" ||
        echec "$1: no window captioned 'Jeu Valdrune'"
    capturer_premiere_image "$FENETRE" "$tmp/image.ppm" || echec "$1: no frame drawn"
    attendre 10 test "$(wc -l <"$2/valdrune/fichier_ecriture_pute.txt" 2>/dev/null)" = 70 ||
        echec "$1: no trace in $2/valdrune"
    cp "$2/valdrune/fichier_ecriture_pute.txt" "$tmp/trace"
    [ -z "$(ls -A "$tmp/ailleurs")" ] || echec "$1: wrote into the directory it was started from"
    # The installed files are links, the font among them, and they can be read.
    [ -L "$2/valdrune/solution1.xml" ] && [ -L "$2/valdrune/arial.ttf" ] &&
        [ -s "$2/valdrune/arial.ttf" ] || echec "$1: no readable links to the installed files"
    local statut=0
    fermer_programme "$fermer" || statut=$?
    [ "$statut" -eq 0 ] || echec "$1: ended with status $statut"
}

demarrer_xvfb

cmake --install "$build" --prefix "$tmp/prefixe" >/dev/null
lancer "$tmp/prefixe/games/valdrune" "$tmp/xdg"

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

# The package, and a later version of it whose level 19 is the first's level 20.
paquet=$(echo "$paquets"/valdrune_*.deb)
[ -f "$paquet" ] || echec "no package in $paquets"
faire_version_suivante "$paquet" "$tmp/suivant.deb"

# Installed for real where this may be done (as root, over no copy of the user's), otherwise
# unpacked into a scratch root, each version where the other was, with the system's font
# where its dependency would put it.
if [ "$(id -u)" -eq 0 ] && ! dpkg-query -W valdrune >/dev/null 2>&1; then
    installe=oui
    installer() { dpkg -i "$1" >/dev/null 2>&1 || echec "dpkg -i $1"; }
    lanceur=/usr/games/valdrune
    comment="installed with dpkg, upgraded, downgraded and purged"
else
    installer() {
        rm -rf "$tmp/racine"
        dpkg-deb -x "$1" "$tmp/racine"
        local liberation=usr/share/fonts/truetype/liberation
        mkdir -p "$tmp/racine/$liberation"
        ln -s "/$liberation/LiberationSans-Regular.ttf" "$tmp/racine/$liberation/"
    }
    lanceur="$tmp/racine/usr/games/valdrune"
    comment="unpacked and run, then its later version and it again"
fi
installer "$paquet"
lancer "$lanceur" "$tmp/xdg-deb"
cp "$tmp/trace" "$tmp/trace-premier"
# The archive's smoke test (debian/tests), run by autopkgtest on the package as installed.
if [ -n "$installe" ]; then
    autopkgtest -B "$(echo "$paquets"/valdrune_*.dsc)" -- null >"$tmp/autopkgtest" 2>&1 ||
        echec "autopkgtest: $(tail -n 20 "$tmp/autopkgtest")"
    comment="$comment; its autopkgtest passed"
fi
installer "$tmp/suivant.deb"
lancer "$lanceur" "$tmp/xdg-deb"
! cmp -s "$tmp/trace" "$tmp/trace-premier" || echec "after the upgrade, the first level 19 is shown"
[ ! -e "$tmp/xdg-deb/valdrune/solution48.xml" ] && [ ! -L "$tmp/xdg-deb/valdrune/solution48.xml" ] ||
    echec "after the upgrade, level 48 is left"
installer "$paquet"
lancer "$lanceur" "$tmp/xdg-deb"
cmp -s "$tmp/trace" "$tmp/trace-premier" || echec "after the downgrade, the later level 19 is shown"
if [ -n "$installe" ]; then
    dpkg --purge valdrune >/dev/null || echec "dpkg --purge valdrune"
    installe=
    [ ! -e /usr/games/valdrune ] && [ ! -e /usr/share/games/valdrune ] &&
        [ ! -e /usr/lib/games/valdrune ] || echec "dpkg --purge left the program or its data behind"
fi
echo "installed launcher and Debian package ($(basename "$paquet"), $comment): window," \
    "caption, trace and links in place; challenge mode on a level, and a bad level refused"
