// ecran_defi.h: drawing the challenge mode's window.
#pragma once

#include "defi/partie.h"

#include <string>
#include <vector>

// Opens arial.ttf at the messages' size; without it the messages are left out.
bool ouvrir_police_defi();
void fermer_police_defi();

// The lines written above the board, top first: the level and the progress, the message, the
// keys, and a rule of the game (or why the progress could not be saved).
std::vector<std::string> textes_defi(const t_partie &p);

// Draws the challenge in play on the screen surface, whole: board, tray, pieces, marks, the
// panel and the messages above the board.
void dessiner_defi(const t_partie &p);
