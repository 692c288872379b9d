// redaction.h: what the rules find in a level, between levels, along the curve and in the
// lessons, in the checker's words.
#pragma once

#include "regles/plateau.h"
#include "regles/variete.h"

#include <string>
#include <vector>

// One problem of a level, in the checker's words: the piece it concerns (its name, or "-" for
// the whole level), and what is wrong.
struct t_probleme {
    std::string piece;
    std::string message;
};

// A fault the rules found in a level, in the checker's words.
t_probleme dire_faute(const t_piecer piece[NB_PIECES], const t_faute &f);

// How level b is too like level a, level a named as it was seen: "the same challenge as level
// 2 as its mirror image moved 1 column left".
std::string dire_ressemblance(const t_ressemblance &r);

// A motif level b shares with level a, b's pieces named: "CUBE, TOUR_1 and GRAND_ESCALIER
// stand as in level 13, moved or mirrored: the same motif, with a piece to place in both".
std::string dire_motif(const t_piecer piece[NB_PIECES], const t_motif_commun &m);

// How level b, whose pieces are `piece`, is too like each of the levels before it: the ways
// each is alike (dire_ressemblance()), then the motifs each shares (dire_motif()).
std::vector<std::string> dire_pareils(const std::vector<const t_fiche *> &avant, const t_fiche &b,
                                      const t_piecer piece[NB_PIECES]);

// How a level breaks the curve.
std::string dire_courbe(const t_faute_courbe &f);

// How a set of levels teaches badly, without the level the breach concerns.
std::string dire_lecon(const t_faute_lecon &f);

// The features' names, in the order of the enumeration, joined by ", "; "none" for none.
std::string nommer_traits(unsigned traits);
