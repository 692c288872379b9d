// traits.h: what a level teaches: the features of its walk and of its solution, which make its
// idea.
#pragma once

#include "regles/variete.h"

// One feature each; a level's idea is the set of its features.
enum t_trait : unsigned {
    T_DESCENTE = 1U << 0,    // the walk goes down a step
    T_MONTEE = 1U << 1,      // the walk goes up a step
    T_COLLINE = 1U << 2,     // up, then later down
    T_VALLEE = 1U << 3,      // down, then later up
    T_PALIER = 1U << 4,      // a flat move from one piece to a piece
    T_MIROIR = 1U << 5,      // a staircase to place turned to its mirror image
    T_RENVERSE = 1U << 6,    // a staircase to place upside down
    T_PONT = 1U << 7,        // the knight crosses a cell with nothing under it
    T_ETAI = 1U << 8,        // a piece to place holds a starting piece up
    T_CONTREPOIDS = 1U << 9, // a piece to place that only the balance needs
    T_EMPILEMENT = 1U << 10  // a piece to place rests on another piece to place
};
constexpr int NB_TRAITS = 11;

// The features of a sound level, its own solution in place.
unsigned traits(const t_fiche &f);

// How many features.
int compter_traits(unsigned traits);
