# preparer.sh: installs the Debian packages that are missing, then configures and builds.
# Sourced by lancer.sh and tester.sh; RACINE is the repository's root.
# Usage: preparer TARGET...   (no target: everything)

PAQUETS=(
    cmake g++ make pkg-config
    libsdl1.2-dev libsdl-ttf2.0-dev libx11-dev
    googletest libgtest-dev fonts-dejavu-core libxml2-utils
    xvfb xdotool x11-apps netpbm
)

installer_paquets() {
    local manquants=() p
    for p in "${PAQUETS[@]}"; do
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

preparer() {
    installer_paquets
    cmake -S "$RACINE" -B "$RACINE/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    local cibles=()
    for c in "$@"; do cibles+=(--target "$c"); done
    cmake --build "$RACINE/build" -j "$(nproc)" "${cibles[@]}"
}
