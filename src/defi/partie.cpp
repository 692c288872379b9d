// partie.cpp: the challenge mode's run: commands to the level in play, level steps, and the
// progress recorded as levels are solved.
#include "defi/partie.h"

#include "jeu/jeu.h"

#include <cstdio>

namespace {

void aller_au_niveau(t_partie &p, int n) {
    p.courant = n;
    niveau = n; // the panel's level line
    t_defi &d = defi_courant(p);
    if (d.niveau == 0) ouvrir_defi(d, n);
}

void enregistrer(t_partie &p) {
    std::string erreur = std::string(FICHIER_PROGRES) + " : illisible, laissé tel quel";
    if (!p.progres_illisible && ecrire_progres(p.progres, FICHIER_PROGRES, erreur)) {
        p.erreur_progres.clear();
        return;
    }
    if (erreur != p.erreur_progres)
        std::fprintf(stderr, "valdrune: progress not saved: %s\n", erreur.c_str());
    p.erreur_progres = erreur;
}

} // namespace

void commencer_partie(t_partie &p, int n) {
    p.progres_illisible = !lire_progres(FICHIER_PROGRES, p.progres);
    aller_au_niveau(p, n == 0 ? premier_non_resolu(p.progres) : n);
}

t_defi &defi_courant(t_partie &p) {
    return p.defis[p.courant];
}

const t_defi &defi_courant(const t_partie &p) {
    return p.defis[p.courant];
}

void commander(t_partie &p, t_commande c, int colonne, int ligne) {
    t_defi &d = defi_courant(p);
    const t_etat_defi avant = d.etat;
    // A level that could not be read has nothing to take, hint or show: only the level steps.
    if (avant == DEFI_ILLISIBLE && c != C_SUIVANT && c != C_PRECEDENT) return;
    switch (c) {
    case C_PRENDRE:
        prendre(d, colonne, ligne);
        break;
    case C_DEPLACER:
        deplacer_pointeur(d, colonne, ligne);
        break;
    case C_LACHER:
        lacher(d);
        break;
    case C_TOURNER_DROITE:
        tourner(d, +1);
        break;
    case C_TOURNER_GAUCHE:
        tourner(d, -1);
        break;
    case C_REPOSER:
        reposer(d);
        break;
    case C_RECOMMENCER:
        recommencer(d);
        break;
    case C_ANNULER:
        annuler(d);
        break;
    case C_INDICE:
        donner_indice(d);
        break;
    case C_SOLUTION:
        montrer_solution(d);
        break;
    case C_SUIVANT:
    case C_PRECEDENT:
        reposer(d);
        aller_au_niveau(p,
                        (p.courant - 1 + (c == C_SUIVANT ? 1 : -1) + NB_NIVEAUX) % NB_NIVEAUX + 1);
        return;
    case C_MARCHE:
        avancer_marche(d);
        return;
    }
    p.annonces.insert(p.annonces.end(), d.annonces.begin(), d.annonces.end());
    d.annonces.clear();
    if (d.etat == avant) return;
    if (d.etat == DEFI_RESOLU)
        noter_resolu(p.progres, d.niveau, d.indices);
    else if (d.etat == DEFI_SOLUTION_VUE)
        noter_vu(p.progres, d.niveau);
    else
        return;
    enregistrer(p);
}
