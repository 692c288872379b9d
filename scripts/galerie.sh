#!/usr/bin/env bash
# galerie.sh: re-makes, from the shipped data and with the viewer's own drawing code:
# docs/niveaux.png and docs/defis.png, the 48 solutions and the 48 challenges on two sheets as
# the booklet draws them; docs/livret.pdf, the printable booklet (a cover, the rules, the
# challenges six to an A4 page, then the solutions), laid out by scripts/livret.py;
# docs/defi19.png and docs/solution19.png, level 19's challenge and solution side by side in
# the README; docs/niveau19.png, level 19 as the window shows it; and the desktop icons
# paquet/valdrune.png (64 by 64) and paquet/valdrune_128.png. Nothing is edited by hand: run it
# again after any change to the levels.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
installer_paquets "${PAQUETS_LIVRET[@]}"
preparer_programme capture_niveau
capture="$RACINE/build/capture_niveau"
docs="$RACINE/docs"
mkdir -p "$docs"
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT

# en_png BMP PNG [PAMCUT OPTIONS...]: converts, cropped if asked.
en_png() {
    local bmp=$1 png=$2
    shift 2
    bmptopnm "$bmp" 2>/dev/null | pamcut "$@" | pnmtopng -compression 9 >"$png" 2>/dev/null
}

"$capture" "$RACINE/data" all "$travail/s.bmp"
en_png "$travail/s.bmp" "$docs/niveaux.png"
"$capture" --defi "$RACINE/data" all "$travail/d.bmp"
en_png "$travail/d.bmp" "$docs/defis.png"
echo "docs/niveaux.png docs/defis.png"

mkdir "$travail/livret"
"$capture" --livret "$RACINE/data" "$travail/livret"
"$RACINE/scripts/livret.py" "$travail/livret" "$docs/livret.pdf"
echo "docs/livret.pdf"

# Level 19, its challenge and its solution as the window shows them, cut below the challenge
# mode's lines of text (the last ends about 130 pixels down; the board starts at 150).
"$capture" --defi "$RACINE/data" 19 "$travail/d.bmp"
en_png "$travail/d.bmp" "$docs/defi19.png" -left 350 -top 130 -width 1150 -height 620
"$capture" "$RACINE/data" 19 "$travail/s.bmp"
en_png "$travail/s.bmp" "$docs/solution19.png" -left 350 -top 130 -width 700 -height 620
en_png "$travail/s.bmp" "$docs/niveau19.png"
echo "docs/defi19.png docs/solution19.png docs/niveau19.png"
# Its board, columns 4 to 9 and rows 0 to 5, is x 400 to 999 and y 150 to 749.
for icone in 64:valdrune.png 128:valdrune_128.png; do
    bmptopnm "$travail/s.bmp" 2>/dev/null | pamcut -left 400 -top 150 -width 600 -height 600 |
        pamscale -xysize "${icone%%:*}" "${icone%%:*}" |
        pnmtopng -compression 9 >"$RACINE/paquet/${icone#*:}" 2>/dev/null
done
echo "paquet/valdrune.png paquet/valdrune_128.png"
