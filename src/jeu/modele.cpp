// modele.cpp: the game model's variables and its reset.
#include "jeu/modele.h"

#include "jeu/jeu.h"

#include <cstdio>

int SCREEN_WIDTH = 1500;
int SCREEN_HEIGHT = 750;
t_jeu jeu;
int change = 0;
int niveau = 19;
int id_piece_prise = -1;
int pos_x_sur_grille = -1;
int pos_y_sur_grille = -1;
int taille_cube = 100;
t_piece pieces[NB_PIECES];
int16_t matrice[7][6];
int autoriser_rotation = 1;

namespace {

// What the reset gives each piece beyond the common values.
struct t_depart {
    const char *nom;
    int piece_de_depart;
    int rotation;
    int rotation_possible;
};

const t_depart departs[NB_PIECES] = {
    {"CHEVALIER", 1, 0, 0},
    {"PRINCESSE", 1, 0, 0},
    {"CUBE", 0, 0, 0},
    {"CUBE_AVEC_APENDICE_1", 1, 0, 0},
    {"CUBE_AVEC_APENDICE_2", 1, 0, 0},
    {"TOUR_1", 1, 0, 0},
    {"TOUR_2", 1, 0, 0},
    {"PETIT_ESCALIER_1", 0, DEBOUT_GAUCHE, 1},
    {"PETIT_ESCALIER_2", 0, DEBOUT_GAUCHE, 1},
    {"GRAND_ESCALIER", 0, DEBOUT_GAUCHE, 1},
};

} // namespace

void init() {
    jeu.niveau = 0;
    for (int k = 0; k < NB_PIECES; ++k) {
        t_piecer &p = jeu.piece[k];
        p.id = k;
        p.colonne = p.ligne = p.largeur = p.hauteur = p.piece_solution = -1;
        std::snprintf(p.nom, sizeof p.nom, "%s", departs[k].nom);
        p.piece_de_depart = departs[k].piece_de_depart;
        p.rotation = departs[k].rotation;
        p.rotation_possible = departs[k].rotation_possible;
        p.dans_le_jeu = NON;
    }
    for (auto &rang : jeu.matrice_etat)
        for (int &case_ : rang) case_ = M_VIDE;
    jeu.etat_jeu = ETAT_JEU_CHOIX_PIECE;
    jeu.action = {-1, -1, -1, -1, -1};
}

int chercher_piece_prise() {
    int numero = -1;
    for (int k = 0; k < NB_PIECES; ++k)
        if (pieces[k].prise == OUI) numero = k;
    return numero;
}
