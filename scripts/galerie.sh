#!/usr/bin/env bash
# galerie.sh: re-makes docs/niveau19.png (level 19 at full size), docs/niveaux.png (all 48
# levels) and the desktop icon paquet/valdrune.png (level 19's board, shrunk), drawn
# off-screen by the viewer's own code from the shipped data.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
preparer_programme capture_niveau
mkdir -p "$RACINE/docs"
image=$(mktemp --suffix=.bmp)
trap 'rm -f "$image"' EXIT
for quoi in all:niveaux 19:niveau19; do
    "$RACINE/build/capture_niveau" "$RACINE/data" "${quoi%%:*}" "$image"
    bmptopnm "$image" 2>/dev/null | pnmtopng -compression 9 >"$RACINE/docs/${quoi##*:}.png" 2>/dev/null
    echo "docs/${quoi##*:}.png"
done
# Level 19, still in $image: its board is columns 4 to 9 and rows 0 to 5, x 400 to 999 and
# y 150 to 749.
bmptopnm "$image" 2>/dev/null | pamcut -left 400 -top 150 -width 600 -height 600 |
    pamscale -xysize 64 64 | pnmtopng -compression 9 >"$RACINE/paquet/valdrune.png" 2>/dev/null
echo "paquet/valdrune.png"
