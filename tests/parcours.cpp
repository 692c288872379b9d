// parcours.cpp: a short run of the program under the dummy video driver, for valgrind: start,
// every level up, every level down, close the window, shut down.
// Run in a folder that holds the program's data; exits 0 when it ends back at level 19.
#include "jeu/boucle.h"
#include "jeu/jeu.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

void pousser(Uint8 type, SDLKey touche) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.keysym.sym = touche;
    SDL_PushEvent(&e);
}

} // namespace

int main() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (demarrer() != 1) return 1;
    for (SDLKey touche : {SDLK_UP, SDLK_DOWN})
        for (int n = 0; n < 48; ++n) {
            pousser(SDL_KEYDOWN, touche);
            pousser(SDL_KEYUP, touche);
            passe();
            passe();
        }
    pousser(SDL_QUIT, SDLK_UNKNOWN);
    while (passe() == 1) {
    }
    arreter();
    return niveau == 19 ? 0 : 1;
}
