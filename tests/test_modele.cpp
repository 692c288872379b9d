// test_modele.cpp: the reset of the game record, against the values it is documented to give.
#include "aide.h"
#include "jeu/modele.h"

#include <cstring>

namespace {

TEST(Init, RemetLeJeuALEtatDeDepartEtRienDAutre) {
    struct t_attendu {
        const char *nom;
        int piece_de_depart, rotation, rotation_possible;
    };
    const t_attendu attendus[NB_PIECES] = {{"CHEVALIER", 1, 0, 0},
                                           {"PRINCESSE", 1, 0, 0},
                                           {"CUBE", 0, 0, 0},
                                           {"CUBE_AVEC_APENDICE_1", 1, 0, 0},
                                           {"CUBE_AVEC_APENDICE_2", 1, 0, 0},
                                           {"TOUR_1", 1, 0, 0},
                                           {"TOUR_2", 1, 0, 0},
                                           {"PETIT_ESCALIER_1", 0, DEBOUT_GAUCHE, 1},
                                           {"PETIT_ESCALIER_2", 0, DEBOUT_GAUCHE, 1},
                                           {"GRAND_ESCALIER", 0, DEBOUT_GAUCHE, 1}};
    remettre_etat();
    pieces[3].rotation = 4;
    niveau = 7;
    std::memset(&jeu, 0x5a, sizeof jeu);
    init();
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = jeu.piece[k];
        const t_attendu &a = attendus[k];
        EXPECT_EQ(p.id, k);
        EXPECT_STREQ(p.nom, a.nom);
        EXPECT_EQ(p.piece_de_depart, a.piece_de_depart) << k;
        EXPECT_EQ(p.rotation, a.rotation) << k;
        EXPECT_EQ(p.rotation_possible, a.rotation_possible) << k;
        EXPECT_EQ(p.dans_le_jeu, 0);
        for (int v : {p.colonne, p.ligne, p.largeur, p.hauteur, p.piece_solution}) EXPECT_EQ(v, -1);
    }
    EXPECT_EQ(jeu.niveau, 0);
    EXPECT_EQ(jeu.etat_jeu, ETAT_JEU_CHOIX_PIECE);
    for (const auto &rang : jeu.matrice_etat)
        for (int c : rang) EXPECT_EQ(c, M_VIDE);
    const t_action a = jeu.action;
    for (int v : {a.choix_piece, a.choix_rotation, a.choix_position_colonne, a.choix_mode_de_jeu,
                  a.choix_enlever_ou_ajouter_piece})
        EXPECT_EQ(v, -1);
    // The game record only: the handling state and the level stay as they were.
    EXPECT_EQ(pieces[3].rotation, 4);
    EXPECT_EQ(niveau, 7);
    remettre_etat();
}

} // namespace
