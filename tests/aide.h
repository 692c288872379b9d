// aide.h: what the tests share: start values of the shared state and a scratch directory.
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

// A level file naming all ten pieces with all six fields, as the shipped ones do; the values
// differ from piece to piece and follow from graine.
std::string niveau_complet(int graine);

// Runs each test in a fresh empty working directory with the start state.
class DansDossier : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

  private:
    std::string ancien_;
    std::string dossier_;
};
