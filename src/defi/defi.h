// defi.h: the challenge mode's game: the pieces to place taken from the tray, carried, turned
// and dropped on the board, undone, hinted, and the level rules' verdict on the placement.
#pragma once

#include "regles/plateau.h"
#include "regles/traits.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The tray beside the board, columns 10 to 14 and rows 0 to 5, where the pieces to place wait.
constexpr int RESERVE_COLONNE = 10;
constexpr int RESERVE_LARGEUR = 5;

// Where the challenge stands.
enum t_etat_defi {
    DEFI_ILLISIBLE,   // the level file is missing or damaged: nothing to play
    DEFI_EN_COURS,    // pieces to place wait in the tray or on the board
    DEFI_ECHOUE,      // every piece placed, and a rule broken
    DEFI_RESOLU,      // every piece placed, and every rule kept
    DEFI_SOLUTION_VUE // the solution shown at the player's asking
};

// Where each piece to place stands.
using t_places = std::array<t_place, NB_PIECES>;

// One level's challenge in play.
struct t_defi {
    int niveau = 0;
    uint32_t graine = 0; // the seed of a challenge made on demand; 0 for a shipped level
    t_etat_defi etat = DEFI_ILLISIBLE;
    t_piecer piece[NB_PIECES] = {};   // the level as its file gives it: its solution
    bool a_placer[NB_PIECES] = {};    // none on a level that cannot be played
    t_places places{};                // where each piece to place stands now
    std::vector<t_places> historique; // the places before each drop, restart or hint
    int indices = 0;                  // hints given on this level, in this run
    bool solution_vue = false;        // S was asked for on this level, in this run

    // The piece held, -1 for none; the cell of its box under the pointer, counted from the
    // box's lower left; and the cell under the pointer, window column and row.
    int tenue = -1;
    int rotation_tenue = 0;
    int prise_colonne = 0, prise_ligne = 0;
    int colonne_pointeur = 0, ligne_pointeur = 0;

    // The last verdict on the places, kept while a piece is carried until it lands elsewhere;
    // its message in the player's words; and the knight's walk shown so far: the index of his
    // foothold in verdict.chemin.lieux, -1 while he has not set off.
    t_verdict verdict;
    std::string message;
    int pas = -1;
    int jugement = 0; // the verdict's number, one the run gives no other; 0 before any

    // Lines for standard output ("niveau N : ..."), taken by whoever prints them.
    std::vector<std::string> annonces;

    // The features its solution uses (regles/traits.h), 0 for a level that cannot be played.
    unsigned traits = 0;
};

// What a level teaches, one feature of its solution to name: the first new one to the player,
// else the hardest; none when it uses none.
struct t_idee {
    unsigned trait = 0; // one bit of regles/traits.h, 0 for none
    bool nouvelle = false;
};

// The features of a sound level, its own solution in place.
unsigned traits_du_niveau(const t_piecer piece[NB_PIECES]);

// Level `traits`'s idea, `vus` being the features of every level before it (none known for a
// made challenge: nothing is new there).
t_idee idee_du_niveau(unsigned traits, unsigned vus, bool suite);

// A feature in the player's words, as a rule of the game: "Un escalier couché ...".
const char *dire_trait(unsigned trait);

// The home of piece id in the tray: its column and row, upright and facing left.
t_place place_en_reserve(int id);

// Reads level niveau's file from the working directory into d, every piece to place in the
// tray. A file that is missing, gives an unsound piece or nothing to place leaves d
// DEFI_ILLISIBLE with a message.
void ouvrir_defi(t_defi &d, int niveau);

// A challenge made from seed `graine`: its pieces, every piece to place in the tray.
void ouvrir_defi_fabrique(t_defi &d, uint32_t graine, const t_piecer piece[NB_PIECES]);

// "niveau 19", or "défi 123456" for a challenge made on demand.
std::string nom_du_defi(const t_defi &d);

// How many pieces the challenge has to place; and a count of pieces in the player's words,
// "1 pièce", "3 pièces".
int compter_a_placer(const t_defi &d);
std::string dire_pieces(int n);

// The pieces as they stand now, for drawing and judging: the starting pieces where the file
// puts them, the pieces to place at their places (the held one where the pointer carries it).
void pieces_du_moment(const t_defi &d, t_piecer piece[NB_PIECES]);

// Whether piece id's place is in the tray (its home), on the board.
bool en_reserve(const t_defi &d, int id);

// Where the held piece would land under the pointer, and whether it may be dropped there:
// every solid cell on the board and free.
t_place place_visee(const t_defi &d);
bool place_permise(const t_defi &d, int id, const t_place &p);

// Whether the pointer is over the tray, where a dropped piece goes home.
bool sur_la_reserve(const t_defi &d);

// The mouse, in window cells (column, row from the bottom): the left button pressed on a cell
// takes the piece to place whose solid cell it is; the pointer moved carries the held piece;
// the button released drops it, and a drop that moves it has the places judged if complete.
void prendre(t_defi &d, int colonne, int ligne);
void deplacer_pointeur(t_defi &d, int colonne, int ligne);
void lacher(t_defi &d);

// The piece to place whose solid cell is window cell (colonne, ligne), -1 for none.
int piece_sous(const t_defi &d, int colonne, int ligne);

// A finger's tap, which cannot hold a piece and press a key at once: staircase id turned where
// it stands to its next (+1) or previous (-1) orientation, in its square box. In the tray it
// waits so turned; on the board it turns when the turned shape fits there (a change, undone by
// U, and judged once every piece is placed), and a message says why otherwise.
void tourner_sur_place(t_defi &d, int id, int sens);

// The keys: turns the held staircase to the next (+1) or previous (-1) orientation; puts the
// held piece back (Escape); every piece back in the tray (R); the last change undone (U).
void tourner(t_defi &d, int sens);
void reposer(t_defi &d);
void recommencer(t_defi &d);
void annuler(t_defi &d);

// H: one piece to place that is not in a place of its solution goes there, the lowest
// identity first; a piece in its way goes back to the tray. S: the whole solution.
void donner_indice(t_defi &d);
void montrer_solution(t_defi &d);

// The level rules' verdict on the pieces as they stand, once every piece to place is on the
// board; fills the verdict and the message, and sets the knight off on a solved level.
void juger(t_defi &d);

// Whether the knight is on his way to the princess, and his next foothold.
bool en_marche(const t_defi &d);
void avancer_marche(t_defi &d);

// The first broken rule of a verdict on scene s, in the player's words (French, UTF-8).
std::string expliquer(const t_verdict &v, const t_scene &s);

// Why the knight goes no further on "no walk", in the player's words; "" when nothing to say.
std::string expliquer_impasse(const t_impasse &im);

// A piece's name in the player's words, with its article: "le petit escalier".
const char *nom_commun(int id);
