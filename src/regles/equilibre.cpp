// equilibre.cpp: the balance of a level as a linear programme, solved by GLPK: one unknown per
// end of the carrying part of each contact face, two equations per piece.
#include "regles/equilibre.h"

#include <glpk.h>
#include <vector>

namespace {

constexpr int SOL = -2; // the ground, apart from an empty cell (-1)

struct t_appui {
    int dessus, dessous; // the piece held, and the piece (or SOL) that holds it
    int x;               // left end of the face, in tenths
};

// A push from below on one piece, at x tenths: a prop that would hold it up there.
struct t_poussee {
    int piece = -1; // none
    double x = 0;
};

bool equilibrer(const t_scene &s, int cc, int hc, int tenue, t_poussee poussee) {
    int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR];
    placer_chevalier(s, cc, hc, cases);

    // The equations' rows: weight and moment of each piece in play, 1-based for GLPK.
    int rang[NB_PIECES];
    double poids[NB_PIECES] = {}, moment[NB_PIECES] = {};
    std::vector<t_appui> appuis;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r) {
            const int k = cases[c][r];
            if (k == -1) continue;
            poids[k] += 1;
            moment[k] += DIXIEMES * c + DIXIEMES / 2;
            const int dessous = r == 0 ? SOL : cases[c][r - 1];
            if (dessous == SOL || (dessous != -1 && dessous != k && !est_figure(dessous)))
                appuis.push_back({k, dessous, DIXIEMES * c});
        }
    int lignes = 0;
    // A piece held has no equations: the hand gives whatever force and turn it takes, while
    // its faces still press on what is under it and carry what rests on it.
    for (int k = 0; k < NB_PIECES; ++k)
        rang[k] = poids[k] > 0 && k != tenue ? (lignes += 2) - 1 : 0;

    if (lignes == 0) return true; // nothing left to balance; GLPK takes no empty problem
    glp_prob *lp = glp_create_prob();
    glp_add_rows(lp, lignes);
    for (int k = 0; k < NB_PIECES; ++k) {
        if (rang[k] == 0) continue;
        glp_set_row_bnds(lp, rang[k], GLP_FX, poids[k], poids[k]);
        glp_set_row_bnds(lp, rang[k] + 1, GLP_FX, moment[k], moment[k]);
    }
    // Each face: a push at each end of its carrying part, up on the piece above and down on
    // the one below; any push spread along the part is the same as two at its ends.
    const bool pousse = poussee.piece >= 0 && rang[poussee.piece] != 0;
    const int colonnes = 2 * static_cast<int>(appuis.size()) + (pousse ? 1 : 0);
    if (colonnes > 0) glp_add_cols(lp, colonnes);
    std::vector<int> ia = {0}, ja = {0};
    std::vector<double> ar = {0};
    const auto mettre = [&](int ligne, int col, double v) {
        ia.push_back(ligne);
        ja.push_back(col);
        ar.push_back(v);
    };
    for (size_t i = 0; i < appuis.size(); ++i)
        for (int bout = 0; bout < 2; ++bout) {
            const int col = 2 * int(i) + bout + 1;
            const double x = appuis[i].x + (bout == 0 ? 1 : DIXIEMES - 1);
            glp_set_col_bnds(lp, col, GLP_LO, 0, 0);
            if (rang[appuis[i].dessus] != 0) {
                mettre(rang[appuis[i].dessus], col, 1);
                mettre(rang[appuis[i].dessus] + 1, col, x);
            }
            if (appuis[i].dessous != SOL && rang[appuis[i].dessous] != 0) {
                mettre(rang[appuis[i].dessous], col, -1);
                mettre(rang[appuis[i].dessous] + 1, col, -x);
            }
        }
    if (pousse) {
        glp_set_col_bnds(lp, colonnes, GLP_LO, 0, 0);
        mettre(rang[poussee.piece], colonnes, 1);
        mettre(rang[poussee.piece] + 1, colonnes, poussee.x);
    }
    glp_load_matrix(lp, int(ia.size()) - 1, ia.data(), ja.data(), ar.data());
    glp_smcp parametres;
    glp_init_smcp(&parametres);
    parametres.msg_lev = GLP_MSG_OFF;
    const bool tient = glp_simplex(lp, &parametres) == 0 && glp_get_prim_stat(lp) == GLP_FEAS;
    glp_delete_prob(lp);
    return tient;
}

} // namespace

bool tient_debout(const t_scene &s, int c, int h, int tenue) {
    return equilibrer(s, c, h, tenue, {});
}

int cote_de_bascule(const t_scene &s, int c, int h, int k) {
    // Far beyond the board either way: a prop there turns it back more than it lifts it.
    constexpr double LOIN = 100.0 * DIXIEMES * PLATEAU_LARGEUR;
    const bool gauche = equilibrer(s, c, h, -1, {k, -LOIN}),
               droite = equilibrer(s, c, h, -1, {k, LOIN});
    return gauche == droite ? 0 : (gauche ? -1 : 1);
}

void liberer_equilibre() {
    glp_free_env();
}
