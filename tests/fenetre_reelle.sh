#!/usr/bin/env bash
# fenetre_reelle.sh: the program in a real window on a virtual X display, driven like a user.
# Usage: fenetre_reelle.sh VALDRUNE FERMER_FENETRE SCRIPTS_DIR FONT
set -euo pipefail
valdrune=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"
police=$(realpath "$4")

travail=$(mktemp -d)
trap 'arreter_tout; rm -rf "$travail"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }

# Level 19: the knight at column 2 on the ground, the princess at column 5 one row up.
cat >"$travail/solution19.xml" <<'FIN'
<solution>
<piece> <id>0</id> <ligne>0</ligne> <colonne>2</colonne> <hauteur>2</hauteur> <dans_le_jeu>1</dans_le_jeu> </piece>
<piece> <id>1</id> <ligne>1</ligne> <colonne>5</colonne> <hauteur>2</hauteur> <dans_le_jeu>1</dans_le_jeu> </piece>
<piece> <id>3</id> <ligne>19</ligne> </piece>
</solution>
FIN
printf '<solution>\n<piece>\n<id>3</id>\n<ligne>20</ligne>\n</piece>\n</solution>\n' >"$travail/solution20.xml"
cp "$police" "$travail/arial.ttf"
trace="$travail/fichier_ecriture_pute.txt"
demarrer_xvfb

lancer_programme "$travail" "$valdrune" || echec "no window captioned 'Jeu Valdrune'"
attendre 20 grep -qx 'numero ligne : 19' "$trace" || echec "no trace of level 19"
geometrie=$(xdotool getwindowgeometry "$FENETRE")
grep -q 'Geometry: 1500x750' <<<"$geometrie" || echec "window is not 1500x750: $geometrie"

image=$travail/image.ppm
capturer_premiere_image "$FENETRE" "$image" || echec "the window shows no frame"
[ "$(pixel "$image" 250 700)" = "0 0 255" ] || echec "no knight at column 2, row 0"
[ "$(pixel "$image" 550 460)" = "255 100 255" ] || echec "no princess at column 5, row 1"
[ "$(pixel "$image" 550 449)" = "17 206 112" ] || echec "no background above the princess"
encre=$(pamcut -left 0 -top 0 -width 200 -height 60 "$image" | pamsumm -min -brief)
[ "${encre%.*}" -lt 10 ] || echec "no panel text at the top left"
encre=$(pamcut -left 1400 -top 0 -width 100 -height 15 "$image" | pamsumm -min -brief)
[ "${encre%.*}" -lt 10 ] || echec "no matrix line at the top right"

xdotool windowfocus "$FENETRE"
attendre 10 test "$(xdotool getwindowfocus)" = "$FENETRE" || echec "window does not take focus"
xdotool key Up
attendre 20 grep -qx 'numero ligne : 20' "$trace" || echec "Up did not load level 20"

statut=0
fermer_programme "$fermer" || statut=$?
[ "$statut" -eq 0 ] || echec "the program ended with status $statut after its window was closed"
echo "real window: frame, level step and close passed"
