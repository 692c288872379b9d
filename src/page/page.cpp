// page.cpp: the program as a web page. The browser calls a frame at a time, so the loops of
// the viewer and of the challenge mode become frame functions; everything else is the desktop's
// code. Built only by cmake/page (scripts/web.sh).
#include "defi/partie.h"
#include "jeu/jeu.h"
#include "niveau/lecture.h"
#include "plateforme/boucle_defi.h"
#include "plateforme/ecran_defi.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <cstdio>
#include <cstring>
#include <emscripten.h>

// What page.js gives the C++ side.
extern "C" {
void noter_image();
void lire_progression(const char *fichier);
void garder_progression(const char *fichier);
}

namespace {

// The viewer's pass, with every waiting event: a moving pointer queues many in a frame.
void passe_page() {
    while (SDL_PollEvent(&event) == 1) traiter_evenement();
    dessiner();
    noter_image();
}

t_partie partie; // large: kept out of the stack
t_progres progres_garde;
bool redessiner = true, animait = false;

// N and 1 to 4 make a challenge in threads, which the page has not: they do nothing here.
bool demande_un_defi_fabrique(const SDL_Event &e) {
    if (e.type != SDL_KEYDOWN) return false;
    const SDLKey k = e.key.keysym.sym;
    return k == SDLK_n || (k >= SDLK_1 && k <= SDLK_4) || (k >= SDLK_KP1 && k <= SDLK_KP4);
}

// The challenge mode's pass: the events, the knight's next foothold when due, the lines for
// standard output, the progress into the browser's storage once it changed, and a frame only
// when something changed.
void passe_defi() {
    SDL_Event e;
    while (SDL_PollEvent(&e) == 1)
        if (!demande_un_defi_fabrique(e)) traiter_evenement_defi(partie, e, redessiner);
    const Uint32 maintenant = SDL_GetTicks();
    marcher_a_l_heure(partie, maintenant);
    // Every frame while the knight walks or a solve is celebrated, and one more once done.
    const bool bouge = en_marche(defi_courant(partie)) || en_fete(partie, maintenant);
    redessiner = redessiner || bouge || animait;
    animait = bouge;
    annoncer(partie);
    if (std::memcmp(&partie.progres, &progres_garde, sizeof progres_garde) != 0 &&
        partie.erreur_progres.empty()) {
        garder_progression(FICHIER_PROGRES);
        progres_garde = partie.progres;
    }
    if (!redessiner) return;
    dessiner_defi(partie, maintenant);
    SDL_Flip(ecran);
    noter_image();
    redessiner = false;
}

} // namespace

// The page gives the arguments of the address: "--defi N" for index.html?defi=N.
int main(int argc, char **argv) {
    if (argc < 2 || std::strcmp(argv[1], "--defi") != 0) {
        if (demarrer() != 1) return 1;
        emscripten_set_main_loop(passe_page, 0, 1);
        return 0;
    }
    if (demarrer_defi() != 1) return 1;
    // A level that is not one opens the first not solved, as --defi alone does.
    const int n = argc >= 3 ? int(lire_nombre(argv[2], NB_NIVEAUX)) : 0;
    lire_progression(FICHIER_PROGRES);
    commencer_partie(partie, n);
    progres_garde = partie.progres;
    emscripten_set_main_loop(passe_defi, 0, 1);
    return 0;
}
