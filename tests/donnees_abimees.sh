#!/usr/bin/env bash
# donnees_abimees.sh: the program in a real window with each file it reads at start-up missing,
# replaced by garbage or cut short, with a working directory where the trace cannot be written,
# and with a level file that is a directory. Every time it must show a frame, keep on with the
# rest, write its trace where it can, and end with status 0 when its window is closed.
# Usage: donnees_abimees.sh VALDRUNE FERMER_FENETRE SCRIPTS_DIR DATA_DIR
set -euo pipefail
valdrune=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"
donnees=$(realpath "$4")

racine=$(mktemp -d)
trap 'arreter_tout; chmod -R u+w "$racine"; rm -rf "$racine"' EXIT
export ERREURS_PROGRAMME="$racine/erreurs"
echec() { echo "FAILED ($cas): $*" >&2; exit 1; }

# The knight's tile, where level 19 puts it.
colonne=$(grep -m1 -A3 '<id>0</id>' "$donnees/solution19.xml" | sed -n 's:.*<colonne>\(.*\)</colonne>.*:\1:p')
ligne=$(grep -m1 -A2 '<id>0</id>' "$donnees/solution19.xml" | sed -n 's:.*<ligne>\(.*\)</ligne>.*:\1:p')
chevalier_x=$((100 * colonne + 50))
chevalier_y=$((750 - 100 * ligne - 100))

demarrer_xvfb
nb=0

# essayer CASE FILE DAMAGE: runs the program on a fresh copy of the data, the file damaged.
essayer() {
    cas="$1 $2"
    local dossier="$racine/$((++nb))" fichier=$1 degat=$2
    mkdir "$dossier"
    cp -r "$donnees"/. "$dossier"
    rm -f "$dossier/fichier_ecriture_pute.txt"
    case $degat in
    absent) rm "$dossier/$fichier" ;;
    bruit) head -c 3000 < <(yes 'BM <id>1</id> <ligne>-7</ligne> 0123456789') >"$dossier/$fichier" ;;
    coupe) head -c $(($(stat -c %s "$dossier/$fichier") / 2)) "$donnees/$fichier" >"$dossier/$fichier" ;;
    dossier) rm -f "$dossier/$fichier" && mkdir "$dossier/$fichier" ;;
    # Root writes into a read-only directory all the same: the trace's name is also taken.
    lecture_seule) mkdir "$dossier/$fichier" && chmod -R a-w "$dossier" ;;
    esac
    lancer_programme "$dossier" "$valdrune" || echec "no window"
    local image="$racine/image.ppm"
    capturer_premiere_image "$FENETRE" "$image" || echec "no frame drawn"
    if [ "$fichier" != solution19.xml ]; then
        [ "$(pixel "$image" "$chevalier_x" "$chevalier_y")" = "0 0 255" ] ||
            echec "the knight is not drawn at ($chevalier_x, $chevalier_y)"
    fi
    [ -d "$dossier/fichier_ecriture_pute.txt" ] ||
        attendre 10 test "$(wc -l <"$dossier/fichier_ecriture_pute.txt" 2>/dev/null)" = 70 ||
        echec "no trace of 70 lines"
    # A missing or unreadable image or font is reported; a font cut short may still open.
    case $fichier:$degat in
    *.bmp:* | *.ttf:absent | *.ttf:bruit)
        grep -q "^valdrune: $fichier: " "$racine/erreurs" || echec "$fichier not reported" ;;
    esac
    local statut=0
    fermer_programme "$fermer" || statut=$?
    [ "$statut" -eq 0 ] || echec "ended with status $statut: $(cat "$racine/erreurs")"
}

# One start for each kind of damage to each kind of file: the images are all read by the same
# code, so three of them, one damage each, stand for the fifteen.
essayer img_tour.bmp absent
essayer img_petit_escalier_droite_gauche.bmp bruit
essayer img_grand_escalier_debout_gauche.bmp coupe
for f in arial.ttf solution19.xml; do
    for degat in absent bruit coupe; do essayer "$f" "$degat"; done
done
essayer solution19.xml dossier

# A working directory where the trace cannot be written.
essayer fichier_ecriture_pute.txt lecture_seule
echo "damaged data: $nb runs, each drew a frame and ended with status 0"
