#!/usr/bin/env bash
# verificateur.sh: the level checker over the hand-made levels of tests/verificateur, with the
# shipped images beside them (one level without), and over a file that is not there, must
# print exactly its attendu.txt and exit 1.
# Usage: verificateur.sh VERIFIER_NIVEAUX CASES_DIR DATA_DIR
set -uo pipefail
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cp -r "$2"/. "$travail"
cp "$3"/*.bmp "$travail"
cd "$travail" || exit 1
"$1" . sans_images/solution29.xml solution31.xml >sortie.txt
statut=$?
diff -u attendu.txt sortie.txt && [ "$statut" -eq 1 ]
