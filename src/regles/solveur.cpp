// solveur.cpp: a depth-first search over the poses of the pieces to place, with every full
// placement judged by the same evaluer() that the checker uses.
#include "regles/solveur.h"

#include <algorithm>

namespace {

// The poses of one kind of piece, each set of cells once.
std::vector<t_pose> poses_possibles(int id) {
    std::vector<t_pose> poses;
    const int premiere = est_escalier(id) ? 1 : 0,
              derniere = est_escalier(id) ? NB_ORIENTATIONS : 0;
    for (int rotation = premiere; rotation <= derniere; ++rotation) {
        const t_forme &f = *forme_de(id, rotation);
        for (int r = 0; r + f.hauteur <= PLATEAU_HAUTEUR; ++r)
            for (int c = 0; c + f.largeur <= PLATEAU_LARGEUR; ++c) {
                const t_pose p = {id, c + PLATEAU_COLONNE, r, rotation,
                                  cellules(id, {c + PLATEAU_COLONNE, r, rotation})};
                if (std::none_of(poses.begin(), poses.end(),
                                 [&](const t_pose &q) { return q.masque == p.masque; }))
                    poses.push_back(p);
            }
    }
    return poses;
}

struct t_recherche {
    t_scene scene;
    std::vector<std::vector<t_pose>> poses; // per piece to place
    uint64_t interdit = 0;                  // cells that are taken, or that would load a figure
    int limite = 0;
    bool leurres = false; // keep the decoys rather than the solutions
    t_resolution r;
    std::vector<t_pose> courante;

    void chercher(size_t i, size_t premier) {
        if (static_cast<int>(r.solutions.size()) >= limite) return;
        if (i == poses.size()) {
            const bool gardee =
                leurres ? evaluer(scene, false).echec == E_AUCUN && evaluer(scene).echec != E_AUCUN
                        : evaluer(scene).echec == E_AUCUN;
            if (gardee) r.solutions.push_back(courante);
            return;
        }
        const int id = r.a_placer[i];
        // The second of two interchangeable pieces takes only poses after the first's.
        const bool apres = i > 0 && sorte(r.a_placer[i - 1]) == sorte(id);
        for (size_t j = apres ? premier + 1 : 0; j < poses[i].size(); ++j) {
            const t_pose &p = poses[i][j];
            if (p.masque & interdit) continue;
            ++r.essais;
            scene.poser(id, forme_de(id, p.rotation), p.colonne - PLATEAU_COLONNE, p.ligne);
            interdit |= p.masque;
            courante[i] = p;
            courante[i].id = id;
            chercher(i + 1, j);
            interdit &= ~p.masque;
            scene.enlever(id);
        }
    }
};

t_resolution chercher(const t_piecer piece[NB_PIECES], int limite, bool leurres) {
    static const std::vector<t_pose> cube = poses_possibles(ID_CUBE),
                                     petit = poses_possibles(ID_PETIT_ESCALIER_1),
                                     grand = poses_possibles(ID_GRAND_ESCALIER);
    t_recherche rech;
    rech.limite = limite;
    rech.leurres = leurres;
    rech.scene = construire_scene(piece);
    const t_scene &s = rech.scene;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!s.en_jeu[k]) continue;
        if (!est_a_placer(piece[k])) {
            rech.interdit |= cellules(k, place_de(piece[k]));
            // Nothing may rest on a figure.
            if (est_figure(k) && s.ligne[k] + 2 < PLATEAU_HAUTEUR)
                rech.interdit |= uint64_t(1) << (6 * (s.ligne[k] + 2) + s.colonne[k]);
            continue;
        }
        rech.r.a_placer.push_back(k);
        rech.poses.push_back(k == ID_CUBE ? cube : k == ID_GRAND_ESCALIER ? grand : petit);
    }
    for (int k : rech.r.a_placer) rech.scene.enlever(k);
    rech.courante.resize(rech.poses.size());
    rech.chercher(0, 0);
    return rech.r;
}

} // namespace

t_resolution resoudre(const t_piecer piece[NB_PIECES], int limite) {
    return chercher(piece, limite, false);
}

t_resolution chercher_leurres(const t_piecer piece[NB_PIECES]) {
    return chercher(piece, 1 << 30, true);
}

std::vector<t_pose> poses_du_niveau(const t_piecer piece[NB_PIECES]) {
    std::vector<t_pose> v;
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = piece[k];
        if (!est_a_placer(p)) continue;
        v.push_back({k, p.colonne, p.ligne, p.rotation, cellules(k, place_de(p))});
    }
    return v;
}

bool meme_facon(const std::vector<t_pose> &a, const std::vector<t_pose> &b) {
    const auto cles = [](const std::vector<t_pose> &v) {
        std::vector<std::pair<int, uint64_t>> c;
        for (const t_pose &p : v) c.emplace_back(sorte(p.id), p.masque);
        std::sort(c.begin(), c.end());
        return c;
    };
    return cles(a) == cles(b);
}
