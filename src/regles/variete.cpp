// variete.cpp: comparisons between levels, mirrored and moved sideways, and the difficulty
// score.
#include "regles/variete.h"

#include "regles/traits.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace {

// Column c of a level seen mirrored (if asked) and moved d columns; -1 off the board.
int colonne_vue(int c, bool miroir, int d) {
    const int v = (miroir ? PLATEAU_LARGEUR - 1 - c : c) + d;
    return sur_plateau(v, 0) ? v : -1;
}

// The solid cells of piece k (of every piece for -1) as bits, seen so; `entier` is cleared
// when one of them falls off the board.
uint64_t cellules(const t_scene &s, int k, bool miroir, int d, bool &entier) {
    uint64_t m = 0;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r) {
            if (s.cases[c][r] == -1 || (k != -1 && s.cases[c][r] != k)) continue;
            const int v = colonne_vue(c, miroir, d);
            if (v == -1)
                entier = false;
            else
                m |= uint64_t(1) << (PLATEAU_LARGEUR * r + v);
        }
    return m;
}

// A level seen so: its challenge (each starting piece's kind and cells, and the kinds of the
// pieces to place, one number each, sorted), its figures' places, its solid cells.
t_vue voir(const t_fiche &f, bool miroir, int d) {
    t_vue v;
    v.defi.fill(UINT64_MAX);
    size_t n = 0;
    for (int k = 0; k < NB_PIECES; ++k)
        if (f.scene.en_jeu[k] &&
            std::find(f.a_placer.begin(), f.a_placer.end(), k) == f.a_placer.end())
            v.defi[n++] = uint64_t(sorte(k)) << 40 | cellules(f.scene, k, miroir, d, v.defi_entier);
    for (int k : f.a_placer) v.defi[n++] = uint64_t(sorte(k) + NB_PIECES) << 40;
    std::sort(v.defi.begin(), v.defi.end());
    size_t i = 0;
    for (int k : {ID_CHEVALIER, ID_PRINCESSE}) {
        v.figures[i++] = colonne_vue(f.scene.colonne[k], miroir, d);
        v.figures[i++] = f.scene.ligne[k];
    }
    v.cellules = cellules(f.scene, -1, miroir, d, v.entiere);
    return v;
}

int compter(uint64_t m) {
    return static_cast<int>(std::bitset<64>(m).count());
}

// Calls dire(r) with each way level b is too like level a, while it returns true. Level a is
// seen as it stands and mirrored, moved sideways as far as the board allows it, or allows b the
// other way; the cells in common are counted in the best of those alignments.
template <typename F>
void comparer(const t_empreinte &a, const t_empreinte &b, bool decale, F dire) {
    const auto ressemblance = [&](t_sorte_ressemblance sorte, int miroir, int d) {
        t_ressemblance r;
        r.sorte = sorte;
        r.niveau = a.numero;
        r.miroir = miroir != 0;
        r.decalage = d;
        return r;
    };
    const t_vue &y = b.vues[0][DECALAGE_MAX];
    int meilleure = -1, miroir_meilleur = 0, d_meilleur = 0;
    for (int miroir : {0, 1})
        for (int d = -DECALAGE_MAX; d <= DECALAGE_MAX; ++d) {
            // Compared where one of the two levels, moved, stays wholly on the board: either
            // way round the same, so that the order of the two does not matter.
            const t_vue &x = a.vues[miroir][d + DECALAGE_MAX];
            if (!x.entiere && !b.vues[0][DECALAGE_MAX - d].entiere) continue;
            if (x.defi_entier && x.defi == y.defi && !dire(ressemblance(S_MEME_DEFI, miroir, d)))
                return;
            if (d != 0 && !decale) continue;
            if (x.figures[0] != -1 && x.figures[2] != -1 && x.figures == y.figures &&
                a.chemin == b.chemin && !dire(ressemblance(S_MEMES_FIGURES, miroir, d)))
                return;
            const int communes = compter(x.cellules & y.cellules);
            if (communes > meilleure) {
                meilleure = communes;
                miroir_meilleur = miroir;
                d_meilleur = d;
            }
        }
    const int plus = std::max(a.solides, b.solides);
    if (4 * meilleure > 3 * plus) {
        t_ressemblance r = ressemblance(S_CELLULES_COMMUNES, miroir_meilleur, d_meilleur);
        r.communes = meilleure;
        r.solides = plus;
        dire(r);
    }
}

bool est_escalier_a_placer(const t_fiche &f) {
    return std::any_of(f.a_placer.begin(), f.a_placer.end(), est_escalier);
}

} // namespace

int difficulte(int leurres, size_t a_placer, unsigned traits, const t_chemin &chemin) {
    return 1000 * leurres + 100 * static_cast<int>(a_placer) + 10 * compter_traits(traits) +
           chemin.changements_de_hauteur();
}

t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], const t_resolution &resolution,
               bool leurres) {
    t_fiche f;
    f.numero = numero;
    f.scene = construire_scene(piece);
    f.chemin = evaluer(f.scene).chemin;
    f.a_placer = resolution.a_placer;
    f.essais = resolution.essais;
    f.traits = traits(f);
    if (leurres) f.leurres = compter_leurres(piece);
    return f;
}

t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], bool leurres) {
    t_resolution r;
    for (int k = 0; k < NB_PIECES; ++k)
        if (est_a_placer(piece[k])) r.a_placer.push_back(k);
    return ficher(numero, piece, r, leurres);
}

int compter_leurres(const t_piecer piece[NB_PIECES]) {
    return static_cast<int>(chercher_leurres(piece).solutions.size());
}

std::array<double, QUARTS> leurres_par_quart(const std::vector<const t_fiche *> &v) {
    std::array<double, QUARTS> somme{}, nombre{};
    constexpr int par_quart = NB_NIVEAUX / QUARTS;
    for (const t_fiche *f : v)
        if (f->numero >= 1 && f->numero <= NB_NIVEAUX) {
            const size_t q = size_t((f->numero - 1) / par_quart);
            somme[q] += f->leurres;
            nombre[q] += 1;
        }
    for (size_t q = 0; q < size_t(QUARTS); ++q)
        if (nombre[q] > 0) somme[q] /= nombre[q];
    return somme;
}

t_empreinte empreinte(const t_fiche &f) {
    t_empreinte e;
    e.numero = f.numero;
    for (int miroir : {0, 1})
        for (int d = -DECALAGE_MAX; d <= DECALAGE_MAX; ++d)
            e.vues[miroir][d + DECALAGE_MAX] = voir(f, miroir != 0, d);
    e.solides = compter(e.vues[0][DECALAGE_MAX].cellules);
    e.chemin = f.chemin.forme;
    return e;
}

std::vector<t_ressemblance> ressemblances(const t_fiche &a, const t_fiche &b) {
    std::vector<t_ressemblance> v;
    comparer(empreinte(a), empreinte(b), true, [&](const t_ressemblance &r) {
        v.push_back(r);
        return true;
    });
    return v;
}

bool ressemble(const t_empreinte &a, const t_empreinte &b, bool decale, bool cellules) {
    bool oui = false;
    comparer(a, b, decale, [&](const t_ressemblance &r) {
        if (r.sorte == S_CELLULES_COMMUNES && !cellules) return true;
        return !(oui = true);
    });
    return oui;
}

std::vector<t_motif> motifs(const t_fiche &f) {
    const t_scene &s = f.scene;
    // Which pieces touch which, side against side.
    bool touche[NB_PIECES][NB_PIECES] = {};
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r) {
            const int p = s.cases[c][r];
            if (p == -1 || est_figure(p)) continue;
            for (const auto &[dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                if (c + dc >= PLATEAU_LARGEUR || r + dr >= PLATEAU_HAUTEUR) continue;
                const int q = s.cases[c + dc][r + dr];
                if (q != -1 && q != p && !est_figure(q)) touche[p][q] = touche[q][p] = true;
            }
        }
    std::vector<int> ids;
    for (int k = 0; k < NB_PIECES; ++k)
        if (s.en_jeu[k] && !est_figure(k)) ids.push_back(k);
    const auto a_placer = [&](int k) {
        return std::find(f.a_placer.begin(), f.a_placer.end(), k) != f.a_placer.end();
    };
    std::map<t_cle_motif, t_motif> trouves;
    for (size_t i = 0; i < ids.size(); ++i)
        for (size_t j = i + 1; j < ids.size(); ++j)
            for (size_t k = j + 1; k < ids.size(); ++k) {
                const std::array<int, 3> trois = {ids[i], ids[j], ids[k]};
                const int liens = touche[trois[0]][trois[1]] + touche[trois[0]][trois[2]] +
                                  touche[trois[1]][trois[2]];
                if (liens < 2) continue;
                int gauche = PLATEAU_LARGEUR, droite = 0, bas = PLATEAU_HAUTEUR;
                for (int c = 0; c < PLATEAU_LARGEUR; ++c)
                    for (int r = 0; r < PLATEAU_HAUTEUR; ++r)
                        if (std::find(trois.begin(), trois.end(), s.cases[c][r]) != trois.end()) {
                            gauche = std::min(gauche, c);
                            droite = std::max(droite, c);
                            bas = std::min(bas, r);
                        }
                t_cle_motif vue{}, miroir{};
                for (size_t n = 0; n < 3; ++n) {
                    vue[n] = miroir[n] = uint64_t(sorte(trois[n])) << 40;
                    for (int c = gauche; c <= droite; ++c)
                        for (int r = bas; r < PLATEAU_HAUTEUR; ++r)
                            if (s.cases[c][r] == trois[n]) {
                                vue[n] |= uint64_t(1) << (PLATEAU_LARGEUR * (r - bas) + c - gauche);
                                miroir[n] |= uint64_t(1)
                                             << (PLATEAU_LARGEUR * (r - bas) + droite - c);
                            }
                }
                std::sort(vue.begin(), vue.end());
                std::sort(miroir.begin(), miroir.end());
                t_motif m;
                m.cle = std::min(vue, miroir);
                m.pieces = trois;
                m.a_placer = std::any_of(trois.begin(), trois.end(), a_placer);
                auto [ou, nouveau] = trouves.emplace(m.cle, m);
                if (!nouveau && m.a_placer && !ou->second.a_placer) ou->second = m;
            }
    std::vector<t_motif> v;
    for (const auto &[cle, m] : trouves) v.push_back(m);
    return v;
}

std::vector<t_motif_commun> motifs_communs(const t_fiche &a, const t_fiche &b) {
    const std::vector<t_motif> ma = motifs(a);
    std::vector<t_motif_commun> v;
    for (const t_motif &m : motifs(b)) {
        if (!m.a_placer) continue;
        const auto ou =
            std::lower_bound(ma.begin(), ma.end(), m.cle,
                             [](const t_motif &x, const t_cle_motif &cle) { return x.cle < cle; });
        if (ou != ma.end() && ou->cle == m.cle && ou->a_placer) v.push_back({a.numero, m.pieces});
    }
    return v;
}

bool partage_un_motif(const std::vector<t_motif> &a, const std::vector<t_motif> &b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].cle < b[j].cle) {
            ++i;
        } else if (b[j].cle < a[i].cle) {
            ++j;
        } else {
            if (a[i].a_placer && b[j].a_placer) return true;
            ++i;
            ++j;
        }
    }
    return false;
}

std::vector<t_faute_courbe> verifier_courbe(const t_fiche *a, const t_fiche &b,
                                            const t_fiche *avant) {
    std::vector<t_faute_courbe> v;
    t_faute_courbe c;
    c.difficulte = b.difficulte();
    if (a != nullptr) {
        c.precedent = a->numero;
        c.difficulte_precedente = a->difficulte();
    }
    if (avant != nullptr) {
        c.avant = avant->numero;
        c.difficulte_avant = avant->difficulte();
    }
    c.a_placer = b.a_placer.size();
    c.traits = compter_traits(b.traits);
    c.leurres = b.leurres;
    const auto relever = [&](t_sorte_courbe sorte) {
        c.sorte = sorte;
        v.push_back(c);
    };
    const bool fin = b.numero > NB_NIVEAUX - NIVEAUX_DE_FIN;
    // After a rest the climb comes back above the level before it: only two dips in a row
    // forbidden, the levels could fall step by step, resting one level in two.
    if (a != nullptr && avant != nullptr && c.difficulte_precedente < c.difficulte_avant &&
        c.difficulte < c.difficulte_avant)
        relever(CB_MOINS_DIFFICILE);
    if (b.numero >= 1 && b.numero <= LECONS && c.a_placer != 1) relever(CB_DEBUT_A_PLUSIEURS);
    if (b.numero > NIVEAUX_SANS_LEURRE && c.leurres == 0) relever(CB_SANS_LEURRE);
    if (fin && c.a_placer < 3) relever(CB_FIN_PEU_DE_PIECES);
    if (fin && c.traits < 3) relever(CB_FIN_PEU_DE_TRAITS);
    if (fin && c.leurres < LEURRES_DE_FIN) relever(CB_FIN_PEU_DE_LEURRES);
    return v;
}

std::vector<t_faute_lecon> verifier_lecons(const std::vector<const t_fiche *> &v) {
    std::vector<t_faute_lecon> p;
    const auto relever = [&](int niveau, t_sorte_lecon sorte, unsigned traits) -> t_faute_lecon & {
        t_faute_lecon l;
        l.niveau = niveau;
        l.sorte = sorte;
        l.traits = traits;
        return p.emplace_back(l);
    };
    unsigned vus = 0;
    std::map<unsigned, std::vector<int>> idees;
    int suivant = 1;
    for (const t_fiche *f : v) {
        // What is new can be told only after every level before: the lessons are read over
        // levels 1, 2, 3... as far as none is missing (a file checked alone, a challenge made
        // from a seed, level 0, teach after nothing).
        if (f->numero != suivant) break;
        ++suivant;
        const unsigned nouveaux = f->traits & ~vus;
        const int n = compter_traits(nouveaux);
        if (f->numero <= LECONS && n != 1)
            relever(f->numero, L_NOUVEAUTES, nouveaux);
        else if (n > 1 || (n == 1 && f->a_placer.size() > PIECES_POUR_UNE_NOUVEAUTE))
            relever(f->numero, L_NOUVEAUTE_CHARGEE, nouveaux).a_placer = f->a_placer.size();
        vus |= f->traits;
        const unsigned manque = (T_MONTEE | T_DESCENTE) & ~vus;
        if (f->numero == LECONS && manque != 0) relever(f->numero, L_SANS_MONTEE_DESCENTE, manque);
        idees[f->traits].push_back(f->numero);
    }
    for (const auto &[t, niveaux] : idees)
        if (niveaux.size() > size_t(FOIS_PAR_IDEE))
            relever(niveaux[FOIS_PAR_IDEE], L_IDEE_REPETEE, t).niveaux = niveaux.size();
    if (suivant - 1 == NB_NIVEAUX && idees.size() < size_t(IDEES_MIN))
        relever(NB_NIVEAUX, L_PEU_D_IDEES, 0).idees = idees.size();
    const unsigned jamais = ((1U << NB_TRAITS) - 1) & ~vus;
    if (suivant - 1 == NB_NIVEAUX && jamais != 0) relever(NB_NIVEAUX, L_TRAITS_JAMAIS_VUS, jamais);
    if (suivant - 1 == NB_NIVEAUX) {
        const std::array<double, QUARTS> moyennes = leurres_par_quart(v);
        for (int q = 0; q < QUARTS; ++q)
            if (moyennes[size_t(q)] < LEURRES_PAR_QUART[size_t(q)]) {
                t_faute_lecon &l = relever((q + 1) * NB_NIVEAUX / QUARTS, L_PEU_DE_LEURRES, 0);
                l.quart = q;
                l.moyenne = moyennes[size_t(q)];
            }
    }
    return p;
}

bool escalier_au_debut(const t_fiche *niveau1, const t_fiche *niveau2) {
    return (niveau1 != nullptr && est_escalier_a_placer(*niveau1)) ||
           (niveau2 != nullptr && est_escalier_a_placer(*niveau2));
}
