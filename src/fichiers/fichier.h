// fichier.h: the viewer's level reader and its trace file. The tokens, tags and values it reads
// with are the level's own (niveau/lecture.h), named here too as the reader's parts.
#pragma once

#include "niveau/lecture.h"

// Reads "solution<niveau>.xml" into jeu.piece, then rewrites the trace file.
void load_fichier();
