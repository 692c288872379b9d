#!/usr/bin/env bash
# galerie.sh: re-makes docs/niveau19.png (level 19 at full size) and docs/niveaux.png (all 48
# levels), drawn off-screen by the viewer's own code from the shipped data.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
preparer_programme capture_niveau
mkdir -p "$RACINE/docs"
image=$(mktemp --suffix=.bmp)
trap 'rm -f "$image"' EXIT
for quoi in 19:niveau19 all:niveaux; do
    "$RACINE/build/capture_niveau" "$RACINE/data" "${quoi%%:*}" "$image"
    bmptopnm "$image" 2>/dev/null | pnmtopng -compression 9 >"$RACINE/docs/${quoi##*:}.png" 2>/dev/null
    echo "docs/${quoi##*:}.png"
done
