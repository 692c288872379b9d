// explication.cpp: which piece tips, found by holding each piece in turn, lowest first, and
// the weight it carries against the span that holds it up.
#include "regles/explication.h"

#include "regles/equilibre.h"

#include <algorithm>
#include <vector>

namespace {

// The pieces that may be held, lowest first, then leftmost.
std::vector<int> pieces_a_tenir(const t_scene &s) {
    std::vector<int> v;
    for (int k = 0; k < NB_PIECES; ++k)
        if (s.en_jeu[k] && !est_figure(k)) v.push_back(k);
    std::sort(v.begin(), v.end(), [&](int a, int b) {
        return std::make_pair(s.ligne[a], s.colonne[a]) < std::make_pair(s.ligne[b], s.colonne[b]);
    });
    return v;
}

// The piece named, what rests on it alone (and on those in turn), the knight among them where
// he stands as it tips: their centre of weight, the span that holds the piece up, its side.
void mesurer_chute(const t_scene &s, t_chute &ch) {
    int8_t cases[PLATEAU_LARGEUR][PLATEAU_HAUTEUR];
    placer_chevalier(s, ch.chevalier.c, ch.chevalier.h, cases);
    // A piece joins once all it rests on is in the group: one resting partly elsewhere loads
    // the piece named only in part, and would tip with it only in part.
    ch.groupe = 1U << ch.piece;
    for (bool grandi = true; grandi;) {
        grandi = false;
        unsigned dedans = 0, dehors = 0; // the pieces resting on the group, and elsewhere
        for (int c = 0; c < PLATEAU_LARGEUR; ++c)
            for (int r = 0; r < PLATEAU_HAUTEUR; ++r) {
                const int k = cases[c][r], dessous = r == 0 ? -1 : cases[c][r - 1];
                if (k == -1 || k == dessous || (ch.groupe >> k & 1U)) continue;
                if (r == 0 || (dessous != -1 && !(ch.groupe >> dessous & 1U)))
                    dehors |= 1U << k;
                else if (dessous != -1)
                    dedans |= 1U << k;
            }
        if ((dedans & ~dehors) != 0) {
            ch.groupe |= dedans & ~dehors;
            grandi = true;
        }
    }
    long poids = 0, moment = 0, hauteur = 0;
    ch.appui_gauche = DIXIEMES * PLATEAU_LARGEUR; // narrowed to the faces found below
    ch.appui_ligne = PLATEAU_HAUTEUR;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r) {
            const int k = cases[c][r];
            if (k == -1 || !(ch.groupe >> k & 1U)) continue;
            ++poids;
            moment += DIXIEMES * c + DIXIEMES / 2;
            hauteur += DIXIEMES * r + DIXIEMES / 2;
            if (k != ch.piece) continue;
            // Held up where it meets the ground or another piece's cell, not a figure's.
            if (r > 0 &&
                (cases[c][r - 1] == -1 || cases[c][r - 1] == k || est_figure(cases[c][r - 1])))
                continue;
            ch.appui_gauche = std::min(ch.appui_gauche, DIXIEMES * c + 1);
            ch.appui_droite = std::max(ch.appui_droite, DIXIEMES * c + DIXIEMES - 1);
            ch.appui_ligne = std::min(ch.appui_ligne, r);
        }
    ch.centre = int((moment + poids / 2) / poids);
    ch.centre_haut = int((hauteur + poids / 2) / poids);
    // The side a prop would have to hold it up from, as the balance finds it; where a prop on
    // either side would do, or none alone, the side of its span's middle its load lies on.
    ch.cote = cote_de_bascule(s, ch.chevalier.c, ch.chevalier.h, ch.piece);
    if (ch.cote == 0) ch.cote = 2 * moment < poids * (ch.appui_gauche + ch.appui_droite) ? -1 : 1;
}

t_chute analyser_chute(const t_scene &s, const t_verdict &v) {
    t_chute ch;
    if (v.echec == E_TOMBE_AU_DEPART)
        ch.chevalier = {s.colonne[ID_CHEVALIER], s.ligne[ID_CHEVALIER]};
    if (v.echec == E_TOMBE) ch.chevalier = v.bascule;
    const bool marche = evaluer(s, false).echec == E_AUCUN;
    for (int k : pieces_a_tenir(s)) {
        if (!tient_debout(s, -1, 0, k)) continue;
        if (marche && evaluer(s, true, k).echec != E_AUCUN) continue;
        ch.piece = k;
        mesurer_chute(s, ch);
        break;
    }
    return ch;
}

} // namespace

t_verdict evaluer_en_detail(const t_scene &s) {
    t_verdict v = evaluer(s);
    if (v.echec != E_SANS_CHEMIN && v.echec != E_TOMBE_AU_DEPART && v.echec != E_TOMBE) return v;
    if (s.en_jeu[ID_CHEVALIER] && s.en_jeu[ID_PRINCESSE] && !tient_debout(s, -1, 0)) {
        v.echec = E_TOMBE_SEUL;
        v.piece = -1;
    }
    if (v.echec == E_SANS_CHEMIN)
        v.impasse = explorer_impasse(s);
    else
        v.chute = analyser_chute(s, v);
    return v;
}
