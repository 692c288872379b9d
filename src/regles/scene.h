// scene.h: the board and a level standing on it, cell by cell, which the balance and the walk
// both read.
#pragma once

#include "niveau/formes.h"
#include "niveau/pieces.h"

#include <cstdint>

// The board: six columns from column 4, six rows from the ground.
constexpr int PLATEAU_COLONNE = 4;
constexpr int PLATEAU_LARGEUR = 6;
constexpr int PLATEAU_HAUTEUR = 6;

// A level on the board: who owns each cell, and where each piece in play stands. Columns are
// counted from the board's first one.
struct t_scene {
    int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR]; // piece identity, -1 for none
    bool en_jeu[NB_PIECES] = {};
    int colonne[NB_PIECES] = {};
    int ligne[NB_PIECES] = {};
    const t_forme *forme[NB_PIECES] = {};

    t_scene();
    // Puts piece k at (colonne, ligne) with its shape, or takes it away; the caller has made
    // sure the cells are on the board and free.
    void poser(int k, const t_forme *f, int c, int r);
    void enlever(int k);
};

// Lengths across the board in tenths of a cell, as the balance measures them: a cell from column
// c spans 10c to 10c + 10, and its top face carries only between 10c + 1 and 10c + 9.
constexpr int DIXIEMES = 10;

// Who owns each cell with the knight moved to column c, row h (the lower cell of his body), or
// taken off the board when c is below 0.
void placer_chevalier(const t_scene &s, int c, int h,
                      int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR]);

// Whether cell (c, r), counted from the board's first column and the ground, is on the board.
bool sur_plateau(int c, int r);

// Whether the whole box of shape f, its lower left corner at board cell (c, r), is on it.
bool sur_le_plateau(const t_forme &f, int c, int r);

// The same for piece id at place p (its column counted from the window's left), whatever a
// level file put in p: false for an orientation without a shape.
bool sur_le_plateau(int id, const t_place &p);

// The board cells that shape f fills with its box's lower left corner at board column c, row r,
// one bit each (6r + c); cells off the board count for nothing.
uint64_t masque_de(const t_forme &f, int c, int r);

// The same for piece id at place p (its column counted from the window's left, as in a level
// file).
uint64_t cellules(int id, const t_place &p);

// Calls f(colonne, rang) for each cell of the box that the shape marks, in board cells.
template <typename F> void pour_cases(int colonne, int ligne, const t_forme &forme, F f) {
    for (int r = 0; r < forme.hauteur; ++r)
        for (int c = 0; c < forme.largeur; ++c)
            if (forme.pleine(c, r)) f(colonne + c, ligne + r);
}
