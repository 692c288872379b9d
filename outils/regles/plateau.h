// plateau.h: the level rules on the board: placement, the knight's walk, and the verdict that
// the checker, the solver and the generator all take from evaluer().
#pragma once

#include "formes.h"
#include "jeu/jeu.h"

#include <cstdint>
#include <string>
#include <vector>

// The board: six columns from column 4, six rows from the ground.
constexpr int PLATEAU_COLONNE = 4;
constexpr int PLATEAU_LARGEUR = 6;
constexpr int PLATEAU_HAUTEUR = 6;

// A level on the board: who owns each cell, and where each piece in play stands. Columns are
// counted from the board's first one.
struct t_scene {
    int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR]; // piece identity, -1 for none
    bool en_jeu[NB_PIECES] = {};
    int colonne[NB_PIECES] = {};
    int ligne[NB_PIECES] = {};
    const t_forme *forme[NB_PIECES] = {};

    t_scene();
    // Puts piece k at (colonne, ligne) with its shape, or takes it away; the caller has made
    // sure the cells are on the board and free.
    void poser(int k, const t_forme *f, int c, int r);
    void enlever(int k);
};

// One problem of a level: the piece it concerns (its name, or "-" for the whole level).
struct t_probleme {
    std::string piece;
    std::string message;
};

// What each piece's image paints, as cells of its box: the whole box for the pieces drawn
// without a colour key, the staircase image's non-green cells for the others.
using t_peintures = std::vector<const t_forme *>; // indexed by piece identity

// The knight and the princess, who carry nothing.
bool est_figure(int id);

// The kind of a piece: the two pieces of a kind (cubes with an appendix, towers, small
// staircases) are the same to the player, and have the lower identity of the two.
int sorte(int id);

// The scene of pieces whose fields are sound (shape, box, rotation) and that lie on the
// board without sharing a cell.
t_scene construire_scene(const t_piecer piece[NB_PIECES]);

// The knight's walk: moves, one letter each ('=' flat, '+' up a step, '-' down a step).
struct t_chemin {
    std::string forme;
    int pas() const { return static_cast<int>(forme.size()); }
    int changements_de_hauteur() const; // the moves up or down
};

// What stops a level, the first broken rule in the order the checker reports them.
enum t_echec {
    E_AUCUN,           // the level keeps every rule
    E_SUR_FIGURE,      // piece `piece` rests on figure `autre`
    E_FLOTTE,          // piece `piece` has nothing under it
    E_SANS_APPUI,      // the knight does not start on a foothold
    E_A_COTE,          // the knight starts beside the princess
    E_SANS_CHEMIN,     // no walk to the princess
    E_TOMBE_AU_DEPART, // the level tips over with the knight at his start
    E_TOMBE            // every walk passes a foothold where the level tips over
};

struct t_verdict {
    t_echec echec = E_AUCUN;
    int piece = -1, autre = -1;
    t_chemin chemin; // a shortest walk along which the level stands
};

// Placement (cells free of figures' loads), support, the walk and the balance along it.
t_verdict evaluer(const t_scene &scene);

// The checks of one level's placement, given pieces whose fields are sound: the board, shared
// cells and the drawing order, then evaluer(), then that every piece but the figures is needed.
// `pose` tells whether the pieces lie on the board without sharing a cell (a scene can be made).
std::vector<t_probleme> verifier_placement(const t_piecer piece[NB_PIECES],
                                           const t_peintures &peintures, bool &pose);
