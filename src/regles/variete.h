// variete.h: what tells two levels apart, and the difficulty curve from level 1 to level 48.
#pragma once

#include "plateau.h"
#include "solveur.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// 100 per piece to place, 10 per change of height along the walk, and the solver's effort:
// the base-2 logarithm of the poses it tried, rounded down.
int difficulte(size_t a_placer, const t_chemin &chemin, long long essais);

// A sound level as the comparisons see it.
struct t_fiche {
    int numero = 0; // level number, 0 when unknown
    t_scene scene;
    t_chemin chemin;
    std::vector<int> a_placer; // the pieces to place, by identity
    long long essais = 0;      // the solver's effort
    int difficulte() const { return ::difficulte(a_placer.size(), chemin, essais); }
};

// The level's scene and walk, with what its challenge's resolution tells.
t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], const t_resolution &resolution);

// Why level b is too like level a, also as a mirror image: the same challenge; the same
// knight's start, princess's place and walk; more than three quarters of the larger level's
// solid cells in common. Empty when they differ enough.
std::vector<std::string> ressemblances(const t_fiche &a, const t_fiche &b);

// What those comparisons look at in a level, worked out once: its challenge, figures and
// solid cells as it stands ([0]) and as its mirror image ([1]), and its walk.
struct t_empreinte {
    int numero = 0;
    std::array<uint64_t, NB_PIECES> defi[2];
    std::array<int, 4> figures[2];
    uint64_t cellules[2] = {};
    std::string chemin;
};
t_empreinte empreinte(const t_fiche &f);

// Whether level b is too like level a in any of those ways: the generator asks it of every
// place it tries, so the reasons are not put in words.
bool ressemble(const t_empreinte &a, const t_empreinte &b);

// Why level b breaks the curve, a being the level before it (none for the first level
// checked): the score never decreases; levels 1 to 3 have one piece to place, the last twelve
// three or more. Level 1 or 2 having a staircase to place is checked by escalier_au_debut().
std::vector<std::string> verifier_courbe(const t_fiche *a, const t_fiche &b);

// Whether levels 1 and 2 (either may be missing) give a staircase to place.
bool escalier_au_debut(const t_fiche *niveau1, const t_fiche *niveau2);
