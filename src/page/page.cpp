// page.cpp: the program as a web page. The browser calls a frame at a time, so the loops of
// the viewer and of the challenge mode become frame functions, which stop the browser's frames
// while nothing changes; the page's buttons and a finger's touches come in as events; a random
// challenge is made a slice of stacks a frame, the page having no threads. Everything else is
// the desktop's code. Built only by cmake/page (scripts/web.sh).
#include "defi/partie.h"
#include "jeu/jeu.h"
#include "niveau/lecture.h"
#include "plateforme/boucle_defi.h"
#include "plateforme/ecran_defi.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <emscripten.h>
#include <random>
#include <string>
#include <vector>

// What page.js gives the C++ side.
extern "C" {
void noter_image();
void lire_progression(const char *fichier);
void garder_progression(const char *fichier);
void attendre_evenement();
void montrer_etat(const char *ecran, int pieces, const char *lignes);
void signaler_erreur(const char *texte);
}

namespace {

// The codes of the events the page pushes besides the mouse's: a button pressed (its action in
// data1, and a number of pieces in data2 for a random challenge), a tap at pixel (data1, data2).
enum { U_ACTION = 0x7000, U_TAPE };

// The buttons of the page, as page.html numbers them.
enum t_action {
    A_TOURNER_GAUCHE,
    A_TOURNER_DROITE,
    A_ANNULER,
    A_RECOMMENCER,
    A_INDICE,
    A_SOLUTION,
    A_PRECEDENT,
    A_SUIVANT,
    A_CARTE,
    A_REGLES,
    A_ALEATOIRE,
    A_ARRETER
};

void pousser(int code, int a, int b) {
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    e.user.code = code;
    e.user.data1 = reinterpret_cast<void *>(intptr_t(a));
    e.user.data2 = reinterpret_cast<void *>(intptr_t(b));
    SDL_PushEvent(&e);
}

int entier(void *donnee) {
    return int(reinterpret_cast<intptr_t>(donnee));
}

// A tap is the mouse's click where the game has no use for a finger's own gesture.
template <typename F> void cliquer(int x, int y, F traiter) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = Uint16(x);
    e.button.y = Uint16(y);
    traiter(e);
    e.type = SDL_MOUSEBUTTONUP;
    traiter(e);
}

// ---- the viewer

bool dessiner_vue = true;

// The viewer draws after the events that came, every waiting one: a moving pointer queues many
// in a frame. It has nothing that moves by itself: without events, the frames stop.
void passe_page() {
    while (SDL_PollEvent(&event) == 1) {
        if (event.type == SDL_USEREVENT && event.user.code == U_TAPE) {
            const int x = entier(event.user.data1), y = entier(event.user.data2);
            cliquer(x, y, [](const SDL_Event &e) {
                event = e;
                traiter_evenement();
            });
        } else if (event.type != SDL_USEREVENT) {
            traiter_evenement();
        }
        dessiner_vue = true;
    }
    if (dessiner_vue) {
        dessiner();
        noter_image();
        dessiner_vue = false;
    }
    attendre_evenement();
}

// ---- the challenge mode

t_partie partie; // large: kept out of the stack
t_progres progres_garde;
bool redessiner = true, animait = false;
int derniere_touchee = -1; // the piece the turn buttons turn when none is held
std::string etat_montre;
double dernier_compte = 0; // when the count of stacks tried was last drawn

constexpr double TRANCHE_MS = 28; // a frame's share of making a challenge: 30 frames a second
constexpr double SUIVI_MS = 100;  // the count of stacks tried, drawn as often as the desktop's

// A finger's tap on a piece to place turns it where it stands; elsewhere, and on the map or
// the rules, it is a click.
void taper(int x, int y) {
    const bool jeu = !partie.carte && !partie.regles && !en_fabrication(partie) &&
                     !en_fete(partie, SDL_GetTicks());
    const int k = jeu ? piece_sous(defi_courant(partie), x / taille_cube,
                                   (SCREEN_HEIGHT - 1 - y) / taille_cube)
                      : -1;
    if (k == -1) {
        cliquer(x, y, [](const SDL_Event &e) { traiter_evenement_defi(partie, e, redessiner); });
        return;
    }
    derniere_touchee = k;
    commander(partie, C_TOURNER_ICI, k, 1);
}

void agir(t_action a, int pieces) {
    if (en_fete(partie, SDL_GetTicks())) finir_fete(partie);
    // A button over the rules closes them first, as a key does.
    if (partie.regles && a != A_REGLES) commander(partie, C_REGLES);
    const int niveau = partie.courant;
    const t_defi &d = defi_courant(partie);
    switch (a) {
    case A_TOURNER_GAUCHE:
    case A_TOURNER_DROITE: {
        const int sens = a == A_TOURNER_DROITE ? 1 : -1;
        if (d.tenue == -1 && derniere_touchee != -1)
            commander(partie, C_TOURNER_ICI, derniere_touchee, sens);
        else
            commander(partie, sens == 1 ? C_TOURNER_DROITE : C_TOURNER_GAUCHE);
        break;
    }
    case A_ANNULER:
    case A_RECOMMENCER:
    case A_INDICE:
    case A_SOLUTION:
    case A_PRECEDENT:
    case A_SUIVANT: {
        // The buttons that are a key's command as it is, in the order of t_action.
        static constexpr t_commande commandes[] = {C_ANNULER,  C_RECOMMENCER, C_INDICE,
                                                   C_SOLUTION, C_PRECEDENT,   C_SUIVANT};
        commander(partie, commandes[a - A_ANNULER]);
        break;
    }
    case A_CARTE:
        if (!partie.carte) commander(partie, C_CARTE);
        break;
    case A_REGLES:
        commander(partie, C_REGLES);
        break;
    case A_ALEATOIRE:
        commander(partie, C_PIECES, pieces);
        break;
    case A_ARRETER:
        if (en_fabrication(partie)) commander(partie, C_REPOSER);
        break;
    }
    if (partie.courant != niveau || partie.carte) derniere_touchee = -1;
}

void traiter(const SDL_Event &e) {
    if (e.type == SDL_USEREVENT && e.user.code == U_ACTION)
        agir(t_action(entier(e.user.data1)), entier(e.user.data2));
    else if (e.type == SDL_USEREVENT && e.user.code == U_TAPE)
        taper(entier(e.user.data1), entier(e.user.data2));
    else if (e.type != SDL_USEREVENT)
        traiter_evenement_defi(partie, e, redessiner);
    redessiner = redessiner || e.type == SDL_USEREVENT;
    if (defi_courant(partie).tenue != -1) derniere_touchee = defi_courant(partie).tenue;
}

// A slice of the challenge being made, then, once made, the challenge in play.
void fabriquer_un_moment(double maintenant) {
    t_fabrication &f = partie.atelier->suivi;
    while (!avancer_fabrication(f, 16) && emscripten_get_now() - maintenant < TRANCHE_MS) {
    }
    if (f.finie && suivre_fabrication(partie)) {
        redessiner = true;
        derniere_touchee = -1;
    } else if (maintenant - dernier_compte >= SUIVI_MS) {
        redessiner = true;
        dernier_compte = maintenant;
    }
}

// The page's own lines and buttons follow the screen: which one, the pieces chosen for a random
// challenge, and the lines the canvas shows above the board, one a line.
void montrer() {
    std::string lignes;
    for (const std::string &l : textes_defi(partie)) lignes += l + "\n";
    const std::string ecran = std::string(partie.regles  ? "regles"
                                          : partie.carte ? "carte"
                                                         : "defi") +
                              (en_fabrication(partie) ? " fabrication" : "");
    const std::string etat = ecran + std::to_string(partie.pieces_voulues) + lignes;
    if (etat == etat_montre) return;
    etat_montre = etat;
    montrer_etat(ecran.c_str(), partie.pieces_voulues, lignes.c_str());
}

// The challenge mode's pass: the events, a slice of the challenge being made, the knight's next
// foothold when due, the lines for standard output, the progress into the browser's storage
// once it changed, and a frame only when something changed; with nothing left to do, the
// frames stop until an event comes.
void passe_defi() {
    SDL_Event e;
    while (SDL_PollEvent(&e) == 1) traiter(e);
    if (en_fabrication(partie)) fabriquer_un_moment(emscripten_get_now());
    const Uint32 maintenant = SDL_GetTicks();
    marcher_a_l_heure(partie, maintenant);
    // Every frame while the knight walks, a piece that tips leans over or a solve is
    // celebrated, and one more once done.
    const bool penche = suivre_chute(partie, maintenant); // its clock starts with its verdict
    const bool bouge = en_marche(defi_courant(partie)) || en_fete(partie, maintenant) || penche;
    redessiner = redessiner || bouge || animait;
    animait = bouge;
    annoncer(partie);
    if (std::memcmp(&partie.progres, &progres_garde, sizeof progres_garde) != 0 &&
        partie.erreur_progres.empty()) {
        garder_progression(FICHIER_PROGRES);
        progres_garde = partie.progres;
    }
    if (redessiner) {
        dessiner_defi(partie, maintenant);
        SDL_Flip(ecran);
        noter_image();
        montrer();
        redessiner = false;
    }
    if (!bouge && !en_fabrication(partie)) attendre_evenement();
}

} // namespace

// From page.html: a finger's press (0), move (1) and release (2) at a pixel of the canvas, as
// the mouse's; a tap, a touch that did not move; a button's action.
extern "C" EMSCRIPTEN_KEEPALIVE void pousser_souris(int quoi, int x, int y) {
    SDL_Event e{};
    if (quoi == 1) {
        e.type = SDL_MOUSEMOTION;
        e.motion.state = SDL_BUTTON(SDL_BUTTON_LEFT);
        e.motion.x = Uint16(x);
        e.motion.y = Uint16(y);
    } else {
        e.type = quoi == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = Uint16(x);
        e.button.y = Uint16(y);
    }
    SDL_PushEvent(&e);
}
extern "C" EMSCRIPTEN_KEEPALIVE void pousser_tape(int x, int y) {
    pousser(U_TAPE, x, y);
}
extern "C" EMSCRIPTEN_KEEPALIVE void pousser_action(int action, int pieces) {
    pousser(U_ACTION, action, pieces);
}

// The page gives the arguments of the address: "--defi N" for index.html?defi=N, "--defi
// --graine S --pieces K" for ?graine=S&pieces=K, either of the two alone.
int main(int argc, char **argv) {
    if (argc < 2 || std::strcmp(argv[1], "--defi") != 0) {
        if (demarrer() != 1) return 1;
        emscripten_set_main_loop(passe_page, 0, 1);
        return 0;
    }
    if (demarrer_defi() != 1) return 1;
    int n = 0, pieces = 0;
    uint32_t graine = 0;
    std::string erreur;
    for (int i = 2; i < argc; ++i) {
        const bool option_graine = std::strcmp(argv[i], "--graine") == 0 && i + 1 < argc,
                   option_pieces = std::strcmp(argv[i], "--pieces") == 0 && i + 1 < argc;
        if (option_graine && (graine = lire_nombre(argv[++i], GRAINE_MAX)) == 0)
            erreur = "Graine « " + std::string(argv[i]) + " » refusée : les graines vont de 1 à " +
                     std::to_string(GRAINE_MAX) + ".";
        else if (option_pieces && (pieces = int(lire_nombre(argv[++i], 4))) == 0)
            erreur = "« " + std::string(argv[i]) + " » pièces à placer : de 1 à 4 seulement.";
        // A level that is not one opens the first not solved, as --defi alone does.
        else if (!option_graine && !option_pieces)
            n = int(lire_nombre(argv[i], NB_NIVEAUX));
    }
    lire_progression(FICHIER_PROGRES);
    partie.hasard = t_hasard(std::random_device()());
    partie.fils = SANS_FILS;
    commencer_partie(partie, n);
    progres_garde = partie.progres;
    if (!erreur.empty()) {
        signaler_erreur(erreur.c_str());
    } else {
        if (pieces != 0) partie.pieces_voulues = pieces;
        if (graine != 0)
            fabriquer(partie, {graine}, partie.pieces_voulues);
        else if (pieces != 0)
            commander(partie, C_NOUVEAU);
    }
    emscripten_set_main_loop(passe_defi, 0, 1);
    return 0;
}
