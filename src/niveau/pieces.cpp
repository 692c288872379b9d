// pieces.cpp: the kinds of piece and the reset's values of each.
#include "niveau/pieces.h"

#include <cstdio>

namespace {

// What the reset gives each piece beyond the common values.
struct t_depart {
    const char *nom;
    int rotation;
    int rotation_possible;
};

const t_depart departs[NB_PIECES] = {
    {"CHEVALIER", 0, 0},
    {"PRINCESSE", 0, 0},
    {"CUBE", 0, 0},
    {"CUBE_AVEC_APENDICE_1", 0, 0},
    {"CUBE_AVEC_APENDICE_2", 0, 0},
    {"TOUR_1", 0, 0},
    {"TOUR_2", 0, 0},
    {"PETIT_ESCALIER_1", DEBOUT_GAUCHE, 1},
    {"PETIT_ESCALIER_2", DEBOUT_GAUCHE, 1},
    {"GRAND_ESCALIER", DEBOUT_GAUCHE, 1},
};

} // namespace

bool est_figure(int id) {
    return id == ID_CHEVALIER || id == ID_PRINCESSE;
}

bool est_escalier(int id) {
    return id == ID_PETIT_ESCALIER_1 || id == ID_PETIT_ESCALIER_2 || id == ID_GRAND_ESCALIER;
}

int sorte(int id) {
    switch (id) {
    case ID_CUBE_AVEC_APPENDICE_2:
        return ID_CUBE_AVEC_APPENDICE_1;
    case ID_TOUR_2:
        return ID_TOUR_1;
    case ID_PETIT_ESCALIER_2:
        return ID_PETIT_ESCALIER_1;
    default:
        return id;
    }
}

bool peut_etre_a_placer(int id) {
    return id == ID_CUBE || est_escalier(id);
}

void init_pieces(t_piecer piece[NB_PIECES]) {
    for (int k = 0; k < NB_PIECES; ++k) {
        t_piecer &p = piece[k];
        p.id = k;
        p.colonne = p.ligne = p.largeur = p.hauteur = p.piece_solution = -1;
        std::snprintf(p.nom, sizeof p.nom, "%s", departs[k].nom);
        p.piece_de_depart = peut_etre_a_placer(k) ? NON : OUI;
        p.rotation = departs[k].rotation;
        p.rotation_possible = departs[k].rotation_possible;
        p.dans_le_jeu = NON;
    }
}

bool est_a_placer(const t_piecer &p) {
    return p.dans_le_jeu == OUI && p.piece_de_depart != OUI;
}

t_place place_de(const t_piecer &p) {
    return {p.colonne, p.ligne, p.rotation};
}
