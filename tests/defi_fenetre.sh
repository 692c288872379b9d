#!/usr/bin/env bash
# defi_fenetre.sh: the challenge mode in a real window on a virtual X display, played with the
# mouse like a player: level 19 solved by three drags and a turn, read on standard output and on
# the screen; then a piece placed wrong, and the failure read; then challenges made on demand;
# then a first run, from the rules to the map to level 1.
# Usage: defi_fenetre.sh VALDRUNE FERMER_FENETRE SCRIPTS_DIR DATA_DIR FONT [SCREENSHOT.png]
set -euo pipefail
valdrune=$(realpath "$1")
fermer=$(realpath "$2")
source "$3/ecran_virtuel.sh"
donnees=$(realpath "$4")
police=$(realpath "$5")
vue=${6:-}

travail=$(mktemp -d)
trap 'arreter_tout; rm -rf "$travail"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }
cp "$donnees"/solution*.xml "$donnees"/img_*.bmp "$travail"/
cp "$police" "$travail/arial.ttf"
sortie=$travail/sortie.txt
demarrer_xvfb

# glisser X1 Y1 X2 Y2 [KEY]: presses the left button at one pixel of the window, moves to the
# other (pressing KEY on the way), and releases it there.
glisser() {
    xdotool mousemove --window "$FENETRE" "$1" "$2" mousedown 1
    sleep 0.2
    xdotool mousemove --window "$FENETRE" $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))
    sleep 0.1
    [ -z "${5:-}" ] || { xdotool key "$5"; sleep 0.1; }
    xdotool mousemove --window "$FENETRE" "$3" "$4"
    sleep 0.2
    [ -z "${6:-}" ] || capturer "$FENETRE" "$6"
    xdotool mouseup 1
}

lancer_programme "$travail" "$valdrune" --defi 19 >"$sortie" || echec "no window captioned 'Jeu Valdrune'"
xdotool windowfocus "$FENETRE"
attendre 10 test "$(xdotool getwindowfocus)" = "$FENETRE" || echec "window does not take focus"
image=$travail/image.ppm
_plateau_dessine() { capturer "$FENETRE" "$image" && [ "$(pixel "$image" 1250 300)" = "120 226 160" ]; }
attendre 20 _plateau_dessine || echec "no tray drawn"
encre=$(pamcut -left 500 -top 12 -width 500 -height 20 "$image" | pamsumm -max -brief)
[ "${encre%.*}" -gt 200 ] || echec "no line written above the board"

# The cube from the tray at (14, 0) to (9, 0), under the knight; the big staircase from (10, 0)
# to (4, 0), as it waits; then the small one, taken at (10, 4) and turned once, to (7, 1) on the
# cube with an appendix: the knight's two steps up to her.
glisser 1450 700 950 700
attendre 5 _plateau_dessine
[ "$(pixel "$image" 1450 700)" = "120 226 160" ] || echec "the cube did not leave the tray"
glisser 1050 700 450 700
glisser 1050 300 750 600 Right "$travail/en_cours.ppm"
attendre 10 grep -qx 'niveau 19 : résolu' "$sortie" || echec "no verdict: $(cat "$sortie")"
[ -z "$vue" ] || pnmtopng <"$travail/en_cours.ppm" >"$vue"
# The knight drawn at (7, 3): a pixel of his chest as his image has it, whichever way he faces.
torse() { bmptopnm "$donnees/img_chevalier_$1.bmp" 2>/dev/null >"$travail/torse.ppm" &&
    pixel "$travail/torse.ppm" 50 130; }
torse_g=$(torse gauche) torse_d=$(torse droite)
_chevalier_arrive() {
    capturer "$FENETRE" "$image" || return 1
    local p
    p=$(pixel "$image" 750 380)
    [ "$p" = "$torse_g" ] || [ "$p" = "$torse_d" ]
}
attendre 10 _chevalier_arrive || echec "the knight did not walk up to (7, 3)"
[ "$(pixel "$image" 750 600)" != "17 206 112" ] || echec "no staircase at (7, 1)"
grep -qx '19 résolu 0' "$travail/progression.txt" || echec "level 19 not recorded as solved"

# Level 20: two hints place the cube and the small staircase, the big staircase is dropped at
# (5, 3), where it has nothing under it. A key with no use first ends the celebration of the
# solve, if it is still on: a key then does nothing else.
xdotool key a
xdotool key Up
attendre 10 _plateau_dessine
xdotool key h
attendre 10 grep -qx 'niveau 20 : indice' "$sortie" || echec "no hint: $(cat "$sortie")"
xdotool key h
_deux_indices() { [ "$(grep -cx 'niveau 20 : indice' "$sortie")" -eq 2 ]; }
attendre 10 _deux_indices || echec "no second hint: $(cat "$sortie")"
glisser 1050 700 550 400
attendre 10 grep -q '^niveau 20 : .* rien dessous$' "$sortie" || echec "no failure: $(cat "$sortie")"

statut=0
fermer_programme "$fermer" || statut=$?
[ "$statut" -eq 0 ] || echec "the program ended with status $statut after its window was closed"

# A challenge made on demand: seed 105 with four pieces to place takes some seconds, during
# which the window counts the stacks tried, until it shows it (Escape stopping a making is
# played in tests/defis/aleatoire.txt: most seeds now take a fraction of a second, too short for
# a real window to be sure of it). Then key 1 makes one with a piece to place, which a hint
# solves.
lancer_programme "$travail" "$valdrune" --defi --graine 105 --pieces 4 >"$sortie" ||
    echec "no window for a made challenge"
message() { capturer "$FENETRE" "$image" && pamcut -left 300 -top 40 -width 900 -height 30 "$image" | md5sum; }
avant=$(message)
_compte_change() { [ "$(message)" != "$avant" ]; }
attendre 5 _compte_change || echec "the window does not show the making going on"
attendre 30 grep -qx 'défi 105 : 4 pièces à placer' "$sortie" || echec "seed 105 not made: $(cat "$sortie")"
xdotool key 1
attendre 10 grep -qE '^défi [0-9]+ : 1 pièce à placer$' "$sortie" || echec "no challenge made: $(cat "$sortie")"
xdotool key h
attendre 10 grep -qE '^défi [0-9]+ : résolu$' "$sortie" || echec "made challenge not solved: $(cat "$sortie")"
grep -qx 'pièces 1' "$travail/progression.txt" || echec "the choice of pieces not kept"
statut=0
fermer_programme "$fermer" || statut=$?
[ "$statut" -eq 0 ] || echec "the program ended with status $statut after its window was closed"
# The challenge mode reads its levels on its own: the viewer's trace is never written.
[ ! -e "$travail/fichier_ecriture_pute.txt" ] || echec "the challenge mode wrote the viewer's trace"

# A first run, in a folder with no progress file: the rules screen by itself; a key closes it
# and shows the map, level 1 chosen in gold; Enter opens it.
premiere=$travail/premiere
mkdir "$premiere"
cp "$donnees"/solution*.xml "$donnees"/img_*.bmp "$premiere"/
cp "$police" "$premiere/arial.ttf"
lancer_programme "$premiere" "$valdrune" --defi >"$sortie" || echec "no window for a first run"
xdotool windowfocus "$FENETRE"
_vu() { capturer "$FENETRE" "$image" && [ "$(pixel "$image" "$1" "$2")" = "$3" ]; }
attendre 10 _vu 820 320 "17 206 112" || echec "no rules screen on a first run"
xdotool key a
attendre 10 _vu 117 150 "255 200 0" || echec "no map, level 1 chosen, after the rules"
xdotool key Return
attendre 10 _vu 1250 300 "120 226 160" || echec "Enter did not open level 1 from the map"
grep -qx 'règles vues' "$premiere/progression.txt" || echec "the rules seen not kept"
statut=0
fermer_programme "$fermer" || statut=$?
[ "$statut" -eq 0 ] || echec "the program ended with status $statut after its window was closed"
echo "challenge mode in a real window: level 19 solved with the mouse, a wrong placement read, a challenge made, another solved; a first run's rules, map and level 1"
