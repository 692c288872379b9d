// sdl_factice.cpp: the dummy-driver screen of the tests.
#include "sdl_factice.h"

#include "dessins.h"

#include <cstdlib>
#include <cstring>

void AvecEcran::SetUp() {
    DansDossier::SetUp();
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_EQ(TTF_Init(), 0);
    ecran = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, SDL_HWSURFACE | SDL_DOUBLEBUF);
    ASSERT_NE(ecran, nullptr) << SDL_GetError();
}

void AvecEcran::TearDown() {
    liberer_dessins();
    TTF_Quit();
    SDL_Quit();
    ecran = nullptr;
    DansDossier::TearDown();
}

SDL_Event touche(Uint8 type, SDLKey sym) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    return e;
}

SDL_Event bouton(Uint8 type, Uint8 numero, Uint16 x, Uint16 y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = type;
    e.button.type = type;
    e.button.button = numero;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    return e;
}

void ecrire_bmp(const std::string &nom, int largeur, int hauteur, Uint32 fond, bool coin_vert) {
    SDL_Surface *s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, largeur, hauteur, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(s, nullptr);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, fond >> 16, fond >> 8 & 0xff, fond & 0xff));
    SDL_Rect coin{0, 0, 50, 50};
    if (coin_vert) SDL_FillRect(s, &coin, SDL_MapRGB(s->format, 0, 255, 0));
    ASSERT_EQ(SDL_SaveBMP(s, nom.c_str()), 0);
    SDL_FreeSurface(s);
}
