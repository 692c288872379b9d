// plateau.h: the level rules on the board: placement, the knight's walk, and the verdict that
// the checker, the solver, the generator and the challenge game all take from evaluer().
#pragma once

#include "regles/scene.h"

#include <string>
#include <vector>

// What each piece's image paints, as cells of its box: the whole box for the pieces drawn
// without a colour key, the staircase image's non-green cells for the others.
using t_peintures = std::vector<const t_forme *>; // indexed by piece identity

// The scene of pieces whose fields are sound (shape, box, rotation) and that lie on the
// board without sharing a cell.
t_scene construire_scene(const t_piecer piece[NB_PIECES]);

// A place of the knight: the column (from the board's first) and the row of the lower cell
// of his body.
struct t_lieu {
    int c = 0, h = 0;
    bool operator==(const t_lieu &o) const { return c == o.c && h == o.h; }
};

// The knight's walk: moves, one letter each ('=' flat, '+' up a step, '-' down a step), and
// the footholds he stands on, his start first and his arrival last.
struct t_chemin {
    std::string forme;
    std::vector<t_lieu> lieux;
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
    E_TOMBE_SEUL,      // the level tips over with the knight off it (evaluer_en_detail() only)
    E_SANS_CHEMIN,     // no walk to the princess
    E_TOMBE_AU_DEPART, // the level tips over with the knight at his start
    E_TOMBE            // every walk passes a foothold where the level tips over
};

// On a verdict of balance, the piece that tips: one that, held in place by a hand (its own
// balance not asked, its contacts kept), lets the rest stand and the knight walk to the
// princess; the lowest such piece, then the leftmost. What rests on it tips with it.
struct t_chute {
    int piece = -1;          // -1: no single piece held would do
    int cote = 0;            // the side its load turns it to: -1 left, 1 right
    unsigned groupe = 0;     // it and what rests on it, the knight too: a bit per identity
    int centre = 0;          // their common centre of weight, in tenths of a cell from column 0
    int centre_haut = 0;     // and its height, in tenths of a cell from the ground
    int appui_gauche = 0;    // the span of what holds it up, in tenths (its carrying part)
    int appui_droite = 0;    //
    int appui_ligne = 0;     // the row of the faces it rests on (0: the ground)
    t_lieu chevalier{-1, 0}; // where the knight stands as it tips, c -1: off the stack
};

// On "no walk", why the knight can go no further from the foothold he reaches nearest the
// princess, looking at the next column toward her.
enum t_obstacle {
    O_AUCUN,        // nothing to say: a figure is missing, or he has no foothold to start on
    O_MARCHE_HAUTE, // a change of height with no staircase step there (a row down, or up)
    O_SANS_PLACE,   // no two free cells for his body there
    O_SANS_APPUI    // nothing to stand on there: a drop of two rows or more, a figure, the edge
};

struct t_impasse {
    uint64_t atteints = 0; // the footholds he reaches, a bit each (6 h + c)
    t_lieu dernier;        // the one nearest the princess
    int sens = 0;          // toward her from there: -1 left, 1 right
    t_obstacle obstacle = O_AUCUN;
};

struct t_verdict {
    t_echec echec = E_AUCUN;
    int piece = -1, autre = -1;
    t_chemin chemin;   // a shortest walk along which the level stands
    t_lieu bascule;    // where the knight stands when the level tips over (E_TOMBE...)
    t_chute chute;     // E_TOMBE_SEUL, E_TOMBE_AU_DEPART, E_TOMBE: from evaluer_en_detail()
    t_impasse impasse; // E_SANS_CHEMIN: from evaluer_en_detail()
};

// Placement (cells free of figures' loads), support, the walk and the balance along it; without
// `equilibre`, only the walk the balance would be tried along, at a fraction of the cost. With
// `tenue` a piece in play, that piece is held in place (tient_debout()).
t_verdict evaluer(const t_scene &scene, bool equilibre = true, int tenue = -1);

// The footholds the knight reaches from his start, balance aside, and what stops him.
t_impasse explorer_impasse(const t_scene &scene);

// What breaks a level's placement, as verifier_placement() finds it.
enum t_defaut {
    D_FIGURE_ABSENTE, // figure `piece` is not in play
    D_HORS_PLATEAU,   // piece `piece` lies off the board
    D_PEINT_SUR,      // the image of `piece` paints over cell `cellule` of `autre`, drawn before
    D_CASE_PARTAGEE,  // `piece` shares cell `cellule` with `autre`
    D_REGLE,          // evaluer()'s verdict, `echec` on `piece` and `autre`
    D_INUTILE         // without `piece` the level still keeps every rule
};

struct t_faute {
    t_defaut defaut = D_REGLE;
    int piece = -1, autre = -1; // -1: the whole level
    t_lieu cellule;             // a board cell, for D_PEINT_SUR and D_CASE_PARTAGEE
    t_echec echec = E_AUCUN;    // for D_REGLE
};

// Whether a level's pieces lie on the board as a level must: both figures in play, every piece
// in play wholly on the board, no two sharing a cell, no image painting over a piece drawn
// before it. Given pieces whose fields are sound (shape, box, rotation).
std::vector<t_faute> verifier_pose(const t_piecer piece[NB_PIECES], const t_peintures &peintures);

// Each piece in play painting its own shape: the rules' view of a level made or played, rather
// than read beside its images. None for a piece in play whose fields give no shape.
t_peintures peintures_des_formes(const t_piecer piece[NB_PIECES]);

// Whether a level can be put on the board at all: its fields give every piece in play a shape,
// and verifier_pose() finds nothing, each image painting its shape.
bool pose_saine(const t_piecer piece[NB_PIECES]);

// The checks of one level's placement, given pieces whose fields are sound: verifier_pose(),
// then evaluer(), then that every piece but the figures is needed. `pose` tells whether the
// pieces lie on the board (verifier_pose() found nothing, so a scene can be made).
std::vector<t_faute> verifier_placement(const t_piecer piece[NB_PIECES],
                                        const t_peintures &peintures, bool &pose);
