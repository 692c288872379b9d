// boucle.cpp: the viewer's start-up, its main loop's pass and its event handling.
#include "visionneuse/boucle.h"

#include "fichiers/fichier.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"
#include "rendu/rendu.h"

#include <SDL.h>
#include <cstdio>

namespace {

constexpr int NIVEAU_MIN = 1;
constexpr int NIVEAU_MAX = NB_NIVEAUX;
// Highest value of a piece's turn counter.
constexpr int ROTATION_MAX = 5;
// A click takes a piece when it lands strictly nearer than this to its point, on both axes.
constexpr int RAYON_PRISE = 50;

// Turns the held piece's counter by sens (+1 or -1), once per press.
void tourner(int sens) {
    if (autoriser_rotation != OUI) return;
    const int var = chercher_piece_prise();
    if (var == -1 || pieces[var].rotation_possible != OUI) return;
    int &rotation = pieces[var].rotation;
    rotation += sens;
    if (rotation > ROTATION_MAX) rotation = 0;
    if (rotation < 0) rotation = ROTATION_MAX;
    autoriser_rotation = 0;
}

// Steps the level by sens (+1 or -1), once per press, and reads the new level at once.
void changer_niveau(int sens) {
    if (change != 0) return;
    change = 1;
    niveau += sens;
    if (niveau > NIVEAU_MAX) niveau = NIVEAU_MIN;
    if (niveau < NIVEAU_MIN) niveau = NIVEAU_MAX;
    load_fichier();
}

void prendre_piece(int x, int y) {
    if (id_piece_prise != -1) return;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (x > pieces[k].x - RAYON_PRISE && x < pieces[k].x + RAYON_PRISE &&
            y > pieces[k].y - RAYON_PRISE && y < pieces[k].y + RAYON_PRISE) {
            pieces[k].prise = OUI;
            id_piece_prise = k;
            return;
        }
    }
}

void lacher_piece() {
    if (id_piece_prise == -1) return;
    pieces[id_piece_prise].prise = NON;
    id_piece_prise = -1;
}

} // namespace

// Every failure stops here with a message: running on with no screen would crash at the
// first fill.
int ouvrir_fenetre() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "valdrune: cannot initialise SDL: %s\n", SDL_GetError());
        return 0;
    }
    if (TTF_Init() != 0) {
        std::fprintf(stderr, "valdrune: cannot initialise SDL_ttf: %s\n", TTF_GetError());
        SDL_Quit();
        return 0;
    }
    ecran = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (ecran == nullptr) {
        std::fprintf(stderr, "valdrune: cannot open the %dx%d window: %s\n", SCREEN_WIDTH,
                     SCREEN_HEIGHT, SDL_GetError());
        TTF_Quit();
        SDL_Quit();
        return 0;
    }
    SDL_WM_SetCaption("Jeu Valdrune", nullptr);
    return 1;
}

int demarrer() {
    if (ouvrir_fenetre() != 1) return 0;
    init();
    init_font();
    init_layout();
    load_fichier();
    return 1;
}

int traiter_evenement() {
    switch (event.type) {
    case SDL_QUIT:
        return 0;
    case SDL_KEYDOWN:
        switch (event.key.keysym.sym) {
        case SDLK_UP:
        case SDLK_DOWN:
            if (change == 1) change = 0;
            break;
        case SDLK_RIGHT:
            tourner(+1);
            break;
        case SDLK_LEFT:
            tourner(-1);
            break;
        default:
            break;
        }
        break;
    case SDL_KEYUP:
        switch (event.key.keysym.sym) {
        case SDLK_UP:
            changer_niveau(+1);
            break;
        case SDLK_DOWN:
            changer_niveau(-1);
            break;
        case SDLK_RIGHT:
        case SDLK_LEFT:
            autoriser_rotation = 1;
            break;
        default:
            break;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT) prendre_piece(event.button.x, event.button.y);
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT) lacher_piece();
        break;
    default:
        break;
    }
    return 1;
}

void dessiner() {
    SDL_FillRect(ecran, nullptr, SDL_MapRGB(ecran->format, 17, 206, 112));
    affich_solution();
    affich_info();
    SDL_Flip(ecran);
}

int passe() {
    // Only a new event is acted on: the handlers would leave the state as it is anyway
    // if the last one were handled again.
    int continuer = 1;
    if (SDL_PollEvent(&event) == 1) continuer = traiter_evenement();
    dessiner();
    return continuer;
}

void arreter() {
    // Only a font that opened is closed, and none is left behind for a later start.
    if (police != nullptr) TTF_CloseFont(police);
    police = nullptr;
    TTF_Quit();
    SDL_Quit();
}
