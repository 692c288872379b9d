// progres.h: the challenges solved, with the hints they took, and the solutions seen, kept
// between runs in a small text file of the working directory.
#pragma once

#include "niveau/niveau.h"

#include <string>

// The progress file ("règles vues" tells the rules screen was shown once; "pièces 3" keeps the
// number of pieces to place last chosen for the challenges made on demand), in the working
// directory (the launcher's folder of the user's own).
constexpr const char *FICHIER_PROGRES = "progression.txt";

// How far the player has gone with a level.
enum t_avancement { AV_RIEN = 0, AV_VU = 1, AV_RESOLU = 2 };

struct t_progres {
    int avancement[NB_NIVEAUX + 1] = {}; // by level, 1 to 48
    int indices[NB_NIVEAUX + 1] = {};    // hints taken by the best solve
    int pieces = 0; // pieces to place last chosen for the challenges made on demand, 0 for none
    int regles_vues = NON; // the rules screen was shown ("règles vues")
    int trouve = NON;      // the file was there when read
    int pieces_lues = 0;   // `pieces` as the file held it when last read or written
};

// Reads the file into p; a missing file, or any line that is not a sound record, counts for
// nothing. False when the file exists but cannot be read, or is a link or anything but a
// plain file: it must not be replaced then.
bool lire_progres(const char *fichier, t_progres &p);

// Rewrites the file whole through a temporary file of its own beside it, flushed to the disk
// then renamed over it, the folder flushed last: a failure or a crash at any moment leaves the
// old file or the new one, whole. A link planted at any name is never written through. Returns
// false with the reason in `erreur`.
bool ecrire_progres(const t_progres &p, const char *fichier, std::string &erreur);

// Adds to p what the file holds: per level, a solve with the fewest hints beats a solution
// seen, which beats nothing; the pieces chosen are p's if p changed them since its last read.
void fusionner_progres(t_progres &p, const t_progres &lu);

// Saves p where other runs may be saving too: under the folder's advisory lock, reads the file
// again, merges it into p, and writes p. Nothing is written if the file exists but cannot be
// read; false with the reason in `erreur`.
bool enregistrer_progres(t_progres &p, const char *fichier, std::string &erreur);

// A solve keeps the fewest hints; a solution seen never undoes a solve.
void noter_resolu(t_progres &p, int niveau, int indices);
void noter_vu(t_progres &p, int niveau);

// The first level not solved yet, 1 once all are.
int premier_non_resolu(const t_progres &p);

// How many levels are solved.
int nombre_resolus(const t_progres &p);
