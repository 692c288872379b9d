// ecran_defi.h: drawing the challenge mode's window.
#pragma once

#include "defi/partie.h"

#include <cstdint>
#include <string>
#include <vector>

// Opens arial.ttf at the lines' size and reads the characters' images; without the font the
// lines are left out, without an image the figures are the viewer's plain tiles.
bool ouvrir_ecran_defi();
void fermer_ecran_defi();

// Draws pieces as the challenge mode shows them: the viewer's images, and the knight and the
// princess as characters facing each other (alone, the knight faces right and the princess
// left), the knight moved (dx, dy) pixels (dy up) and facing the way he walks when he walks.
// On the screen surface.
void dessiner_pieces_defi(const t_piecer piece[NB_PIECES], int dx = 0, int dy = 0);

// The map's place under pixel (x, y): 1 to 48, CARTE_ALEATOIRE, or 0 for none.
int place_de_carte(int x, int y);

// The lines written above the board, top first: the level and the progress, the message, the
// keys, and the idea the level brings (or why the progress could not be saved).
std::vector<std::string> textes_defi(const t_partie &p);

// Draws the challenge in play on the screen surface, whole: board, tray, pieces, marks, the
// lines above the board; at time `maintenant` (milliseconds), the knight between two footholds
// as he walks, and the celebration of a solve.
void dessiner_defi(const t_partie &p, uint32_t maintenant = 0);
