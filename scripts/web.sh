#!/usr/bin/env bash
# web.sh [--servir [PORT]]: builds Valdrune as a web page into build-web/ (index.html, index.js,
# index.wasm, index.data and the font) with Debian's emscripten, installing what is missing;
# with --servir, then serves the page on this machine's loopback (port 8000 unless told) and
# prints its address. The level rules' GLPK is built for the browser from Debian's source
# package, once: build-web/ keeps it.
set -euo pipefail
RACINE=$(cd "$(dirname "$0")/.." && pwd)
source "$RACINE/scripts/preparer.sh"
SORTIE=$RACINE/build-web

# Debian's emcc runs under python3 as PATH finds it: a python of one's own is slower to start,
# for every file, than Debian's. Its JavaScript optimiser needs Debian's node modules.
export EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs

# GLPK's source as Debian ships it, in $SORTIE/sources.
glpk_obtenu() {
    GLPK=$(find "$SORTIE/sources" -maxdepth 1 -type d -name 'glpk-*' | head -n 1)
    [ -n "$GLPK" ]
}
obtenir_glpk() {
    mkdir -p "$SORTIE/sources"
    ! glpk_obtenu || return 0
    apt_prive update
    (cd "$SORTIE/sources" && apt_prive source glpk >/dev/null)
    glpk_obtenu
}

# apt with a configuration of its own under $SORTIE/apt: its source list, lists and cache
# there, and nothing written outside, so that building the page leaves the machine's apt as it
# was. Its keys are the system's. As root, apt fetches as root: its sandbox user could not
# write into the repository.
apt_prive() {
    local dossier=$SORTIE/apt
    mkdir -p "$dossier/listes/partial" "$dossier/cache/archives/partial" "$dossier/sources"
    [ -n "$(ls -A "$dossier/sources")" ] || ecrire_sources "$dossier/sources"
    apt-get -qq -o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$dossier/sources" \
        -o Dir::State::Lists="$dossier/listes" -o Dir::Cache="$dossier/cache" \
        -o APT::Sandbox::User="$(id -un)" "$@"
}

# Into folder $1, a source entry for the release's archive made from the system's own entry
# for it (a deb822 stanza or a one-line entry), so that its address and its key are the same:
# Debian's own archive for the release, not the first entry apt lists, which may be another's.
ecrire_sources() {
    local version entree fichier n
    version=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # shellcheck disable=SC2016  # apt's own fields, not the shell's
    entree=$(apt-get indextargets --format '$(SOURCESENTRY) $(RELEASE) $(TARGET_OF) $(ORIGIN)' |
        awk -v v="$version" '$2 == v && $3 == "deb" && $4 == "Debian" { print $1; exit }')
    if [ -z "$entree" ]; then
        echo "web.sh: apt has no entry for Debian's $version archive" >&2
        return 1
    fi
    fichier=${entree%:*} n=${entree##*:}
    if [[ $fichier == *.sources ]]; then
        awk -v n="$n" -v v="$version" 'BEGIN { RS = ""; FS = "\n" } NR == n {
            for (i = 1; i <= NF; ++i) {
                if ($i ~ /^Types:/) $i = "Types: deb-src"
                if ($i ~ /^Suites:/) $i = "Suites: " v
                print $i
            } }' "$fichier" >"$1/debian.sources"
    else
        sed -n "${n}s/^deb /deb-src /p" "$fichier" >"$1/debian.list"
    fi
}

# The files of GLPK that the level rules' calls draw on (the simplex and what the problem's
# object links to): those whose objects the linker takes from a whole build of the library. A
# call to another part of it would fail at the page's link, naming the function to add.
FICHIERS_GLPK=(
    api/{advbas,prob1,prob2,prob4,prob5,wrmip}
    bflib/{btf,btfint,fhv,fhvint,ifu,luf,lufint,scf,scfint,sgf,sva}
    draft/{bfd,glpapi06,glpapi09,glpapi10,glpapi12,glpapi13,glpios01,glpios02,glpios03}
    draft/{glpios09,glpios11,glpios12,glpscl}
    env/{alloc,dlsup,env,error,stdc,stdout,stream,time,tls}
    intopt/{cfg,cfg1,cfg2,clqcut,covgen,fpump,gmicut,gmigen,mirgen,spv}
    misc/{avl,dmp,fvs,gcd,ks,mc13d,mc21a,mt1,rng,rng1,round2n,triang,wclique,wclique1}
    npp/{npp1,npp2,npp3,npp4,npp5} proxy/{proxy,proxy1}
    simplex/{spxat,spxchuzc,spxchuzr,spxlp,spxnt,spxprim,spxprob,spychuzc,spychuzr,spydual}
    zlib/{adler32,crc32,deflate,gzclose,gzlib,gzread,gzwrite,inffast,inflate,inftrees,trees}
    zlib/{zio,zutil}
)

# $SORTIE/glpk/libglpk.a, many files to each emcc, whose start costs more than most of them.
construire_glpk() {
    local bib=$SORTIE/glpk/libglpk.a
    [ ! -f "$bib" ] || return 0
    local objets=$SORTIE/glpk/objets d f
    mkdir -p "$objets"
    printf '#define HAVE_SYS_TIME_H 1\n#define HAVE_GETTIMEOFDAY 1\n' >"$objets/config.h"
    local options=(-O2 -w -DHAVE_CONFIG_H -I"$objets" -I"$GLPK/src")
    for d in api bflib draft env intopt misc npp proxy simplex zlib; do
        options+=(-I"$GLPK/src/$d")
    done
    for f in "${FICHIERS_GLPK[@]}"; do printf '%s\0' "$GLPK/src/$f.c"; done |
        (cd "$objets" && xargs -0 -P "$(nproc)" -n 12 emcc "${options[@]}" -c)
    emar rcs "$bib.nouveau" "$objets"/*.o
    mv "$bib.nouveau" "$bib"
}

preparer_page() {
    installer_paquets emscripten dpkg-dev cmake netpbm
    obtenir_glpk
    construire_glpk
    emcmake cmake -S "$RACINE/cmake/page" -B "$SORTIE/cmake" \
        -DGLPK="$GLPK" -DGLPK_BIBLIOTHEQUE="$SORTIE/glpk/libglpk.a" -DPAGE="$SORTIE" >/dev/null
    cmake --build "$SORTIE/cmake" -j "$(nproc)"
}

preparer_page
if [ "${1:-}" = --servir ]; then
    port=${2:-8000}
    echo "Valdrune's page: http://127.0.0.1:$port/ (Ctrl-C stops the server)"
    exec "$EMSDK_PYTHON" -m http.server --bind 127.0.0.1 --directory "$SORTIE" "$port"
fi
echo "The page is in $SORTIE/index.html"
