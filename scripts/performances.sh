#!/usr/bin/env bash
# performances.sh: runs the benchmarks (a pass, a level load and start-up, each against its
# floor) and measures the program's peak resident memory once its first frame is drawn.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
source "$RACINE/scripts/ecran_virtuel.sh"
preparer_tout >/dev/null
"$RACINE/build/bench_valdrune" "$@"

travail=$(mktemp -d)
programme=
finir() {
    [ -n "$programme" ] && kill "$programme" 2>/dev/null || true
    arreter_xvfb
    rm -rf "$travail"
}
trap finir EXIT
cp -r "$RACINE/data"/. "$travail"
demarrer_xvfb
(cd "$travail" && exec "$RACINE/build/valdrune") &
programme=$!
attendre 20 fenetre_de "$programme"
capturer_premiere_image "$(fenetre_de "$programme")" "$travail/image.ppm"
echo "Peak resident memory after start-up: $(grep VmHWM "/proc/$programme/status" | awk '{print $2, $3}')"
# SDL turns SIGTERM into a quit event: the program ends as when its window is closed.
kill -TERM "$programme"
wait "$programme"
programme=
