#!/usr/bin/env bash
# lanceur.sh: the installed launcher between two versions of the package, each unpacked where
# the other was, as an upgrade and a downgrade leave the files. The program is replaced by a
# probe that records the folder it runs in and what it reads there. Checked: the folder of the
# user's own holds only the user's files and links to the installed ones, and the program
# reads the installed version's files, after an upgrade and a downgrade, from a folder an
# older launcher filled with copies and from copies of the folder whose dates are all "now";
# a read-only folder, a relative XDG_DATA_HOME, no HOME: a message and a notification, and
# the program started all the same; --help and --version passed on with no folder made. Run
# as root, it runs as nobody, whom file modes bind.
# Usage: lanceur.sh PACKAGE.deb
set -euo pipefail
shopt -s extglob
ici=$(cd "$(dirname "$0")" && pwd)

if [ "$(id -u)" -eq 0 ]; then
    travail=$(mktemp -d)
    cp "$1" "$travail/paquet.deb"
    cp "$0" "$ici/version_suivante.sh" "$travail/"
    chown -R 65534:65534 "$travail"
    exec setpriv --reuid=65534 --regid=65534 --clear-groups \
        env TRAVAIL="$travail" bash "$travail/lanceur.sh" "$travail/paquet.deb"
fi
tmp=${TRAVAIL:-$(mktemp -d)}
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
source "$ici/version_suivante.sh"
echec() { echo "FAILED: $*" >&2; exit 1; }

cp "$1" "$tmp/a.deb"
faire_version_suivante "$tmp/a.deb" "$tmp/b.deb"
racine="$tmp/racine"
installes="$racine/usr/share/games/valdrune"
mkdir -p "$tmp/ailleurs" "$tmp/outils" "$tmp/temporaires"

# Stand-ins for the desktop's notifier and the password database.
cat >"$tmp/outils/notify-send" <<'FIN'
#!/bin/sh
printf '%s\n' "$@" >>"$NOTIFICATIONS"
FIN
cat >"$tmp/outils/getent" <<'FIN'
#!/bin/sh
[ -n "${MAISON_SYSTEME:-}" ] || exit 2
echo "joueur:x:$(id -u):$(id -g)::$MAISON_SYSTEME:/bin/sh"
FIN
chmod +x "$tmp/outils"/*

# installer A|B: that version's files where the package puts them, the program a probe;
# livres holds the installed files' checksums by name.
declare -A livres=()
installer() {
    rm -rf "$racine"
    dpkg-deb -x "$tmp/$(tr AB ab <<<"$1").deb" "$racine"
    local police="$racine/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"
    mkdir -p "$(dirname "$police")"
    echo police >"$police"
    cat >"$racine/usr/lib/games/valdrune/valdrune" <<'FIN'
#!/bin/sh
{
    echo "dossier $(pwd -P)"
    echo "arguments $*"
    sha256sum -- * 2>/dev/null | awk '{ print "lit", $2, $1 }'
} >"$SONDE"
exit "${SORTIE:-0}"
FIN
    livres=()
    local somme nom
    while read -r somme nom; do livres[$nom]=$somme; done < \
        <(cd "$installes" && sha256sum -- !(empreintes_anciennes.sha256))
}

# lancer [VARIABLE=VALUE...]: the launcher from an unrelated folder, with no terminal, no
# XDG_DATA_HOME and the home given; its status in $statut, its standard error in $erreurs.
sonde="$tmp/sonde" erreurs="$tmp/erreurs" notifications="$tmp/notifications"
lancer() {
    rm -f "$sonde" "$notifications"
    statut=0
    (cd "$tmp/ailleurs" && env -u XDG_DATA_HOME -u HOME DISPLAY=:0 PATH="$tmp/outils:$PATH" \
        SONDE="$sonde" NOTIFICATIONS="$notifications" TMPDIR="$tmp/temporaires" "$@" \
        "$racine/usr/games/valdrune" --defi 3) 2>"$erreurs" </dev/null || statut=$?
    [ -f "$sonde" ] || echec "the program did not start: $(cat "$erreurs")"
    grep -qx 'arguments --defi 3' "$sonde" || echec "the arguments did not reach the program"
    [ -z "$(ls -A "$tmp/ailleurs")" ] || echec "the launcher wrote into the folder it was started from"
}

somme() { sha256sum <"$1" | cut -d' ' -f1; }
vu() { awk -v n="$1" '$1 == "lit" && $2 == n { print $3 }' "$sonde"; }

# Files of the user's, by name: their content as the user left it.
declare -A miens=()
# retenir FOLDER NAME CONTENT: a file of the user's.
retenir() {
    rm -f "$1/$2"
    printf '%s\n' "$3" >"$1/$2"
    miens[$2]=$(somme "$1/$2")
}

# voir: the program read the installed files and the user's own over them, nothing else.
voir() {
    local attendu=() nom
    for nom in "${!livres[@]}"; do
        [ -n "${miens[$nom]:-}" ] || attendu+=("lit $nom ${livres[$nom]}")
    done
    for nom in "${!miens[@]}"; do attendu+=("lit $nom ${miens[$nom]}"); done
    diff <(printf '%s\n' "${attendu[@]}" | sort) <(grep '^lit ' "$sonde" | sort) >"$tmp/ecarts" ||
        echec "$1: the program did not read the installed files and the user's:
$(cat "$tmp/ecarts")"
}

# propre FOLDER: it holds the user's files as the user left them, links named after the
# installed files to them, and the launcher's manifest; nothing else.
propre() {
    local e nom cible
    declare -A cibles=()
    while IFS=$'\t' read -r nom cible; do cibles[$nom]=$cible; done < \
        <(find "$1" -mindepth 1 -maxdepth 1 -type l -printf '%f\t%l\n')
    for e in "$1"/* "$1"/.[!.]*; do
        [ -e "$e" ] || [ -L "$e" ] || continue
        nom=${e##*/}
        if [ -L "$e" ]; then
            [ "${cibles[$nom]}" = "$installes/$nom" ] && [ -e "$e" ] ||
                echec "$2: $nom links to ${cibles[$nom]}"
        elif [ -n "${miens[$nom]:-}" ]; then
            [ "$(somme "$e")" = "${miens[$nom]}" ] || echec "$2: the user's $nom was changed"
        else
            [ "$nom" = .fichiers_installes ] || echec "$2: $nom should not be in the user's folder"
        fi
    done
    for nom in "${!miens[@]}"; do
        [ -f "$1/$nom" ] && [ ! -L "$1/$nom" ] || echec "$2: the user's $nom is gone"
    done
}

maison="$tmp/maison"
dossier="$maison/.local/share/valdrune"

installer A
# --help and --version go straight to the program, which only prints: no folder for them.
for option in --help --version; do
    rm -f "$sonde"
    (cd "$tmp/ailleurs" && env -u XDG_DATA_HOME -u DISPLAY HOME="$maison" SONDE="$sonde" \
        "$racine/usr/games/valdrune" "$option") 2>"$erreurs" </dev/null || echec "$option: $?"
    grep -qx "arguments $option" "$sonde" && [ ! -e "$maison" ] && [ ! -s "$erreurs" ] ||
        echec "$option: the folder made, or $(cat "$erreurs")"
done

# A first start: the folder is made, with links only, and the program runs in it.
lancer HOME="$maison"
grep -qx "dossier $dossier" "$sonde" || echec "first start: $(head -n 1 "$sonde")"
[ "$statut" -eq 0 ] && [ ! -s "$erreurs" ] || echec "first start: $statut, $(cat "$erreurs")"
voir "first start"
propre "$dossier" "first start"

# The user's files, then an upgrade that changes level 19, drops level 48 and adds level 49.
retenir "$dossier" progression.txt '19 résolu 2'
retenir "$dossier" solution20.xml '<!-- my own level 20 -->'
retenir "$dossier" notes.txt 'mine'
installer B
lancer HOME="$maison"
voir "upgrade"
[ -z "$(vu solution48.xml)" ] && [ -n "$(vu solution49.xml)" ] || echec "upgrade: 48 or 49"
propre "$dossier" "upgrade"
grep -q '^valdrune: solution20.xml: ' "$erreurs" || echec "upgrade: the user's level 20 not said"
[ ! -e "$notifications" ] || echec "upgrade: a notification for no failure"

# A downgrade brings level 48 back and the first level 19, and drops level 49.
installer A
lancer HOME="$maison"
voir "downgrade"
propre "$dossier" "downgrade"

# A home that an older launcher filled with copies of the files then installed, copied with
# cp -r, every date "now": after an upgrade, the copies give way to links and the copy of a
# file the new version dropped goes; the level the user changed stays. (The font aside: this
# one is a stand-in, whose checksum no list has.)
ancien="$tmp/ancien/.local/share/valdrune"
mkdir -p "$ancien"
cp -L "$installes"/solution*.xml "$installes"/img_*.bmp "$ancien/"
declare -A miens=()
retenir "$ancien" progression.txt '7 vu'
retenir "$ancien" solution20.xml '<!-- level 20, changed by hand -->'
cp -r "$tmp/ancien" "$tmp/copie"
dossier="$tmp/copie/.local/share/valdrune"
installer B
lancer HOME="$tmp/copie"
voir "an older launcher's copies, upgraded"
propre "$dossier" "an older launcher's copies, upgraded"

# That folder copied again with its links made files (cp -rL), then a downgrade: the copies
# of the newer version's files are known by the folder's manifest.
cp -rL "$tmp/copie" "$tmp/copie2"
dossier="$tmp/copie2/.local/share/valdrune"
[ ! -L "$dossier/solution19.xml" ] || echec "cp -rL kept a link"
installer A
lancer HOME="$tmp/copie2"
voir "a copy with files for links, downgraded"
propre "$dossier" "a copy with files for links, downgraded"

# A folder that cannot be written to, after an upgrade: the program runs from a temporary
# folder with the installed files and the user's, which is removed at the end; the folder is
# left as it was, and the program's status is the launcher's.
installer B
avant=$(ls -l --time-style=+ "$dossier")
chmod a-w "$dossier"
lancer HOME="$tmp/copie2" SORTIE=3
chmod u+w "$dossier"
[ "$statut" -eq 3 ] || echec "read-only: the launcher's status $statut, the program's 3"
case $(head -n 1 "$sonde") in "dossier $tmp/temporaires/"*) ;;
    *) echec "read-only: $(head -n 1 "$sonde")" ;; esac
voir "read-only"
grep -q "^valdrune: $dossier: cannot write there" "$erreurs" &&
    grep -q '^valdrune: running from ' "$erreurs" || echec "read-only: $(cat "$erreurs")"
grep -q 'cannot write there' "$notifications" || echec "read-only: no notification"
[ -z "$(ls -A "$tmp/temporaires")" ] || echec "read-only: the temporary folder was left"
[ "$(ls -l --time-style=+ "$dossier")" = "$avant" ] || echec "read-only: the folder changed"

# XDG_DATA_HOME: absolute, it is used; relative, ignored, as the XDG rules say.
lancer XDG_DATA_HOME="$tmp/xdg" HOME="$maison"
grep -qx "dossier $tmp/xdg/valdrune" "$sonde" || echec "XDG_DATA_HOME: $(head -n 1 "$sonde")"
lancer XDG_DATA_HOME=relatif HOME="$maison"
grep -qx "dossier $maison/.local/share/valdrune" "$sonde" ||
    echec "a relative XDG_DATA_HOME: $(head -n 1 "$sonde")"

# No HOME: the home the system records; with none, a temporary folder, said and notified.
lancer MAISON_SYSTEME="$tmp/systeme"
grep -qx "dossier $tmp/systeme/.local/share/valdrune" "$sonde" && [ ! -s "$erreurs" ] ||
    echec "no HOME: $(head -n 1 "$sonde"), $(cat "$erreurs")"
declare -A miens=()
lancer
case $(head -n 1 "$sonde") in "dossier $tmp/temporaires/"*) ;;
    *) echec "no home at all: $(head -n 1 "$sonde")" ;; esac
voir "no home at all"
grep -q '^valdrune: no home folder' "$erreurs" && grep -q 'no home folder' "$notifications" ||
    echec "no home at all: $(cat "$erreurs")"
echo "launcher: --help and --version, first start, upgrade, downgrade, an older launcher's" \
    "copies, a copy with files for links, read-only, XDG_DATA_HOME, no HOME"
