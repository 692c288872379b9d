// test_depart.cpp: the shared variables' start values, as the program finds them before any
// code runs; a process of its own, since every other test changes them.
#include "jeu/jeu.h"

#include <gtest/gtest.h>

namespace {

TEST(Depart, ValeursDesVariablesPartagees) {
    EXPECT_EQ(SCREEN_WIDTH, 1500);
    EXPECT_EQ(SCREEN_HEIGHT, 750);
    EXPECT_EQ(taille_cube, 100);
    EXPECT_EQ(niveau, 19);
    EXPECT_EQ(change, 0); // the level latch starts open
    EXPECT_EQ(autoriser_rotation, 1);
    EXPECT_EQ(id_piece_prise, -1);
    EXPECT_EQ(pos_x_sur_grille, -1);
    EXPECT_EQ(pos_y_sur_grille, -1);
    EXPECT_EQ(ecran, nullptr);
    EXPECT_EQ(police, nullptr);
    for (const t_piece &p : pieces) EXPECT_EQ(p.prise, 0);
}

} // namespace
