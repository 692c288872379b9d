// lecture.h: a level file read into ten pieces: its tokens, its tags and their values; and a
// number as a player types it. The viewer's reader and the challenge game both read levels
// through it, so that a file reads the same in both.
#pragma once

#include "niveau/niveau.h"

#include <cstdint>

// Longest token kept from a level file; the rest of a longer token is dropped.
constexpr int TAILLE_JETON = 199;

// Tokens examined in a level file; anything after them has no effect.
constexpr int NB_JETONS = 132;

// The tags in the order in which each token is tested, and the field each one sets; the id
// tag's value chooses the current piece before it is written to it.
struct t_balise {
    const char *texte;
    int t_piecer::*champ;
};
constexpr int NB_BALISES = 7;
extern const t_balise BALISES[NB_BALISES];

// Reads the level file `nom` into piece: each field a token names is overwritten, every other
// field keeps its value. False, with nothing changed, when the file cannot be opened.
bool lire_niveau(const char *nom, t_piecer piece[NB_PIECES]);

// A seed, a level or a number of pieces as typed on a command line: digits only, 1 to `max`;
// 0 when it is not one.
uint32_t lire_nombre(const char *texte, uint32_t max);

// 1 when buffer begins with the tag ligne_a_test up to, not including, its closing '>';
// 0 otherwise, and always 0 when buffer is shorter than the tag.
int test_ligne(const char *buffer, const char *ligne_a_test);

// The value carried by a tagged token, or -100 when it is empty.
int buff_to_int(const char *buffer);
