// partie.h: a run of the challenge mode: the level in play, each level's challenge as the
// player left it, and the progress kept between runs.
#pragma once

#include "defi/defi.h"
#include "defi/progres.h"

#include <string>
#include <vector>

// What the player asks for, whatever the input that asked.
enum t_commande {
    C_PRENDRE,        // the left button pressed on cell (colonne, ligne)
    C_DEPLACER,       // the pointer moved to cell (colonne, ligne)
    C_LACHER,         // the left button released
    C_TOURNER_DROITE, // the held staircase to its next orientation
    C_TOURNER_GAUCHE, // to its previous one
    C_REPOSER,        // the held piece back where it was taken from
    C_RECOMMENCER,    // every piece back in the tray
    C_ANNULER,        // the last change undone
    C_INDICE,         // one piece to its solution place
    C_SOLUTION,       // the whole solution
    C_SUIVANT,        // the next level's challenge
    C_PRECEDENT,      // the previous one
    C_MARCHE          // the knight's next foothold
};

struct t_partie {
    t_defi defis[NB_NIVEAUX + 1]; // by level; a level not yet visited has niveau 0
    int courant = 1;
    t_progres progres;
    bool progres_illisible = false;    // the file exists but could not be read: never replaced
    std::string erreur_progres;        // why the progress could not be saved; empty when it was
    std::vector<std::string> annonces; // lines for standard output, whichever level said them
};

// Reads the progress and opens level n's challenge, or the first level not solved for 0.
void commencer_partie(t_partie &p, int n);

t_defi &defi_courant(t_partie &p);
const t_defi &defi_courant(const t_partie &p);

// Acts on one command; a level solved or whose solution was shown is recorded and saved.
void commander(t_partie &p, t_commande c, int colonne = 0, int ligne = 0);
