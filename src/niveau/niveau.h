// niveau.h: the records of a level, shared by the rules, the challenge game and the viewer:
// the pieces' identities and orientations, and one piece as a level file places it. No SDL.
#pragma once

// Flags hold 1 for yes and 0 for no; a flag counts as set only when it is exactly 1.
enum { NON = 0, OUI = 1 };

// Piece identity: the index of a piece in a level's ten pieces (the viewer's jeu.piece and
// pieces).
enum {
    ID_CHEVALIER = 0,
    ID_PRINCESSE = 1,
    ID_CUBE = 2,
    ID_CUBE_AVEC_APPENDICE_1 = 3,
    ID_CUBE_AVEC_APPENDICE_2 = 4,
    ID_TOUR_1 = 5,
    ID_TOUR_2 = 6,
    ID_PETIT_ESCALIER_1 = 7,
    ID_PETIT_ESCALIER_2 = 8,
    ID_GRAND_ESCALIER = 9
};

// Number of pieces of a level.
constexpr int NB_PIECES = 10;

// The levels are numbered 1 to 48.
constexpr int NB_NIVEAUX = 48;

// Orientation value of a staircase; 0 has no image.
enum {
    R_AUCUNE = 0,
    R_HAUT_GAUCHE = 1,
    R_HAUT_DROITE = 2,
    R_DROITE_GAUCHE = 3,
    R_DROITE_DROITE = 4,
    R_GAUCHE_GAUCHE = 5,
    R_GAUCHE_DROITE = 6
};
enum {
    RIEN = 0,
    DEBOUT_GAUCHE = 1,
    DEBOUT_DROITE = 2,
    DROITE_GAUCHE = 3,
    DROITE_DROITE = 4,
    GAUCHE_GAUCHE = 5,
    GAUCHE_DROITE = 6
};

// Highest orientation value; a staircase image set has one slot more (slot 0 stays empty).
constexpr int NB_ORIENTATIONS = 6;

// Longest piece name, without its terminator.
constexpr int TAILLE_NOM = 20;

// One piece of a level's solution.
struct t_piecer {
    int id;
    char nom[TAILLE_NOM + 1];
    int rotation; // orientation value 0 to 6
    int rotation_possible;
    int dans_le_jeu;
    int piece_de_depart;
    int colonne;
    int ligne;
    int largeur;
    int hauteur;
    int piece_solution;
};

// Where a piece stands: its column (from the window's left, as in a level file), the row of its
// lower edge and its orientation.
struct t_place {
    int colonne = 0, ligne = 0, rotation = 0;
    bool operator==(const t_place &o) const {
        return colonne == o.colonne && ligne == o.ligne && rotation == o.rotation;
    }
};
