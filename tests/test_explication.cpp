// test_explication.cpp: what a failing verdict teaches: a hand holding a piece, the balance
// judged before the walk, the piece that tips and its side on every decoy of the shipped
// levels, and where the knight stops when he finds no walk.
#include "defi/defi.h"
#include "niveau/lecture.h"
#include "regles/equilibre.h"
#include "regles/explication.h"
#include "regles/solveur.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

// A scene of these pieces, each at a board column and row in an orientation.
struct t_pose_essai {
    int id, c, r, rotation;
};

t_scene poser(const std::vector<t_pose_essai> &poses) {
    t_scene s;
    for (const t_pose_essai &p : poses) s.poser(p.id, forme_de(p.id, p.rotation), p.c, p.r);
    return s;
}

bool bit(uint64_t m, int c, int h) {
    return (m >> (6 * h + c) & 1U) != 0;
}

// Whether piece k, held, lets the rest stand with the knight off it and, when the knight has a
// walk with the balance aside, lets him walk it: what the piece named must do.
bool tenue_suffit(const t_scene &s, int k) {
    return tient_debout(s, -1, 0, k) &&
           (evaluer(s, false).echec != E_AUCUN || evaluer(s, true, k).echec == E_AUCUN);
}

} // namespace

// The cube with an appendix (A) on the cube (c), its weight over the cube's right edge; a tower
// (T) on its left end holds it, until the knight (K) stands on the appendix:
//   . .      T .      T K
//   A A      A A      A A
//   c .      c .      c .
TEST(Explication, UneMainTientUnePiece) {
    t_scene bord = poser({{ID_CUBE, 0, 0, 0}, {ID_CUBE_AVEC_APPENDICE_1, 0, 1, 0}});
    EXPECT_FALSE(tient_debout(bord, -1, 0));
    EXPECT_TRUE(tient_debout(bord, -1, 0, ID_CUBE_AVEC_APPENDICE_1));
    // Held, the cube still carries the appendix's piece only along its face: no help.
    EXPECT_FALSE(tient_debout(bord, -1, 0, ID_CUBE));
    t_scene tour = bord;
    tour.poser(ID_TOUR_1, forme_de(ID_TOUR_1, 0), 0, 2);
    EXPECT_TRUE(tient_debout(tour, -1, 0));
    EXPECT_FALSE(tient_debout(tour, 1, 2));
    EXPECT_TRUE(tient_debout(tour, 1, 2, ID_CUBE_AVEC_APPENDICE_1));
    EXPECT_FALSE(tient_debout(tour, 1, 2, ID_CUBE));
    // A piece held with nothing else to balance: nothing for the solver, and it stands.
    EXPECT_TRUE(tient_debout(poser({{ID_CUBE, 2, 3, 0}}), -1, 0, ID_CUBE));
}

// The same stack with the figures on the ground, the princess within a step: the stack alone
// tips, so the verdict is the balance's, the piece named the one that tips, its side the one
// its weight hangs over; mirrored, the other side. No walk and no stack: still the balance.
TEST(Explication, LEquilibreAvantLeChemin) {
    const auto juger = [](const std::vector<t_pose_essai> &poses) {
        const t_scene s = poser(poses);
        const t_verdict v = evaluer_en_detail(s);
        EXPECT_EQ(v.echec != E_AUCUN, evaluer(s).echec != E_AUCUN); // the same yes or no
        return std::make_pair(v, expliquer(v, s));
    };
    const auto [droite, dit_droite] = juger({{ID_CUBE, 0, 0, 0},
                                             {ID_CUBE_AVEC_APPENDICE_1, 0, 1, 0},
                                             {ID_PRINCESSE, 3, 0, 0},
                                             {ID_CHEVALIER, 5, 0, 0}});
    EXPECT_EQ(droite.echec, E_TOMBE_SEUL);
    EXPECT_EQ(droite.chute.piece, ID_CUBE_AVEC_APPENDICE_1);
    EXPECT_EQ(droite.chute.cote, 1);
    EXPECT_EQ(dit_droite, "le cube à appendice bascule vers la droite");
    EXPECT_EQ(droite.chute.groupe, 1U << ID_CUBE_AVEC_APPENDICE_1);
    EXPECT_EQ(std::make_pair(droite.chute.appui_gauche, droite.chute.appui_droite),
              std::make_pair(1, 9));
    EXPECT_EQ(std::make_pair(droite.chute.centre, droite.chute.appui_ligne), std::make_pair(10, 1));
    EXPECT_EQ(droite.chute.chevalier.c, -1); // the stack alone: he is not counted
    // The big staircase upside down on its tip, a cube on its top: it tips as one with the cube,
    // held up by its tip alone.
    //   c . .
    //   G G G
    //   . G G
    //   . . G
    const auto [pointe, dit_pointe] = juger({{ID_GRAND_ESCALIER, 0, 0, GAUCHE_GAUCHE},
                                             {ID_CUBE, 0, 3, 0},
                                             {ID_PRINCESSE, 5, 0, 0},
                                             {ID_CHEVALIER, 3, 0, 0}});
    EXPECT_EQ(dit_pointe, "le grand escalier bascule vers la gauche");
    EXPECT_EQ(pointe.chute.groupe, 1U << ID_GRAND_ESCALIER | 1U << ID_CUBE);
    EXPECT_EQ(std::make_pair(pointe.chute.appui_gauche, pointe.chute.appui_droite),
              std::make_pair(21, 29));
    EXPECT_EQ(std::make_pair(pointe.chute.centre, pointe.chute.appui_ligne),
              std::make_pair(16, 0)); // (6 cells' 110 + the cube's 5) / 7
    const auto [gauche, dit_gauche] = juger({{ID_CUBE, 5, 0, 0},
                                             {ID_CUBE_AVEC_APPENDICE_1, 4, 1, 0},
                                             {ID_PRINCESSE, 2, 0, 0},
                                             {ID_CHEVALIER, 0, 0, 0}});
    EXPECT_EQ(gauche.chute.cote, -1);
    EXPECT_EQ(dit_gauche, "le cube à appendice bascule vers la gauche");
    // The knight walled in at the left, the stack tipping at the right: the balance first.
    const auto [mure, dit_mure] = juger({{ID_CUBE, 4, 0, 0},
                                         {ID_CUBE_AVEC_APPENDICE_1, 4, 1, 0},
                                         {ID_TOUR_1, 1, 0, 0},
                                         {ID_PRINCESSE, 3, 0, 0},
                                         {ID_CHEVALIER, 0, 0, 0}});
    EXPECT_EQ(evaluer(poser({{ID_CUBE, 4, 0, 0},
                             {ID_CUBE_AVEC_APPENDICE_1, 4, 1, 0},
                             {ID_TOUR_1, 1, 0, 0},
                             {ID_PRINCESSE, 3, 0, 0},
                             {ID_CHEVALIER, 0, 0, 0}}))
                  .echec,
              E_SANS_CHEMIN);
    EXPECT_EQ(mure.echec, E_TOMBE_SEUL);
    EXPECT_EQ(dit_mure, "le cube à appendice bascule vers la droite");
}

// Every decoy of the 48 levels: a placement where every piece rests and the knight reaches the
// princess with the balance aside, but which does not stand. Each gets a verdict of balance;
// the piece named, held, lets the rest stand and the knight walk, and no piece lower (then
// further left) does; the whole stack is blamed only where no single piece held would do.
TEST(Explication, ChaqueLeurreNommeSaPiece) {
    std::map<std::string, int> compte;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        t_piecer piece[NB_PIECES];
        init_pieces(piece);
        const std::string nom =
            std::string(DOSSIER_DONNEES) + "/solution" + std::to_string(n) + ".xml";
        ASSERT_TRUE(lire_niveau(nom.c_str(), piece)) << nom;
        for (const std::vector<t_pose> &leurre : chercher_leurres(piece).solutions) {
            t_piecer essai[NB_PIECES];
            std::copy(piece, piece + NB_PIECES, essai);
            for (const t_pose &p : leurre)
                std::tie(essai[p.id].colonne, essai[p.id].ligne, essai[p.id].rotation) =
                    std::make_tuple(p.colonne, p.ligne, p.rotation);
            const t_scene s = construire_scene(essai);
            ASSERT_EQ(evaluer(s, false).echec, E_AUCUN);
            const t_verdict v = evaluer_en_detail(s);
            const std::string dit = expliquer(v, s);
            SCOPED_TRACE("niveau " + std::to_string(n) + " : " + dit);
            ASSERT_TRUE(v.echec == E_TOMBE_SEUL || v.echec == E_TOMBE_AU_DEPART ||
                        v.echec == E_TOMBE);
            std::vector<int> tenables;
            for (int k = 0; k < NB_PIECES; ++k)
                if (s.en_jeu[k] && !est_figure(k) && tenue_suffit(s, k)) tenables.push_back(k);
            if (v.chute.piece < 0) {
                EXPECT_TRUE(tenables.empty());
                EXPECT_EQ(dit.rfind("l'empilement bascule", 0), 0U);
                ++compte["l'empilement"];
                continue;
            }
            const int k = v.chute.piece;
            EXPECT_TRUE(tenue_suffit(s, k));
            for (int j : tenables)
                EXPECT_LE(std::make_pair(s.ligne[k], s.colonne[k]),
                          std::make_pair(s.ligne[j], s.colonne[j]));
            const std::string cote = v.chute.cote < 0 ? "gauche" : "droite";
            const std::string qui = std::string(nom_commun(k)) + " bascule vers la " + cote;
            std::string attendu = qui;
            if (v.echec == E_TOMBE_AU_DEPART) attendu += " sous le chevalier, dès son départ";
            if (v.echec == E_TOMBE)
                attendu += std::string(" quand le chevalier passe sur ") +
                           nom_commun(s.cases[v.bascule.c][v.bascule.h - 1]);
            EXPECT_EQ(dit, attendu);
            EXPECT_TRUE(v.chute.groupe >> k & 1U);
            // Counted with the knight where he stands as it tips, and only then.
            const t_lieu depart = {s.colonne[ID_CHEVALIER], s.ligne[ID_CHEVALIER]};
            const t_lieu la = v.echec == E_TOMBE_SEUL        ? t_lieu{-1, 0}
                              : v.echec == E_TOMBE_AU_DEPART ? depart
                                                             : v.bascule;
            EXPECT_EQ(v.chute.chevalier, la);
            ++compte[cote];
        }
    }
    // Counted on the levels as shipped, to be counted again with them: 207 decoys, one piece
    // held enough for 147.
    EXPECT_EQ(compte["gauche"] + compte["droite"] + compte["l'empilement"], 207);
    EXPECT_EQ(compte["gauche"], 67);
    EXPECT_EQ(compte["droite"], 80);
}

// A small staircase under the big one, which rests mostly on the tower (a decoy of an earlier
// level 41): what loads the small staircase is its own weight and the knight's, left of its
// support, so it falls to the left, though the big staircase's weight lies to the right of it.
//   . . . . . G
//   . . . . G G
//   . . K G G G
//   P . K s T .
//   P . s s T .
//   A A . c T .
TEST(Explication, UnePiecePorteeAilleursNeFaitPasLeCote) {
    const t_scene s = poser({{ID_CHEVALIER, 2, 2, 0},
                             {ID_PRINCESSE, 0, 1, 0},
                             {ID_CUBE_AVEC_APPENDICE_2, 0, 0, 0},
                             {ID_CUBE, 3, 0, 0},
                             {ID_TOUR_2, 4, 0, 0},
                             {ID_PETIT_ESCALIER_2, 2, 1, 1},
                             {ID_GRAND_ESCALIER, 3, 3, 1}});
    const t_verdict v = evaluer_en_detail(s);
    EXPECT_EQ(expliquer(v, s),
              "le petit escalier bascule vers la gauche sous le chevalier, dès son "
              "départ");
    EXPECT_FALSE(v.chute.groupe >> ID_GRAND_ESCALIER & 1U); // carried by the tower too
}

// Where the knight stops, looking toward the princess: a wall too high to climb (a tower), a
// ceiling too low (an appendix over his way, held by a tower on its other end), a step down
// and a drop, a figure where he would stand.
TEST(Explication, OuLeChevalierSArrete) {
    const t_impasse mur = explorer_impasse(
        poser({{ID_TOUR_1, 2, 0, 0}, {ID_PRINCESSE, 2, 3, 0}, {ID_CHEVALIER, 0, 0, 0}}));
    EXPECT_EQ(mur.obstacle, O_MARCHE_HAUTE);
    EXPECT_EQ(std::make_pair(mur.dernier.c, mur.dernier.h), std::make_pair(1, 0));
    EXPECT_EQ(mur.sens, 1);
    EXPECT_TRUE(bit(mur.atteints, 0, 0) && bit(mur.atteints, 1, 0));
    EXPECT_FALSE(bit(mur.atteints, 3, 0));

    const t_scene bas = poser({{ID_CUBE, 3, 0, 0},
                               {ID_CUBE_AVEC_APPENDICE_1, 2, 1, 0},
                               {ID_TOUR_1, 3, 2, 0},
                               {ID_PRINCESSE, 5, 0, 0},
                               {ID_CHEVALIER, 0, 0, 0}});
    ASSERT_EQ(evaluer_en_detail(bas).echec, E_SANS_CHEMIN); // it stands
    const t_impasse plafond = evaluer_en_detail(bas).impasse;
    EXPECT_EQ(plafond.obstacle, O_SANS_PLACE);
    EXPECT_EQ(std::make_pair(plafond.dernier.c, plafond.dernier.h), std::make_pair(1, 0));
    EXPECT_EQ(expliquer_impasse(plafond), "pas deux cases libres pour passer");

    // Down: a row lower would take a staircase's step; two rows, nothing would.
    const t_impasse marche = explorer_impasse(
        poser({{ID_CUBE, 0, 0, 0}, {ID_PRINCESSE, 3, 0, 0}, {ID_CHEVALIER, 0, 1, 0}}));
    EXPECT_EQ(marche.obstacle, O_MARCHE_HAUTE);
    const t_impasse vide = explorer_impasse(
        poser({{ID_TOUR_1, 0, 0, 0}, {ID_PRINCESSE, 3, 0, 0}, {ID_CHEVALIER, 0, 3, 0}}));
    EXPECT_EQ(vide.obstacle, O_SANS_APPUI);
    EXPECT_EQ(vide.atteints, uint64_t(1) << (6 * 3 + 0)); // his start alone

    const t_impasse figure = explorer_impasse(
        poser({{ID_TOUR_1, 4, 0, 0}, {ID_PRINCESSE, 3, 0, 0}, {ID_CHEVALIER, 4, 3, 0}}));
    EXPECT_EQ(figure.obstacle, O_SANS_APPUI);
    EXPECT_EQ(figure.sens, -1);
    EXPECT_EQ(expliquer_impasse(figure), "rien où poser les pieds");
}
