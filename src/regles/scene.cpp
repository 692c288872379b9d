// scene.cpp: a level's pieces put on the board and taken off it, and the board's bounds.
#include "regles/scene.h"

t_scene::t_scene() {
    for (auto &col : cases)
        for (int8_t &c : col) c = -1;
}

void t_scene::poser(int k, const t_forme *f, int c, int r) {
    en_jeu[k] = true;
    forme[k] = f;
    colonne[k] = c;
    ligne[k] = r;
    pour_cases(c, r, *f, [&](int x, int y) { cases[x][y] = int8_t(k); });
}

void t_scene::enlever(int k) {
    pour_cases(colonne[k], ligne[k], *forme[k], [&](int x, int y) { cases[x][y] = -1; });
    en_jeu[k] = false;
}

void placer_chevalier(const t_scene &s, int cc, int hc,
                      int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR]) {
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r)
            cases[c][r] = s.cases[c][r] == ID_CHEVALIER ? int8_t(-1) : s.cases[c][r];
    if (cc >= 0) cases[cc][hc] = cases[cc][hc + 1] = ID_CHEVALIER;
}

bool sur_plateau(int c, int r) {
    return c >= 0 && c < PLATEAU_LARGEUR && r >= 0 && r < PLATEAU_HAUTEUR;
}

bool sur_le_plateau(const t_forme &f, int c, int r) {
    return sur_plateau(c, r) && sur_plateau(c + f.largeur - 1, r + f.hauteur - 1);
}

bool sur_le_plateau(int id, const t_place &p) {
    const t_forme *f = forme_de(id, p.rotation);
    // Left of the board first: a column far below it would overflow on the way to the board's.
    return f != nullptr && p.colonne >= PLATEAU_COLONNE &&
           sur_le_plateau(*f, p.colonne - PLATEAU_COLONNE, p.ligne);
}

uint64_t masque_de(const t_forme &f, int c, int r) {
    uint64_t m = 0;
    pour_cases(c, r, f, [&](int x, int y) {
        if (sur_plateau(x, y)) m |= uint64_t(1) << (PLATEAU_LARGEUR * y + x);
    });
    return m;
}

uint64_t cellules(int id, const t_place &p) {
    return masque_de(*forme_de(id, p.rotation), p.colonne - PLATEAU_COLONNE, p.ligne);
}
