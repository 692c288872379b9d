// aide.h: what the tests share: start values of the shared state, a scratch directory, and
// reading a surface's pixels.
#pragma once

#include "jeu/jeu.h"

#include <gtest/gtest.h>
#include <string>

// Puts every variable that the event handlers and the reader change back to its start value.
void remettre_etat();

// Writes text into the file nom of the current directory.
void ecrire_fichier(const std::string &nom, const std::string &texte);

// Whole text of the file nom, or "<absent>" when it cannot be read.
std::string lire_fichier(const std::string &nom);

// A made challenge's pieces in play and their places, as one text, to compare two.
std::string cle_du_defi(const t_piecer piece[NB_PIECES]);

// The colour of one pixel of a surface, as (r, g, b) packed in 0xRRGGBB.
Uint32 couleur(SDL_Surface *s, int x, int y);

constexpr Uint32 VERT_FOND = 0x11ce70; // (17, 206, 112)
constexpr Uint32 VERT_PUR = 0x00ff00;
constexpr Uint32 ROSE = 0xff64ff; // princess tile
constexpr Uint32 BLEU = 0x0000ff; // knight tile

// Runs each test in a fresh empty working directory with the start state.
class DansDossier : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::string ancien_;
    std::string dossier_;
};
