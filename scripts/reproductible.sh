#!/usr/bin/env bash
# reproductible.sh [FOLDER]: builds the Debian packages twice with construire_paquet.sh, in two
# folders whose paths differ, the second with another umask, time zone and locale, and checks
# that each .deb is the same, byte for byte; prints their SHA-256 sums. With FOLDER, the build
# already made there is the first. Exits 1, listing what differs, when they are not the same.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
travail=$(mktemp -d)
trap 'rm -rf "$travail"' EXIT

if [ $# -ge 1 ]; then
    premier=$(realpath "$1")
else
    premier="$travail/premier"
    "$RACINE/scripts/construire_paquet.sh" "$premier" >/dev/null
fi
second="$travail/un/autre/dossier/plus/long"
(umask 0002 && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    "$RACINE/scripts/construire_paquet.sh" "$second" >/dev/null)

premiers=("$premier"/*.deb) seconds=("$second"/*.deb)
[ ${#premiers[@]} -eq ${#seconds[@]} ] ||
    { echo "the two builds made different packages" >&2; exit 1; }
differents=0
for deb in "${premiers[@]}"; do
    autre="$second/$(basename "$deb")"
    sha256sum "$deb" "$autre"
    if ! cmp -s "$deb" "$autre"; then
        differents=1
        echo "$(basename "$deb") differs:"
        diff <(dpkg-deb -I "$deb"; dpkg-deb -c "$deb") <(dpkg-deb -I "$autre"; dpkg-deb -c "$autre") ||
            true
    fi
done
[ "$differents" -eq 0 ] || { echo "the builds are not reproducible" >&2; exit 1; }
echo "reproducible: the same .debs from $premier and $second"
