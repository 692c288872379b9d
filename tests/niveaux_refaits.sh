#!/usr/bin/env bash
# niveaux_refaits.sh: the shipped levels are what the generator's table makes: each of the 48
# files again, byte for byte, from the draws it names.
# Usage: niveaux_refaits.sh GENERER_NIVEAUX DATA_DIR
set -euo pipefail
generer=$1 donnees=$2
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
"$generer" "$travail" >/dev/null
for n in $(seq 1 48); do
    cmp "$travail/solution$n.xml" "$donnees/solution$n.xml" ||
        { echo "FAILED: level $n is not what its draw makes" >&2; exit 1; }
done
[ "$(find "$travail" -type f | wc -l)" -eq 48 ] || { echo "FAILED: not 48 files" >&2; exit 1; }
echo "levels: the 48 files made again from their draws, byte for byte"
