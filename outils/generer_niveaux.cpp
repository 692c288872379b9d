// generer_niveaux.cpp: makes the 48 levels. Each one starts as pieces dropped on the board at
// random, then pieces are moved one at a time, keeping every rule, towards a longer and more
// winding way for the knight; the levels go from the fewest pieces and the shortest way to
// the most pieces and the longest.
// Usage: generer_niveaux FOLDER   (the same files every time: the draw has a fixed seed)
#include "jeu/modele.h"
#include "verification.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int NB_NIVEAUX = 48;
constexpr int NB_DEPARTS = 40;      // valid random starts per level
constexpr int NB_MOUVEMENTS = 3000; // moves tried from each start

// A small generator of its own, so that the levels do not depend on the library's.
struct t_hasard {
    uint64_t etat = 0x5a1d7e3b9c4f2a61ULL;
    uint32_t suivant() {
        etat += 0x9e3779b97f4a7c15ULL;
        uint64_t z = etat;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    int entre(int n) { return static_cast<int>(suivant() % static_cast<uint32_t>(n)); }
};

struct t_candidat {
    t_piecer piece[NB_PIECES];
    int nb_pieces = 0; // besides the two figures
    t_chemin chemin;
    // Longer ways, with more steps climbed and more turns, make harder levels.
    int score() const { return chemin.pas + chemin.montees + 2 * chemin.virages; }
};

// Every rule of the checker, with the images the generator makes; and the knight must walk
// at least one step.
bool valide(t_candidat &cand) {
    t_peintures peintures(NB_PIECES);
    std::vector<t_forme> boites(NB_PIECES);
    for (int k = 0; k < NB_PIECES; ++k) {
        if (cand.piece[k].dans_le_jeu != OUI) continue;
        const t_forme &f = *forme_de(k, cand.piece[k].rotation);
        boites[size_t(k)] = f;
        for (std::string &l : boites[size_t(k)].lignes) l.assign(l.size(), '#');
        peintures[size_t(k)] = est_escalier(k) ? &f : &boites[size_t(k)];
    }
    if (!verifier_placement(cand.piece, peintures).empty()) return false;
    cand.chemin = chercher_chemin(cand.piece);
    return cand.chemin.pas >= 1;
}

// Whether piece k's solid cells meet those of another piece in play.
bool heurte(const t_piecer piece[NB_PIECES], int k) {
    const t_piecer &p = piece[k];
    const t_forme &f = *forme_de(k, p.rotation);
    for (int j = 0; j < NB_PIECES; ++j) {
        if (j == k || piece[j].dans_le_jeu != OUI) continue;
        const t_forme &g = *forme_de(j, piece[j].rotation);
        for (int r = 0; r < f.hauteur; ++r)
            for (int c = 0; c < f.largeur; ++c) {
                const int gc = p.colonne + c - piece[j].colonne, gr = p.ligne + r - piece[j].ligne;
                if (f.pleine(c, r) && gc >= 0 && gr >= 0 && gc < g.largeur && gr < g.hauteur &&
                    g.pleine(gc, gr))
                    return true;
            }
    }
    return false;
}

// Gives piece k a random orientation and column, and a row: dropped from the top of the board
// as far as it falls, or any row that fits the board.
bool placer(t_hasard &h, t_piecer piece[NB_PIECES], int k, bool tomber) {
    t_piecer &p = piece[k];
    p.rotation = est_escalier(k) ? 1 + h.entre(NB_ORIENTATIONS) : 0;
    const t_forme &f = *forme_de(k, p.rotation);
    p.largeur = f.largeur;
    p.hauteur = f.hauteur;
    p.colonne = PLATEAU_COLONNE + h.entre(PLATEAU_LARGEUR - f.largeur + 1);
    p.dans_le_jeu = OUI;
    if (!tomber) {
        p.ligne = h.entre(PLATEAU_HAUTEUR - f.hauteur + 1);
        return true;
    }
    p.ligne = PLATEAU_HAUTEUR - f.hauteur;
    if (heurte(piece, k)) return false;
    while (p.ligne > 0) {
        --p.ligne;
        if (heurte(piece, k)) {
            ++p.ligne;
            break;
        }
    }
    return true;
}

// n pieces besides the figures, dropped one after the other in a random order.
bool tirer_depart(t_hasard &h, int n, t_candidat &cand) {
    init();
    std::copy(jeu.piece, jeu.piece + NB_PIECES, cand.piece);
    for (t_piecer &p : cand.piece) p.colonne = p.ligne = p.largeur = p.hauteur = p.rotation = 0;
    std::vector<int> ordre = {2, 3, 4, 5, 6, 7, 8, 9};
    for (size_t i = ordre.size(); i > 1; --i) std::swap(ordre[i - 1], ordre[h.entre(int(i))]);
    ordre.resize(size_t(n));
    ordre.push_back(ID_PRINCESSE);
    ordre.push_back(ID_CHEVALIER);
    for (size_t i = ordre.size(); i > 1; --i) std::swap(ordre[i - 1], ordre[h.entre(int(i))]);
    cand.nb_pieces = n;
    for (int k : ordre)
        if (!placer(h, cand.piece, k, true)) return false;
    return valide(cand);
}

bool nouveau(const t_candidat &c, const std::vector<t_candidat> &deja) {
    return std::none_of(deja.begin(), deja.end(),
                        [&](const t_candidat &d) { return meme_solution(d.piece, c.piece); });
}

// A level of n pieces whose score is `vise`, or the nearest found.
bool chercher(t_hasard &h, int n, int vise, const std::vector<t_candidat> &deja,
              t_candidat &meilleur) {
    bool trouve = false;
    int departs = 0;
    for (int essai = 0; essai < 1000000 && departs < NB_DEPARTS; ++essai) {
        t_candidat courant{};
        if (!tirer_depart(h, n, courant)) continue;
        ++departs;
        for (int m = 0; m < NB_MOUVEMENTS && courant.score() < vise; ++m) {
            t_candidat voisin = courant;
            std::vector<int> en_jeu;
            for (int k = 0; k < NB_PIECES; ++k)
                if (voisin.piece[k].dans_le_jeu == OUI) en_jeu.push_back(k);
            placer(h, voisin.piece, en_jeu[size_t(h.entre(int(en_jeu.size())))], h.entre(2) == 0);
            if (valide(voisin) && voisin.score() >= courant.score()) courant = voisin;
        }
        if (nouveau(courant, deja) &&
            (!trouve || std::abs(courant.score() - vise) < std::abs(meilleur.score() - vise))) {
            meilleur = courant;
            trouve = true;
        }
        if (trouve && meilleur.score() == vise) break;
    }
    return trouve;
}

void ecrire(const std::string &chemin, int numero, const t_piecer piece[NB_PIECES]) {
    std::ofstream f(chemin);
    f << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<solution niveau=\"" << numero << "\">\n";
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = piece[k];
        f << "<piece>\n<id>" << k << "</id>\n<ligne>" << p.ligne << "</ligne>\n<colonne>"
          << p.colonne << "</colonne>\n<rotation>" << p.rotation << "</rotation>\n<hauteur>"
          << p.hauteur << "</hauteur>\n<largeur>" << p.largeur << "</largeur>\n<dans_le_jeu>"
          << p.dans_le_jeu << "</dans_le_jeu>\n</piece>\n";
    }
    f << "</solution>\n";
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generer_niveaux FOLDER\n");
        return 2;
    }
    // Levels per number of pieces besides the figures, more as the pieces grow; eight would
    // crowd the board and leave the knight only short ways.
    const int groupes[8] = {0, 3, 5, 6, 7, 8, 9, 10};
    t_hasard h;
    std::vector<t_candidat> niveaux;
    int n = 1, dans_groupe = 0;
    for (int l = 0; l < NB_NIVEAUX; ++l) {
        if (dans_groupe == groupes[n]) {
            ++n;
            dans_groupe = 0;
        }
        ++dans_groupe;
        // The score aimed at rises from 2 for level 1 to 12 for level 48.
        const int vise = 2 + (l * 10 + NB_NIVEAUX / 2) / (NB_NIVEAUX - 1);
        t_candidat c;
        if (!chercher(h, n, vise, niveaux, c)) {
            std::fprintf(stderr, "generer_niveaux: no level %d found\n", l + 1);
            return 1;
        }
        niveaux.push_back(c);
        std::printf("level %2d: %d pieces, %2d moves, %d climbs, %d turns\n", l + 1, n,
                    c.chemin.pas, c.chemin.montees, c.chemin.virages);
        std::fflush(stdout);
    }
    for (int l = 0; l < NB_NIVEAUX; ++l)
        ecrire(std::string(argv[1]) + "/solution" + std::to_string(l + 1) + ".xml", l + 1,
               niveaux[size_t(l)].piece);
    return 0;
}
