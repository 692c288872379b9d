// sdl_factice.h: a window-less screen under SDL's dummy video driver, and event makers.
#pragma once

#include "aide.h"

#include <SDL.h>
#include <string>

// A fresh working directory with the start state, SDL's video and SDL_ttf up, and ecran a
// 1500 by 750 screen surface in memory.
class AvecEcran : public DansDossier {
  protected:
    void SetUp() override;
    void TearDown() override;
};

SDL_Event touche(Uint8 type, SDLKey sym);
SDL_Event bouton(Uint8 type, Uint8 numero, Uint16 x, Uint16 y);

// Writes a 24-bit bitmap of one colour (0xRRGGBB), its top-left 50-pixel square pure green
// when coin_vert.
void ecrire_bmp(const std::string &nom, int largeur, int hauteur, Uint32 fond,
                bool coin_vert = false);
