// equilibre.h: whether a level stands, as rigid pieces pushing on each other only through top
// and bottom faces.
#pragma once

#include "regles/scene.h"

// Whether the scene stands with the knight at column c (from the board's first) with the lower
// cell of his body in row h, wherever the scene has him: every cell weighs one unit; a piece is
// held only through the bottom faces of its cells, by another piece's solid cell under them
// (never a figure's) or by the ground; a contact only pushes, and only along the middle 80 %
// of the face. It stands when such forces balance every piece's weight and turning moment.
// With c below 0, the knight is off the scene: the stack alone. With `tenue` a piece in play,
// that piece is held in place by a hand: its own balance is not asked, its contacts stay.
bool tient_debout(const t_scene &scene, int c, int h, int tenue = -1);

// The side piece k tips to in that scene (the knight at c, h as above): -1 when a push from
// below, far out on its left, would alone let everything stand, 1 far out on its right; 0 when
// both or neither would.
int cote_de_bascule(const t_scene &scene, int c, int h, int k);

// Frees what the balance's solver keeps for the calling thread: a thread that called
// tient_debout() calls this before it ends, or that memory is lost.
void liberer_equilibre();
