// boucle_defi.h: the challenge mode's loop: SDL's events turned into commands, and frames
// drawn only when something changed.
#pragma once

#include "defi/partie.h"

#include <SDL_events.h>
#include <cstdint>

// Acts on one event; returns 0 when it asks the loop to stop, 1 otherwise. Sets `redessiner`
// when the window must be drawn again.
int traiter_evenement_defi(t_partie &p, const SDL_Event &e, bool &redessiner);

// The challenge mode's start-up: the window, the tiles and images the pieces are drawn with,
// the lines' font; no level of the viewer is read. Returns 0 after printing
// what failed when the libraries or the window cannot be had, 1 otherwise.
int demarrer_defi();

// Wakes the loop from a making's thread once it has ended (t_partie::signaler_fabrication): the
// event it pushes has traiter_evenement_defi() put the challenge made in play.
void signaler_fabrication_finie();

// Prints the run's lines for standard output and forgets them.
void annoncer(t_partie &p);

// The challenge mode from start-up to shut-down on level n (0: the first not solved), or on a
// challenge made from `graine` (0: none) with `pieces` pieces to place (0: as the player chose
// last); returns the exit status.
int jouer_defis(int n, uint32_t graine = 0, int pieces = 0);
