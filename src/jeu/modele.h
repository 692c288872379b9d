// modele.h: reset of the game record.
#pragma once

// Puts jeu into its start state; touches no other variable.
void init();

// The held piece: the highest index whose prise is 1, -1 for none.
int chercher_piece_prise();
