#!/usr/bin/env bash
# paquet.sh: the packages built from debian/, as Debian's checkers and a sponsor see them:
# lintian --pedantic -I shows nothing on the source and binary packages that an override does
# not explain; hardening-check finds every protection in the program; the -dbgsym package
# holds the program's debug symbols; Depends is dpkg-shlibdeps' and the font's; the desktop
# entry runs the installed launcher by its path; the AppStream metadata, the upstream metadata,
# the manual page and both icons are sound.
# Usage: paquet.sh PACKAGES_DIR (as scripts/construire_paquet.sh leaves it)
set -euo pipefail
dossier=$(realpath "$1")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echec() { echo "FAILED: $*" >&2; exit 1; }
dsc=$(echo "$dossier"/valdrune_*.dsc)
changes=$(echo "$dossier"/valdrune_*.changes)
paquet=$(echo "$dossier"/valdrune_*.deb)
symboles=$(echo "$dossier"/valdrune-dbgsym_*.deb)
for f in "$dsc" "$changes" "$paquet" "$symboles"; do [ -f "$f" ] || echec "no $f"; done

# Every tag shown, whatever its level, is one without an override and its reason.
statut=0
lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental \
    "$dsc" "$changes" >"$tmp/lintian" 2>&1 || statut=$?
grep -v 'running with root privileges' "$tmp/lintian" >"$tmp/tags" || true
[ "$statut" -eq 0 ] && [ ! -s "$tmp/tags" ] || echec "lintian ($statut): $(cat "$tmp/tags")"

dpkg-deb -x "$paquet" "$tmp/racine"
programme="$tmp/racine/usr/lib/games/valdrune/valdrune"
# Control-flow integrity is left out: it needs every object linked to be marked for it, and
# the C library's start files on Debian 12 (crt1.o, crti.o, crtn.o) are not, so that no
# program linked there has it; the program's own code is compiled for it all the same.
hardening-check --nocfprotection "$programme" >"$tmp/durcissement" 2>&1 ||
    echec "hardening-check: $(cat "$tmp/durcissement")"
for protection in 'Position Independent Executable' 'Stack protected' \
    'Fortify Source functions' 'Read-only relocations' 'Immediate binding'; do
    grep -q "^ $protection: yes" "$tmp/durcissement" ||
        echec "hardening-check: $protection: $(cat "$tmp/durcissement")"
done

identite=$(readelf -n "$programme" | awk '/Build ID:/ { print $3 }')
dpkg-deb -c "$symboles" >"$tmp/symboles"
grep -q "usr/lib/debug/.build-id/${identite:0:2}/${identite:2}.debug$" "$tmp/symboles" ||
    echec "the -dbgsym package has no symbols for build ID $identite"

# The linked libraries come from dpkg-shlibdeps, the font by hand; SDL is the classic
# library's package, which libsdl1.2-compat-shim provides, never libsdl1.2-compat alone,
# whose library the loader does not find.
depends=$(dpkg-deb -f "$paquet" Depends)
for requis in 'libglpk[0-9]+' 'libsdl1\.2debian' 'libsdl-ttf2\.0-0' 'fonts-liberation'; do
    grep -Eq "(^|[ ,|])$requis( |,|$)" <<<"$depends" || echec "Depends names no $requis: $depends"
done
! grep -q 'libsdl1\.2-compat' <<<"$depends" || echec "Depends names libsdl1.2-compat: $depends"

bureau="$tmp/racine/usr/share/applications/valdrune.desktop"
desktop-file-validate "$bureau" || echec "desktop-file-validate"
[ "$(grep -c '^Exec=/usr/games/valdrune\( --defi\)\?$' "$bureau")" -eq 2 ] &&
    [ -x "$tmp/racine/usr/games/valdrune" ] ||
    echec "the desktop entry's two Exec lines do not run /usr/games/valdrune: $(grep Exec "$bureau")"
appstreamcli validate --no-net "$tmp"/racine/usr/share/metainfo/*.metainfo.xml >"$tmp/appstream" ||
    echec "appstreamcli: $(cat "$tmp/appstream")"
# lintian reads no debian/upstream/metadata in a native source: it is checked here, YAML whose
# pages are the AppStream metadata's.
tar -xOf "$(echo "$dossier"/valdrune_*.tar.*)" --wildcards '*/debian/upstream/metadata' \
    >"$tmp/metadonnees" || echec "no debian/upstream/metadata in the source package"
perl -MYAML::XS=LoadFile -e 'LoadFile($ARGV[0])->{Name} or die "no Name\n"' "$tmp/metadonnees" ||
    echec "debian/upstream/metadata: $(cat "$tmp/metadonnees")"
for page in $(grep -o 'https\?://[^ ]*' "$tmp/metadonnees"); do
    grep -qF ">$page<" "$tmp"/racine/usr/share/metainfo/*.metainfo.xml ||
        echec "debian/upstream/metadata: $page is not in the AppStream metadata"
done
mandoc -Tlint "$tmp/racine/usr/share/man/man6/valdrune.6.gz" >"$tmp/mandoc" 2>&1 &&
    [ ! -s "$tmp/mandoc" ] || echec "mandoc -Tlint: $(cat "$tmp/mandoc")"
for taille in 64 128; do
    [[ $(file "$tmp/racine/usr/share/icons/hicolor/${taille}x$taille/apps/valdrune.png") == \
        *"PNG image data, $taille x $taille,"* ]] || echec "no ${taille}x$taille icon"
done
echo "$(basename "$paquet") and its source: lintian, hardening, debug symbols, Depends," \
    "desktop entry, AppStream and upstream metadata, manual page and icons"
