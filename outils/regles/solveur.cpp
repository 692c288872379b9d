// solveur.cpp: a depth-first search over the poses of the pieces to place, with every full
// placement judged by the same evaluer() that the checker uses.
#include "solveur.h"

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
                t_pose p;
                p.id = id;
                p.colonne = c + PLATEAU_COLONNE;
                p.ligne = r;
                p.rotation = rotation;
                for (int y = 0; y < f.hauteur; ++y)
                    for (int x = 0; x < f.largeur; ++x)
                        if (f.pleine(x, y)) p.masque |= uint64_t(1) << (6 * (r + y) + c + x);
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
    t_resolution r;
    std::vector<t_pose> courante;

    void chercher(size_t i, size_t premier) {
        if (static_cast<int>(r.solutions.size()) >= limite) return;
        if (i == poses.size()) {
            if (evaluer(scene).echec == E_AUCUN) r.solutions.push_back(courante);
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

uint64_t bit(int c, int r) {
    return c >= 0 && c < PLATEAU_LARGEUR && r >= 0 && r < PLATEAU_HAUTEUR
               ? uint64_t(1) << (6 * r + c)
               : 0;
}

} // namespace

t_resolution resoudre(const t_piecer piece[NB_PIECES], int limite) {
    t_recherche rech;
    rech.limite = limite;
    t_scene complete = construire_scene(piece);
    rech.scene = complete;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!complete.en_jeu[k]) continue;
        if (piece[k].piece_de_depart == OUI) {
            for (int c = 0; c < PLATEAU_LARGEUR; ++c)
                for (int r = 0; r < PLATEAU_HAUTEUR; ++r)
                    if (complete.cases[c][r] == k) rech.interdit |= bit(c, r);
        } else {
            rech.r.a_placer.push_back(k);
            rech.scene.enlever(k);
        }
    }
    // Nothing may rest on a figure.
    for (int k : {ID_CHEVALIER, ID_PRINCESSE})
        if (complete.en_jeu[k]) rech.interdit |= bit(complete.colonne[k], complete.ligne[k] + 2);
    for (int id : rech.r.a_placer) {
        static const std::vector<t_pose> toutes[NB_PIECES] = {{},
                                                              {},
                                                              poses_possibles(ID_CUBE),
                                                              {},
                                                              {},
                                                              {},
                                                              {},
                                                              poses_possibles(ID_PETIT_ESCALIER_1),
                                                              poses_possibles(ID_PETIT_ESCALIER_1),
                                                              poses_possibles(ID_GRAND_ESCALIER)};
        rech.poses.push_back(toutes[sorte(id)]);
    }
    rech.courante.resize(rech.poses.size());
    rech.chercher(0, 0);
    return rech.r;
}

std::vector<t_pose> poses_du_niveau(const t_piecer piece[NB_PIECES]) {
    std::vector<t_pose> v;
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = piece[k];
        if (p.dans_le_jeu != OUI || p.piece_de_depart == OUI) continue;
        t_pose pose;
        pose.id = k;
        pose.colonne = p.colonne;
        pose.ligne = p.ligne;
        pose.rotation = p.rotation;
        const t_forme &f = *forme_de(k, p.rotation);
        for (int y = 0; y < f.hauteur; ++y)
            for (int x = 0; x < f.largeur; ++x)
                if (f.pleine(x, y))
                    pose.masque |= bit(p.colonne - PLATEAU_COLONNE + x, p.ligne + y);
        v.push_back(pose);
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
