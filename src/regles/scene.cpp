// scene.cpp: a level's pieces put on the board and taken off it, and the kinds of piece.
#include "scene.h"

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

uint64_t masque_de(const t_forme &f, int c, int r) {
    uint64_t m = 0;
    pour_cases(c, r, f, [&](int x, int y) {
        if (x >= 0 && x < PLATEAU_LARGEUR && y >= 0 && y < PLATEAU_HAUTEUR)
            m |= uint64_t(1) << (PLATEAU_LARGEUR * y + x);
    });
    return m;
}

bool est_figure(int id) {
    return id == ID_CHEVALIER || id == ID_PRINCESSE;
}

int sorte(int id) {
    switch (id) {
    case ID_CUBE_AVEC_APPENDICE_2:
        return ID_CUBE_AVEC_APPENDICE_1;
    case ID_TOUR_2:
        return ID_TOUR_1;
    case ID_PETIT_ESCALIER_2:
        return ID_PETIT_ESCALIER_1;
    default:
        return id;
    }
}
