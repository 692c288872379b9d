// variete.cpp: comparisons between levels, mirror images included, and the difficulty score.
#include "variete.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <utility>

namespace {

// The solid cells of piece k (of every piece for -1) as bits, mirrored left to right if asked.
uint64_t cellules(const t_scene &s, int k, bool miroir) {
    uint64_t m = 0;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int r = 0; r < PLATEAU_HAUTEUR; ++r)
            if (s.cases[c][r] != -1 && (k == -1 || s.cases[c][r] == k))
                m |= uint64_t(1) << (6 * r + (miroir ? PLATEAU_LARGEUR - 1 - c : c));
    return m;
}

// The challenge: each starting piece's kind and cells, and the kinds of the pieces to place,
// one number each, sorted.
std::array<uint64_t, NB_PIECES> defi(const t_fiche &f, bool miroir) {
    std::array<uint64_t, NB_PIECES> d;
    d.fill(UINT64_MAX);
    size_t n = 0;
    for (int k = 0; k < NB_PIECES; ++k)
        if (f.scene.en_jeu[k] &&
            std::find(f.a_placer.begin(), f.a_placer.end(), k) == f.a_placer.end())
            d[n++] = uint64_t(sorte(k)) << 40 | cellules(f.scene, k, miroir);
    for (int k : f.a_placer) d[n++] = uint64_t(sorte(k) + NB_PIECES) << 40;
    std::sort(d.begin(), d.end());
    return d;
}

// The knight's start and the princess's place, by column and row.
std::array<int, 4> figures(const t_fiche &f, bool miroir) {
    std::array<int, 4> v{};
    size_t i = 0;
    for (int k : {ID_CHEVALIER, ID_PRINCESSE}) {
        v[i++] = miroir ? PLATEAU_LARGEUR - 1 - f.scene.colonne[k] : f.scene.colonne[k];
        v[i++] = f.scene.ligne[k];
    }
    return v;
}

int compter(uint64_t m) {
    return static_cast<int>(std::bitset<64>(m).count());
}

// Calls dire(why) for each way level b is too like level a, while it returns true; the reasons
// are put in words only when found.
template <typename F> void comparer(const t_empreinte &a, const t_empreinte &b, F dire) {
    const auto nom = [&](bool miroir) {
        return "level " + std::to_string(a.numero) + (miroir ? " as its mirror image" : "");
    };
    for (int miroir : {0, 1}) {
        if (a.defi[miroir] == b.defi[0] && !dire("the same challenge as " + nom(miroir))) return;
        if (a.figures[miroir] == b.figures[0] && a.chemin == b.chemin &&
            !dire("the same knight's start, princess's place and walk as " + nom(miroir)))
            return;
        const uint64_t ca = a.cellules[miroir], cb = b.cellules[0];
        const int communes = compter(ca & cb), plus = std::max(compter(ca), compter(cb));
        if (4 * communes > 3 * plus &&
            !dire(std::to_string(communes) + " solid cells in common with " + nom(miroir) +
                  ", more than three quarters of " + std::to_string(plus)))
            return;
    }
}

bool est_escalier_a_placer(const t_fiche &f) {
    return std::any_of(f.a_placer.begin(), f.a_placer.end(), est_escalier);
}

} // namespace

int difficulte(size_t a_placer, const t_chemin &chemin, long long essais) {
    int log2 = 0;
    while (essais > 1) {
        essais /= 2;
        ++log2;
    }
    return 100 * static_cast<int>(a_placer) + 10 * chemin.changements_de_hauteur() + log2;
}

t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], const t_resolution &resolution) {
    t_fiche f;
    f.numero = numero;
    f.scene = construire_scene(piece);
    f.chemin = evaluer(f.scene).chemin;
    f.a_placer = resolution.a_placer;
    f.essais = resolution.essais;
    return f;
}

t_empreinte empreinte(const t_fiche &f) {
    t_empreinte e;
    e.numero = f.numero;
    for (int miroir : {0, 1}) {
        e.defi[miroir] = defi(f, miroir != 0);
        e.figures[miroir] = figures(f, miroir != 0);
        e.cellules[miroir] = cellules(f.scene, -1, miroir != 0);
    }
    e.chemin = f.chemin.forme;
    return e;
}

std::vector<std::string> ressemblances(const t_fiche &a, const t_fiche &b) {
    std::vector<std::string> v;
    comparer(empreinte(a), empreinte(b), [&](std::string m) {
        v.push_back(std::move(m));
        return true;
    });
    return v;
}

bool ressemble(const t_empreinte &a, const t_empreinte &b) {
    bool oui = false;
    comparer(a, b, [&](const std::string &) { return !(oui = true); });
    return oui;
}

std::vector<std::string> verifier_courbe(const t_fiche *a, const t_fiche &b) {
    std::vector<std::string> v;
    if (a != nullptr && b.difficulte() < a->difficulte())
        v.push_back("difficulty " + std::to_string(b.difficulte()) + " is below level " +
                    std::to_string(a->numero) + "'s " + std::to_string(a->difficulte()));
    const size_t n = b.a_placer.size();
    if (b.numero >= 1 && b.numero <= 3 && n != 1)
        v.push_back(std::to_string(n) + " pieces to place: levels 1 to 3 have one");
    if (b.numero > NB_NIVEAUX - 12 && n < 3)
        v.push_back(std::to_string(n) + " piece" + (n == 1 ? "" : "s") +
                    " to place: the last twelve levels have three or more");
    return v;
}

bool escalier_au_debut(const t_fiche *niveau1, const t_fiche *niveau2) {
    return (niveau1 != nullptr && est_escalier_a_placer(*niveau1)) ||
           (niveau2 != nullptr && est_escalier_a_placer(*niveau2));
}
