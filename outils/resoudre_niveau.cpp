// resoudre_niveau.cpp: solves a level's challenge: its starting pieces kept where they stand,
// every way to place the others.
// Usage: resoudre_niveau FILE   prints the count, then each way's poses, one line per piece;
// exits 0 when the level's own solution is the only way, 1 otherwise, 2 if it cannot be read.
#include "regles/solveur.h"
#include "verification.h"

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: resoudre_niveau FILE\n");
        return 2;
    }
    t_piecer piece[NB_PIECES];
    bool sain = false;
    for (const t_probleme &p : verifier_fichier(argv[1], piece, sain))
        std::fprintf(stderr, "%s: %s: %s\n", argv[1], p.piece.c_str(), p.message.c_str());
    if (!sain) return 2;
    const t_resolution r = resoudre(piece);
    std::printf("%zu way%s to place", r.solutions.size(), r.solutions.size() == 1 ? "" : "s");
    for (int id : r.a_placer) std::printf(" %s", piece[id].nom);
    std::printf(" (%lld poses tried)\n", r.essais);
    const std::vector<t_pose> propre = poses_du_niveau(piece);
    for (size_t i = 0; i < r.solutions.size(); ++i) {
        std::printf("way %zu%s:", i + 1,
                    meme_facon(r.solutions[i], propre) ? " (the level's own)" : "");
        for (const t_pose &p : r.solutions[i])
            std::printf(" %s at column %d, row %d, rotation %d;", piece[p.id].nom, p.colonne,
                        p.ligne, p.rotation);
        std::printf("\n");
    }
    return r.solutions.size() == 1 && meme_facon(r.solutions[0], propre) ? 0 : 1;
}
