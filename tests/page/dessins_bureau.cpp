// dessins_bureau.cpp: what the desktop's code draws, for the page's test to hold the browser's
// frames against. Run in a folder with the data and the font, with SDL's dummy video driver:
//   dessins_bureau vue SEQUENCE   the viewer at start, then after each step of SEQUENCE (H: Up
//                                 pressed and released, B: Down, P: the left button pressed at
//                                 (10, 10), L: released there);
//   dessins_bureau defi N...      the first frame of level N's challenge, for each N;
//   dessins_bureau graine S K     the first frame of the challenge made from seed S with K
//                                 pieces, as --defi --graine S --pieces K makes it, on threads.
// One line per frame: the mode, the level, the runs of rows of text above HAUT ("3-14,18-29,|3-11,"
// for the left half, then the right), and a hash of each row from HAUT down. HAUT is the panel's
// foot in the viewer (eight lines of 15 pixels), the board's top in the challenge mode.
#include "defi/partie.h"
#include "visionneuse/boucle.h"
#include "jeu/jeu.h"
#include "plateforme/ecran_defi.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr int HAUT_VUE = 120, HAUT_DEFI = 150;

// The page's test computes the same from the canvas: FNV-1a over each pixel's red, green and
// blue, for each row from `haut` down; above it, the runs of rows where a pixel differs from
// the background, in the left half of the window, then in the right half.
void ecrire_image(const char *mode, int n, int haut) {
    SDL_LockSurface(ecran);
    const SDL_PixelFormat *f = ecran->format;
    std::string bandes[2], empreintes;
    int debut[2] = {-1, -1};
    for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const auto *ligne = static_cast<const Uint8 *>(ecran->pixels) + y * ecran->pitch;
        uint32_t h = 2166136261U;
        bool encre[2] = {false, false};
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
            Uint32 p = 0;
            std::memcpy(&p, ligne + x * f->BytesPerPixel, f->BytesPerPixel);
            Uint8 rgb[3];
            SDL_GetRGB(p, f, &rgb[0], &rgb[1], &rgb[2]);
            for (Uint8 c : rgb) h = (h ^ c) * 16777619U;
            encre[2 * x / SCREEN_WIDTH] |= rgb[0] != 17 || rgb[1] != 206 || rgb[2] != 112;
        }
        if (y >= haut) {
            empreintes += " " + std::to_string(h);
            continue;
        }
        for (int m = 0; m < 2; ++m) {
            if (encre[m] && debut[m] == -1) debut[m] = y;
            if (debut[m] == -1 || (encre[m] && y < haut - 1)) continue;
            bandes[m] +=
                std::to_string(debut[m]) + "-" + std::to_string(encre[m] ? y : y - 1) + ",";
            debut[m] = -1;
        }
    }
    SDL_UnlockSurface(ecran);
    std::printf("%s %d %s|%s%s\n", mode, n, bandes[0].c_str(), bandes[1].c_str(),
                empreintes.c_str());
}

void frapper(SDLKey touche) {
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = touche;
    traiter_evenement();
    event.type = SDL_KEYUP;
    traiter_evenement();
}

void cliquer(Uint8 type) {
    event.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = event.button.y = 10;
    traiter_evenement();
}

} // namespace

int main(int argc, char **argv) {
    const bool graine = argc == 4 && std::strcmp(argv[1], "graine") == 0;
    if (argc < 3 ||
        (std::strcmp(argv[1], "vue") != 0 && std::strcmp(argv[1], "defi") != 0 && !graine)) {
        std::fprintf(stderr, "usage: dessins_bureau vue SEQUENCE | defi N... | graine S K\n");
        return 2;
    }
    if (demarrer() != 1) return 1;
    if (std::strcmp(argv[1], "vue") == 0) {
        dessiner();
        ecrire_image("vue", niveau, HAUT_VUE);
        for (const char *c = argv[2]; *c != '\0'; ++c) {
            if (*c == 'H') frapper(SDLK_UP);
            if (*c == 'B') frapper(SDLK_DOWN);
            if (*c == 'P') cliquer(SDL_MOUSEBUTTONDOWN);
            if (*c == 'L') cliquer(SDL_MOUSEBUTTONUP);
            dessiner();
            ecrire_image("vue", niveau, HAUT_VUE);
        }
    } else if (graine) {
        ouvrir_ecran_defi();
        const auto partie = std::make_unique<t_partie>();
        commencer_partie(*partie, 0);
        const auto s = uint32_t(std::atol(argv[2]));
        partie->pieces_voulues = std::atoi(argv[3]);
        fabriquer(*partie, {s}, partie->pieces_voulues);
        while (!suivre_fabrication(*partie)) SDL_Delay(1);
        partie->regles = false; // the rules of a first run, over it
        dessiner_defi(*partie);
        ecrire_image("graine", int(s), HAUT_DEFI);
        fermer_ecran_defi();
    } else {
        ouvrir_ecran_defi();
        for (int i = 2; i < argc; ++i) {
            const auto partie = std::make_unique<t_partie>();
            commencer_partie(*partie, std::atoi(argv[i]));
            dessiner_defi(*partie);
            ecrire_image("defi", defi_courant(*partie).niveau, HAUT_DEFI);
        }
        fermer_ecran_defi();
    }
    arreter();
    return 0;
}
