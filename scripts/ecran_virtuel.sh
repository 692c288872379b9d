# shellcheck shell=bash
# ecran_virtuel.sh: a virtual X display for running and checking the program without a screen.
# Sourced; defines functions only. Each process started here is stopped by its own pid.

# attendre SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds; fails after SECONDS.
attendre() {
    local fin=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < fin)) || return 1
        sleep 0.05
    done
}

# demarrer_xvfb: starts Xvfb on a display number it picks itself, exports DISPLAY and XVFB_PID.
demarrer_xvfb() {
    local numero
    numero=$(mktemp)
    Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1600x900x24 3>"$numero" >/dev/null 2>&1 &
    XVFB_PID=$!
    if ! attendre 20 test -s "$numero"; then
        echo "Xvfb did not start" >&2
        rm -f "$numero"
        return 1
    fi
    DISPLAY=":$(head -n 1 "$numero")"
    export DISPLAY
    rm -f "$numero"
    attendre 20 xdotool getmouselocation || { echo "Xvfb does not accept connections" >&2; return 1; }
}

arreter_xvfb() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

# lancer_programme DIR COMMAND...: starts COMMAND in DIR, its stderr into $ERREURS_PROGRAMME
# when set, and waits for its window: PROGRAMME is its pid, FENETRE its window.
lancer_programme() {
    local dossier=$1
    shift
    (cd "$dossier" && exec "$@" 2>"${ERREURS_PROGRAMME:-/dev/stderr}") &
    PROGRAMME=$!
    attendre 20 fenetre_de "$PROGRAMME" || return 1
    FENETRE=$(fenetre_de "$PROGRAMME")
}

# fermer_programme [FERMER_FENETRE]: closes the window as a window manager's close button does
# (with the helper given), or else sends SIGTERM, which SDL turns into the same quit event;
# then waits for the program and returns its exit status.
fermer_programme() {
    if [ $# -gt 0 ]; then "$1" "$FENETRE"; else kill -TERM "$PROGRAMME"; fi
    local statut=0
    wait "$PROGRAMME" || statut=$?
    PROGRAMME=
    return "$statut"
}

# arreter_tout: for an exit trap, stops the program if it still runs, then Xvfb.
arreter_tout() {
    if [ -n "${PROGRAMME:-}" ]; then
        kill "$PROGRAMME" 2>/dev/null || true
        wait "$PROGRAMME" 2>/dev/null || true
        PROGRAMME=
    fi
    arreter_xvfb
}

# fenetre_de PID: prints the id of the window called "Jeu Valdrune" that process PID shows.
fenetre_de() {
    xdotool search --onlyvisible --pid "$1" --name '^Jeu Valdrune$' 2>/dev/null | head -n 1 | grep .
}

# capturer WINDOW FILE.ppm: writes what the window shows as an 8-bit PPM image. The whole
# screen is captured and cut to the window: xwdtopnm misreads a window's own dump.
capturer() {
    # shellcheck disable=SC2034  # all set by xdotool's --shell output, kept local
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xwd -silent -root | xwdtopnm 2>/dev/null |
        pamcut -left "$X" -top "$Y" -width "$WIDTH" -height "$HEIGHT" | pamdepth 255 >"$2"
}

# pixel FILE.ppm X Y: prints "R G B" of one pixel.
pixel() {
    pamcut -left "$2" -top "$3" -width 1 -height 1 "$1" | pnmtoplainpnm | sed -n '4p' | xargs
}

# capturer_premiere_image WINDOW FILE.ppm [X Y]: waits until the window shows a drawn frame
# (the background at pixel X, Y, by default its bottom-right corner) and leaves that frame in
# FILE.ppm.
capturer_premiere_image() {
    # shellcheck disable=SC2317  # called by attendre
    _image_dessinee() { capturer "$1" "$2" && [ "$(pixel "$2" "$3" "$4")" = "17 206 112" ]; }
    attendre 20 _image_dessinee "$1" "$2" "${3:-1499}" "${4:-749}"
}
