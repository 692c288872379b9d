#!/usr/bin/env bash
# fenetre_reelle.sh: the program in a real window on a virtual X display, driven like a user.
# Usage: fenetre_reelle.sh VALDRUNE FERMER_FENETRE SCRIPTS_DIR
set -euo pipefail
valdrune=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"

travail=$(mktemp -d)
programme=
finir() {
    [ -n "$programme" ] && kill "$programme" 2>/dev/null || true
    arreter_xvfb
    rm -rf "$travail"
}
trap finir EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }

cd "$travail"
printf '<solution>\n<piece>\n<id>3</id>\n<ligne>19</ligne>\n</piece>\n</solution>\n' >solution19.xml
printf '<solution>\n<piece>\n<id>3</id>\n<ligne>20</ligne>\n</piece>\n</solution>\n' >solution20.xml
demarrer_xvfb

"$valdrune" &
programme=$!
attendre 20 grep -qx 'numero ligne : 19' fichier_ecriture_pute.txt || echec "no trace of level 19"
attendre 20 fenetre_de "$programme" || echec "no window captioned 'Jeu Valdrune'"
fenetre=$(fenetre_de "$programme")
geometrie=$(xdotool getwindowgeometry "$fenetre")
grep -q 'Geometry: 1500x750' <<<"$geometrie" || echec "window is not 1500x750: $geometrie"

xdotool windowfocus "$fenetre"
attendre 10 test "$(xdotool getwindowfocus)" = "$fenetre" || echec "window does not take focus"
xdotool key Up
attendre 20 grep -qx 'numero ligne : 20' fichier_ecriture_pute.txt || echec "Up did not load level 20"

"$fermer" "$fenetre"
attendre 20 test ! -d "/proc/$programme" -o "$(ps -o stat= -p "$programme" 2>/dev/null)" = Z ||
    echec "the program did not end after its window was closed"
statut=0
wait "$programme" || statut=$?
programme=
[ "$statut" -eq 0 ] || echec "the program ended with status $statut"
echo "real window: level step and close passed"
