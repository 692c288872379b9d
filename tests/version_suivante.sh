# shellcheck shell=bash
# version_suivante.sh: sourced by the package's tests; defines faire_version_suivante.

# faire_version_suivante PACKAGE.deb NEXT.deb: a later version of the package, made from it as
# a release that changes its levels would be: level 19 is another level (the installed level
# 20), level 48 is dropped and a solution49.xml is new. Like every later version it records
# the checksums of the files an earlier one shipped, so that copies of those are known.
faire_version_suivante() {
    local arbre donnees version
    arbre=$(mktemp -d)
    dpkg-deb -R "$1" "$arbre"
    donnees="$arbre/usr/share/games/valdrune"
    (cd "$donnees" && sha256sum solution*.xml img_*.bmp) >>"$donnees/empreintes_anciennes.sha256"
    cp "$donnees/solution20.xml" "$donnees/solution19.xml"
    rm "$donnees/solution48.xml"
    sed 's/niveau="1"/niveau="49"/' "$donnees/solution1.xml" >"$donnees/solution49.xml"
    version=$(dpkg-deb -f "$1" Version)
    sed -i "s/^Version: .*/Version: $version.1/" "$arbre/DEBIAN/control"
    (cd "$arbre" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
    dpkg-deb --root-owner-group -b "$arbre" "$2" >/dev/null
    rm -rf "$arbre"
}
