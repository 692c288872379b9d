#!/usr/bin/env bash
# lancer.sh [--defi [LEVEL]]: builds Valdrune and runs it on the shipped data, with the options
# given. Without a display it runs on a virtual one, saves a screenshot of the first frames and
# ends the program.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
source "$RACINE/scripts/ecran_virtuel.sh"
preparer_programme valdrune

cd "$RACINE/data"
if [ -n "${DISPLAY:-}" ]; then
    exec "$RACINE/build/valdrune" "$@"
fi

capture="$RACINE/build/capture.png"
image=$(mktemp --suffix=.ppm)
trap 'arreter_tout; rm -f "$image"' EXIT
demarrer_xvfb
if ! lancer_programme "$RACINE/data" "$RACINE/build/valdrune" "$@"; then
    # A program that stopped by itself (a bad level, say) has said why: its status is ours.
    statut=1
    kill -0 "$PROGRAMME" 2>/dev/null || { wait "$PROGRAMME" || statut=$?; PROGRAMME=; }
    [ -z "$PROGRAMME" ] || echo "the window did not open" >&2
    exit "$statut"
fi
# The bottom-left corner: background in either mode (the challenge's tray fills the right).
capturer_premiere_image "$FENETRE" "$image" 0 749 || { echo "the window shows no frame" >&2; exit 1; }
pnmtopng <"$image" >"$capture" 2>/dev/null
fermer_programme
echo "No display: ran on a virtual one; screenshot of the window: $capture"
