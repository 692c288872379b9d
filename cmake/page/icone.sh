#!/bin/sh
# icone.sh DATA PNG SIZE: the page's icon, SIZE pixels square, from the game's own pictures:
# the knight and the princess facing each other on the board's green, with netpbm.
set -eu
vert=rgb:11/ce/70
dossier=$(mktemp -d)
trap 'rm -rf "$dossier"' EXIT
bmptopnm "$1/img_chevalier_droite.bmp" >"$dossier/chevalier.ppm" 2>/dev/null
bmptopnm "$1/img_princesse_gauche.bmp" >"$dossier/princesse.ppm" 2>/dev/null
ppmmake "$vert" 28 200 >"$dossier/cote.ppm"
ppmmake "$vert" 256 28 >"$dossier/bord.ppm"
# The images' key green is the board's green here.
pnmcat -lr "$dossier/cote.ppm" "$dossier/chevalier.ppm" "$dossier/princesse.ppm" \
    "$dossier/cote.ppm" | ppmchange rgb:00/ff/00 "$vert" >"$dossier/milieu.ppm"
pnmcat -tb "$dossier/bord.ppm" "$dossier/milieu.ppm" "$dossier/bord.ppm" |
    pamscale -width "$3" -height "$3" | pnmtopng -compression 9 >"$2" 2>/dev/null
