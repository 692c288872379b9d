// verification.h: checking a level file as the viewer reads it.
#pragma once

#include "plateau.h"

#include <string>
#include <vector>

// Reads the level file at chemin through the viewer's own reader into lu, and checks it:
// token count, every tag of every piece, flags and orientations, each box against its shape
// and its image (looked up beside the file), then the placement rules.
std::vector<t_probleme> verifier_fichier(const std::string &chemin, t_piecer lu[NB_PIECES]);

// The same solution: the same pieces in play at the same places and orientations.
bool meme_solution(const t_piecer a[NB_PIECES], const t_piecer b[NB_PIECES]);
