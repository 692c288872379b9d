#!/usr/bin/env bash
# lancer.sh: builds Valdrune and runs it on the shipped data. Without a display it runs on a
# virtual one, saves a screenshot of the first frames and ends the program.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
source "$RACINE/scripts/ecran_virtuel.sh"
preparer_programme valdrune

cd "$RACINE/data"
if [ -n "${DISPLAY:-}" ]; then
    exec "$RACINE/build/valdrune"
fi

capture="$RACINE/build/capture.png"
programme=
finir() {
    [ -n "$programme" ] && kill "$programme" 2>/dev/null || true
    arreter_xvfb
}
trap finir EXIT
demarrer_xvfb
"$RACINE/build/valdrune" &
programme=$!
attendre 20 fenetre_de "$programme" || { echo "the window did not open" >&2; exit 1; }
fenetre=$(fenetre_de "$programme")
image=$(mktemp --suffix=.ppm)
capturer_premiere_image "$fenetre" "$image" || { echo "the window shows no frame" >&2; exit 1; }
pnmtopng <"$image" >"$capture" 2>/dev/null
rm -f "$image"
# SDL turns SIGTERM into a quit event: the program ends as when its window is closed.
kill -TERM "$programme"
wait "$programme"
programme=
echo "No display: ran on a virtual one; screenshot of the window: $capture"
