// plateau.cpp: the board's occupancy, the placement rules and the knight's walk.
#include "plateau.h"

#include <algorithm>
#include <array>
#include <queue>

namespace {

// Owner of each solid cell of the board, -1 for none; cell [colonne][rang] from the board's
// first column and from the ground.
using t_cases = std::array<std::array<int, PLATEAU_HAUTEUR>, PLATEAU_LARGEUR>;

// Drawing order of the viewer, by piece identity.
constexpr int ordre_de_dessin[NB_PIECES] = {ID_PRINCESSE,
                                            ID_CHEVALIER,
                                            ID_CUBE,
                                            ID_CUBE_AVEC_APPENDICE_1,
                                            ID_CUBE_AVEC_APPENDICE_2,
                                            ID_TOUR_1,
                                            ID_TOUR_2,
                                            ID_GRAND_ESCALIER,
                                            ID_PETIT_ESCALIER_1,
                                            ID_PETIT_ESCALIER_2};

bool sur_plateau(int c, int r) {
    return c >= 0 && c < PLATEAU_LARGEUR && r >= 0 && r < PLATEAU_HAUTEUR;
}

std::string case_(int c, int r) {
    return "(" + std::to_string(c + PLATEAU_COLONNE) + ", " + std::to_string(r) + ")";
}

// Calls f(colonne, rang) for each cell of the box that the shape marks, in board cells.
template <typename F> void pour_cases(const t_piecer &p, const t_forme &forme, F f) {
    for (int r = 0; r < forme.hauteur; ++r)
        for (int c = 0; c < forme.largeur; ++c)
            if (forme.pleine(c, r)) f(p.colonne - PLATEAU_COLONNE + c, p.ligne + r);
}

bool en_jeu(const t_piecer &p) {
    return p.dans_le_jeu == OUI;
}

// Solid cells of the pieces in play but the knight, who walks among them.
t_cases occuper_sans_chevalier(const t_piecer piece[NB_PIECES]) {
    t_cases cases;
    for (auto &col : cases) col.fill(-1);
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!en_jeu(piece[k]) || k == ID_CHEVALIER) continue;
        pour_cases(piece[k], *forme_de(k, piece[k].rotation), [&](int c, int r) {
            if (sur_plateau(c, r)) cases[c][r] = k;
        });
    }
    return cases;
}

} // namespace

std::vector<t_probleme> verifier_placement(const t_piecer piece[NB_PIECES],
                                           const t_peintures &peintures) {
    std::vector<t_probleme> problemes;
    const auto signaler = [&](int k, const std::string &m) {
        problemes.push_back({piece[k].nom, m});
    };
    for (int k : {ID_CHEVALIER, ID_PRINCESSE})
        if (!en_jeu(piece[k]))
            signaler(k, "not in play: every level needs the knight and the princess");

    // The board.
    bool dehors = false;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!en_jeu(piece[k])) continue;
        const t_forme &f = *forme_de(k, piece[k].rotation);
        const int c = piece[k].colonne - PLATEAU_COLONNE;
        if (c < 0 || piece[k].ligne < 0 || c + f.largeur > PLATEAU_LARGEUR ||
            piece[k].ligne + f.hauteur > PLATEAU_HAUTEUR) {
            signaler(k, "lies outside the board (columns 4 to 9, rows 0 to 5)");
            dehors = true;
        }
    }
    if (dehors) return problemes;

    // Shared cells, and what each image paints over, in the viewer's drawing order.
    t_cases pleines;
    for (auto &col : pleines) col.fill(-1);
    for (int k : ordre_de_dessin) {
        if (!en_jeu(piece[k])) continue;
        const t_forme &f = *forme_de(k, piece[k].rotation);
        pour_cases(piece[k], *peintures[k], [&](int c, int r) {
            const int dessous = pleines[c][r];
            if (dessous != -1 &&
                !(f.pleine(c - (piece[k].colonne - PLATEAU_COLONNE), r - piece[k].ligne)))
                signaler(k, "its image paints over cell " + case_(c, r) + " of " +
                                piece[dessous].nom + ", drawn before it");
        });
        pour_cases(piece[k], f, [&](int c, int r) {
            if (pleines[c][r] != -1)
                signaler(k, "shares cell " + case_(c, r) + " with " + piece[pleines[c][r]].nom);
            else
                pleines[c][r] = k;
        });
    }
    if (!problemes.empty()) return problemes;

    // Support: some solid cell on the ground or on another piece's solid cell. The figures
    // carry nothing: the knight must be free to walk, and the princess to be reached.
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!en_jeu(piece[k])) continue;
        bool pose = false;
        int figure = -1;
        pour_cases(piece[k], *forme_de(k, piece[k].rotation), [&](int c, int r) {
            const int dessous = r == 0 ? -1 : pleines[c][r - 1];
            if (dessous == k) return;
            if (dessous == ID_CHEVALIER || dessous == ID_PRINCESSE) figure = dessous;
            if (r == 0 || dessous != -1) pose = true;
        });
        if (figure != -1)
            signaler(k, std::string("stands on ") + piece[figure].nom +
                            ", and the figures carry nothing");
        else if (!pose)
            signaler(k, "floats: no cell of it rests on the ground or on another piece");
    }
    if (!problemes.empty()) return problemes;

    if (chercher_chemin(piece).pas < 0) signaler(ID_CHEVALIER, "has no way to the princess");
    return problemes;
}

t_chemin chercher_chemin(const t_piecer piece[NB_PIECES]) {
    const t_cases cases = occuper_sans_chevalier(piece);
    const auto pleine = [&](int c, int r) { return sur_plateau(c, r) && cases[c][r] != -1; };
    const auto marche = [&](int c, int r) {
        return sur_plateau(c, r) && cases[c][r] != -1 && est_escalier(cases[c][r]);
    };
    // Where the knight can stand: on the board with his head in it, on the ground or on a
    // solid cell, with both cells of his body free.
    const auto debout = [&](int c, int h) {
        return c >= 0 && c < PLATEAU_LARGEUR && h >= 0 && h + 1 < PLATEAU_HAUTEUR &&
               !pleine(c, h) && !pleine(c, h + 1) && (h == 0 || pleine(c, h - 1));
    };
    const t_piecer &chevalier = piece[ID_CHEVALIER], &princesse = piece[ID_PRINCESSE];
    const int c0 = chevalier.colonne - PLATEAU_COLONNE, h0 = chevalier.ligne;
    const int cp = princesse.colonne - PLATEAU_COLONNE, hp = princesse.ligne;
    t_chemin chemin;
    if (!debout(c0, h0)) return chemin;

    // Breadth-first over the standing places: the first way found is a shortest one.
    struct t_etat {
        int c, h;
        int sens, montee; // last direction across and last way up or down, 0 for none yet
        t_chemin chemin;
    };
    std::array<std::array<bool, PLATEAU_HAUTEUR>, PLATEAU_LARGEUR> vu{};
    std::queue<t_etat> file;
    file.push({c0, h0, 0, 0, {0, 0, 0}});
    vu[c0][h0] = true;
    while (!file.empty()) {
        const t_etat e = file.front();
        file.pop();
        if (e.h == hp && (e.c == cp - 1 || e.c == cp + 1)) return e.chemin;
        for (int sens : {-1, 1}) {
            const int c = e.c + sens;
            for (int h : {e.h, e.h - 1, e.h + 1}) {
                if (!debout(c, h) || vu[c][h]) continue;
                const int haut = std::max(h, e.h);
                // A change of height only along a staircase's steps: the higher foothold is
                // a staircase cell. The step is taken at the higher level, so the body needs
                // room there in both columns.
                if (h != e.h && !marche(h > e.h ? c : e.c, haut - 1)) continue;
                if (pleine(c, haut) || pleine(c, haut + 1) || pleine(e.c, haut) ||
                    pleine(e.c, haut + 1))
                    continue;
                vu[c][h] = true;
                t_etat suite = {c, h, sens, h != e.h ? h - e.h : e.montee, e.chemin};
                ++suite.chemin.pas;
                suite.chemin.montees += h != e.h;
                // A turn: back the other way, or down after up (or up after down).
                suite.chemin.virages += (e.sens != 0 && e.sens != sens) +
                                        (h != e.h && e.montee != 0 && e.montee != h - e.h);
                file.push(suite);
            }
        }
    }
    return chemin;
}
