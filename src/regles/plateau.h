// plateau.h: the level rules on the board: placement, the knight's walk, and the verdict that
// the checker, the solver and the generator all take from evaluer().
#pragma once

#include "scene.h"

#include <string>
#include <vector>

// One problem of a level: the piece it concerns (its name, or "-" for the whole level).
struct t_probleme {
    std::string piece;
    std::string message;
};

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

// The checks of one level's placement, given pieces whose fields are sound: the board, shared
// cells and the drawing order, then evaluer(), then that every piece but the figures is needed.
// `pose` tells whether the pieces lie on the board without sharing a cell (a scene can be made).
std::vector<t_probleme> verifier_placement(const t_piecer piece[NB_PIECES],
                                           const t_peintures &peintures, bool &pose);
