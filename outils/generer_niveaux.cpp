// generer_niveaux.cpp: makes the 48 levels. Stacks are dropped on the board at random, piece by
// piece, the figures set where a walk joins them; a stack is kept when it keeps every level
// rule and its challenge has exactly one solution. Then 48 of those levels, unlike each other,
// are chosen by a local search to teach one feature at a time, in order of difficulty.
// Usage: generer_niveaux FOLDER   (the same files every time: every draw has a fixed seed)
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
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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
constexpr long PILES[5] = {0, 1000000, 2000000, 5000000, 10000000};

// The choice's search: how many steps at most, how many levels drawn to try at each.
constexpr long PAS_MAX = 200000;
constexpr int ENTRANTS = 60;
constexpr long RECOMMENCER = 3000; // steps without a better choice before starting again

struct t_candidat {
    int pieces = 0;
    long tirage = 0; // the draw's number among those of its number of pieces
    t_piecer piece[NB_PIECES];
    t_fiche fiche;
    t_empreinte empreinte;
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
std::vector<t_candidat> tirer_tous(int k) {
    const unsigned nb_fils = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::map<std::array<uint64_t, NB_PIECES>, t_candidat>> trouves(nb_fils);
    std::vector<std::thread> fils;
    for (unsigned f = 0; f < nb_fils; ++f)
        fils.emplace_back([&, f] {
            for (long i = f; i < PILES[k]; i += nb_fils) {
                t_candidat c;
                c.pieces = k;
                c.tirage = i;
                std::copy(depart, depart + NB_PIECES, c.piece);
                if (!tirer_defi(GRAINE_DES_NIVEAUX, k, i, {}, c.piece)) continue;
                // tirer_defi() has proved the one solution: the record needs only which pieces
                // are to place.
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
    std::sort(v.begin(), v.end(),
              [](const t_candidat &a, const t_candidat &b) { return a.tirage < b.tirage; });
    return v;
}

bool differents(const t_candidat &a, const t_candidat &b) {
    return !ressemble(a.empreinte, b.empreinte) && !ressemble(b.empreinte, a.empreinte);
}

// Whether the level teaches the end's lessons: three pieces to place or more, three features
// or more.
bool de_la_fin(const t_candidat &c) {
    return c.pieces >= 3 && compter_traits(c.fiche.traits) >= 3;
}

// How far a set of levels, in order, is from teaching as the checker asks (verifier_lecons,
// verifier_courbe, escalier_au_debut), its pairs alike apart: each broken demand counts.
int ecarts(const std::vector<const t_candidat *> &v, const std::vector<int> &choix) {
    int e = 0;
    unsigned vus = 0;
    std::map<unsigned, int> idees;
    for (size_t n = 0; n < choix.size(); ++n) {
        const t_candidat &c = *v[size_t(choix[n])];
        const int nouveaux = compter_traits(c.fiche.traits & ~vus);
        if (n < LECONS)
            e += (c.pieces != 1) + (nouveaux != 1);
        else
            e += std::max(0, nouveaux - 1) + (nouveaux == 1 && c.pieces > 2);
        vus |= c.fiche.traits;
        if (n + 1 == LECONS) e += (vus & T_MONTEE) == 0;
        if (n + 1 == LECONS) e += (vus & T_DESCENTE) == 0;
        if (n + NIVEAUX_DE_FIN >= NB_NIVEAUX) e += !de_la_fin(c);
        ++idees[c.fiche.traits];
    }
    e += compter_traits(((1U << NB_TRAITS) - 1) & ~vus);
    for (const auto &[t, nb] : idees) e += std::max(0, nb - FOIS_PAR_IDEE);
    e += std::max(0, IDEES_MIN - int(idees.size()));
    const auto escalier = [&](size_t n) {
        const std::vector<int> &a = v[size_t(choix[n])]->fiche.a_placer;
        return std::any_of(a.begin(), a.end(), est_escalier);
    };
    e += !escalier(0) && !escalier(1);
    return e;
}

// 48 levels that keep every demand, by a local search: from 48 drawn at random, each step
// tries swapping each chosen level with each of a few others drawn, and makes the swap that
// leaves the fewest broken demands (a pair alike counts as one), a level just left out barred
// for a while unless it leads to the best yet. Returns the demands still broken when it stops,
// after `pas` steps: none, or PAS_MAX steps taken.
int choisir(const std::vector<const t_candidat *> &v,
            const std::vector<std::vector<size_t>> &semblables,
            std::vector<const t_candidat *> &choix, t_hasard &h, long &pas) {
    const size_t n = v.size();
    pas = 0;
    if (n < NB_NIVEAUX) return INT_MAX;
    std::vector<std::vector<bool>> pareils(n, std::vector<bool>(n, false));
    for (size_t i = 0; i < n; ++i)
        for (size_t j : semblables[i]) pareils[i][j] = true;
    std::vector<int> tous(n);
    for (size_t i = 0; i < n; ++i) tous[i] = int(i);
    h.melanger(tous);
    // The chosen, in the candidates' order, which is the levels' order.
    std::vector<int> choisis(tous.begin(), tous.begin() + NB_NIVEAUX);
    std::sort(choisis.begin(), choisis.end());
    std::vector<bool> pris(n, false);
    for (int i : choisis) pris[size_t(i)] = true;
    std::vector<int> voisins(n, 0); // for each candidate, the chosen levels it is like
    for (size_t j = 0; j < n; ++j)
        for (size_t i : semblables[j]) voisins[j] += pris[i];
    int paires = 0;
    for (int i : choisis) paires += voisins[size_t(i)];
    paires /= 2;
    int ecart = paires + ecarts(v, choisis), meilleur = ecart;
    std::vector<long> tabou(n, 0);
    long depuis = 0; // steps since the best yet
    while (ecart > 0 && pas < PAS_MAX) {
        ++pas;
        // Stuck too long: start again from 48 others drawn at random.
        if (++depuis > RECOMMENCER) {
            h.melanger(tous);
            choisis.assign(tous.begin(), tous.begin() + NB_NIVEAUX);
            std::sort(choisis.begin(), choisis.end());
            std::fill(pris.begin(), pris.end(), false);
            for (int i : choisis) pris[size_t(i)] = true;
            std::fill(voisins.begin(), voisins.end(), 0);
            for (size_t j = 0; j < n; ++j)
                for (size_t i : semblables[j]) voisins[j] += pris[i];
            paires = 0;
            for (int i : choisis) paires += voisins[size_t(i)];
            paires /= 2;
            ecart = meilleur = paires + ecarts(v, choisis);
            depuis = 0;
        }
        int ecart_retenu = INT_MAX, egaux = 0;
        size_t place_retenue = 0;
        int entrant_retenu = -1;
        for (int tirage = 0; tirage < ENTRANTS; ++tirage) {
            const int entrant = h.entre(int(n));
            if (pris[size_t(entrant)]) continue;
            for (size_t o = 0; o < choisis.size(); ++o) {
                std::vector<int> essai = choisis;
                essai[o] = entrant;
                std::sort(essai.begin(), essai.end());
                const int c = paires - voisins[size_t(choisis[o])] + voisins[size_t(entrant)] -
                              int(pareils[size_t(choisis[o])][size_t(entrant)]) + ecarts(v, essai);
                if (tabou[size_t(entrant)] > pas && c >= meilleur) continue;
                if (c < ecart_retenu) {
                    ecart_retenu = c;
                    egaux = 1;
                } else if (c > ecart_retenu || h.entre(++egaux) != 0) {
                    continue;
                }
                place_retenue = o;
                entrant_retenu = entrant;
            }
        }
        if (entrant_retenu < 0) continue;
        const int sortant = choisis[place_retenue];
        paires += voisins[size_t(entrant_retenu)] - voisins[size_t(sortant)] -
                  int(pareils[size_t(sortant)][size_t(entrant_retenu)]);
        pris[size_t(sortant)] = false;
        pris[size_t(entrant_retenu)] = true;
        for (size_t j : semblables[size_t(sortant)]) --voisins[j];
        for (size_t j : semblables[size_t(entrant_retenu)]) ++voisins[j];
        choisis[place_retenue] = entrant_retenu;
        std::sort(choisis.begin(), choisis.end());
        ecart = ecart_retenu;
        if (ecart < meilleur) {
            meilleur = ecart;
            depuis = 0;
        }
        tabou[size_t(sortant)] = pas + 10 + h.entre(10);
    }
    choix.clear();
    for (int i : choisis) choix.push_back(v[size_t(i)]);
    return ecart;
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
        for (size_t j = 0; j < i; ++j)
            for (const t_ressemblance &r : ressemblances(fiches[j], fiches[i]))
                problemes.push_back(niveau + dire_ressemblance(r));
        for (const t_faute_courbe &c :
             verifier_courbe(i == 0 ? nullptr : &fiches[i - 1], fiches[i]))
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

} // namespace

int main(int argc, char **argv) {
    init_pieces(depart);
    if (argc == 6 && std::string(argv[1]) == "--graine" && std::string(argv[3]) == "--pieces")
        return ecrire_defi(argv[2], argv[4], argv[5]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: generer_niveaux FOLDER\n"
                             "       generer_niveaux --graine SEED --pieces K FILE\n");
        return 2;
    }
    // Every distinct level, then, of those alike with the same number of pieces and idea, only
    // the first drawn: the others would add choices that differ in nothing the rules look at.
    std::vector<t_candidat> reserve;
    for (int k = 1; k <= 4; ++k) {
        std::vector<t_candidat> v = tirer_tous(k);
        std::map<unsigned, int> idees;
        for (const t_candidat &c : v) ++idees[c.fiche.traits];
        std::fprintf(stderr, "%d pieces to place: %zu distinct levels from %ld stacks, %zu ideas\n",
                     k, v.size(), PILES[k], idees.size());
        reserve.insert(reserve.end(), v.begin(), v.end());
    }
    std::map<std::pair<int, unsigned>, std::vector<const t_candidat *>> groupes;
    for (const t_candidat &c : reserve) groupes[{c.pieces, c.fiche.traits}].push_back(&c);
    std::vector<const t_candidat *> v;
    for (auto &[groupe, membres] : groupes) {
        const size_t debut = v.size();
        for (const t_candidat *c : membres)
            if (std::all_of(v.begin() + long(debut), v.end(),
                            [&](const t_candidat *d) { return differents(*c, *d); }))
                v.push_back(c);
    }
    // In the order the levels will have: by difficulty.
    std::sort(v.begin(), v.end(), [](const t_candidat *a, const t_candidat *b) {
        return std::make_tuple(a->fiche.difficulte(), a->pieces, a->tirage) <
               std::make_tuple(b->fiche.difficulte(), b->pieces, b->tirage);
    });
    std::vector<std::vector<size_t>> semblables(v.size());
    size_t paires = 0;
    for (size_t i = 0; i < v.size(); ++i)
        for (size_t j = i + 1; j < v.size(); ++j)
            if (!differents(*v[i], *v[j])) {
                semblables[i].push_back(j);
                semblables[j].push_back(i);
                ++paires;
            }
    std::fprintf(stderr, "%zu levels to choose from, %zu pairs of them alike\n", v.size(), paires);
    std::vector<const t_candidat *> choix;
    t_hasard h(GRAINE_DES_NIVEAUX);
    if (v.size() < NB_NIVEAUX) {
        std::fprintf(stderr, "generer_niveaux: only %zu levels to choose from\n", v.size());
        return 1;
    }
    long pas = 0;
    const int reste = choisir(v, semblables, choix, h, pas);
    if (reste > 0) {
        std::fprintf(stderr,
                     "generer_niveaux: no choice of 48 levels in %ld steps: the last breaks "
                     "%d demands\n",
                     pas, reste);
        return 1;
    }
    std::fprintf(stderr, "48 levels chosen in %ld steps\n", pas);
    if (!juger(choix)) return 1;
    for (size_t l = 0; l < choix.size(); ++l) {
        const t_fiche &f = choix[l]->fiche;
        std::printf("level %2zu: difficulty %d, %zu to place, walk %s, features: %s\n", l + 1,
                    f.difficulte(), f.a_placer.size(), f.chemin.forme.c_str(),
                    nommer_traits(f.traits).c_str());
        std::ofstream fichier(std::string(argv[1]) + "/solution" + std::to_string(l + 1) + ".xml");
        ecrire_niveau(fichier, int(l) + 1, choix[l]->piece);
        fichier.close();
        if (!fichier) {
            std::fprintf(stderr, "generer_niveaux: cannot write in %s\n", argv[1]);
            return 1;
        }
    }
    return 0;
}
