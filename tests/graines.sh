#!/usr/bin/env bash
# graines.sh: a challenge made from a seed, written as a level file twice: the same bytes both
# times and as in EXPECTED_DIR (a seed names one challenge, as long as the shipped levels it must
# be unlike stay the same: make the files again when they change), and the checker and the
# solver accept it; the program and the tool refuse a seed or a number of pieces they cannot
# read, before any window opens.
# Usage: graines.sh VALDRUNE GENERER_NIVEAUX VERIFIER_NIVEAUX RESOUDRE_NIVEAU DATA_DIR EXPECTED_DIR
set -euo pipefail
valdrune=$1 generer=$2 verifier=$3 resoudre=$4 donnees=$5 attendus=$6
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }
ln -s "$donnees"/img_*.bmp "$travail"/

for k in 1 2 3 4; do
    "$generer" --graine 11 --pieces "$k" "$travail/a$k.xml"
    "$generer" --graine 11 --pieces "$k" "$travail/b$k.xml"
    cmp -s "$travail/a$k.xml" "$travail/b$k.xml" || echec "seed 11, $k pieces: two files"
    cmp -s "$travail/a$k.xml" "$attendus/graine11_$k.xml" ||
        echec "seed 11, $k pieces: not the challenge it names"
    "$verifier" "$travail/a$k.xml" >"$travail/verdict" || echec "$(cat "$travail/verdict")"
    grep -q ", $k piece.* to place" "$travail/verdict" || echec "not $k pieces: $(cat "$travail/verdict")"
    "$resoudre" "$travail/a$k.xml" >/dev/null || echec "seed 11, $k pieces: not one solution"
done

# Seeds 1 to 10 for each number of pieces, each challenge by the start of its bytes' SHA-256.
for k in 1 2 3 4; do
    for g in $(seq 1 10); do
        "$generer" --graine "$g" --pieces "$k" "$travail/g.xml"
        echo "$g $k $(sha256sum <"$travail/g.xml" | cut -c1-16)"
    done
done >"$travail/empreintes.txt"
diff -u "$attendus/empreintes.txt" "$travail/empreintes.txt" || echec "a seed names another challenge"

# refuser STATUS COMMAND...: the command ends with that status and one line on stderr.
refuser() {
    local attendu=$1 statut=0
    shift
    timeout 20 "$@" >/dev/null 2>"$travail/erreur" || statut=$?
    [ "$statut" -eq "$attendu" ] || echec "$* ended with $statut, not $attendu"
    [ "$(wc -l <"$travail/erreur")" -ge 1 ] || echec "$* said nothing on stderr"
}
for faux in "--graine 0" "--graine 1000000000" "--graine 12a" "--pieces 0" "--pieces 5" \
    "--graine" "--graine 1 --graine 2" "--pieces 2 --niveau 3" "19 --pieces 2"; do
    # shellcheck disable=SC2086
    refuser 2 env -u DISPLAY SDL_VIDEODRIVER=dummy "$valdrune" --defi $faux
done
refuser 2 "$generer" --graine 0 --pieces 1 "$travail/c.xml"
refuser 2 "$generer" --graine 1 --pieces 5 "$travail/c.xml"
refuser 1 "$generer" --graine 1 --pieces 1 "$travail/absent/c.xml"
echo "seeds: the same challenges as before, each made twice, checked and solved; bad seeds refused"
