// verification.h: checking a level file as the viewer reads it, in the checker's words.
#pragma once

#include "redaction.h"

#include <ostream>
#include <string>
#include <vector>

// Reads the level file at chemin through the level reader the viewer uses into lu, and checks it:
// token count, every tag of every piece, flags and orientations, each box against its shape
// and its image (looked up beside the file), then the placement rules. `sain` tells whether the
// pieces could be put on the board (every field sound, no piece off it or sharing a cell).
std::vector<t_probleme> verifier_fichier(const std::string &chemin, t_piecer lu[NB_PIECES],
                                         bool &sain);

// Writes a level file as the shipped ones are: every piece with all six fields, its box from
// its shape when in play (0 for a staircase orientation without one), and every field 0 when
// not.
void ecrire_niveau(std::ostream &f, int numero, const t_piecer piece[NB_PIECES]);
