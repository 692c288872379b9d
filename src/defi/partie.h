// partie.h: a run of the challenge mode: the level in play, each level's challenge as the
// player left it, and the progress kept between runs.
#pragma once

#include "defi/defi.h"
#include "defi/progres.h"
#include "regles/generateur.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
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
    C_MARCHE,         // the knight's next foothold
    C_NOUVEAU,        // a challenge made from a new seed
    C_PIECES,         // `colonne` pieces to place (1 to 4) in the challenges made from now on,
                      // and a challenge made with them
    C_CARTE,          // the map of the challenges, the one in play chosen on it
    C_CHOISIR,        // on the map, the choice moved `colonne` places (a row is CARTE_LARGEUR)
    C_OUVRIR,         // on the map, place `colonne` opened (1 to 48, or CARTE_ALEATOIRE; 0:
                      // the one chosen)
    C_REGLES,         // the rules screen shown, or closed when it is
    C_TOURNER_ICI     // staircase `colonne` (its identity) turned where it stands, to its next
                      // orientation for `ligne` +1, its previous for -1
};

// The map's places: the 48 levels, then a random challenge, CARTE_LARGEUR to a row.
constexpr int CARTE_ALEATOIRE = NB_NIVEAUX + 1;
constexpr int CARTE_LARGEUR = 7;

// A challenge being made on threads of its own, from the first of its seeds that makes one
// unlike every one played in this run (the last seed's when none does).
struct t_atelier {
    std::vector<uint32_t> graines;
    size_t essayees = 0;           // the seeds tried so far
    std::vector<t_empreinte> deja; // the challenges already made, as the comparisons see them
    int pieces = 0;
    uint32_t graine = 0; // the seed being tried, then the one that made it
    t_fabrication suivi; // gone before its threads, it stops and waits for them
};

// The knight's footholds as he walks, three a second; then the celebration of a solve, which
// any key or click ends sooner.
constexpr uint32_t PAS_MS = 333;
constexpr uint32_t FETE_MS = 2000;
// The piece that tips leaning over and back, on a verdict of balance.
constexpr uint32_t CHUTE_MS = 850;

struct t_partie {
    // By level, a level not yet visited having niveau 0; the challenge made on demand is
    // defis[0], in play when courant is 0.
    t_defi defis[NB_NIVEAUX + 1];
    int courant = 1;
    int niveau_quitte = 1;              // the level to go back to from a made challenge
    int pieces_voulues = 2;             // pieces to place in the challenges made on demand,
                                        // as last chosen (two before any choice)
    t_hasard hasard{1};                 // where the seeds come from: seeded once by the caller
    t_piecer depart[NB_PIECES] = {};    // the pieces as the reset leaves them
    std::unique_ptr<t_atelier> atelier; // the challenge being made, if any
    // The next challenge asked for, made in the background while the player plays, from the
    // seeds his next N draws (preparer_suivant()); N takes it.
    std::unique_ptr<t_atelier> prochain;
    // The challenges made in this run, as the comparisons see them (empreinte_du_defi()).
    std::vector<t_empreinte> defis_faits;
    t_progres progres;
    bool progres_illisible = false;    // the file exists but could not be read: never replaced
    std::string erreur_progres;        // why the progress could not be saved; empty when it was
    std::vector<std::string> annonces; // lines for standard output, whichever level said them
    // Called from a making's own thread once it has ended, to wake the loop that follows it.
    std::function<void()> signaler_fabrication;
    // The threads a making runs on (lancer_fabrication()): with SANS_FILS, the loop draws its
    // stacks with avancer_fabrication() and then calls suivre_fabrication().
    unsigned fils = 0;
    uint32_t prochain_pas = 0; // when the knight's next foothold is due, 0 while he stands
    uint32_t fin_de_fete = 0;  // when the celebration of a solve ends, 0 when there is none
    // The verdict of balance whose tipping is shown (its number), when it started, and whether
    // it is over (from then on it stays over, however long the verdict stays).
    int chute_jugement = 0;
    uint32_t debut_de_chute = 0;
    bool chute_finie = false;
    // The features of each shipped level (by level; 0 for one that cannot be played), read
    // once at the start: what a level brings new depends on every level before it.
    unsigned traits_livres[NB_NIVEAUX + 1] = {};
    // The map: shown or not, the place chosen on it, and each level's challenge as it is first
    // shown, for its picture (read at the start with the features).
    bool carte = false;
    int choix = 1;
    bool regles = false; // the rules screen, over the map or the challenge
    t_piecer apercus[NB_NIVEAUX + 1][NB_PIECES] = {};
};

// Reads every shipped level's features and first picture, for the map and the idea lines.
void lire_niveaux(t_partie &p);

// Reads the levels and the progress, and opens level n's challenge; for 0, the map, the first level
// not solved chosen on it.
void commencer_partie(t_partie &p, int n);

// Starts making a challenge with `pieces` pieces to place, on threads of its own: from the first
// of `graines` that makes one not made yet in this run.
void fabriquer(t_partie &p, const std::vector<uint32_t> &graines, int pieces);

// A challenge as the comparisons between levels see it (variete.h): a challenge made is given up
// for the next seed's when it is alike one made before in the run, the same, mirrored, moved
// sideways, with the same walk or (cellules_comparees()) three quarters of the same cells, which
// a player reads as the same puzzle.
t_empreinte empreinte_du_defi(const t_piecer piece[NB_PIECES]);

// Whether a challenge is being made; and, once its threads are done, puts the challenge in play
// and says so, true then (or tries the next seed when that challenge was already made).
bool en_fabrication(const t_partie &p);
bool suivre_fabrication(t_partie &p);

// Stops the making of a challenge, waiting for its threads.
void arreter_fabrication(t_partie &p);

// Starts preparing, on one thread at a lower priority, the challenge the next N will show, with
// the pieces chosen, unless one is prepared or being made, or threads cannot be had (SANS_FILS).
// Asked for, a prepared challenge is shown at once; one not yet made is made again on every
// core from the same seeds, which make the same challenge; so is one asked with another number
// of pieces: the seeds are those N would have drawn.
void preparer_suivant(t_partie &p);

// Stops preparing the next challenge, waiting for its thread (within a stack).
void arreter_preparation(t_partie &p);

// What the challenge in play teaches (defi.h's t_idee): on a shipped level, new if no level
// before it uses it.
t_idee idee_courante(const t_partie &p);

t_defi &defi_courant(t_partie &p);
const t_defi &defi_courant(const t_partie &p);

// The knight's walk timed, for the loops that draw it: at time `maintenant` (milliseconds),
// takes his next step once it is due, PAS_MS after the one before (the first, PAS_MS after
// this is first called on his walk); his arrival on a solved level starts the celebration.
// True when he stepped.
bool marcher_a_l_heure(t_partie &p, uint32_t maintenant);

// How far the knight has gone towards his next foothold at time `maintenant`, 0 to 1; 0 when
// he stands.
double avance_du_pas(const t_partie &p, uint32_t maintenant);

// The tipping of a verdict of balance that names a piece, timed for the loops that draw it:
// a new such verdict starts at time `maintenant` (milliseconds); whether it still moves.
bool suivre_chute(t_partie &p, uint32_t maintenant);

// How far the tipping shown has gone at time `maintenant`: 0 to 1 while the piece leans over
// and back, 1 once it is over or when no loop follows it; -1 when there is none to show (no
// such verdict, or a piece carried).
double avance_de_chute(const t_partie &p, uint32_t maintenant);

// Whether the celebration of a solve is on at time `maintenant`; and ended at once.
bool en_fete(const t_partie &p, uint32_t maintenant);
void finir_fete(t_partie &p);

// Acts on one command; a level solved or whose solution was shown is recorded and saved.
void commander(t_partie &p, t_commande c, int colonne = 0, int ligne = 0);
