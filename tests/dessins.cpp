// dessins.cpp: freeing the drawables between runs.
#include "dessins.h"

#include "jeu/jeu.h"

#include <SDL.h>
#include <initializer_list>

namespace {

void liberer(t_layout &d) {
    SDL_FreeSurface(d.surface);
    d = t_layout{};
}

} // namespace

void liberer_surfaces() {
    for (t_layout &d : support) liberer(d);
    for (t_layout *d : {&personnage_f, &personnage_h, &cube_simple, &cube_avec_apendice, &tour})
        liberer(*d);
    for (int v = 0; v <= NB_ORIENTATIONS; ++v) {
        liberer(grand_escalier[v]);
        liberer(petit_escalier[v]);
    }
}

void liberer_dessins() {
    liberer_surfaces();
    if (police != nullptr) TTF_CloseFont(police);
    police = nullptr;
}
