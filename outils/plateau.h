// plateau.h: the rules a level's solution must keep on the board, and the knight's walk.
#pragma once

#include "formes.h"
#include "jeu/jeu.h"

#include <string>
#include <vector>

// The board: six columns from column 4, six rows from the ground.
constexpr int PLATEAU_COLONNE = 4;
constexpr int PLATEAU_LARGEUR = 6;
constexpr int PLATEAU_HAUTEUR = 6;

// One problem of a level: the piece it concerns (its name, or "-" for the whole level).
struct t_probleme {
    std::string piece;
    std::string message;
};

// What each piece's image paints, as cells of its box: the whole box for the pieces drawn
// without a colour key, the staircase image's non-green cells for the others.
using t_peintures = std::vector<const t_forme *>; // indexed by piece identity

// The knight's way to the princess.
struct t_chemin {
    int pas = -1;    // moves, -1 when there is no way
    int montees = 0; // moves that climb or descend a step
    int virages = 0; // changes of direction: back the other way, or down after up
};

// The checks of one level's placement, given pieces whose fields are sound (shape, box,
// rotation): the board, shared cells, the drawing order, support, and the way to the princess.
std::vector<t_probleme> verifier_placement(const t_piecer piece[NB_PIECES],
                                           const t_peintures &peintures);

// The knight's shortest walk to a place beside the princess at her height.
t_chemin chercher_chemin(const t_piecer piece[NB_PIECES]);
