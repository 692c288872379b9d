// modele.cpp: the viewer's shared variables and the game model's reset.
#include "jeu/modele.h"

#include "jeu/jeu.h"
#include "niveau/pieces.h"

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
SDL_Event event;
SDL_Surface *ecran = nullptr;

void init() {
    jeu.niveau = 0;
    init_pieces(jeu.piece);
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
