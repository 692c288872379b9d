// niveaux_livres.h: the shipped levels' pieces, built into the program from the level files,
// which the challenges made on demand must not copy.
#pragma once

#include "niveau/niveau.h"

// A piece as a level file places it.
struct t_piece_livree {
    int dans_le_jeu, colonne, ligne, rotation;
};

// Level n's pieces are NIVEAUX_LIVRES[n - 1], by identity.
extern const t_piece_livree NIVEAUX_LIVRES[NB_NIVEAUX][NB_PIECES];
