#!/usr/bin/env bash
# lanceur_concurrence.sh: the launcher as the build configures it, over a small installed tree
# whose program is a probe recording the folder it runs in. Checked: twenty launches at once,
# on a fresh folder and after an upgrade, all run in the user's folder and leave it right; a
# link of the user's into another games/valdrune folder stays, while one an earlier
# installation's launcher made and recorded is brought in line; a link planted at a name the
# launcher writes is not followed; a folder others may write is refused, said and notified.
# Run as root, it runs as nobody, whom file modes bind.
# Usage: lanceur_concurrence.sh LAUNCHER
set -euo pipefail

if [ "$(id -u)" -eq 0 ]; then
    travail=$(mktemp -d)
    cp "$0" "$travail/essai.sh"
    cp "$1" "$travail/lanceur"
    chown -R 65534:65534 "$travail"
    exec setpriv --reuid=65534 --regid=65534 --clear-groups \
        env TRAVAIL="$travail" bash "$travail/essai.sh" "$travail/lanceur"
fi
tmp=${TRAVAIL:-$(mktemp -d)}
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }

mkdir -p "$tmp/outils" "$tmp/temporaires" "$tmp/sondes"
cat >"$tmp/outils/notify-send" <<'FIN'
#!/bin/sh
printf '%s\n' "$@" >>"$NOTIFICATIONS"
FIN
chmod +x "$tmp/outils/notify-send"

# installer ROOT NAME...: an installed tree at ROOT, as the package lays it out, holding the
# files named; its program records where it runs and what it reads there.
installer() {
    local racine=$1 nom
    shift
    rm -rf "$racine"
    mkdir -p "$racine/games" "$racine/lib/games/valdrune" "$racine/share/games/valdrune"
    cp "$tmp/lanceur" "$racine/games/valdrune"
    for nom in "$@"; do echo "$nom $racine" >"$racine/share/games/valdrune/$nom"; done
    : >"$racine/share/games/valdrune/empreintes_anciennes.sha256"
    cat >"$racine/lib/games/valdrune/valdrune" <<'FIN'
#!/bin/sh
{
    echo "dossier $(pwd -P)"
    for f in *; do printf 'lit %s %s\n' "$f" "$(head -c 200 "$f" 2>/dev/null)"; done
} >"$SONDES/$$"
FIN
    chmod +x "$racine/lib/games/valdrune/valdrune" "$racine/games/valdrune"
}

# lancer N ROOT: N launches of ROOT's launcher at once with the home given, no terminal; each
# one's standard error in $tmp/erreurs.K.
maison="$tmp/maison"
dossier="$maison/.local/share/valdrune"
lancer() {
    local k
    rm -f "$tmp/sondes"/* "$tmp"/erreurs.* "$tmp/notifications"
    for k in $(seq "$1"); do
        env -u XDG_DATA_HOME HOME="$maison" DISPLAY=:0 PATH="$tmp/outils:$PATH" \
            SONDES="$tmp/sondes" NOTIFICATIONS="$tmp/notifications" TMPDIR="$tmp/temporaires" \
            "$2/games/valdrune" --defi 2>"$tmp/erreurs.$k" </dev/null &
    done
    wait
    [ "$(ls "$tmp/sondes" | wc -l)" -eq "$1" ] || echec "not every launch ran the program"
}

# partout CASE: every launch ran in the user's folder, with nothing said.
partout() {
    local ailleurs
    ailleurs=$(grep -L -x "dossier $dossier" "$tmp/sondes"/* | wc -l) || true
    [ "$ailleurs" -eq 0 ] || echec "$1: $ailleurs of $(ls "$tmp/sondes" | wc -l) launches ran" \
        "from a temporary folder: $(cat "$tmp"/erreurs.* | sort | uniq -c | head -n 3)"
    [ -z "$(cat "$tmp"/erreurs.*)" ] || echec "$1: $(cat "$tmp"/erreurs.* | sort -u)"
}

# liens ROOT NAME...: the user's folder holds links to ROOT's files of those names, and the
# launcher's manifest, besides the files given to keep.
liens() {
    local racine=$1 nom attendu=() trouve=()
    shift
    for nom in "$@"; do attendu+=("$nom -> $racine/share/games/valdrune/$nom"); done
    for nom in "$dossier"/*; do
        [ -L "$nom" ] || continue
        case $(readlink "$nom") in "$tmp/mods/"*) ;; *) trouve+=("${nom##*/} -> $(readlink "$nom")") ;; esac
    done
    diff <(printf '%s\n' "${attendu[@]}" | sort) <(printf '%s\n' "${trouve[@]}" | sort) ||
        echec "the folder's links are not the installed files'"
}

a="$tmp/a"
installer "$a" solution1.xml solution2.xml solution3.xml img_cube.bmp arial.ttf
# A fresh folder: twenty launches at once make the same links.
lancer 20 "$a"
partout "a fresh folder"
liens "$a" solution1.xml solution2.xml solution3.xml img_cube.bmp arial.ttf
# An upgrade adds a level and drops one: the twenty bring the folder in line together.
rm "$a/share/games/valdrune/solution3.xml"
echo nouveau >"$a/share/games/valdrune/solution4.xml"
lancer 20 "$a"
partout "after an upgrade"
liens "$a" solution1.xml solution2.xml solution4.xml img_cube.bmp arial.ttf

# The user's link into a games/valdrune folder of the user's own is the user's: kept, read,
# and said. One that another installation's launcher made is known from the manifest.
mkdir -p "$tmp/mods/games/valdrune"
echo "mon niveau" >"$tmp/mods/games/valdrune/solution1.xml"
ln -sfn "$tmp/mods/games/valdrune/solution1.xml" "$dossier/solution1.xml"
b="$tmp/b"
installer "$b" solution1.xml solution2.xml img_cube.bmp
lancer 1 "$b"
[ "$(readlink "$dossier/solution2.xml")" = "$b/share/games/valdrune/solution2.xml" ] ||
    echec "the other installation's launcher did not link its own files"
lancer 1 "$a"
[ "$(readlink "$dossier/solution1.xml")" = "$tmp/mods/games/valdrune/solution1.xml" ] ||
    echec "the user's link was replaced: $(readlink "$dossier/solution1.xml")"
grep -qx "lit solution1.xml mon niveau" "$tmp/sondes"/* || echec "the user's level was not read"
grep -q '^valdrune: solution1.xml: the file of your own' "$tmp/erreurs.1" ||
    echec "the user's level not said: $(cat "$tmp/erreurs.1")"
liens "$a" solution2.xml solution4.xml img_cube.bmp arial.ttf

# A link planted at the name of the launcher's manifest, or of a temporary file beside it, is
# replaced or left, never written through.
echo "à moi" >"$tmp/cible"
rm "$dossier/solution1.xml"
mv "$dossier/.fichiers_installes" "$tmp/manifeste"
ln -s "$tmp/cible" "$dossier/.fichiers_installes.nouveau"
lancer 1 "$a"
partout "a planted link"
[ "$(cat "$tmp/cible")" = "à moi" ] || echec "a planted link was written through"
[ -L "$dossier/.fichiers_installes.nouveau" ] && [ -f "$dossier/.fichiers_installes" ] &&
    [ ! -L "$dossier/.fichiers_installes" ] || echec "the manifest or the planted link"

# A folder that others may write, as a shared XDG_DATA_HOME would be: refused, with the
# reason said and notified, and the program run from a temporary folder.
for mode in o+w g+w; do
    chmod "$mode" "$dossier"
    lancer 1 "$a"
    chmod go-w "$dossier"
    grep -qx "dossier $tmp/temporaires/valdrune.*" "$tmp/sondes"/* ||
        echec "$mode: ran in $(head -n 1 "$tmp/sondes"/*)"
    grep -q "^valdrune: $dossier: not used: .* may write there" "$tmp/erreurs.1" &&
        grep -q '^valdrune: running from ' "$tmp/erreurs.1" ||
        echec "$mode: $(cat "$tmp/erreurs.1")"
    grep -q 'may write there' "$tmp/notifications" || echec "$mode: no notification"
done
# Made by the launcher, the folder is the user's alone whatever the umask.
rm -rf "$maison"
(umask 0 && lancer 1 "$a")
partout "made under umask 0"
[ "$(stat -c %a "$dossier")" = 755 ] || echec "made under umask 0: $(stat -c %a "$dossier")"
echo "launcher at once: fresh folder, upgrade, the user's link kept, another installation's" \
    "links replaced, a planted link, a folder others may write"
