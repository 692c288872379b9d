# shellcheck shell=bash
# preparer.sh: installs the Debian packages that are missing, then configures and builds.
# Sourced by lancer.sh, galerie.sh and tester.sh; RACINE is the repository's root.

# What building and running the program needs, on a machine with or without a display.
PAQUETS_PROGRAMME=(
    cmake g++ make pkgconf libsdl1.2-dev libsdl-ttf2.0-dev libglpk-dev
    xvfb xdotool x11-apps netpbm
)
# What laying out the printable booklet needs besides (galerie.sh, and the booklet's test).
PAQUETS_LIVRET=(python3-cairo fonts-liberation)
# What the tests need besides.
PAQUETS_TESTS=(
    googletest libgtest-dev libx11-dev fonts-dejavu-core libxml2-utils
    clang libclang-rt-14-dev valgrind libbenchmark-dev dpkg-dev desktop-file-utils
    file lintian appstream fonts-liberation libsdl1.2-compat "${PAQUETS_LIVRET[@]}"
    poppler-utils
)
# What the web page's build (scripts/web.sh) and its test in a headless browser need.
PAQUETS_PAGE=(emscripten chromium)
# What building the Debian package from debian/ and checking it need besides the program's.
PAQUETS_DEBIAN=(
    build-essential debhelper dpkg-dev devscripts lintian licensecheck mandoc autopkgtest
)

installer_paquets() {
    local manquants=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            manquants+=("$p")
    done
    [ ${#manquants[@]} -eq 0 ] && return 0
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${manquants[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${manquants[@]}" >/dev/null
}

# preparer_programme TARGET...: builds the given targets; the tests are left out of a build
# folder that this makes, so that their packages are not needed.
preparer_programme() {
    installer_paquets "${PAQUETS_PROGRAMME[@]}"
    local options=()
    [ -f "$RACINE/build/CMakeCache.txt" ] || options=(-DVALDRUNE_TESTS=OFF)
    cmake -S "$RACINE" -B "$RACINE/build" "${options[@]}" >/dev/null
    local cibles=() c
    for c in "$@"; do cibles+=(--target "$c"); done
    cmake --build "$RACINE/build" -j "$(nproc)" "${cibles[@]}"
}

# preparer_tout: builds everything, the tests included.
preparer_tout() {
    installer_paquets "${PAQUETS_PROGRAMME[@]}" "${PAQUETS_TESTS[@]}" "${PAQUETS_DEBIAN[@]}" \
        "${PAQUETS_PAGE[@]}"
    cmake -S "$RACINE" -B "$RACINE/build" -DVALDRUNE_TESTS=ON >/dev/null
    cmake --build "$RACINE/build" -j "$(nproc)"
}
