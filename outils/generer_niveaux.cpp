// generer_niveaux.cpp: makes the 48 levels. Stacks are dropped on the board at random, piece by
// piece, the figures set where a walk joins them; a stack is kept when it keeps every level
// rule and its challenge has exactly one solution. The table CHOIX names the draw of each
// shipped level and where its figures stand, so the files are made again from it alone; a
// search draws the whole pool again and chooses 48 by simulated annealing.
// Usage: generer_niveaux FOLDER   (the 48 files from CHOIX, the same bytes every time)
//        generer_niveaux --chercher FOLDER   (the pool drawn again, 48 chosen, written to FOLDER
//        and their table printed; some forty minutes on two cores)
//        generer_niveaux --graine SEED --pieces K FILE   (the challenge the program makes from
//        that seed, with K pieces to place, as a level file)
#include "niveau/lecture.h"
#include "niveau/pieces.h"
#include "redaction.h"
#include "regles/equilibre.h"
#include "regles/generateur.h"
#include "regles/traits.h"
#include "regles/variete.h"
#include "verification.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// The pieces as the reset leaves them, which every level starts from.
t_piecer depart[NB_PIECES];

// The draws of the shipped levels: seed 0, which no player types, and how many stacks for each
// number of pieces to place (the more pieces, the fewer stacks make a level).
constexpr uint32_t GRAINE_DES_NIVEAUX = 0;
constexpr long PILES[5] = {0, 1000000, 20000000, 30000000, 40000000};
constexpr long PILES_ESCALIERS[4] = {0, 0, 40000000, 4000000};

// The choice's search (choisir()): its seed, the steps of each try and how many tries, the
// temperature it starts from, and what a pair of levels alike weighs against a broken demand.
constexpr uint64_t GRAINE_DU_CHOIX = 2026;
constexpr long PAS_PAR_ESSAI = 4000000;
constexpr int ESSAIS = 20;
constexpr double TEMPERATURE = 3;
constexpr int POIDS_D_UNE_PAIRE = 5;

struct t_candidat {
    int pieces = 0;
    bool escaliers = false; // drawn with two staircases among the pieces to place
    long tirage = 0;        // the draw's number among those of its kind
    t_piecer piece[NB_PIECES];
    t_fiche fiche;
    t_empreinte empreinte;
    std::vector<t_motif> motifs;
};

// The challenge of a level set at the left of the board, of the two ways round the smaller:
// the same for a level, its mirror image and the level moved sideways.
std::array<uint64_t, NB_PIECES> forme_canonique(const t_empreinte &e) {
    std::array<uint64_t, NB_PIECES> m;
    m.fill(UINT64_MAX);
    for (int miroir : {0, 1})
        for (int d = -DECALAGE_MAX; d <= DECALAGE_MAX; ++d)
            if (e.vues[miroir][d + DECALAGE_MAX].entiere) {
                m = std::min(m, e.vues[miroir][d + DECALAGE_MAX].defi);
                break;
            }
    return m;
}

// Every distinct level that the draws for k pieces to place make (a level, its mirror image
// and the level moved sideways are one: the first drawn), in the order of the draws; the
// draws are shared among the cores, each keeps its number.
std::vector<t_candidat> tirer_tous(int k, bool escaliers, long piles) {
    const unsigned nb_fils = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::map<std::array<uint64_t, NB_PIECES>, t_candidat>> trouves(nb_fils);
    std::vector<std::thread> fils;
    for (unsigned f = 0; f < nb_fils; ++f)
        fils.emplace_back([&, f] {
            for (long i = f; i < piles; i += nb_fils)
                for (const auto &niveau :
                     tirer_niveaux(GRAINE_DES_NIVEAUX, k, escaliers, i, depart)) {
                    t_candidat c;
                    c.pieces = k;
                    c.escaliers = escaliers;
                    c.tirage = i;
                    std::copy(niveau.begin(), niveau.end(), c.piece);
                    // tirer_niveaux() has proved the one solution: the record needs only which
                    // pieces are to place.
                    c.fiche = ficher(0, c.piece, false);
                    c.empreinte = empreinte(c.fiche);
                    trouves[f].emplace(forme_canonique(c.empreinte), c);
                }
            liberer_equilibre();
        });
    for (std::thread &t : fils) t.join();
    std::map<std::array<uint64_t, NB_PIECES>, t_candidat> uniques;
    for (auto &t : trouves)
        for (auto &[forme, c] : t) {
            auto [ou, nouveau] = uniques.emplace(forme, c);
            if (!nouveau && c.tirage < ou->second.tirage) ou->second = c;
        }
    std::vector<t_candidat> v;
    for (auto &[forme, c] : uniques) v.push_back(c);
    std::stable_sort(v.begin(), v.end(),
                     [](const t_candidat &a, const t_candidat &b) { return a.tirage < b.tirage; });
    return v;
}

// The decoys and the motifs of every level drawn, shared among the cores: the decoys are the
// costliest count, so they are counted only for the distinct levels.
void compter_leurres_de_tous(std::vector<t_candidat> &v) {
    const unsigned nb_fils = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::thread> fils;
    for (unsigned f = 0; f < nb_fils; ++f)
        fils.emplace_back([&, f] {
            for (size_t i = f; i < v.size(); i += nb_fils) {
                v[i].fiche.leurres = compter_leurres(v[i].piece);
                v[i].motifs = motifs(v[i].fiche);
            }
            liberer_equilibre();
        });
    for (std::thread &t : fils) t.join();
}

bool differents(const t_candidat &a, const t_candidat &b) {
    return !ressemble(a.empreinte, b.empreinte) && !ressemble(b.empreinte, a.empreinte);
}

// Whether two levels would read as the same puzzle: alike as L6 compares them, or sharing a
// motif.
bool semblables_ou_motif(const t_candidat &a, const t_candidat &b) {
    return !differents(a, b) || partage_un_motif(a.motifs, b.motifs);
}

// Whether the level teaches the end's lessons: three pieces to place or more, three features
// or more, and decoys enough.
bool de_la_fin(const t_candidat &c) {
    return c.pieces >= 3 && compter_traits(c.fiche.traits) >= 3 &&
           c.fiche.leurres >= LEURRES_DE_FIN;
}

// How far a set of levels, in order, is from teaching as the checker asks (verifier_lecons(),
// verifier_courbe(), escalier_au_debut()), its pairs alike apart: each broken demand counts one,
// a quarter short of decoys one per decoy it lacks.
int ecarts(const std::vector<const t_candidat *> &v, const std::vector<int> &choix) {
    int e = 0;
    unsigned vus = 0;
    std::map<unsigned, int> idees;
    std::array<int, QUARTS> leurres{};
    for (size_t n = 0; n < choix.size(); ++n) {
        const t_candidat &c = *v[size_t(choix[n])];
        leurres[n * QUARTS / NB_NIVEAUX] += c.fiche.leurres;
        const unsigned nouveaux = c.fiche.traits & ~vus;
        const int nb = compter_traits(nouveaux);
        if (n < size_t(LECONS)) {
            e += (c.pieces != 1) + (nb != 1);
        } else {
            e += (n >= size_t(NIVEAUX_SANS_LEURRE) && c.fiche.leurres == 0) + std::max(0, nb - 1);
            e += nb == 1 && size_t(c.pieces) > PIECES_POUR_UNE_NOUVEAUTE;
        }
        vus |= c.fiche.traits;
        if (n + 1 == size_t(LECONS)) e += compter_traits((T_MONTEE | T_DESCENTE) & ~vus);
        if (n + NIVEAUX_DE_FIN >= size_t(NB_NIVEAUX)) e += !de_la_fin(c);
        ++idees[c.fiche.traits];
    }
    e += compter_traits(((1U << NB_TRAITS) - 1) & ~vus);
    for (const auto &[t, nb] : idees) e += std::max(0, nb - FOIS_PAR_IDEE);
    e += std::max(0, IDEES_MIN - int(idees.size()));
    constexpr int par_quart = NB_NIVEAUX / QUARTS;
    for (size_t q = 0; q < size_t(QUARTS); ++q)
        e += std::max(0, LEURRES_PAR_QUART[q] * par_quart - leurres[q]);
    const auto escalier = [&](size_t n) {
        const std::vector<int> &a = v[size_t(choix[n])]->fiche.a_placer;
        return std::any_of(a.begin(), a.end(), est_escalier);
    };
    e += !escalier(0) && !escalier(1);
    return e;
}

// 48 levels that keep every demand, by simulated annealing: from 48 drawn at random, each step
// swaps a chosen level for one drawn among the others, kept when it breaks no more demands than
// before (a pair alike counts POIDS_D_UNE_PAIRE), or else with a chance that falls as the
// search goes on. The candidates are in the levels' order (by difficulty), so a choice sorted
// is the levels in order. The search starts again from others drawn until a choice breaks
// nothing, ESSAIS times at most; a fixed seed makes the same choice every time.
bool choisir(const std::vector<const t_candidat *> &v,
             const std::vector<std::vector<size_t>> &semblables,
             std::vector<const t_candidat *> &choix) {
    const size_t n = v.size();
    std::vector<std::vector<char>> pareils(n, std::vector<char>(n, 0));
    for (size_t i = 0; i < n; ++i)
        for (size_t j : semblables[i]) pareils[i][j] = 1;
    const auto paires = [&](const std::vector<int> &s) {
        int p = 0;
        for (size_t a = 0; a < s.size(); ++a)
            for (size_t b = a + 1; b < s.size(); ++b) p += pareils[size_t(s[a])][size_t(s[b])];
        return p;
    };
    t_hasard h(GRAINE_DU_CHOIX);
    for (int essai = 0; essai < ESSAIS; ++essai) {
        std::vector<int> tous(n);
        for (size_t i = 0; i < n; ++i) tous[i] = int(i);
        h.melanger(tous);
        std::vector<int> s(tous.begin(), tous.begin() + NB_NIVEAUX);
        std::sort(s.begin(), s.end());
        std::vector<char> pris(n, 0);
        for (int i : s) pris[size_t(i)] = 1;
        int nb_paires = paires(s);
        int cout = POIDS_D_UNE_PAIRE * nb_paires + ecarts(v, s);
        for (long pas = 0; pas < PAS_PAR_ESSAI && cout > 0; ++pas) {
            const size_t o = size_t(h.entre(NB_NIVEAUX));
            const int entrant = h.entre(int(n));
            if (pris[size_t(entrant)]) continue;
            const int sortant = s[o];
            int d = 0;
            for (int j : s)
                if (j != sortant)
                    d += pareils[size_t(entrant)][size_t(j)] - pareils[size_t(sortant)][size_t(j)];
            std::vector<int> t = s;
            t[o] = entrant;
            std::sort(t.begin(), t.end());
            const int c = POIDS_D_UNE_PAIRE * (nb_paires + d) + ecarts(v, t);
            // The temperature falls from TEMPERATURE to a twentieth of it over the steps.
            const double temperature =
                TEMPERATURE * std::pow(0.05, double(pas) / double(PAS_PAR_ESSAI));
            const double tire = double(h.entre(1 << 30)) / double(1 << 30);
            if (c > cout && tire >= std::exp(double(cout - c) / temperature)) continue;
            s = t;
            pris[size_t(sortant)] = 0;
            pris[size_t(entrant)] = 1;
            nb_paires += d;
            cout = c;
        }
        std::fprintf(stderr, "choice %d: %d pairs alike, %d demands broken\n", essai + 1, nb_paires,
                     ecarts(v, s));
        if (cout == 0) {
            choix.clear();
            for (int i : s) choix.push_back(v[size_t(i)]);
            return true;
        }
    }
    return false;
}

// The choice judged as the checker judges the folder, before any file is written: the search
// counts the demands its own way, and a difference would otherwise show only in data/.
bool juger(const std::vector<const t_candidat *> &choix) {
    std::vector<t_fiche> fiches;
    for (const t_candidat *c : choix) {
        fiches.push_back(c->fiche);
        fiches.back().numero = int(fiches.size());
    }
    std::vector<std::string> problemes;
    std::vector<const t_fiche *> suite;
    for (size_t i = 0; i < fiches.size(); ++i) {
        const std::string niveau = "level " + std::to_string(i + 1) + ": ";
        for (const std::string &m : dire_pareils(suite, fiches[i], choix[i]->piece))
            problemes.push_back(niveau + m);
        for (const t_faute_courbe &c : verifier_courbe(i == 0 ? nullptr : &fiches[i - 1], fiches[i],
                                                       i < 2 ? nullptr : &fiches[i - 2]))
            problemes.push_back(niveau + dire_courbe(c));
        suite.push_back(&fiches[i]);
    }
    for (const t_faute_lecon &l : verifier_lecons(suite))
        problemes.push_back("level " + std::to_string(l.niveau) + ": " + dire_lecon(l));
    if (!escalier_au_debut(&fiches[0], &fiches[1]))
        problemes.emplace_back("neither level 1 nor level 2 has a staircase to place");
    for (const std::string &m : problemes) std::fprintf(stderr, "generer_niveaux: %s\n", m.c_str());
    return problemes.empty();
}

// The challenge of a seed, as the program makes it, written as level 0.
int ecrire_defi(const char *graine, const char *pieces, const char *chemin) {
    const uint32_t g = lire_nombre(graine, GRAINE_MAX);
    const int k = int(lire_nombre(pieces, 4));
    if (g == 0 || k == 0) {
        std::fprintf(stderr, "generer_niveaux: seeds are 1 to %u, and 1 to 4 pieces to place\n",
                     GRAINE_MAX);
        return 2;
    }
    t_piecer piece[NB_PIECES];
    fabriquer_defi(g, k, depart, piece);
    std::ofstream fichier(chemin);
    ecrire_niveau(fichier, 0, piece);
    fichier.close();
    if (!fichier) {
        std::fprintf(stderr, "generer_niveaux: cannot write %s\n", chemin);
        return 1;
    }
    return 0;
}

// The 48 levels, in order, as a search over the same pool chose them (its first six chosen
// before the rest; --chercher is not held to find the same): for each, the draw that makes
// its stack (pieces to place, with two staircases or not, the draw's number) and where the
// knight and the princess stand on it (column, row). Making them again from their draws takes
// seconds; drawing every stack and searching again takes the better part of an hour.
struct t_choisi {
    int pieces;
    bool escaliers;
    long tirage;
    t_lieu chevalier, princesse;
};
const t_choisi CHOIX[NB_NIVEAUX] = {
    {1, false, 116, {8, 2}, {4, 0}},      {1, false, 522, {4, 0}, {9, 3}},
    {1, false, 21, {5, 1}, {9, 0}},       {1, false, 11042, {7, 1}, {4, 0}},
    {1, false, 1130, {7, 3}, {4, 1}},     {1, false, 2501, {4, 2}, {9, 1}},
    {2, false, 55052, {7, 2}, {5, 1}},    {2, false, 7866, {4, 0}, {7, 2}},
    {2, false, 585546, {4, 3}, {7, 2}},   {2, true, 1692, {4, 1}, {8, 1}},
    {3, false, 13890, {9, 1}, {6, 2}},    {2, false, 749702, {4, 0}, {8, 3}},
    {2, false, 660337, {9, 2}, {6, 1}},   {2, false, 3050145, {4, 3}, {8, 0}},
    {2, false, 227717, {8, 2}, {5, 1}},   {3, false, 13102356, {7, 2}, {4, 0}},
    {3, false, 819248, {7, 3}, {5, 2}},   {2, false, 323676, {5, 1}, {8, 0}},
    {3, false, 6117626, {9, 1}, {6, 3}},  {3, false, 14131, {8, 2}, {6, 1}},
    {3, false, 18368684, {4, 2}, {7, 0}}, {3, false, 13581745, {5, 4}, {8, 3}},
    {4, false, 1076803, {7, 4}, {4, 2}},  {4, false, 655533, {6, 2}, {4, 1}},
    {2, false, 752615, {6, 3}, {8, 4}},   {2, false, 1450746, {8, 1}, {6, 0}},
    {2, false, 7198510, {6, 1}, {4, 0}},  {2, false, 431478, {9, 2}, {5, 2}},
    {3, false, 682245, {6, 4}, {4, 3}},   {3, false, 28161909, {4, 3}, {6, 4}},
    {3, false, 19101531, {8, 4}, {5, 2}}, {3, false, 102956, {5, 3}, {7, 2}},
    {3, false, 554245, {9, 2}, {6, 4}},   {3, false, 14564466, {4, 2}, {8, 4}},
    {3, false, 1255380, {9, 2}, {6, 3}},  {3, false, 6030503, {8, 2}, {5, 3}},
    {3, false, 29652973, {7, 2}, {9, 3}}, {3, false, 422662, {4, 2}, {6, 1}},
    {3, false, 3301897, {8, 4}, {6, 3}},  {3, false, 12967987, {9, 3}, {7, 2}},
    {3, false, 18403846, {9, 1}, {5, 3}}, {3, false, 6373807, {5, 1}, {7, 2}},
    {3, false, 10812, {7, 2}, {5, 3}},    {3, false, 24331235, {8, 3}, {6, 4}},
    {4, false, 18511029, {5, 3}, {9, 4}}, {3, false, 4844254, {8, 4}, {4, 2}},
    {4, false, 4007362, {9, 4}, {5, 2}},  {3, false, 1289374, {4, 4}, {8, 3}},
};

// The chosen levels made again from their draws, false when a draw no longer makes its level
// (the rules or the draws have changed since the choice: search again).
bool refaire_le_choix(std::vector<t_candidat> &faits) {
    faits.clear();
    for (const t_choisi &c : CHOIX) {
        bool trouve = false;
        for (const auto &niveau :
             tirer_niveaux(GRAINE_DES_NIVEAUX, c.pieces, c.escaliers, c.tirage, depart)) {
            const t_piecer &ch = niveau[ID_CHEVALIER], &pr = niveau[ID_PRINCESSE];
            if (ch.colonne != c.chevalier.c || ch.ligne != c.chevalier.h ||
                pr.colonne != c.princesse.c || pr.ligne != c.princesse.h)
                continue;
            t_candidat f;
            f.pieces = c.pieces;
            f.escaliers = c.escaliers;
            f.tirage = c.tirage;
            std::copy(niveau.begin(), niveau.end(), f.piece);
            f.fiche = ficher(0, f.piece, true);
            faits.push_back(f);
            trouve = true;
            break;
        }
        if (!trouve) {
            std::fprintf(stderr,
                         "generer_niveaux: draw %ld with %d pieces to place no longer makes "
                         "its level\n",
                         c.tirage, c.pieces);
            return false;
        }
    }
    return true;
}

// The levels judged, then written in FOLDER in order.
int ecrire_niveaux(const std::vector<const t_candidat *> &choix, const char *dossier) {
    if (!juger(choix)) return 1;
    for (size_t l = 0; l < choix.size(); ++l) {
        const t_fiche &f = choix[l]->fiche;
        std::printf("level %2zu: difficulty %d, %d decoys, %zu to place, walk %s, features: %s\n",
                    l + 1, f.difficulte(), f.leurres, f.a_placer.size(), f.chemin.forme.c_str(),
                    nommer_traits(f.traits).c_str());
        std::ofstream fichier(std::string(dossier) + "/solution" + std::to_string(l + 1) + ".xml");
        ecrire_niveau(fichier, int(l) + 1, choix[l]->piece);
        fichier.close();
        if (!fichier) {
            std::fprintf(stderr, "generer_niveaux: cannot write in %s\n", dossier);
            return 1;
        }
    }
    return 0;
}

// Every stack drawn, then 48 levels chosen among them (slow); prints the choice as CHOIX holds it.
int chercher(const char *dossier) {
    // Every distinct level drawn: of two alike, either may be the one that fits among the others.
    std::vector<t_candidat> reserve;
    for (int k = 1; k <= 4; ++k) {
        std::vector<t_candidat> v = tirer_tous(k, false, PILES[k]);
        std::map<unsigned, int> idees;
        for (const t_candidat &c : v) ++idees[c.fiche.traits];
        std::fprintf(stderr, "%d pieces to place: %zu distinct levels from %ld stacks, %zu ideas\n",
                     k, v.size(), PILES[k], idees.size());
        reserve.insert(reserve.end(), v.begin(), v.end());
    }
    // Two staircases among the pieces to place, for the walks up then down that the draws
    // above seldom make: kept only for such a walk.
    for (int k = 2; k <= 3; ++k) {
        size_t collines = 0;
        for (const t_candidat &c : tirer_tous(k, true, PILES_ESCALIERS[k]))
            if ((c.fiche.traits & T_COLLINE) != 0) {
                reserve.push_back(c);
                ++collines;
            }
        std::fprintf(stderr,
                     "%d pieces to place, two of them staircases: %zu walks up then down "
                     "from %ld stacks\n",
                     k, collines, PILES_ESCALIERS[k]);
    }
    compter_leurres_de_tous(reserve);
    std::vector<const t_candidat *> v;
    for (const t_candidat &c : reserve) v.push_back(&c);
    // In the order the levels will have: by difficulty.
    std::sort(v.begin(), v.end(), [](const t_candidat *a, const t_candidat *b) {
        return std::make_tuple(a->fiche.difficulte(), a->pieces, a->escaliers, a->tirage) <
               std::make_tuple(b->fiche.difficulte(), b->pieces, b->escaliers, b->tirage);
    });
    std::vector<std::vector<size_t>> semblables(v.size());
    size_t paires = 0;
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size(); ++j)
            if (semblables_ou_motif(*v[i], *v[j])) {
                semblables[i].push_back(j);
                semblables[j].push_back(i);
                ++paires;
            }
    std::fprintf(stderr, "%zu levels to choose from, %zu pairs of them alike or sharing a motif\n",
                 v.size(), paires);
    for (int k = 1; k <= 4; ++k) {
        int n = 0, cinq = 0, un = 0;
        for (const t_candidat *c : v)
            if (c->pieces == k) {
                ++n;
                un += c->fiche.leurres >= 1;
                cinq += c->fiche.leurres >= LEURRES_DE_FIN;
            }
        std::fprintf(stderr, "%d pieces to place: %d levels, %d with a decoy, %d with %d or more\n",
                     k, n, un, cinq, LEURRES_DE_FIN);
    }
    std::vector<const t_candidat *> choix;
    if (v.size() < NB_NIVEAUX) {
        std::fprintf(stderr, "generer_niveaux: only %zu levels to choose from\n", v.size());
        return 1;
    }
    if (!choisir(v, semblables, choix)) {
        std::fprintf(stderr, "generer_niveaux: no choice of 48 levels keeps every demand\n");
        return 1;
    }
    for (const t_candidat *c : choix)
        std::printf("    {%d, %s, %ld, {%d, %d}, {%d, %d}},\n", c->pieces,
                    c->escaliers ? "true" : "false", c->tirage, c->piece[ID_CHEVALIER].colonne,
                    c->piece[ID_CHEVALIER].ligne, c->piece[ID_PRINCESSE].colonne,
                    c->piece[ID_PRINCESSE].ligne);
    return ecrire_niveaux(choix, dossier);
}

} // namespace

int main(int argc, char **argv) {
    init_pieces(depart);
    if (argc == 6 && std::string(argv[1]) == "--graine" && std::string(argv[3]) == "--pieces")
        return ecrire_defi(argv[2], argv[4], argv[5]);
    if (argc == 3 && std::string(argv[1]) == "--chercher") return chercher(argv[2]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: generer_niveaux FOLDER\n"
                             "       generer_niveaux --chercher FOLDER\n"
                             "       generer_niveaux --graine SEED --pieces K FILE\n");
        return 2;
    }
    std::vector<t_candidat> faits;
    if (!refaire_le_choix(faits)) return 1;
    std::vector<const t_candidat *> choix;
    for (const t_candidat &c : faits) choix.push_back(&c);
    return ecrire_niveaux(choix, argv[1]);
}
