// verification.h: checking a level file as the viewer reads it.
#pragma once

#include "regles/plateau.h"

#include <string>
#include <vector>

// Reads the level file at chemin through the viewer's own reader into lu, and checks it:
// token count, every tag of every piece, flags and orientations, each box against its shape
// and its image (looked up beside the file), then the placement rules. `sain` tells whether the
// pieces could be put on the board (every field sound, no piece off it or sharing a cell).
std::vector<t_probleme> verifier_fichier(const std::string &chemin, t_piecer lu[NB_PIECES],
                                         bool &sain);
