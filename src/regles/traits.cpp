// traits.cpp: a level's features, read from its scene, its walk and its pieces to place.
#include "regles/traits.h"

#include <algorithm>
#include <bitset>
#include <string>

namespace {

bool a_placer(const t_fiche &f, int k) {
    return std::find(f.a_placer.begin(), f.a_placer.end(), k) != f.a_placer.end();
}

// Whether a cell of piece k lies right above a cell of piece j.
bool repose_sur(const t_scene &s, int k, int j) {
    bool oui = false;
    pour_cases(s.colonne[k], s.ligne[k], *s.forme[k], [&](int c, int r) {
        if (r > 0 && s.cases[c][r - 1] == j) oui = true;
    });
    return oui;
}

// Whether the staircase k fills the cells of orientation `rotation`.
bool comme(const t_scene &s, int k, int rotation) {
    return s.forme[k]->lignes == forme_de(k, rotation)->lignes;
}

unsigned traits_du_chemin(const t_chemin &ch) {
    unsigned t = 0;
    const std::string &m = ch.forme;
    if (m.find('-') != std::string::npos) t |= T_DESCENTE;
    if (m.find('+') != std::string::npos) t |= T_MONTEE;
    const size_t montee = m.find('+'), descente = m.find('-');
    if (montee != std::string::npos && m.find('-', montee) != std::string::npos) t |= T_COLLINE;
    if (descente != std::string::npos && m.find('+', descente) != std::string::npos) t |= T_VALLEE;
    for (size_t i = 0; i < m.size(); ++i)
        if (m[i] == '=' && ch.lieux[i].h > 0 && ch.lieux[i + 1].h > 0) t |= T_PALIER;
    return t;
}

} // namespace

unsigned traits(const t_fiche &f) {
    const t_scene &s = f.scene;
    unsigned t = traits_du_chemin(f.chemin);
    for (const t_lieu &l : f.chemin.lieux)
        if (l.h >= 2 && s.cases[l.c][l.h - 2] == -1) t |= T_PONT;
    for (int k : f.a_placer) {
        if (est_escalier(k) && (comme(s, k, 2) || comme(s, k, 3))) t |= T_MIROIR;
        if (est_escalier(k) && (comme(s, k, 4) || comme(s, k, 5))) t |= T_RENVERSE;
        bool porte = false, foule = false;
        for (int j = 0; j < NB_PIECES; ++j) {
            if (j == k || !s.en_jeu[j] || !repose_sur(s, j, k)) continue;
            porte = true;
            if (a_placer(f, j))
                t |= T_EMPILEMENT;
            else if (!est_figure(j))
                t |= T_ETAI;
        }
        for (const t_lieu &l : f.chemin.lieux)
            if (l.h > 0 && s.cases[l.c][l.h - 1] == k) foule = true;
        // Nothing on it and never under the knight: only the balance can need it.
        if (!porte && !foule) {
            t_scene sans = s;
            sans.enlever(k);
            if (evaluer(sans).echec != E_AUCUN) t |= T_CONTREPOIDS;
        }
    }
    return t;
}

int compter_traits(unsigned traits) {
    return static_cast<int>(std::bitset<NB_TRAITS>(traits).count());
}
