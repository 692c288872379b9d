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
    E_SANS_CHEMIN,     // no walk to the princess
    E_TOMBE_AU_DEPART, // the level tips over with the knight at his start
    E_TOMBE            // every walk passes a foothold where the level tips over
};

struct t_verdict {
    t_echec echec = E_AUCUN;
    int piece = -1, autre = -1;
    t_chemin chemin; // a shortest walk along which the level stands
    t_lieu bascule;  // where the knight stands when the level tips over (E_TOMBE...)
};

// Placement (cells free of figures' loads), support, the walk and the balance along it; without
// `equilibre`, only the walk the balance would be tried along, at a fraction of the cost.
t_verdict evaluer(const t_scene &scene, bool equilibre = true);

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
