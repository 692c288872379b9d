// variete.h: what tells two levels apart, and the difficulty curve from level 1 to level 48.
#pragma once

#include "regles/plateau.h"
#include "regles/solveur.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The difficulty a player feels: 1000 per decoy (chercher_leurres()), which is what makes him
// think, then to break ties 100 per piece to place, 10 per feature (traits.h) and 1 per change
// of height along the walk.
int difficulte(int leurres, size_t a_placer, unsigned traits, const t_chemin &chemin);

// What the set teaches: levels 1 to LECONS bring one feature each; the last NIVEAUX_DE_FIN
// have three pieces to place or more and three features or more; at least IDEES_MIN ideas,
// none in more than FOIS_PAR_IDEE levels.
constexpr int LECONS = 6;
constexpr int NIVEAUX_DE_FIN = 12;
constexpr int IDEES_MIN = 24;
constexpr int FOIS_PAR_IDEE = 3;

// The most pieces to place in the level that brings a feature first: two, so that a new idea
// comes with little else.
constexpr size_t PIECES_POUR_UNE_NOUVEAUTE = 2;

// Levels 1 to NIVEAUX_SANS_LEURRE may teach with no decoy: the first six with one piece to place,
// the next five bringing with two or three the features that no level with a decoy brings with
// so few (the hill among them); with a decoy asked from level 7 on, every choice among the
// levels drawn repeats a motif.
constexpr int NIVEAUX_SANS_LEURRE = 11;

// The decoys the curve asks for: from level NIVEAUX_SANS_LEURRE + 1 on, one at least in each level;
// in each of the last NIVEAUX_DE_FIN, LEURRES_DE_FIN at least; over each quarter of the levels (1
// to 12, 13 to 24...), a mean of LEURRES_PAR_QUART at least.
constexpr int LEURRES_DE_FIN = 5;
constexpr int QUARTS = 4;
constexpr std::array<int, QUARTS> LEURRES_PAR_QUART = {0, 2, 4, 10};

// A sound level as the comparisons see it.
struct t_fiche {
    int numero = 0; // level number, 0 when unknown
    t_scene scene;
    t_chemin chemin;
    std::vector<int> a_placer; // the pieces to place, by identity
    long long essais = 0;      // the solver's effort
    unsigned traits = 0;       // its features (traits.h), its own solution in place
    int leurres = 0;           // its decoys, as chercher_leurres() finds them
    int difficulte() const { return ::difficulte(leurres, a_placer.size(), traits, chemin); }
};

// The level's scene and walk, with what its challenge's resolution tells, and its decoys
// counted unless `leurres` is false (the generator counts them only for the levels it keeps).
t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], const t_resolution &resolution,
               bool leurres = true);

// The same for a level as its pieces stand, its pieces to place read from them (est_a_placer()).
t_fiche ficher(int numero, const t_piecer piece[NB_PIECES], bool leurres);

// The count of a level's decoys.
int compter_leurres(const t_piecer piece[NB_PIECES]);

// The mean count of decoys over each quarter of the levels (1 to 12, 13 to 24...), of those
// given, by their numbers; 0 for a quarter none of them is in.
std::array<double, QUARTS> leurres_par_quart(const std::vector<const t_fiche *> &v);

// A way level b is too like level a, seen as it stands or mirrored, and moved sideways.
enum t_sorte_ressemblance {
    S_MEME_DEFI,        // the same challenge
    S_MEMES_FIGURES,    // the same knight's start, princess's place and walk
    S_CELLULES_COMMUNES // more than three quarters of the larger level's solid cells in common
};

struct t_ressemblance {
    t_sorte_ressemblance sorte = S_MEME_DEFI;
    int niveau = 0;      // level a's number
    bool miroir = false; // level a seen as its mirror image
    int decalage = 0;    // level a moved so many columns, to the right when positive
    int communes = 0;    // S_CELLULES_COMMUNES: the solid cells in common in the best alignment,
    int solides = 0;     // and the larger level's count of them
};

// How level b is too like level a, also mirrored and moved sideways by any number of columns
// (as far as the board allows either of them): the same challenge; the same knight's start,
// princess's place and walk; more than three quarters of the larger level's solid cells in
// common in the best alignment. The first two alignment by alignment (level a as it stands,
// then mirrored, each moved from the farthest left), then the cells in common; empty when they
// differ enough.
std::vector<t_ressemblance> ressemblances(const t_fiche &a, const t_fiche &b);

// A motif: three pieces other than the figures, touching one another (a side of a solid cell
// against a side of another's, each of the three against one of the others at least), told by
// their kinds and their cells relative to each other: set at the bottom left, and of that and
// its mirror image the smaller, so that the three moved sideways, up or down, or mirrored make
// the same key. Three pieces are enough: any more that touch hold three that do.
using t_cle_motif = std::array<uint64_t, 3>;

struct t_motif {
    t_cle_motif cle{};
    std::array<int, 3> pieces{}; // the three, by identity
    bool a_placer = false;       // one of them at least is a piece to place
};

// Every motif of a level, each key once: where two triples of pieces make the same key, the one
// with a piece to place, then the first found.
std::vector<t_motif> motifs(const t_fiche &f);

// A motif two levels share, with a piece to place among the three in each: level a's number,
// and the three pieces as they stand in level b, by identity.
struct t_motif_commun {
    int niveau = 0;
    std::array<int, 3> pieces{};
};

// The motifs level b shares with level a, as above; empty when there is none.
std::vector<t_motif_commun> motifs_communs(const t_fiche &a, const t_fiche &b);

// The same, from motifs worked out once (motifs()): whether there is one.
bool partage_un_motif(const std::vector<t_motif> &a, const std::vector<t_motif> &b);

// A level as the comparisons see it, mirrored or not and moved some columns sideways: its
// challenge and whether its starting pieces all stay on the board; its figures' places (column
// -1 off the board); its solid cells that stay on it, and whether they all do.
struct t_vue {
    std::array<uint64_t, NB_PIECES> defi{};
    bool defi_entier = true;
    std::array<int, 4> figures{};
    uint64_t cellules = 0;
    bool entiere = true;
};

// The farthest a level can move sideways on the board.
constexpr int DECALAGE_MAX = PLATEAU_LARGEUR - 1;

// What the comparisons look at in a level, worked out once: every way of seeing it ([0] as it
// stands, [1] mirrored; moved d columns at [d + DECALAGE_MAX]), its count of solid cells and
// its walk.
struct t_empreinte {
    int numero = 0;
    t_vue vues[2][2 * DECALAGE_MAX + 1];
    int solides = 0;
    std::string chemin;
};
t_empreinte empreinte(const t_fiche &f);

// Whether level b is too like level a in any of those ways: the generator asks it of every
// place it tries, so it stops at the first. Without `decale`, level a moved sideways is only
// compared for the same challenge; without `cellules`, the cells in common are not compared.
bool ressemble(const t_empreinte &a, const t_empreinte &b, bool decale = true,
               bool cellules = true);

// A way a level breaks the curve.
enum t_sorte_courbe {
    CB_MOINS_DIFFICILE,   // the level before rested (a lower difficulty than its own level
                          // before's), and this one stays below that one: two dips in a row,
                          // or a climb that does not come back
    CB_DEBUT_A_PLUSIEURS, // levels 1 to LECONS: not one piece to place
    CB_SANS_LEURRE,       // after level NIVEAUX_SANS_LEURRE: no decoy
    CB_FIN_PEU_DE_PIECES, // the last NIVEAUX_DE_FIN: fewer than three pieces to place
    CB_FIN_PEU_DE_TRAITS, // the last NIVEAUX_DE_FIN: fewer than three features
    CB_FIN_PEU_DE_LEURRES // the last NIVEAUX_DE_FIN: fewer than LEURRES_DE_FIN decoys
};

// The level's own numbers come with each breach, and the level before's when there is one.
struct t_faute_courbe {
    t_sorte_courbe sorte = CB_MOINS_DIFFICILE;
    int difficulte = 0;            // the level's difficulty
    int precedent = 0;             // the level before's number,
    int difficulte_precedente = 0; // and its difficulty
    int avant = 0;                 // CB_MOINS_DIFFICILE: the level before that one's number,
    int difficulte_avant = 0;      // and its difficulty
    size_t a_placer = 0;           // the level's count of pieces to place
    int traits = 0;                // and of features
    int leurres = 0;               // and of decoys
};

// How level b breaks the curve, a being the level before it and `avant` the level before a
// (none for a level checked without them): the difficulty may fall once, a level resting after
// a hard one, then climbs back above the hard one; levels 1 to 6 have one piece to place; every
// level after level NIVEAUX_SANS_LEURRE has a decoy; the last twelve have three pieces to place or
// more, three features or more and LEURRES_DE_FIN decoys or more. In that order. Level 1 or 2
// having a staircase to place is checked by escalier_au_debut(), the lessons and the decoys per
// quarter by verifier_lecons().
std::vector<t_faute_courbe> verifier_courbe(const t_fiche *a, const t_fiche &b,
                                            const t_fiche *avant = nullptr);

// A way a set of levels teaches badly.
enum t_sorte_lecon {
    L_NOUVEAUTES,           // one of levels 1 to LECONS brings not one new feature
    L_NOUVEAUTE_CHARGEE,    // a new feature with another, or with more than two pieces to place
    L_SANS_MONTEE_DESCENTE, // levels 1 to LECONS teach no climb or no descent
    L_IDEE_REPETEE,         // an idea in more than FOIS_PAR_IDEE levels
    L_PEU_D_IDEES,          // fewer than IDEES_MIN ideas
    L_TRAITS_JAMAIS_VUS,    // features no level brings
    L_PEU_DE_LEURRES        // a quarter of the levels with a mean below LEURRES_PAR_QUART
};

struct t_faute_lecon {
    int niveau = 0; // the level it concerns
    t_sorte_lecon sorte = L_NOUVEAUTES;
    unsigned traits = 0; // the features concerned: new, missing or never taught, or the idea
    size_t a_placer = 0; // L_NOUVEAUTE_CHARGEE: the level's count of pieces to place
    size_t niveaux = 0;  // L_IDEE_REPETEE: the count of levels with the idea
    size_t idees = 0;    // L_PEU_D_IDEES: the count of distinct ideas
    int quart = 0;       // L_PEU_DE_LEURRES: the quarter (0 for levels 1 to 12),
    double moyenne = 0;  // its mean count of decoys
};

// How a set of levels, in order, teaches badly, each breach with the level it concerns: each
// of levels 1 to 6 brings one new feature, a climb and a descent among them; a feature first
// appears in a level with at most two pieces to place, the only new feature there; every
// feature comes; at least 24 ideas (sets of features), none in more than three levels; over
// each quarter, a mean of decoys of LEURRES_PAR_QUART at least. Read over levels 1, 2, 3... in
// that order, as far as none is missing; the breaches level by level, then the ideas in the
// order of their features' bits, then the whole set's (the quarters in order, on the last level
// of each).
std::vector<t_faute_lecon> verifier_lecons(const std::vector<const t_fiche *> &v);

// Whether levels 1 and 2 (either may be missing) give a staircase to place.
bool escalier_au_debut(const t_fiche *niveau1, const t_fiche *niveau2);
