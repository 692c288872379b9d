// redaction.cpp: a level's faults, the comparisons, the curve and the lessons put in words.
#include "redaction.h"

#include "regles/traits.h"

#include <cstdio>

namespace {

const char *const NOMS[NB_TRAITS] = {"descent",        "climb",         "hill",        "valley",
                                     "flat on pieces", "mirrored",      "upside down", "bridge",
                                     "prop",           "counterweight", "stack"};

// "1 piece", "2 pieces": n, then the word, made plural unless n is one.
std::string compter(size_t n, const std::string &mot) {
    return std::to_string(n) + " " + mot + (n == 1 ? "" : "s");
}

} // namespace

t_probleme dire_faute(const t_piecer piece[NB_PIECES], const t_faute &f) {
    const std::string cellule = "(" + std::to_string(f.cellule.c + PLATEAU_COLONNE) + ", " +
                                std::to_string(f.cellule.h) + ")";
    const std::string autre = f.autre >= 0 ? piece[f.autre].nom : "";
    std::string m;
    switch (f.defaut) {
    case D_FIGURE_ABSENTE:
        m = "not in play: every level needs the knight and the princess";
        break;
    case D_HORS_PLATEAU:
        m = "lies outside the board (columns 4 to 9, rows 0 to 5)";
        break;
    case D_PEINT_SUR:
        m = "its image paints over cell " + cellule + " of " + autre + ", drawn before it";
        break;
    case D_CASE_PARTAGEE:
        m = "shares cell " + cellule + " with " + autre;
        break;
    case D_INUTILE:
        m = "is not needed: without it the level still stands and the knight still reaches the "
            "princess";
        break;
    case D_REGLE:
        switch (f.echec) {
        case E_AUCUN:
            break;
        case E_SUR_FIGURE:
            m = "stands on " + autre + ", and the figures carry nothing";
            break;
        case E_FLOTTE:
            m = "floats: no cell of it rests on the ground or on another piece";
            break;
        case E_SANS_APPUI:
            m = "does not start on a foothold: the ground or a solid cell under him, his two "
                "cells free";
            break;
        case E_A_COTE:
            m = "starts beside the princess: the walk needs at least one move";
            break;
        case E_TOMBE_SEUL:
            m = "does not stand, even with the knight off it";
            break;
        case E_SANS_CHEMIN:
            m = "has no way to the princess";
            break;
        case E_TOMBE_AU_DEPART:
            m = "does not stand: it tips over as it is";
            break;
        case E_TOMBE:
            m = "has no way to the princess along which the level stands";
            break;
        }
        break;
    }
    return {f.piece < 0 ? "-" : piece[f.piece].nom, m};
}

std::string dire_ressemblance(const t_ressemblance &r) {
    const int n = r.decalage < 0 ? -r.decalage : r.decalage;
    const std::string niveau =
        "level " + std::to_string(r.niveau) + (r.miroir ? " as its mirror image" : "") +
        (n == 0 ? ""
                : " moved " + compter(size_t(n), "column") + (r.decalage > 0 ? " right" : " left"));
    switch (r.sorte) {
    case S_MEME_DEFI:
        return "the same challenge as " + niveau;
    case S_MEMES_FIGURES:
        return "the same knight's start, princess's place and walk as " + niveau;
    case S_CELLULES_COMMUNES:
        return std::to_string(r.communes) + " solid cells in common with " + niveau +
               ", more than three quarters of " + std::to_string(r.solides);
    }
    return "";
}

std::string dire_motif(const t_piecer piece[NB_PIECES], const t_motif_commun &m) {
    return std::string(piece[m.pieces[0]].nom) + ", " + piece[m.pieces[1]].nom + " and " +
           piece[m.pieces[2]].nom + " stand as in level " + std::to_string(m.niveau) +
           ", moved or mirrored: the same motif, with a piece to place in both";
}

std::vector<std::string> dire_pareils(const std::vector<const t_fiche *> &avant, const t_fiche &b,
                                      const t_piecer piece[NB_PIECES]) {
    std::vector<std::string> v;
    for (const t_fiche *a : avant)
        for (const t_ressemblance &r : ressemblances(*a, b)) v.push_back(dire_ressemblance(r));
    for (const t_fiche *a : avant)
        for (const t_motif_commun &m : motifs_communs(*a, b)) v.push_back(dire_motif(piece, m));
    return v;
}

std::string dire_courbe(const t_faute_courbe &f) {
    switch (f.sorte) {
    case CB_MOINS_DIFFICILE:
        return "difficulty " + std::to_string(f.difficulte) + " is below level " +
               std::to_string(f.avant) + "'s " + std::to_string(f.difficulte_avant) +
               ", after which level " + std::to_string(f.precedent) + " rested (" +
               std::to_string(f.difficulte_precedente) +
               "): a level may rest once, then the climb comes back above it";
    case CB_DEBUT_A_PLUSIEURS:
        return std::to_string(f.a_placer) + " pieces to place: levels 1 to 6 have one";
    case CB_SANS_LEURRE:
        return "no decoy: from level " + std::to_string(NIVEAUX_SANS_LEURRE + 1) +
               " on every level has one";
    case CB_FIN_PEU_DE_LEURRES:
        static_assert(LEURRES_DE_FIN == 5, "the count is written in words, as the others");
        return compter(size_t(f.leurres), "decoy") + ": the last twelve levels have five or more";
    case CB_FIN_PEU_DE_PIECES:
        return compter(f.a_placer, "piece") +
               " to place: the last twelve levels have three or more";
    case CB_FIN_PEU_DE_TRAITS:
        return compter(size_t(f.traits), "feature") + ": the last twelve levels have three or more";
    }
    return "";
}

std::string dire_lecon(const t_faute_lecon &f) {
    switch (f.sorte) {
    case L_NOUVEAUTES:
        return std::to_string(compter_traits(f.traits)) + " new features (" +
               nommer_traits(f.traits) + "): levels 1 to 6 bring one each";
    case L_NOUVEAUTE_CHARGEE:
        return "brings " + nommer_traits(f.traits) + " with " + compter(f.a_placer, "piece") +
               " to place: a feature comes alone, with at most two";
    case L_SANS_MONTEE_DESCENTE:
        return "levels 1 to 6 teach no " + nommer_traits(f.traits);
    case L_IDEE_REPETEE:
        return "the idea " + nommer_traits(f.traits) + " in " + std::to_string(f.niveaux) +
               " levels: three at most";
    case L_PEU_D_IDEES:
        return std::to_string(f.idees) + " distinct ideas: 24 or more are needed";
    case L_TRAITS_JAMAIS_VUS:
        return "no level teaches " + nommer_traits(f.traits);
    case L_PEU_DE_LEURRES: {
        constexpr int par_quart = NB_NIVEAUX / QUARTS;
        char moyenne[32];
        std::snprintf(moyenne, sizeof moyenne, "%.1f", f.moyenne);
        return "a mean of " + std::string(moyenne) + " decoys over levels " +
               std::to_string(f.quart * par_quart + 1) + " to " +
               std::to_string((f.quart + 1) * par_quart) + ": " +
               std::to_string(LEURRES_PAR_QUART[size_t(f.quart)]) + " or more are needed";
    }
    }
    return "";
}

std::string nommer_traits(unsigned traits) {
    std::string s;
    for (int i = 0; i < NB_TRAITS; ++i)
        if (traits & (1U << i)) s += (s.empty() ? "" : ", ") + std::string(NOMS[i]);
    return s.empty() ? "none" : s;
}
