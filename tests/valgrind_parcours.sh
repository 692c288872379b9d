#!/usr/bin/env bash
# valgrind_parcours.sh: memcheck of a short run on the shipped data: no invalid read or write,
# nothing definitely or indirectly lost.
# Usage: valgrind_parcours.sh PARCOURS DATA_DIR
set -euo pipefail
parcours=$(realpath "$1")
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT
cp -r "$2"/. "$travail"
cd "$travail"
valgrind --quiet --error-exitcode=1 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect "$parcours"
echo "valgrind: clean run through 96 level steps"
