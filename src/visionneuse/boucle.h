// boucle.h: the viewer's start-up, one pass of its main loop, and shut-down.
#pragma once

// Brings up SDL, SDL_ttf and the window. Returns 0 after printing what failed on stderr when
// the libraries or the window cannot be had, 1 otherwise.
int ouvrir_fenetre();

// The viewer's start-up: ouvrir_fenetre(), then resets the game, opens the font, makes the
// tiles and images, and reads the current level. Returns as ouvrir_fenetre() does.
int demarrer();

// Acts on the event in `event`. Returns 0 when it asks the loop to stop, 1 otherwise.
int traiter_evenement();

// Redraws the whole window and flips it.
void dessiner();

// One pass of the main loop: takes one waiting event, if any, acts on it, redraws.
// Returns 0 once the window has been closed, 1 otherwise.
int passe();

// Releases the font and the libraries.
void arreter();
