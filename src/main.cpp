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

} // namespace

int main(int argc, char **argv) {
    // Any other command line is the viewer's, which reads none.
    if (argc >= 2 && std::strcmp(argv[1], "--defi") == 0) return lancer_defis(argc, argv);
    if (demarrer() != 1) return 1;
    while (passe() == 1) {
    }
    arreter();
    return 0;
}
