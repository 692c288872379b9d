// formes.h: the shape of every piece, in each orientation of the staircases.
#pragma once

#include <string>
#include <vector>

// A piece's box in cells and which of its cells are solid.
struct t_forme {
    int largeur = 0;
    int hauteur = 0;
    std::vector<std::string> lignes; // top row first; '#' solid, '.' empty

    // Cell (colonne, rang) of the box, rang counted from 0 at the bottom.
    bool pleine(int colonne, int rang) const {
        return lignes[static_cast<size_t>(hauteur - 1 - rang)][static_cast<size_t>(colonne)] == '#';
    }
};

// The shape of piece id; for a staircase, in orientation `rotation` (1 to 6), otherwise
// `rotation` is not looked at. None for a staircase orientation without an image.
const t_forme *forme_de(int id, int rotation);

// Of two orientations that fill the same cells (3 those of 2, 6 those of 1), the one drawn with
// its base at the bottom: a base band on a side reads as a crack. Any other value as it is.
int orientation_distincte(int rotation);

// Side of a staircase's box that holds its base, the long flat face it was built on.
enum t_cote { COTE_BAS, COTE_GAUCHE, COTE_DROIT };
t_cote base_de(int rotation);

// The image file of piece id in orientation rotation, as the viewer reads it; empty for the
// knight and the princess, which are drawn as plain tiles.
std::string fichier_image(int id, int rotation);
