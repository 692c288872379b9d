// partie.cpp: the challenge mode's run: commands to the level in play, level steps, and the
// progress recorded as levels are solved.
#include "defi/partie.h"

#include "niveau/pieces.h"
#include "regles/variete.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

void aller_au_niveau(t_partie &p, int n) {
    p.courant = n;
    t_defi &d = defi_courant(p);
    if (d.niveau == 0) ouvrir_defi(d, n);
}

void enregistrer(t_partie &p) {
    std::string erreur = std::string(FICHIER_PROGRES) + " : illisible, laissé tel quel";
    if (!p.progres_illisible && enregistrer_progres(p.progres, FICHIER_PROGRES, erreur)) {
        p.erreur_progres.clear();
        return;
    }
    if (erreur != p.erreur_progres)
        std::fprintf(stderr, "valdrune: progress not saved: %s\n", erreur.c_str());
    p.erreur_progres = erreur;
}

// Seeds a player can type, tried in turn until one makes a challenge not made yet: with one
// piece to place only some fifty challenges are unlike the shipped levels.
constexpr int GRAINES_PAR_DEMANDE = 20;

std::vector<uint32_t> tirer_graines(t_partie &p) {
    std::vector<uint32_t> v(GRAINES_PAR_DEMANDE);
    for (uint32_t &g : v) g = 1 + p.hasard.suivant() % GRAINE_MAX;
    return v;
}

// The making followed from now on, in place of any other; its challenge is played off the map.
void installer_atelier(t_partie &p, std::unique_ptr<t_atelier> a) {
    arreter_fabrication(p);
    p.carte = false;
    reposer(defi_courant(p));
    a->deja = p.defis_faits;
    p.atelier = std::move(a);
}

// A challenge asked for: the one prepared, if any (preparer_suivant()), else one made from new
// seeds.
void fabriquer_demande(t_partie &p) {
    std::unique_ptr<t_atelier> pret = std::move(p.prochain);
    if (!pret) {
        fabriquer(p, tirer_graines(p), p.pieces_voulues);
        return;
    }
    if (pret->pieces != p.pieces_voulues || !pret->suivi.finie || pret->suivi.trouvee == -1) {
        // Its seeds were drawn as N draws them: made again from them on every core, the
        // challenge the same.
        const std::vector<uint32_t> graines = pret->graines;
        pret.reset();
        fabriquer(p, graines, p.pieces_voulues);
        return;
    }
    pret->suivi.gentillesse = 0; // the seeds after it, if it was made already, go at full speed
    installer_atelier(p, std::move(pret));
    suivre_fabrication(p);
}

// On the map: the choice moved within its places, a place opened; a random challenge asked
// for is made from there as in a challenge.
void commander_carte(t_partie &p, t_commande c, int colonne) {
    if (c == C_CHOISIR) {
        const int choix = p.choix + colonne;
        if (choix >= 1 && choix <= CARTE_ALEATOIRE) p.choix = choix;
        return;
    }
    if (c == C_OUVRIR) {
        const int place = colonne == 0 ? p.choix : colonne;
        if (place < 1 || place > CARTE_ALEATOIRE) return;
        p.carte = false;
        p.choix = place;
        if (place == CARTE_ALEATOIRE)
            fabriquer_demande(p);
        else
            aller_au_niveau(p, place);
        return;
    }
    if (c == C_NOUVEAU || c == C_PIECES) {
        p.carte = false;
        commander(p, c, colonne);
    }
}

// Makes a challenge from the atelier's next seed; a making that cannot start ends it.
void lancer_graine_suivante(t_partie &p) {
    t_atelier &a = *p.atelier;
    a.graine = a.graines[a.essayees++];
    if (lancer_fabrication(a.suivi, a.graine, a.pieces, p.depart, p.fils, p.signaler_fabrication))
        return;
    std::fprintf(stderr, "valdrune: the challenge cannot be made: no thread to make it on: %s\n",
                 std::strerror(a.suivi.refus));
    p.atelier.reset();
    defi_courant(p).message = "Le défi ne peut pas être préparé : le système refuse le calcul.";
}

} // namespace

void lire_niveaux(t_partie &p) {
    for (int k = 1; k <= NB_NIVEAUX; ++k) {
        t_defi d;
        ouvrir_defi(d, k);
        p.traits_livres[k] = d.traits;
        if (d.etat != DEFI_ILLISIBLE) pieces_du_moment(d, p.apercus[k]);
    }
}

void commencer_partie(t_partie &p, int n) {
    init_pieces(p.depart);
    lire_niveaux(p);
    p.progres_illisible = !lire_progres(FICHIER_PROGRES, p.progres);
    if (p.progres.pieces != 0) p.pieces_voulues = p.progres.pieces;
    aller_au_niveau(p, n == 0 ? premier_non_resolu(p.progres) : n);
    p.carte = n == 0;
    p.choix = p.courant;
    // A first run opens on the rules, once.
    if (p.carte && p.progres.trouve != OUI) commander(p, C_REGLES);
}

t_empreinte empreinte_du_defi(const t_piecer piece[NB_PIECES]) {
    return empreinte(ficher(0, piece, false));
}

void fabriquer(t_partie &p, const std::vector<uint32_t> &graines, int pieces) {
    auto a = std::make_unique<t_atelier>();
    a->graines = graines;
    a->pieces = pieces;
    installer_atelier(p, std::move(a));
    lancer_graine_suivante(p);
}

bool en_fabrication(const t_partie &p) {
    return p.atelier != nullptr;
}

bool suivre_fabrication(t_partie &p) {
    if (!p.atelier || !p.atelier->suivi.finie) return false;
    t_atelier &a = *p.atelier;
    t_piecer piece[NB_PIECES];
    const bool reussi = finir_fabrication(a.suivi, piece);
    // A challenge alike one already made in this run gives way to the next seed's: a seed's
    // first challenge is often one of a few, mirrored or moved.
    const t_empreinte e = reussi ? empreinte_du_defi(piece) : t_empreinte{};
    const bool cellules = cellules_comparees(a.pieces);
    const auto pareils = [&](const t_empreinte &d) {
        return ressemble(d, e, true, cellules) || ressemble(e, d, true, cellules);
    };
    if (reussi && a.essayees < a.graines.size() &&
        std::any_of(a.deja.begin(), a.deja.end(), pareils)) {
        lancer_graine_suivante(p);
        return false;
    }
    if (reussi) {
        if (p.courant != 0) p.niveau_quitte = p.courant;
        p.courant = 0;
        ouvrir_defi_fabrique(p.defis[0], a.graine, piece);
        p.defis_faits.push_back(e);
        p.annonces.push_back("défi " + std::to_string(a.graine) + " : " + dire_pieces(a.pieces) +
                             " à placer");
    }
    p.atelier.reset();
    return true;
}

void arreter_fabrication(t_partie &p) {
    p.atelier.reset();
}

void preparer_suivant(t_partie &p) {
    if (p.fils == SANS_FILS || p.atelier || p.prochain) return;
    p.prochain = std::make_unique<t_atelier>();
    t_atelier &a = *p.prochain;
    a.graines = tirer_graines(p);
    a.pieces = p.pieces_voulues;
    a.graine = a.graines[a.essayees++];
    a.suivi.gentillesse = 10;
    // Ended or refused, it is made again on demand from the same seeds.
    lancer_fabrication(a.suivi, a.graine, a.pieces, p.depart, 1);
}

void arreter_preparation(t_partie &p) {
    p.prochain.reset();
}

t_idee idee_courante(const t_partie &p) {
    const t_defi &d = defi_courant(p);
    unsigned vus = 0;
    for (int k = 1; k < d.niveau; ++k) vus |= p.traits_livres[k];
    return idee_du_niveau(d.traits, vus, d.graine == 0);
}

t_defi &defi_courant(t_partie &p) {
    return p.defis[p.courant];
}

const t_defi &defi_courant(const t_partie &p) {
    return p.defis[p.courant];
}

bool marcher_a_l_heure(t_partie &p, uint32_t maintenant) {
    // While a challenge is made, nothing else is heard: he waits.
    if (!en_marche(defi_courant(p)) || en_fabrication(p)) {
        p.prochain_pas = 0;
        return false;
    }
    if (p.prochain_pas == 0) p.prochain_pas = maintenant + PAS_MS;
    if (static_cast<int32_t>(maintenant - p.prochain_pas) < 0) return false;
    commander(p, C_MARCHE);
    p.prochain_pas += PAS_MS;
    if (!en_marche(defi_courant(p)) && defi_courant(p).etat == DEFI_RESOLU)
        p.fin_de_fete = maintenant + FETE_MS;
    return true;
}

double avance_du_pas(const t_partie &p, uint32_t maintenant) {
    if (p.prochain_pas == 0 || !en_marche(defi_courant(p))) return 0;
    const auto reste = static_cast<int32_t>(p.prochain_pas - maintenant);
    return 1.0 - std::clamp(double(reste) / PAS_MS, 0.0, 1.0);
}

namespace {

bool montre_une_chute(const t_defi &d) {
    return d.tenue == -1 && d.etat == DEFI_ECHOUE && d.verdict.chute.piece >= 0;
}

} // namespace

bool suivre_chute(t_partie &p, uint32_t maintenant) {
    const t_defi &d = defi_courant(p);
    if (!montre_une_chute(d)) return false;
    if (p.chute_jugement != d.jugement) {
        p.chute_jugement = d.jugement;
        p.debut_de_chute = maintenant;
        p.chute_finie = false;
    }
    if (!p.chute_finie)
        p.chute_finie = maintenant - p.debut_de_chute >= CHUTE_MS; // unsigned: across a wrap
    return !p.chute_finie;
}

double avance_de_chute(const t_partie &p, uint32_t maintenant) {
    const t_defi &d = defi_courant(p);
    if (!montre_une_chute(d)) return -1;
    if (p.chute_jugement != d.jugement || p.chute_finie) return 1;
    return std::clamp(double(maintenant - p.debut_de_chute) / CHUTE_MS, 0.0, 1.0);
}

bool en_fete(const t_partie &p, uint32_t maintenant) {
    return p.fin_de_fete != 0 && static_cast<int32_t>(p.fin_de_fete - maintenant) > 0;
}

void finir_fete(t_partie &p) {
    p.fin_de_fete = 0;
}

void commander(t_partie &p, t_commande c, int colonne, int ligne) {
    if (c == C_REGLES) {
        p.regles = !p.regles;
        if (p.progres.regles_vues != OUI) {
            p.progres.regles_vues = OUI;
            enregistrer(p);
        }
        return;
    }
    if (en_fabrication(p)) {
        // While a challenge is made, Escape stops it and nothing else is heard.
        if (c == C_REPOSER) {
            arreter_fabrication(p);
            defi_courant(p).message = "Préparation du défi annulée.";
        }
        return;
    }
    if (p.carte) {
        commander_carte(p, c, colonne);
        return;
    }
    t_defi &d = defi_courant(p);
    const t_etat_defi avant = d.etat;
    if (c == C_PIECES && colonne != p.pieces_voulues) {
        p.pieces_voulues = p.progres.pieces = std::clamp(colonne, 1, 4);
        enregistrer(p);
    }
    if (c == C_NOUVEAU || c == C_PIECES) {
        fabriquer_demande(p);
        return;
    }
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
    case C_TOURNER_ICI:
        tourner_sur_place(d, colonne, ligne);
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
        // From a made challenge, either key goes back to the level left for it.
        aller_au_niveau(
            p, p.courant == 0
                   ? p.niveau_quitte
                   : (p.courant - 1 + (c == C_SUIVANT ? 1 : -1) + NB_NIVEAUX) % NB_NIVEAUX + 1);
        return;
    case C_MARCHE:
        avancer_marche(d);
        return;
    case C_CARTE:
        reposer(d);
        p.carte = true;
        p.choix = p.courant == 0 ? CARTE_ALEATOIRE : p.courant;
        return;
    case C_NOUVEAU:
    case C_PIECES:
    case C_CHOISIR:
    case C_OUVRIR:
    case C_REGLES:
        return;
    }
    p.annonces.insert(p.annonces.end(), d.annonces.begin(), d.annonces.end());
    d.annonces.clear();
    // Only the shipped levels are recorded: a made challenge is made again from its seed.
    if (d.etat == avant || d.graine != 0) return;
    if (d.etat == DEFI_RESOLU)
        noter_resolu(p.progres, d.niveau, d.indices);
    else if (d.etat == DEFI_SOLUTION_VUE)
        noter_vu(p.progres, d.niveau);
    else
        return;
    enregistrer(p);
}
