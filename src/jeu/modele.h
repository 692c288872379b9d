// modele.h: reset of the game record.
#pragma once

// Puts jeu into its start state; touches no other variable.
void init();
