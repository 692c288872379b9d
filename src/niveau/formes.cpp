// formes.cpp: the shapes of the pieces and of the six staircase orientations.
#include "niveau/formes.h"

#include "niveau/pieces.h"

#include <array>

namespace {

t_forme forme(std::vector<std::string> lignes) {
    t_forme f;
    f.hauteur = static_cast<int>(lignes.size());
    f.largeur = static_cast<int>(lignes[0].size());
    f.lignes = std::move(lignes);
    return f;
}

t_forme miroir(const t_forme &f) {
    t_forme m = f;
    for (std::string &l : m.lignes) l.assign(l.rbegin(), l.rend());
    return m;
}

// A quarter turn clockwise: the right side goes down.
t_forme quart_horaire(const t_forme &f) {
    std::vector<std::string> l(static_cast<size_t>(f.largeur), std::string(f.hauteur, '.'));
    for (int c = 0; c < f.largeur; ++c)
        for (int r = 0; r < f.hauteur; ++r)
            if (f.pleine(c, r)) l[static_cast<size_t>(c)][static_cast<size_t>(r)] = '#';
    return forme(l);
}

t_forme quart_antihoraire(const t_forme &f) {
    return miroir(quart_horaire(miroir(f)));
}

// Upright and facing left: the steps face left and rise to the right, the back on the right.
// Facing right is its mirror image; lying on its right side is a quarter turn clockwise of the
// upright piece, lying on its left side a quarter turn the other way.
std::array<t_forme, NB_ORIENTATIONS + 1> orientations(const t_forme &debout_gauche) {
    const t_forme debout_droite = miroir(debout_gauche);
    std::array<t_forme, NB_ORIENTATIONS + 1> o;
    o[DEBOUT_GAUCHE] = debout_gauche;
    o[DEBOUT_DROITE] = debout_droite;
    o[DROITE_GAUCHE] = quart_horaire(debout_gauche);
    o[DROITE_DROITE] = quart_horaire(debout_droite);
    o[GAUCHE_GAUCHE] = quart_antihoraire(debout_gauche);
    o[GAUCHE_DROITE] = quart_antihoraire(debout_droite);
    return o;
}

const t_forme figure = forme({"#", "#"});
const t_forme cube = forme({"#"});
const t_forme cube_a_appendice = forme({"##"});
const t_forme tour_ = forme({"#", "#", "#"});
const auto petit = orientations(forme({".#", "##"}));
const auto grand = orientations(forme({"..#", ".##", "###"}));

const char *const noms_orientations[NB_ORIENTATIONS + 1] = {"",
                                                            "debout_gauche",
                                                            "debout_droite",
                                                            "droite_gauche",
                                                            "droite_droite",
                                                            "gauche_gauche",
                                                            "gauche_droite"};

} // namespace

const t_forme *forme_de(int id, int rotation) {
    switch (id) {
    case ID_CHEVALIER:
    case ID_PRINCESSE:
        return &figure;
    case ID_CUBE:
        return &cube;
    case ID_CUBE_AVEC_APPENDICE_1:
    case ID_CUBE_AVEC_APPENDICE_2:
        return &cube_a_appendice;
    case ID_TOUR_1:
    case ID_TOUR_2:
        return &tour_;
    default:
        break;
    }
    if (!est_escalier(id) || rotation < 1 || rotation > NB_ORIENTATIONS) return nullptr;
    return id == ID_GRAND_ESCALIER ? &grand[static_cast<size_t>(rotation)]
                                   : &petit[static_cast<size_t>(rotation)];
}

int orientation_distincte(int rotation) {
    return rotation == DROITE_GAUCHE   ? DEBOUT_DROITE
           : rotation == GAUCHE_DROITE ? DEBOUT_GAUCHE
                                       : rotation;
}

t_cote base_de(int rotation) {
    if (rotation == DROITE_GAUCHE || rotation == DROITE_DROITE) return COTE_GAUCHE;
    if (rotation == GAUCHE_GAUCHE || rotation == GAUCHE_DROITE) return COTE_DROIT;
    return COTE_BAS;
}

std::string fichier_image(int id, int rotation) {
    switch (id) {
    case ID_CUBE:
        return "img_cube_simple.bmp";
    case ID_CUBE_AVEC_APPENDICE_1:
    case ID_CUBE_AVEC_APPENDICE_2:
        return "img_cube_avec_apendice.bmp";
    case ID_TOUR_1:
    case ID_TOUR_2:
        return "img_tour.bmp";
    default:
        break;
    }
    if (!est_escalier(id) || rotation < 1 || rotation > NB_ORIENTATIONS) return "";
    return std::string(id == ID_GRAND_ESCALIER ? "img_grand_escalier_" : "img_petit_escalier_") +
           noms_orientations[rotation] + ".bmp";
}
