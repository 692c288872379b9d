// test_modele.cpp: the reset of the game record.
#include "aide.h"
#include "jeu/modele.h"

#include <cstring>

namespace {

TEST(Init, RemetLeJeuALEtatDeDepart) {
    std::memset(&jeu, 0x5a, sizeof jeu);
    init();
    EXPECT_EQ(jeu.niveau, 0);
    EXPECT_EQ(jeu.etat_jeu, ETAT_JEU_CHOIX_PIECE);
    for (const auto &rang : jeu.matrice_etat)
        for (int c : rang) EXPECT_EQ(c, M_VIDE);
    const t_action a = jeu.action;
    for (int v : {a.choix_piece, a.choix_rotation, a.choix_position_colonne, a.choix_mode_de_jeu,
                  a.choix_enlever_ou_ajouter_piece})
        EXPECT_EQ(v, -1);
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = jeu.piece[k];
        EXPECT_EQ(p.id, k);
        EXPECT_EQ(p.dans_le_jeu, 0);
        for (int v : {p.colonne, p.ligne, p.largeur, p.hauteur, p.piece_solution}) EXPECT_EQ(v, -1);
        const bool escalier = k >= ID_PETIT_ESCALIER_1;
        EXPECT_EQ(p.rotation, escalier ? DEBOUT_GAUCHE : 0) << k;
        EXPECT_EQ(p.rotation_possible, escalier ? 1 : 0) << k;
        EXPECT_EQ(p.piece_de_depart, k == ID_CUBE || escalier ? 0 : 1) << k;
    }
}

TEST(Init, NomsEntiers) {
    init();
    const char *noms[NB_PIECES] = {"CHEVALIER",
                                   "PRINCESSE",
                                   "CUBE",
                                   "CUBE_AVEC_APENDICE_1",
                                   "CUBE_AVEC_APENDICE_2",
                                   "TOUR_1",
                                   "TOUR_2",
                                   "PETIT_ESCALIER_1",
                                   "PETIT_ESCALIER_2",
                                   "GRAND_ESCALIER"};
    for (int k = 0; k < NB_PIECES; ++k) EXPECT_STREQ(jeu.piece[k].nom, noms[k]);
    EXPECT_EQ(std::strlen(jeu.piece[ID_CUBE_AVEC_APPENDICE_2].nom), 20U);
}

TEST(Init, NeToucheQueLeJeu) {
    remettre_etat();
    pieces[3].rotation = 4;
    matrice[2][2] = 9;
    niveau = 7;
    init();
    EXPECT_EQ(pieces[3].rotation, 4);
    EXPECT_EQ(matrice[2][2], 9);
    EXPECT_EQ(niveau, 7);
    remettre_etat();
}

} // namespace
