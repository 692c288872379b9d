// pieces.h: the kinds of piece, and the ten pieces as the reset leaves them.
#pragma once

#include "niveau/niveau.h"

// The knight and the princess, who carry nothing.
bool est_figure(int id);

// The three staircases, the only pieces with orientations.
bool est_escalier(int id);

// The kind of a piece: the two pieces of a kind (cubes with an appendix, towers, small
// staircases) are the same to the player, and have the lower identity of the two.
int sorte(int id);

// The pieces a challenge may give the player to place: the cube and the staircases. The others
// always stand where the level puts them; the reset marks them as starting pieces.
bool peut_etre_a_placer(int id);

// Puts ten pieces as the reset leaves them: each its identity and name, none in play, every
// place -1, the staircases upright and facing left.
void init_pieces(t_piecer piece[NB_PIECES]);

// A piece the player must place: in play, and not one the reset marks as a starting piece.
bool est_a_placer(const t_piecer &p);

// Where piece p stands, as its fields say.
t_place place_de(const t_piecer &p);
