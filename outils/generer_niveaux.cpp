// generer_niveaux.cpp: makes the 48 levels. Stacks are dropped on the board at random, piece by
// piece; a stack is kept when it keeps every level rule and its challenge has exactly one
// solution; then 48 of them, each unlike all the others, are chosen and ordered by difficulty.
// Usage: generer_niveaux FOLDER   (the same files every time: every draw has a fixed seed)
//        generer_niveaux --graine SEED --pieces K FILE   (the challenge the program makes from
//        that seed, with K pieces to place, as a level file)
#include "jeu/modele.h"
#include "regles/equilibre.h"
#include "regles/generateur.h"
#include "regles/variete.h"
#include "verification.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// Stacks drawn between two looks at what has been found.
constexpr int LOT = 4000;
constexpr int LOTS_AU_PLUS = 400;

// At most how many levels of each number of pieces to place, chosen in this order; two pieces
// to place fill what is left. And how many kept stacks to choose them from.
constexpr int VOULUS[5] = {0, 10, NB_NIVEAUX, 15, 6};
constexpr int ORDRE_DU_CHOIX[4] = {4, 3, 1, 2};
constexpr size_t RESERVE[5] = {0, 100, 150, 100, 20};

struct t_candidat {
    uint64_t tirage = 0; // the draw's number, its seed
    t_piecer piece[NB_PIECES];
    t_fiche fiche;
};

// Puts figure k at (colonne, ligne) of the board when the cells are free; false otherwise.
bool poser_figure(t_piecer piece[NB_PIECES], int k, int colonne, int ligne) {
    t_piecer &p = piece[k];
    p.colonne = colonne + PLATEAU_COLONNE;
    p.ligne = ligne;
    p.dans_le_jeu = OUI;
    return !heurte(piece, k);
}

// A stack: one to four pieces to place and up to four starting pieces dropped in a random
// order; then, of all the places of the two figures that make a level of it, one at random. The
// figures are set last: a stack dropped at random seldom leaves a way between two figures dropped
// at random.
bool tirer(t_hasard &h, t_candidat &c) {
    t_piecer *piece = c.piece;
    std::copy(jeu.piece, jeu.piece + NB_PIECES, piece); // as the reset leaves them: none in play
    if (!empiler(h, 0, piece)) return false;

    t_piecer choisi[NB_PIECES];
    int vus = 0;
    for (int cp = 0; cp < PLATEAU_LARGEUR; ++cp)
        for (int hp = 0; hp + 1 < PLATEAU_HAUTEUR; ++hp) {
            if (!poser_figure(piece, ID_PRINCESSE, cp, hp)) continue;
            for (int cc = 0; cc < PLATEAU_LARGEUR; ++cc)
                for (int hc = 0; hc + 1 < PLATEAU_HAUTEUR; ++hc) {
                    if (!poser_figure(piece, ID_CHEVALIER, cc, hc) || !valide(piece)) continue;
                    // One place drawn in one pass, a longer and steeper walk more likely.
                    const t_chemin chemin = evaluer(construire_scene(piece)).chemin;
                    const int poids = 1 + chemin.pas() + 3 * chemin.changements_de_hauteur();
                    vus += poids;
                    if (h.entre(vus) < poids) std::copy(piece, piece + NB_PIECES, choisi);
                }
        }
    if (vus == 0) return false;
    std::copy(choisi, choisi + NB_PIECES, piece);
    return true;
}

// A level whose challenge has exactly one solution.
bool garder(t_candidat &c) {
    const t_resolution r = resoudre(c.piece, 2);
    if (r.solutions.size() != 1) return false;
    c.fiche = ficher(0, c.piece, r);
    return true;
}

size_t a_placer(const t_candidat &c) {
    return c.fiche.a_placer.size();
}

// Unlike every level chosen; ressemblances() is symmetric, mirror images included.
bool unique_parmi(const t_candidat &c, const std::vector<const t_candidat *> &choisis) {
    return std::all_of(choisis.begin(), choisis.end(), [&](const t_candidat *d) {
        return ressemblances(d->fiche, c.fiche).empty();
    });
}

// The challenge of a seed, as the program makes it, written as level 0.
int ecrire_defi(const char *graine, const char *pieces, const char *chemin) {
    const uint32_t g = lire_nombre(graine, GRAINE_MAX);
    const int k = int(lire_nombre(pieces, 4));
    if (g == 0 || k == 0) {
        std::fprintf(stderr, "generer_niveaux: seeds are 1 to %u, and 1 to 4 pieces to place\n",
                     GRAINE_MAX);
        return 2;
    }
    t_piecer piece[NB_PIECES];
    fabriquer_defi(g, k, jeu.piece, piece);
    std::ofstream fichier(chemin);
    ecrire_niveau(fichier, 0, piece);
    fichier.close();
    if (!fichier) {
        std::fprintf(stderr, "generer_niveaux: cannot write %s\n", chemin);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    init();
    if (argc == 6 && std::string(argv[1]) == "--graine" && std::string(argv[3]) == "--pieces")
        return ecrire_defi(argv[2], argv[4], argv[5]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: generer_niveaux FOLDER\n"
                             "       generer_niveaux --graine SEED --pieces K FILE\n");
        return 2;
    }
    // Kept stacks, drawn in lots shared among the cores; each draw has its own seed, so what
    // is kept does not depend on which core drew it.
    std::vector<t_candidat> gardes;
    std::array<size_t, 5> compte{};
    const size_t nb_fils = std::max(1U, std::thread::hardware_concurrency());
    int lots = 0;
    const auto assez = [&] {
        for (int n = 1; n <= 4; ++n)
            if (compte[size_t(n)] < RESERVE[n]) return false;
        return true;
    };
    for (; lots < LOTS_AU_PLUS && !assez(); ++lots) {
        std::vector<std::vector<t_candidat>> trouves(nb_fils);
        std::vector<std::thread> fils;
        for (size_t f = 0; f < nb_fils; ++f)
            fils.emplace_back([&, f] {
                for (size_t i = f; i < LOT; i += nb_fils) {
                    t_candidat c;
                    c.tirage = uint64_t(lots) * LOT + i;
                    t_hasard h(c.tirage);
                    if (tirer(h, c) && garder(c)) trouves[f].push_back(c);
                }
                liberer_equilibre();
            });
        for (std::thread &t : fils) t.join();
        // Back in the order of the draws.
        std::vector<t_candidat> lot;
        for (auto &v : trouves) lot.insert(lot.end(), v.begin(), v.end());
        std::sort(lot.begin(), lot.end(),
                  [](const t_candidat &a, const t_candidat &b) { return a.tirage < b.tirage; });
        for (t_candidat &c : lot) {
            ++compte[std::min<size_t>(a_placer(c), 4)];
            gardes.push_back(c);
        }
        if ((lots + 1) % 25 == 0 || assez())
            std::fprintf(stderr, "%d stacks drawn; kept, by pieces to place: %zu, %zu, %zu, %zu\n",
                         (lots + 1) * LOT, compte[1], compte[2], compte[3], compte[4]);
    }
    if (!assez()) {
        std::fprintf(stderr, "generer_niveaux: too few levels found\n");
        return 1;
    }

    // The scarcest first: four pieces to place, then three, one, two; within each, a staircase
    // to place, the walks with the most changes of height, then the longest searches; each level
    // unlike those already chosen.
    std::vector<const t_candidat *> tries;
    for (const t_candidat &c : gardes) tries.push_back(&c);
    const auto valeur = [](const t_candidat *c) {
        const t_fiche &f = c->fiche;
        const bool escalier = std::any_of(f.a_placer.begin(), f.a_placer.end(), est_escalier);
        return std::make_tuple(f.a_placer.size(), escalier, f.chemin.changements_de_hauteur(),
                               f.chemin.pas(), f.essais);
    };
    std::stable_sort(tries.begin(), tries.end(), [&](const t_candidat *a, const t_candidat *b) {
        return valeur(a) > valeur(b);
    });
    std::vector<const t_candidat *> choisis;
    std::array<int, 5> pris{};
    // Walks of two moves or more first: a single move is a dull walk.
    for (int n : ORDRE_DU_CHOIX)
        for (int pas : {2, 1})
            for (const t_candidat *c : tries)
                if (a_placer(*c) == size_t(n) && c->fiche.chemin.pas() >= pas &&
                    pris[n] < VOULUS[n] && choisis.size() < NB_NIVEAUX &&
                    std::find(choisis.begin(), choisis.end(), c) == choisis.end() &&
                    unique_parmi(*c, choisis)) {
                    choisis.push_back(c);
                    ++pris[n];
                }
    if (choisis.size() != NB_NIVEAUX || pris[1] < 3 || pris[3] + pris[4] < 12) {
        std::fprintf(stderr,
                     "generer_niveaux: only %zu levels unlike each other (by pieces to place: "
                     "%d, %d, %d, %d)\n",
                     choisis.size(), pris[1], pris[2], pris[3], pris[4]);
        return 1;
    }
    std::stable_sort(choisis.begin(), choisis.end(), [](const t_candidat *a, const t_candidat *b) {
        return a->fiche.difficulte() < b->fiche.difficulte();
    });
    for (size_t l = 0; l < choisis.size(); ++l) {
        const t_fiche &f = choisis[l]->fiche;
        std::printf("level %2zu: difficulty %d, %zu to place, walk %s, %lld poses tried\n", l + 1,
                    f.difficulte(), f.a_placer.size(), f.chemin.forme.c_str(), f.essais);
        std::ofstream fichier(std::string(argv[1]) + "/solution" + std::to_string(l + 1) + ".xml");
        ecrire_niveau(fichier, int(l) + 1, choisis[l]->piece);
    }
    return 0;
}
