// fichier.h: reading a level's solution file and writing the trace file.
#pragma once

// Longest token kept from a level file; the rest of a longer token is dropped.
constexpr int TAILLE_JETON = 199;

// Reads "solution<niveau>.xml" into jeu.piece, then rewrites the trace file.
void load_fichier();

// 1 when buffer begins with the tag ligne_a_test up to, not including, its closing '>';
// 0 otherwise, and always 0 when buffer is shorter than the tag.
int test_ligne(const char *buffer, const char *ligne_a_test);

// The value carried by a tagged token, or -100 when it is empty.
int buff_to_int(const char *buffer);
