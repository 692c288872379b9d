// main.cpp: the entry of Valdrune: the viewer of the block-stacking puzzle's solutions, or with
// --defi the challenge mode, where the player places the pieces.
#include "jeu/boucle.h"
#include "jeu/jeu.h"
#include "plateforme/boucle_defi.h"

#include <SDL.h>
#include <cstdio>
#include <cstring>

namespace {

// The level named on the command line, 1 to 48; 0 when it is not one.
int lire_niveau(const char *texte) {
    int n = 0;
    for (const char *c = texte; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || n > NB_NIVEAUX) return 0;
        n = 10 * n + (*c - '0');
    }
    return n <= NB_NIVEAUX ? n : 0;
}

} // namespace

int main(int argc, char **argv) {
    // Any other command line is the viewer's, which reads none.
    if (argc >= 2 && std::strcmp(argv[1], "--defi") == 0) {
        if (argc > 3) {
            std::fprintf(stderr, "usage: valdrune [--defi [LEVEL]]\n");
            return 2;
        }
        const int n = argc == 3 ? lire_niveau(argv[2]) : 0;
        if (argc == 3 && n == 0) {
            std::fprintf(stderr, "valdrune: no level '%s': the levels are 1 to 48\n", argv[2]);
            return 2;
        }
        return jouer_defis(n);
    }
    if (demarrer() != 1) return 1;
    while (passe() == 1) {
    }
    arreter();
    return 0;
}
