// ecran_defi.h: drawing the challenge mode's window.
#pragma once

#include "defi/partie.h"

// Opens arial.ttf at the messages' size; without it the messages are left out.
bool ouvrir_police_defi();
void fermer_police_defi();

// Draws the challenge in play on the screen surface, whole: board, tray, pieces, marks, the
// panel and the messages above the board.
void dessiner_defi(const t_partie &p);
