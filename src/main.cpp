// main.cpp: the entry of Valdrune: the viewer of the block-stacking puzzle's solutions, or with
// --defi the challenge mode, where the player places the pieces.
#include "niveau/lecture.h"
#include "plateforme/boucle_defi.h"
#include "regles/generateur.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <valdrune_version.h>

namespace {

// The challenge mode's command line after --defi: a level, or a seed and a number of pieces
// to place, each optional. Returns the exit status, 2 for a command line it cannot read.
int lancer_defis(int argc, char **argv) {
    if (argc == 3 && argv[2][0] != '-') {
        const int n = int(lire_nombre(argv[2], NB_NIVEAUX));
        if (n == 0) {
            std::fprintf(stderr, "valdrune: no level '%s': the levels are 1 to 48\n", argv[2]);
            return 2;
        }
        return jouer_defis(n);
    }
    uint32_t graine = 0;
    int pieces = 0;
    for (int i = 2; i < argc; i += 2) {
        const bool option_graine = std::strcmp(argv[i], "--graine") == 0 && graine == 0,
                   option_pieces = std::strcmp(argv[i], "--pieces") == 0 && pieces == 0;
        if (i + 1 == argc || (!option_graine && !option_pieces)) {
            std::fprintf(stderr,
                         "usage: valdrune [--defi [LEVEL | --graine SEED | --pieces K]...]\n");
            return 2;
        }
        if (option_graine && (graine = lire_nombre(argv[i + 1], GRAINE_MAX)) == 0) {
            std::fprintf(stderr, "valdrune: no seed '%s': the seeds are 1 to %u\n", argv[i + 1],
                         GRAINE_MAX);
            return 2;
        }
        if (option_pieces && (pieces = int(lire_nombre(argv[i + 1], 4))) == 0) {
            std::fprintf(stderr, "valdrune: '%s' pieces to place: 1 to 4\n", argv[i + 1]);
            return 2;
        }
    }
    return jouer_defis(0, graine, pieces);
}

// --help and --version print, with no window and no file touched. A write that fails (a full
// disk) fails the command, so that a caller never takes a cut text for the whole.
int vider_sortie() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

int afficher_aide() {
    std::printf(
        "Usage: valdrune\n"
        "  or:  valdrune --defi [LEVEL]\n"
        "  or:  valdrune --defi [--graine SEED] [--pieces K]\n"
        "Shows the solutions of a knight and princess block-stacking puzzle, one level at a\n"
        "time; with --defi, sets the levels as challenges to solve with the mouse.\n"
        "\n"
        "  --defi [LEVEL]        the challenge mode, on level LEVEL (1 to %d) or on the\n"
        "                        map of the challenges\n"
        "  --defi --graine SEED  the random challenge made from SEED (1 to %u)\n"
        "  --defi --pieces K     a random challenge with K pieces to place (1 to 4)\n"
        "  --help                print this help and exit\n"
        "  --version             print the version and exit\n"
        "\n"
        "Up and Down step through the levels. In the challenge mode the mouse carries the\n"
        "pieces; Left, Right or the wheel turn a staircase, U undoes, R restarts, H gives a\n"
        "hint, S shows the solution, N makes a random challenge, M shows the map. Closing\n"
        "the window quits.\n"
        "The levels, images and font are read from the working directory. Every key, file\n"
        "and exit status: man 6 valdrune.\n",
        NB_NIVEAUX, GRAINE_MAX);
    return vider_sortie();
}

int afficher_version() {
    std::printf("valdrune %s\n", VALDRUNE_VERSION);
    return vider_sortie();
}

} // namespace

int main(int argc, char **argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--defi") == 0) return lancer_defis(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) return afficher_aide();
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) return afficher_version();
    // An option mistyped is said, rather than opening the viewer in its place; a lone "-" is
    // no option. Any other command line is the viewer's, which reads no argument.
    if (argc >= 2 && argv[1][0] == '-' && argv[1][1] != '\0') {
        std::fprintf(stderr, "valdrune: no option '%s': valdrune --help lists them\n", argv[1]);
        return 2;
    }
    if (demarrer() != 1) return 1;
    while (passe() == 1) {
    }
    arreter();
    return 0;
}
