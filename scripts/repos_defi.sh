#!/usr/bin/env bash
# repos_defi.sh: the challenge mode's CPU use while nothing happens, on a virtual X display:
# level 19 left alone for 5 s once its window has settled, as a share of one core.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/ecran_virtuel.sh"

# temps_cpu PID: the process's user and system time so far, in clock ticks. The fields are
# counted after the command name, which is in parentheses and may hold spaces.
temps_cpu() {
    sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'
}

travail=$(mktemp -d)
trap 'arreter_tout; rm -rf "$travail"' EXIT
cp -r "$RACINE/data"/. "$travail"
# A source tree without the font has a dangling arial.ttf; Liberation Sans has its metrics.
if [ ! -e "$travail/arial.ttf" ]; then
    rm -f "$travail/arial.ttf"
    cp /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf "$travail/arial.ttf"
fi

demarrer_xvfb
lancer_programme "$travail" "$RACINE/build/valdrune" --defi 19
sleep 2
debut=$(temps_cpu "$PROGRAMME")
sleep 5
fin=$(temps_cpu "$PROGRAMME")
fermer_programme
awk -v t=$((fin - debut)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN {printf "challenge mode idle: %.1f%% of one core over 5 s\n", 100 * t / hz / 5}'
