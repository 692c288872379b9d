#!/usr/bin/env bash
# livret.sh: the printable booklet made from the shipped levels, as galerie.sh makes it: A4, a
# cover, the rules, the 48 challenges six to a page, then the 48 solutions twelve to a page,
# each level captioned once among the challenges and once among the solutions; and no booklet
# from a folder where a level is missing.
# Usage: livret.sh CAPTURE_NIVEAU DATA_DIR LIVRET_PY
set -euo pipefail
capture=$1 donnees=$2 livret=$3
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
# A copy: the capture writes the viewer's trace file into the folder it reads.
mkdir "$travail/donnees" "$travail/images"
cp "$donnees"/solution*.xml "$donnees"/*.bmp "$donnees"/arial.ttf "$travail/donnees"
"$capture" --livret "$travail/donnees" "$travail/images"
"$livret" "$travail/images" "$travail/livret.pdf"

echec=0
pdfinfo "$travail/livret.pdf" >"$travail/info"
if ! grep -q '^Pages: *14$' "$travail/info" ||
    ! grep -q '^Page size: *595.276 x 841.89 pts (A4)' "$travail/info"; then
    echo "not 14 A4 pages:" >&2
    cat "$travail/info" >&2
    echec=1
fi
pdftotext -f 3 -l 10 "$travail/livret.pdf" "$travail/defis.txt"
pdftotext -f 11 -l 14 "$travail/livret.pdf" "$travail/solutions.txt"
for n in $(seq 1 48); do
    d=$(grep -c -x -E "Niveau $n [1-4] pièces? à placer" "$travail/defis.txt" || true)
    s=$(grep -c -x "Solution du niveau $n" "$travail/solutions.txt" || true)
    if [ "$d" != 1 ] || [ "$s" != 1 ]; then
        echo "level $n: captioned $d times among the challenges, $s among the solutions" >&2
        echec=1
    fi
done

rm "$travail/donnees/solution1.xml"
if "$capture" --livret "$travail/donnees" "$travail/images" 2>"$travail/erreur"; then
    echo "pictures drawn without level 1" >&2
    echec=1
fi
if ! grep -q 'level 1:' "$travail/erreur"; then
    echo "level 1 not named:" >&2
    cat "$travail/erreur" >&2
    echec=1
fi
exit "$echec"
