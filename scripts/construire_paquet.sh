#!/usr/bin/env bash
# construire_paquet.sh FOLDER: builds the Debian packages from debian/ as Debian builds them,
# on a copy of the source tree made in FOLDER (the tracked files and the new ones git does not
# ignore, never a build folder): the source package with dpkg-source, then the binary ones with
# dpkg-buildpackage -us -uc -b. FOLDER is left with the .dsc, the source tarball, the .debs,
# the .buildinfo and the .changes, and the build's log; the copy is removed.
# DEB_BUILD_OPTIONS defaults to parallel=1, the machine's other users in mind.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
installer_paquets "${PAQUETS_PROGRAMME[@]}" "${PAQUETS_DEBIAN[@]}"

[ $# -eq 1 ] || { echo "usage: $0 FOLDER" >&2; exit 2; }
mkdir -p "$1"
dossier=$(realpath "$1")
version=$(dpkg-parsechangelog -l "$RACINE/debian/changelog" -S Version)
copie="$dossier/valdrune-$version"
journal="$dossier/construction.log"
rm -rf "$copie" "$dossier"/valdrune*_"$version"*
trap 'rm -rf "$copie"' EXIT

# copier_sources DESTINATION: the files a clean checkout would have, as they are now.
copier_sources() {
    mkdir -p "$1"
    if git -C "$RACINE" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        (cd "$RACINE" && git ls-files -z --cached --others --exclude-standard |
            while IFS= read -r -d '' f; do
                [ -e "$f" ] || [ -L "$f" ] && printf '%s\0' "$f"
            done | xargs -0 cp -P --parents -t "$1")
    else
        tar -C "$RACINE" --exclude-vcs --exclude='./build' --exclude='./build-*' --exclude='./obj-*' \
            -cf - . | tar -C "$1" -xf -
    fi
}

copier_sources "$copie"
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=1}
if ! { (cd "$dossier" && dpkg-source -b "valdrune-$version") &&
    (cd "$copie" && dpkg-buildpackage -us -uc -b); } >"$journal" 2>&1; then
    tail -n 40 "$journal" >&2
    echo "the package build failed; its log: $journal" >&2
    exit 1
fi
ls "$dossier"/*.deb "$dossier"/*.dsc
