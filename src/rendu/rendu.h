// rendu.h: the drawables, the solution view and the information panel.
#pragma once

#include "jeu/jeu.h"

// Reads a bitmap from the working directory, saying on stderr when it cannot; pure green
// becomes transparent when asked.
SDL_Surface *charger_image(const char *nom, bool cle_verte);

// Opens arial.ttf at 13 points into police; says so on stderr when it cannot.
void init_font();

// Creates the column and figure tiles and loads the fifteen piece images; an image that
// cannot be read is reported on stderr and left without a surface.
void init_layout();

// Draws every piece of the current level that is in play at its grid cells.
void affich_solution();

// The same for any set of pieces: those in play, at their grid cells, in the drawing order.
void dessiner_pieces(const t_piecer piece[NB_PIECES]);

// Draws the text panel: the held piece, the grid fields, the matrix and the level.
void affich_info();
