// plateau.cpp: placement on the board, support, the knight's walk and the verdict on a level.
#include "regles/plateau.h"

#include "regles/equilibre.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

// Drawing order of the viewer, by piece identity.
constexpr int ordre_de_dessin[NB_PIECES] = {ID_PRINCESSE,
                                            ID_CHEVALIER,
                                            ID_CUBE,
                                            ID_CUBE_AVEC_APPENDICE_1,
                                            ID_CUBE_AVEC_APPENDICE_2,
                                            ID_TOUR_1,
                                            ID_TOUR_2,
                                            ID_GRAND_ESCALIER,
                                            ID_PETIT_ESCALIER_1,
                                            ID_PETIT_ESCALIER_2};

bool en_jeu(const t_piecer &p) {
    return p.dans_le_jeu == OUI;
}

// A change of height that a staircase allows, between two footholds in neighbouring columns.
struct t_marche {
    t_lieu a, b;
};

// The walk's ground: where the knight may stand and which steps he may take.
class t_terrain {
  public:
    explicit t_terrain(const t_scene &s) : s_(s) {
        for (int k : {ID_PETIT_ESCALIER_1, ID_PETIT_ESCALIER_2, ID_GRAND_ESCALIER})
            if (s.en_jeu[k]) ajouter_marches(k);
    }

    // Free of every piece but the knight himself, and on the board.
    bool libre(int c, int r) const {
        return sur_plateau(c, r) && (s_.cases[c][r] == -1 || s_.cases[c][r] == ID_CHEVALIER);
    }

    // On the ground or on a solid cell that is not a figure, with both cells of his body free.
    bool appui(t_lieu l) const {
        if (!libre(l.c, l.h) || !libre(l.c, l.h + 1)) return false;
        if (l.h == 0) return true;
        const int dessous = s_.cases[l.c][l.h - 1];
        return dessous != -1 && !est_figure(dessous);
    }

    // Calls f for each foothold one move away, flat moves first.
    template <typename F> void pour_voisins(t_lieu l, F f) const {
        for (int sens : {-1, 1})
            if (appui({l.c + sens, l.h})) f(t_lieu{l.c + sens, l.h});
        for (int i = 0; i < nb_marches_; ++i) {
            const t_marche &m = marches_[size_t(i)];
            if (m.a == l && praticable(m)) f(m.b);
            if (m.b == l && praticable(m)) f(m.a);
        }
    }

  private:
    // Both ends are footholds, and the body has room at the higher level in both columns.
    bool praticable(const t_marche &m) const {
        if (!appui(m.a) || !appui(m.b)) return false;
        const t_lieu &bas = m.a.h < m.b.h ? m.a : m.b;
        return libre(bas.c, bas.h + 2);
    }

    // Steps between neighbouring columns whose tops differ by one, and a foot at an end
    // column one lower than its neighbour inside the box.
    void ajouter_marches(int k) {
        const t_forme &f = *s_.forme[k];
        std::array<int, 8> sommet{};
        for (int j = 0; j < f.largeur; ++j) {
            sommet[j] = -1;
            for (int r = 0; r < f.hauteur; ++r)
                if (f.pleine(j, r)) sommet[j] = s_.ligne[k] + r;
        }
        const int c0 = s_.colonne[k];
        const auto ajouter = [&](t_marche m) { marches_[size_t(nb_marches_++)] = m; };
        for (int j = 0; j + 1 < f.largeur; ++j)
            if (sommet[j] - sommet[j + 1] == 1 || sommet[j + 1] - sommet[j] == 1)
                ajouter({{c0 + j, sommet[j] + 1}, {c0 + j + 1, sommet[j + 1] + 1}});
        const int fin = f.largeur - 1;
        if (sommet[0] == sommet[1] - 1) ajouter({{c0, sommet[0] + 1}, {c0 - 1, sommet[0]}});
        if (sommet[fin] == sommet[fin - 1] - 1)
            ajouter({{c0 + fin, sommet[fin] + 1}, {c0 + fin + 1, sommet[fin]}});
    }

    const t_scene &s_;
    // At most a step between each two columns and a foot at each end, for each staircase.
    std::array<t_marche, 3 * (2 + 3)> marches_{};
    int nb_marches_ = 0;
};

// In a column next to the princess's, at her height: where the knight has arrived.
bool a_cote(t_lieu l, t_lieu princesse) {
    return l.h == princesse.h && (l.c == princesse.c - 1 || l.c == princesse.c + 1);
}

// Breadth-first from the knight's start to a place beside the princess at her height, through
// footholds where `tient` holds; the first way found is a shortest one.
template <typename T>
bool marcher(const t_terrain &terrain, t_lieu depart, t_lieu princesse, T tient, t_chemin &chemin) {
    std::array<std::array<int, PLATEAU_HAUTEUR>, PLATEAU_LARGEUR> venu;
    for (auto &col : venu) col.fill(-2);
    // Each foothold enters the queue once.
    std::array<t_lieu, PLATEAU_LARGEUR * PLATEAU_HAUTEUR> file;
    size_t taille = 0;
    file[taille++] = depart;
    venu[depart.c][depart.h] = -1;
    for (size_t i = 0; i < taille; ++i) {
        const t_lieu l = file[i];
        if (a_cote(l, princesse)) {
            chemin.forme.clear();
            chemin.lieux = {l};
            for (t_lieu m = l; venu[m.c][m.h] != -1;) {
                const t_lieu avant = file[size_t(venu[m.c][m.h])];
                chemin.forme.insert(chemin.forme.begin(),
                                    m.h == avant.h ? '=' : (m.h > avant.h ? '+' : '-'));
                chemin.lieux.insert(chemin.lieux.begin(), avant);
                m = avant;
            }
            return true;
        }
        terrain.pour_voisins(l, [&](t_lieu v) {
            if (venu[v.c][v.h] != -2 || !tient(v)) return;
            venu[v.c][v.h] = int(i);
            file[taille++] = v;
        });
    }
    return false;
}

} // namespace

int t_chemin::changements_de_hauteur() const {
    return pas() - static_cast<int>(std::count(forme.begin(), forme.end(), '='));
}

t_scene construire_scene(const t_piecer piece[NB_PIECES]) {
    t_scene s;
    for (int k = 0; k < NB_PIECES; ++k)
        if (en_jeu(piece[k]))
            s.poser(k, forme_de(k, piece[k].rotation), piece[k].colonne - PLATEAU_COLONNE,
                    piece[k].ligne);
    return s;
}

t_verdict evaluer(const t_scene &s, bool equilibre, int tenue) {
    t_verdict v;
    const auto echouer = [&](t_echec e, int piece, int autre = -1) {
        v.echec = e;
        v.piece = piece;
        v.autre = autre;
        return v;
    };
    // Every piece rests on the ground or on a solid cell of another piece, never on a figure.
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!s.en_jeu[k]) continue;
        bool pose = false;
        int figure = -1;
        pour_cases(s.colonne[k], s.ligne[k], *s.forme[k], [&](int c, int r) {
            const int dessous = r == 0 ? -1 : s.cases[c][r - 1];
            if (dessous == k) return;
            if (dessous != -1 && est_figure(dessous)) figure = dessous;
            if (r == 0 || dessous != -1) pose = true;
        });
        if (figure != -1) return echouer(E_SUR_FIGURE, k, figure);
        if (!pose && k != ID_CHEVALIER) return echouer(E_FLOTTE, k);
    }
    if (!s.en_jeu[ID_CHEVALIER] || !s.en_jeu[ID_PRINCESSE])
        return echouer(E_SANS_CHEMIN, ID_CHEVALIER);

    const t_terrain terrain(s);
    const t_lieu depart = {s.colonne[ID_CHEVALIER], s.ligne[ID_CHEVALIER]};
    const t_lieu princesse = {s.colonne[ID_PRINCESSE], s.ligne[ID_PRINCESSE]};
    if (!terrain.appui(depart)) return echouer(E_SANS_APPUI, ID_CHEVALIER);
    if (a_cote(depart, princesse)) return echouer(E_A_COTE, ID_CHEVALIER);
    if (!marcher(
            terrain, depart, princesse, [](t_lieu) { return true; }, v.chemin))
        return echouer(E_SANS_CHEMIN, ID_CHEVALIER);
    if (!equilibre) return v;

    // The balance, once per foothold: on the ground the knight loads nothing but the ground,
    // so every foothold there shares one answer.
    std::array<std::array<int8_t, PLATEAU_HAUTEUR>, PLATEAU_LARGEUR> debout;
    for (auto &col : debout) col.fill(-1);
    int8_t au_sol = -1;
    const auto tient = [&](t_lieu l) {
        int8_t &t = l.h == 0 ? au_sol : debout[l.c][l.h];
        if (t == -1) t = tient_debout(s, l.c, l.h, tenue) ? 1 : 0;
        return t == 1;
    };
    v.bascule = depart;
    if (!tient(depart)) return echouer(E_TOMBE_AU_DEPART, -1);
    // Where it tips: the first foothold that does not hold along a shortest walk, which stays
    // in v.chemin when the walk through standing footholds fails.
    if (!marcher(terrain, depart, princesse, tient, v.chemin)) {
        v.bascule = *std::find_if_not(v.chemin.lieux.begin(), v.chemin.lieux.end(), tient);
        return echouer(E_TOMBE, ID_CHEVALIER);
    }
    return v;
}

t_impasse explorer_impasse(const t_scene &s) {
    t_impasse im;
    if (!s.en_jeu[ID_CHEVALIER] || !s.en_jeu[ID_PRINCESSE]) return im;
    const t_terrain terrain(s);
    const t_lieu depart = {s.colonne[ID_CHEVALIER], s.ligne[ID_CHEVALIER]};
    const t_lieu princesse = {s.colonne[ID_PRINCESSE], s.ligne[ID_PRINCESSE]};
    if (!terrain.appui(depart)) return im;
    const auto bit = [](t_lieu l) { return uint64_t(1) << (6 * l.h + l.c); };
    const auto distance = [&](t_lieu l) {
        return std::abs(l.c - princesse.c) + std::abs(l.h - princesse.h);
    };
    // Breadth first, so that among footholds as near her, the first reached is kept.
    std::array<t_lieu, PLATEAU_LARGEUR * PLATEAU_HAUTEUR> file;
    size_t taille = 0;
    file[taille++] = depart;
    im.atteints = bit(depart);
    im.dernier = depart;
    for (size_t i = 0; i < taille; ++i) {
        if (distance(file[i]) < distance(im.dernier)) im.dernier = file[i];
        terrain.pour_voisins(file[i], [&](t_lieu v) {
            if (im.atteints & bit(v)) return;
            im.atteints |= bit(v);
            file[taille++] = v;
        });
    }
    const t_lieu l = im.dernier;
    im.sens = princesse.c < l.c ? -1 : 1;
    const int n = l.c + im.sens;
    const auto solide = [&](int c, int r) { return r < 0 || !terrain.libre(c, r); };
    if (n < 0 || n >= PLATEAU_LARGEUR) {
        im.obstacle = O_SANS_APPUI;
    } else if (terrain.libre(n, l.h) && terrain.libre(n, l.h + 1)) {
        // Not a foothold though free: what lies below is a drop, or a figure.
        int r = l.h - 1;
        while (!solide(n, r)) --r;
        // A row lower is a step down a staircase would take; lower still, or on a figure,
        // there is nowhere to land.
        const bool marche = r == l.h - 2 && (r < 0 || !est_figure(s.cases[n][r]));
        im.obstacle = marche ? O_MARCHE_HAUTE : O_SANS_APPUI;
    } else if (!terrain.libre(n, l.h)) {
        int haut = l.h;
        while (solide(n, haut) && sur_plateau(n, haut)) ++haut;
        // One row up with room would be a step, were there a staircase's there.
        const bool place =
            terrain.libre(n, haut) && terrain.libre(n, haut + 1) && terrain.libre(l.c, haut + 1);
        im.obstacle = haut == l.h + 1 && !place ? O_SANS_PLACE : O_MARCHE_HAUTE;
    } else {
        im.obstacle = O_SANS_PLACE;
    }
    return im;
}

std::vector<t_faute> verifier_pose(const t_piecer piece[NB_PIECES], const t_peintures &peintures) {
    std::vector<t_faute> fautes;
    const auto signaler = [&](t_defaut d, int k, int autre = -1, t_lieu l = {}) {
        t_faute f;
        f.defaut = d;
        f.piece = k;
        f.autre = autre;
        f.cellule = l;
        fautes.push_back(f);
    };
    for (int k : {ID_CHEVALIER, ID_PRINCESSE})
        if (!en_jeu(piece[k])) signaler(D_FIGURE_ABSENTE, k);
    if (!fautes.empty()) return fautes;

    // The board.
    for (int k = 0; k < NB_PIECES; ++k)
        if (en_jeu(piece[k]) && !sur_le_plateau(k, place_de(piece[k]))) signaler(D_HORS_PLATEAU, k);
    if (!fautes.empty()) return fautes;

    // Shared cells, and what each image paints over, in the viewer's drawing order.
    t_scene pleines;
    for (int k : ordre_de_dessin) {
        if (!en_jeu(piece[k])) continue;
        const t_forme &f = *forme_de(k, piece[k].rotation);
        const int c0 = piece[k].colonne - PLATEAU_COLONNE, r0 = piece[k].ligne;
        pour_cases(c0, r0, *peintures[k], [&](int c, int r) {
            const int dessous = pleines.cases[c][r];
            if (dessous != -1 && !f.pleine(c - c0, r - r0))
                signaler(D_PEINT_SUR, k, dessous, {c, r});
        });
        pour_cases(c0, r0, f, [&](int c, int r) {
            if (pleines.cases[c][r] != -1)
                signaler(D_CASE_PARTAGEE, k, pleines.cases[c][r], {c, r});
            else
                pleines.cases[c][r] = int8_t(k);
        });
    }
    return fautes;
}

t_peintures peintures_des_formes(const t_piecer piece[NB_PIECES]) {
    t_peintures peintures(NB_PIECES, nullptr);
    for (int k = 0; k < NB_PIECES; ++k)
        if (en_jeu(piece[k])) peintures[size_t(k)] = forme_de(k, piece[k].rotation);
    return peintures;
}

bool pose_saine(const t_piecer piece[NB_PIECES]) {
    const t_peintures peintures = peintures_des_formes(piece);
    for (int k = 0; k < NB_PIECES; ++k)
        if (en_jeu(piece[k]) && peintures[size_t(k)] == nullptr) return false;
    return verifier_pose(piece, peintures).empty();
}

std::vector<t_faute> verifier_placement(const t_piecer piece[NB_PIECES],
                                        const t_peintures &peintures, bool &pose) {
    std::vector<t_faute> fautes = verifier_pose(piece, peintures);
    pose = fautes.empty();
    if (!pose) return fautes;

    t_scene scene = construire_scene(piece);
    const t_verdict v = evaluer(scene);
    if (v.echec != E_AUCUN) {
        t_faute f;
        f.echec = v.echec;
        f.piece = v.piece;
        f.autre = v.autre;
        return {f};
    }

    // Every piece counts: without any one of them, the level must break.
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!scene.en_jeu[k] || est_figure(k)) continue;
        t_scene sans = scene;
        sans.enlever(k);
        if (evaluer(sans).echec == E_AUCUN) {
            t_faute f;
            f.defaut = D_INUTILE;
            f.piece = k;
            fautes.push_back(f);
        }
    }
    return fautes;
}
