// solveur.h: every way to place a level's pieces to place, its starting pieces kept where
// they stand.
#pragma once

#include "regles/plateau.h"

#include <cstdint>
#include <vector>

// One piece placed: its column (from column 0 of the window, as in a level file), row and
// orientation, and its cells as bits (column c of the board, row r: bit 6r + c).
struct t_pose {
    int id = -1;
    int colonne = 0, ligne = 0, rotation = 0;
    uint64_t masque = 0;
};

// A level's challenge solved.
struct t_resolution {
    std::vector<int> a_placer;                  // the pieces to place, by identity
    std::vector<std::vector<t_pose>> solutions; // one pose per piece to place, in that order
    long long essais = 0;                       // poses tried: the search's effort
};

// The starting pieces stay where they stand; the pieces to place (est_a_placer()) are placed.
// Finds every way to place them, any columns, rows and orientations, that keeps evaluer()'s
// rules, each way once: two orientations that fill the same cells are one pose, and the two
// small staircases are interchangeable. Stops after `limite` ways.
t_resolution resoudre(const t_piecer piece[NB_PIECES], int limite = 1 << 30);

// The decoys: the ways to place them, found as resoudre() finds ways, where every piece rests
// on the ground or on a piece and the knight reaches the princess with the balance aside, but
// the level does not stand, or tips under him.
t_resolution chercher_leurres(const t_piecer piece[NB_PIECES]);

// The level's own way to place its pieces to place, as the solver gives a way.
std::vector<t_pose> poses_du_niveau(const t_piecer piece[NB_PIECES]);

// The same way: the same cells for each kind of piece.
bool meme_facon(const std::vector<t_pose> &a, const std::vector<t_pose> &b);
