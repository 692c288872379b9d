// jeu.h: the viewer's records, enumerations and shared variables; the level's own records are
// niveau/niveau.h's.
#pragma once

#include "niveau/niveau.h"

#include <SDL_events.h>
#include <SDL_ttf.h>
#include <SDL_video.h>
#include <cstdint>

// The piece identities, in the spelling of the handling side.
enum {
    P_CHEVALIER = 0,
    P_PRINCESSE = 1,
    P_CUBE = 2,
    P_CUBE_AVEC_APENDICE_1 = 3,
    P_CUBE_AVEC_APENDICE_2 = 4,
    P_TOUR_1 = 5,
    P_TOUR_2 = 6,
    P_PETIT_ESCALIER_1 = 7,
    P_PETIT_ESCALIER_2 = 8,
    P_GRAND_ESCALIER = 9
};

enum {
    ETAT_JEU_CHOIX_PIECE = 0,
    ETAT_JEU_EN_JEU = 1,
    ETAT_JEU_REINITIALISATION = 2,
    ETAT_JEU_CHARGER_FICHIER = 3,
    ETAT_JEU_GENERER_FICHIER = 4
};

// Contents of a cell of the state matrix (the staircase suffixes run PLEIN, HAUT_GAUCHE,
// HAUT_DROITE, GAUCHE_GAUCHE, GAUCHE_DROITE, DROITE_GAUCHE, DROITE_DROITE).
enum {
    M_VIDE = 0,
    M_CHEVALIER,
    M_PRINCESSE,
    M_CUBE,
    M_CUBE_AVEC_APPENDICE_1,
    M_CUBE_AVEC_APPENDICE_2,
    M_TOUR_1,
    M_TOUR_2,
    M_PETIT_ESCALIER_1_PLEIN,
    M_PETIT_ESCALIER_1_HAUT_GAUCHE,
    M_PETIT_ESCALIER_1_HAUT_DROITE,
    M_PETIT_ESCALIER_1_GAUCHE_GAUCHE,
    M_PETIT_ESCALIER_1_GAUCHE_DROITE,
    M_PETIT_ESCALIER_1_DROITE_GAUCHE,
    M_PETIT_ESCALIER_1_DROITE_DROITE,
    M_PETIT_ESCALIER_2_PLEIN,
    M_PETIT_ESCALIER_2_HAUT_GAUCHE,
    M_PETIT_ESCALIER_2_HAUT_DROITE,
    M_PETIT_ESCALIER_2_GAUCHE_GAUCHE,
    M_PETIT_ESCALIER_2_GAUCHE_DROITE,
    M_PETIT_ESCALIER_2_DROITE_GAUCHE,
    M_PETIT_ESCALIER_2_DROITE_DROITE,
    M_GRAND_ESCALIER_PLEIN,
    M_GRAND_ESCALIER_HAUT_GAUCHE,
    M_GRAND_ESCALIER_HAUT_DROITE,
    M_GRAND_ESCALIER_GAUCHE_GAUCHE,
    M_GRAND_ESCALIER_GAUCHE_DROITE,
    M_GRAND_ESCALIER_DROITE_GAUCHE,
    M_GRAND_ESCALIER_DROITE_DROITE
};

// A drawable: a surface and the screen position of its top-left corner.
struct t_layout {
    SDL_Surface *surface = nullptr;
    SDL_Rect position{};
};

// Run-time handling state of one piece.
struct t_piece {
    int disponible;
    int prise;
    int x, y;
    int rotation_possible;
    int rotation; // turn counter, 0 to 5
};

// A pending player choice; each field is -1 when unset.
struct t_action {
    int choix_piece;
    int choix_rotation;
    int choix_position_colonne;
    int choix_mode_de_jeu;
    int choix_enlever_ou_ajouter_piece;
};

// The game record: the current level's solution.
struct t_jeu {
    int niveau;
    int matrice_etat[6][6];
    t_piecer piece[NB_PIECES];
    t_action action;
    int etat_jeu;
};

// ---- modele.cpp: game model ----

// Window size in pixels.
extern int SCREEN_WIDTH;
extern int SCREEN_HEIGHT;
// The game record.
extern t_jeu jeu;
// Level-step latch: a step happens on the release of Up or Down only while it is 0.
extern int change;
// Current level, 1 to 48.
extern int niveau;
// Index of the held piece in pieces, -1 for none.
extern int id_piece_prise;
// Grid cell under the held piece, -1 for none.
extern int pos_x_sur_grille;
extern int pos_y_sur_grille;
// Edge of one grid cell in pixels.
extern int taille_cube;
// Handling state of the pieces.
extern t_piece pieces[NB_PIECES];
// Matrix shown in the information panel.
extern int16_t matrice[7][6];
// Rotation-key latch: a turn happens on the press of Left or Right only while it is 1.
extern int autoriser_rotation;

// ---- modele.cpp too: the main loop's event and the screen ----

// The event of the current pass.
extern SDL_Event event;
// The screen surface.
extern SDL_Surface *ecran;

// ---- rendu.cpp: rendering ----

// Column tiles.
extern t_layout support[6];
// Figure tiles and single-piece images.
extern t_layout personnage_f, personnage_h, cube_simple, cube_avec_apendice, tour;
// Staircase image sets, indexed by orientation value.
extern t_layout grand_escalier[NB_ORIENTATIONS + 1];
extern t_layout petit_escalier[NB_ORIENTATIONS + 1];
// Text colour.
extern SDL_Color couleurNoire;
// Text font; none when arial.ttf could not be opened.
extern TTF_Font *police;
// The current text line of the panel and its drawable.
extern t_layout texte;
extern char buff[100];
