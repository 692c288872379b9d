// defi.cpp: one level's challenge: the pieces to place moved between the tray and the board,
// and the level rules' verdict on where they stand.
#include "defi/defi.h"

#include "niveau/lecture.h"
#include "regles/explication.h"
#include "regles/variete.h"

#include <algorithm>
#include <cstdint>

// Verdicts given in this run, every challenge together: each new one is shown anew.
static int jugements_rendus = 0;

namespace {

const char *const MESSAGE_DE_DEPART =
    "Posez les pièces de la réserve sur le plateau : le chevalier doit rejoindre la princesse.";

// A staircase's distinct shapes in the order the keys turn through them: turning to an
// orientation that fills the same cells as another would look like a lost key press.
constexpr int TOURS[] = {DEBOUT_GAUCHE, DEBOUT_DROITE, DROITE_DROITE, GAUCHE_GAUCHE};
constexpr int NB_TOURS = 4;

const t_forme &forme_placee(int id, const t_place &p) {
    return *forme_de(id, p.rotation);
}

// Every piece in play on the board but `exclu`: the starting pieces, and the pieces to place
// that are not in the tray.
uint64_t cases_prises(const t_defi &d, int exclu) {
    uint64_t m = 0;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (k == exclu || d.piece[k].dans_le_jeu != OUI) continue;
        m |= cellules(k, d.a_placer[k] ? d.places[k] : place_de(d.piece[k]));
    }
    return m;
}

bool tout_sur_le_plateau(const t_defi &d) {
    for (int k = 0; k < NB_PIECES; ++k)
        if (d.a_placer[k] && (k == d.tenue || en_reserve(d, k))) return false;
    return true;
}

void effacer_verdict(t_defi &d) {
    d.verdict = t_verdict();
    d.pas = -1;
    d.etat = DEFI_EN_COURS;
}

// A change of places: the places before it can be undone, and any verdict is void.
void changer(t_defi &d) {
    d.historique.push_back(d.places);
    effacer_verdict(d);
    d.message = MESSAGE_DE_DEPART;
}

void juger_si_complet(t_defi &d) {
    if (tout_sur_le_plateau(d)) juger(d);
}

// Every explanation starts with a lower-case article.
std::string majuscule(std::string s) {
    s[0] = char(s[0] - 'a' + 'A');
    return s;
}

// What the knight stands on at place l: a piece's name with "sur", or the ground.
std::string sous_le_chevalier(const t_scene &s, t_lieu l) {
    if (l.h == 0) return "au sol";
    return std::string("sur ") + nom_commun(s.cases[l.c][l.h - 1]);
}

// The level's pieces, sound, with every piece to place in the tray.
void mettre_en_place(t_defi &d, const t_piecer piece[NB_PIECES]) {
    std::copy(piece, piece + NB_PIECES, d.piece);
    d.traits = traits_du_niveau(piece);
    for (int k = 0; k < NB_PIECES; ++k) {
        // A file's 3 or 6 is shown, hinted and solved as the 2 or 1 it fills the cells of.
        if (est_escalier(k)) d.piece[k].rotation = orientation_distincte(d.piece[k].rotation);
        d.a_placer[k] = est_a_placer(d.piece[k]);
        if (d.a_placer[k]) d.places[k] = place_en_reserve(k);
    }
    d.etat = DEFI_EN_COURS;
    d.message = MESSAGE_DE_DEPART;
}

} // namespace

t_place place_en_reserve(int id) {
    switch (id) {
    case ID_GRAND_ESCALIER:
        return {RESERVE_COLONNE, 0, DEBOUT_GAUCHE};
    case ID_PETIT_ESCALIER_1:
        return {RESERVE_COLONNE, 4, DEBOUT_GAUCHE};
    case ID_PETIT_ESCALIER_2:
        return {RESERVE_COLONNE + 3, 4, DEBOUT_GAUCHE};
    default: // the cube: the tray holds only the pieces peut_etre_a_placer() allows
        return {RESERVE_COLONNE + 4, 0, 0};
    }
}

unsigned traits_du_niveau(const t_piecer piece[NB_PIECES]) {
    return ficher(0, piece, false).traits;
}

t_idee idee_du_niveau(unsigned traits, unsigned vus, bool suite) {
    // From the hardest: what only the balance shows, then what the board's shape hides, then
    // the walk's plain moves.
    static const unsigned ordre[] = {T_CONTREPOIDS, T_ETAI,    T_PONT,       T_RENVERSE,
                                     T_VALLEE,      T_COLLINE, T_EMPILEMENT, T_PALIER,
                                     T_MIROIR,      T_MONTEE,  T_DESCENTE};
    const auto plus_dur = [](unsigned t) {
        for (unsigned trait : ordre)
            if (t & trait) return trait;
        return 0U;
    };
    t_idee i;
    const unsigned nouveaux = suite ? traits & ~vus : 0;
    i.nouvelle = nouveaux != 0;
    i.trait = plus_dur(i.nouvelle ? nouveaux : traits);
    return i;
}

const char *dire_trait(unsigned trait) {
    switch (trait) {
    case T_DESCENTE:
        return "Le chevalier descend par les marches d'un escalier, jamais d'un bord nu.";
    case T_MONTEE:
        return "Le chevalier monte par les marches d'un escalier, jamais sur un bord nu.";
    case T_COLLINE:
        return "Le chemin monte puis redescend : il faut des marches de chaque côté.";
    case T_VALLEE:
        return "Le chemin descend puis remonte : il faut des marches de chaque côté.";
    case T_PALIER:
        return "Le chevalier passe d'une pièce à une autre de même hauteur.";
    case T_MIROIR:
        return "Un escalier se retourne : ses marches montent vers la gauche ou vers la droite.";
    case T_RENVERSE:
        return "Un escalier se couche sur le côté : il fait alors un mur ou une plate-forme.";
    case T_PONT:
        return "Le chevalier passe au-dessus du vide, sur une pièce en surplomb.";
    case T_ETAI:
        return "Une pièce posée soutient une pièce de départ qui, sans elle, tomberait.";
    case T_CONTREPOIDS:
        return "Une pièce que le chevalier ne touche pas sert de contrepoids.";
    case T_EMPILEMENT:
        return "Une pièce posée en porte une autre qu'il faut poser aussi.";
    default:
        return "";
    }
}

const char *nom_commun(int id) {
    static const char *const noms[NB_PIECES] = {
        "le chevalier",        "la princesse",     "le cube", "le cube à appendice",
        "le cube à appendice", "la tour",          "la tour", "le petit escalier",
        "le petit escalier",   "le grand escalier"};
    return id >= 0 && id < NB_PIECES ? noms[id] : "une pièce";
}

void ouvrir_defi(t_defi &d, int n) {
    d = t_defi();
    d.niveau = n;
    t_piecer piece[NB_PIECES];
    init_pieces(piece);
    const std::string nom = "solution" + std::to_string(n) + ".xml";
    // Missing, unsound, or with nothing to place: nothing to play.
    if (!lire_niveau(nom.c_str(), piece) || !pose_saine(piece) ||
        std::none_of(piece, piece + NB_PIECES, est_a_placer)) {
        std::copy(piece, piece + NB_PIECES, d.piece);
        d.message = "Le niveau " + std::to_string(n) + " est absent ou abîmé : rien à jouer.";
        return;
    }
    mettre_en_place(d, piece);
}

void ouvrir_defi_fabrique(t_defi &d, uint32_t graine, const t_piecer piece[NB_PIECES]) {
    d = t_defi();
    d.graine = graine;
    mettre_en_place(d, piece);
}

std::string nom_du_defi(const t_defi &d) {
    return d.graine != 0 ? "défi " + std::to_string(d.graine)
                         : "niveau " + std::to_string(d.niveau);
}

int compter_a_placer(const t_defi &d) {
    return static_cast<int>(std::count(d.a_placer, d.a_placer + NB_PIECES, true));
}

std::string dire_pieces(int n) {
    return std::to_string(n) + (n > 1 ? " pièces" : " pièce");
}

void pieces_du_moment(const t_defi &d, t_piecer piece[NB_PIECES]) {
    std::copy(d.piece, d.piece + NB_PIECES, piece);
    for (int k = 0; k < NB_PIECES; ++k) {
        if (d.piece[k].dans_le_jeu != OUI || d.etat == DEFI_ILLISIBLE) continue;
        const t_place p = !d.a_placer[k] ? place_de(d.piece[k])
                          : k == d.tenue ? place_visee(d)
                                         : d.places[k];
        // The height from the shape, whatever the file says: drawn where the rules see it.
        piece[k].colonne = p.colonne;
        piece[k].ligne = p.ligne;
        piece[k].rotation = p.rotation;
        piece[k].hauteur = forme_placee(k, p).hauteur;
    }
    if (d.pas >= 0) { // only ever an index of the walk
        const t_lieu l = d.verdict.chemin.lieux[size_t(d.pas)];
        piece[ID_CHEVALIER].colonne = l.c + PLATEAU_COLONNE;
        piece[ID_CHEVALIER].ligne = l.h;
    }
}

bool en_reserve(const t_defi &d, int id) {
    // In its home box, however a tap turned it there.
    const t_place maison = place_en_reserve(id);
    return d.places[id].colonne == maison.colonne && d.places[id].ligne == maison.ligne;
}

t_place place_visee(const t_defi &d) {
    return {d.colonne_pointeur - d.prise_colonne, d.ligne_pointeur - d.prise_ligne,
            d.rotation_tenue};
}

bool place_permise(const t_defi &d, int id, const t_place &p) {
    return sur_le_plateau(id, p) && (cellules(id, p) & cases_prises(d, id)) == 0;
}

bool sur_la_reserve(const t_defi &d) {
    return d.colonne_pointeur >= RESERVE_COLONNE &&
           d.colonne_pointeur < RESERVE_COLONNE + RESERVE_LARGEUR && d.ligne_pointeur >= 0 &&
           d.ligne_pointeur < PLATEAU_HAUTEUR;
}

int piece_sous(const t_defi &d, int c, int r) {
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!d.a_placer[k]) continue;
        const t_place &p = d.places[k];
        const t_forme &f = forme_placee(k, p);
        const int dc = c - p.colonne, dr = r - p.ligne;
        if (dc >= 0 && dr >= 0 && dc < f.largeur && dr < f.hauteur && f.pleine(dc, dr)) return k;
    }
    return -1;
}

void prendre(t_defi &d, int c, int r) {
    const int k = piece_sous(d, c, r);
    if (d.tenue != -1 || k == -1) return;
    const t_place &p = d.places[k];
    d.tenue = k;
    d.rotation_tenue = p.rotation;
    d.prise_colonne = c - p.colonne;
    d.prise_ligne = r - p.ligne;
    d.colonne_pointeur = c;
    d.ligne_pointeur = r;
}

void deplacer_pointeur(t_defi &d, int c, int r) {
    d.colonne_pointeur = c;
    d.ligne_pointeur = r;
}

void lacher(t_defi &d) {
    if (d.tenue == -1) return;
    const int k = d.tenue;
    const t_place visee = place_visee(d);
    t_place p = visee;
    // Over the tray, a piece goes home: otherwise a piece on the board could only leave it
    // by undoing or restarting.
    if (!place_permise(d, k, visee)) {
        p = sur_la_reserve(d) ? place_en_reserve(k) : d.places[k];
        if (!sur_la_reserve(d) && !(visee == p))
            d.message = "Impossible de poser là : case prise ou hors du plateau.";
    }
    d.tenue = -1;
    // Put back where it was, the places and their verdict stand as they were.
    if (p == d.places[k]) return;
    changer(d);
    d.places[k] = p;
    juger_si_complet(d);
}

void tourner(t_defi &d, int sens) {
    if (d.tenue == -1 || !est_escalier(d.tenue)) {
        d.message = d.tenue == -1 ? "Prenez d'abord un escalier pour le tourner."
                                  : "Seuls les escaliers tournent.";
        return;
    }
    const int *ici = std::find(TOURS, TOURS + NB_TOURS, orientation_distincte(d.rotation_tenue));
    d.rotation_tenue = TOURS[(ici - TOURS + sens + NB_TOURS) % NB_TOURS];
}

void tourner_sur_place(t_defi &d, int id, int sens) {
    if (id < 0 || id >= NB_PIECES || !d.a_placer[id] || d.tenue != -1) return;
    if (!est_escalier(id)) {
        d.message = "Seuls les escaliers tournent.";
        return;
    }
    t_place p = d.places[id];
    const int *ici = std::find(TOURS, TOURS + NB_TOURS, orientation_distincte(p.rotation));
    p.rotation = TOURS[(ici - TOURS + sens + NB_TOURS) % NB_TOURS];
    if (en_reserve(d, id)) {
        d.places[id] = p;
        return;
    }
    if (!place_permise(d, id, p)) {
        d.message = majuscule(std::string(nom_commun(id))) +
                    " ne peut pas tourner ici : case prise ou hors du plateau.";
        return;
    }
    changer(d);
    d.places[id] = p;
    juger_si_complet(d);
}

void reposer(t_defi &d) {
    d.tenue = -1;
}

void recommencer(t_defi &d) {
    d.tenue = -1;
    bool deja = true;
    for (int k = 0; k < NB_PIECES; ++k) deja = deja && (!d.a_placer[k] || en_reserve(d, k));
    if (deja) {
        d.message = "Tout est déjà dans la réserve.";
        return;
    }
    changer(d);
    for (int k = 0; k < NB_PIECES; ++k)
        if (d.a_placer[k]) d.places[k] = place_en_reserve(k);
    d.message = "Toutes les pièces sont revenues dans la réserve (U pour annuler).";
}

void annuler(t_defi &d) {
    d.tenue = -1;
    if (d.historique.empty()) {
        d.message = "Rien à annuler.";
        return;
    }
    d.places = d.historique.back();
    d.historique.pop_back();
    effacer_verdict(d);
    d.message = "Dernier coup annulé.";
    juger_si_complet(d);
}

void donner_indice(t_defi &d) {
    d.tenue = -1;
    // Each piece to place already in a place of its kind's solution takes that place.
    bool occupee[NB_PIECES] = {}, faite[NB_PIECES] = {};
    for (int k = 0; k < NB_PIECES; ++k)
        for (int j = 0; d.a_placer[k] && j < NB_PIECES && !faite[k]; ++j)
            if (d.a_placer[j] && !occupee[j] && sorte(j) == sorte(k) &&
                cellules(k, d.places[k]) == cellules(j, place_de(d.piece[j])))
                occupee[j] = faite[k] = true;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (!d.a_placer[k] || faite[k]) continue;
        int j = 0;
        while (!d.a_placer[j] || occupee[j] || sorte(j) != sorte(k)) ++j;
        const t_place cible = place_de(d.piece[j]);
        changer(d);
        for (int autre = 0; autre < NB_PIECES; ++autre)
            if (d.a_placer[autre] && autre != k &&
                (cellules(autre, d.places[autre]) & cellules(k, cible)) != 0)
                d.places[autre] = place_en_reserve(autre);
        d.places[k] = cible;
        ++d.indices;
        d.message = "Indice : " + std::string(nom_commun(k)) + " est à sa place.";
        d.annonces.push_back(nom_du_defi(d) + " : indice");
        juger_si_complet(d);
        return;
    }
    d.message = "Toutes les pièces sont déjà à leur place.";
}

void montrer_solution(t_defi &d) {
    d.tenue = -1;
    t_places solution = d.places;
    for (int k = 0; k < NB_PIECES; ++k)
        if (d.a_placer[k]) solution[k] = place_de(d.piece[k]);
    if (solution != d.places) changer(d);
    d.places = solution;
    d.pas = -1; // judged with the knight at his start
    t_piecer piece[NB_PIECES];
    pieces_du_moment(d, piece);
    d.verdict = evaluer(construire_scene(piece));
    d.solution_vue = true;
    d.etat = DEFI_SOLUTION_VUE;
    d.pas = d.verdict.echec == E_AUCUN ? 0 : -1;
    d.message = "La solution du " + nom_du_defi(d) + ".";
    d.annonces.push_back(nom_du_defi(d) + " : solution montrée");
}

void juger(t_defi &d) {
    d.pas = -1; // judged with the knight at his start
    t_piecer piece[NB_PIECES];
    pieces_du_moment(d, piece);
    const t_scene scene = construire_scene(piece);
    d.verdict = evaluer_en_detail(scene);
    d.jugement = ++jugements_rendus;
    const std::string niveau_n = nom_du_defi(d) + " : ";
    if (d.verdict.echec == E_AUCUN) {
        d.etat = d.solution_vue ? DEFI_SOLUTION_VUE : DEFI_RESOLU;
        d.pas = 0;
        d.message = d.solution_vue ? "Résolu, après avoir vu la solution."
                                   : "Résolu ! Le chevalier rejoint la princesse.";
        d.annonces.push_back(niveau_n + "résolu");
        return;
    }
    d.etat = DEFI_ECHOUE;
    const std::string pourquoi = expliquer(d.verdict, scene);
    d.message = majuscule(pourquoi) + ".";
    // The stack alone tips though the knight stands on it at his start: said outright, since
    // he is drawn there and would otherwise seem to weigh in.
    const t_lieu depart = {d.piece[ID_CHEVALIER].colonne - PLATEAU_COLONNE,
                           d.piece[ID_CHEVALIER].ligne};
    if (d.verdict.echec == E_TOMBE_SEUL && d.verdict.chute.piece >= 0 && depart.h > 0)
        d.message = majuscule(pourquoi) + ", même sans le chevalier.";
    // Where the knight stops, said in the window only: the line on standard output stays.
    const std::string impasse = expliquer_impasse(d.verdict.impasse);
    if (d.verdict.echec == E_SANS_CHEMIN && !impasse.empty())
        d.message =
            "Le chevalier ne trouve aucun chemin : après la case entourée, " + impasse + ".";
    d.annonces.push_back(niveau_n + pourquoi);
}

bool en_marche(const t_defi &d) {
    return d.pas >= 0 && size_t(d.pas) + 1 < d.verdict.chemin.lieux.size();
}

void avancer_marche(t_defi &d) {
    if (en_marche(d)) ++d.pas;
}

std::string expliquer(const t_verdict &v, const t_scene &s) {
    const std::string piece = nom_commun(v.piece);
    // The piece that tips and its side, where one held would do; else the whole stack.
    const std::string qui = v.chute.piece >= 0
                                ? std::string(nom_commun(v.chute.piece)) + " bascule vers la " +
                                      (v.chute.cote < 0 ? "gauche" : "droite")
                                : "";
    switch (v.echec) {
    case E_AUCUN:
        return "résolu";
    case E_SUR_FIGURE:
        return piece + " repose sur " + nom_commun(v.autre) + ", qui ne porte rien";
    case E_FLOTTE:
        return piece + " n'a rien dessous";
    case E_SANS_APPUI:
        return "le chevalier n'a pas où poser les pieds";
    case E_A_COTE:
        return "le chevalier est déjà à côté de la princesse";
    case E_SANS_CHEMIN:
        return "le chevalier ne trouve aucun chemin jusqu'à la princesse";
    case E_TOMBE_SEUL:
        if (!qui.empty()) return qui;
        return "l'empilement bascule : il ne tient pas debout";
    case E_TOMBE_AU_DEPART:
        if (!qui.empty()) return qui + " sous le chevalier, dès son départ";
        if (v.bascule.h == 0) return "l'empilement bascule : il ne tient pas debout";
        return "l'empilement bascule sous le chevalier, dès son départ " +
               sous_le_chevalier(s, v.bascule);
    case E_TOMBE:
        if (!qui.empty())
            return qui + " quand le chevalier passe " + sous_le_chevalier(s, v.bascule);
        return "l'empilement bascule quand le chevalier passe " + sous_le_chevalier(s, v.bascule);
    }
    return "";
}

std::string expliquer_impasse(const t_impasse &im) {
    switch (im.obstacle) {
    case O_AUCUN:
        break;
    case O_MARCHE_HAUTE:
        return "un changement de hauteur sans marche d'escalier";
    case O_SANS_PLACE:
        return "pas deux cases libres pour passer";
    case O_SANS_APPUI:
        return "rien où poser les pieds";
    }
    return "";
}
