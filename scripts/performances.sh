#!/usr/bin/env bash
# performances.sh: runs the benchmarks (a pass, a level load and start-up, each against its
# floor, the level checker on its hardest level, the challenge mode's verdict and a random
# challenge made for each number of pieces, over fifty seeds), the pass
# again on the SDL 1.2 compatibility library over SDL2, measures the program's peak resident
# memory once its first frame is drawn, and the challenge mode's CPU use at rest.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
source "$RACINE/scripts/ecran_virtuel.sh"
preparer_tout >/dev/null
"$RACINE/build/bench_valdrune" "$@"
echo "== The pass on the SDL 1.2 compatibility library over SDL2"
LD_LIBRARY_PATH="/usr/lib/$(gcc -print-multiarch)/sdl12-compat" \
    "$RACINE/build/bench_valdrune" --benchmark_filter='BM_passe' "$@"

travail=$(mktemp -d)
trap 'arreter_tout; rm -rf "$travail"' EXIT
cp -r "$RACINE/data"/. "$travail"
demarrer_xvfb
lancer_programme "$travail" "$RACINE/build/valdrune"
capturer_premiere_image "$FENETRE" "$travail/image.ppm"
echo "Peak resident memory after start-up: $(grep VmHWM "/proc/$PROGRAMME/status" | awk '{print $2, $3}')"
fermer_programme
echo "== The challenge mode at rest"
"$RACINE/scripts/repos_defi.sh"
