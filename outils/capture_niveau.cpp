// capture_niveau.cpp: draws levels off-screen with the viewer's own pass and saves them.
// Usage: capture_niveau FOLDER LEVEL OUT.bmp   one level, full size, as the window shows it
//        capture_niveau FOLDER all OUT.bmp     a contact sheet of levels 1 to 48
// FOLDER holds what the viewer reads; the trace file is written there as the viewer does.
#include "fichiers/fichier.h"
#include "jeu/boucle.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"
#include "rendu/rendu.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int NB_NIVEAUX = 48;
constexpr int REDUCTION = 5; // a thumbnail is the window shrunk five times
constexpr int COLONNES = 6;  // thumbnails per row of the sheet
constexpr int MARGE = 24;    // room for the level's number above each thumbnail

// Shrinks the screen into dest at (x0, y0), each pixel the mean of a REDUCTION-square block.
void reduire(SDL_Surface *dest, int x0, int y0) {
    SDL_LockSurface(ecran);
    SDL_LockSurface(dest);
    for (int y = 0; y < ecran->h / REDUCTION; ++y)
        for (int x = 0; x < ecran->w / REDUCTION; ++x) {
            unsigned somme[3] = {0, 0, 0};
            for (int dy = 0; dy < REDUCTION; ++dy)
                for (int dx = 0; dx < REDUCTION; ++dx) {
                    Uint32 p;
                    std::memcpy(&p,
                                static_cast<Uint8 *>(ecran->pixels) +
                                    (y * REDUCTION + dy) * ecran->pitch + (x * REDUCTION + dx) * 4,
                                4);
                    Uint8 c[3];
                    SDL_GetRGB(p, ecran->format, &c[0], &c[1], &c[2]);
                    for (int i = 0; i < 3; ++i) somme[i] += c[i];
                }
            const int n = REDUCTION * REDUCTION;
            const Uint32 v = SDL_MapRGB(dest->format, Uint8(somme[0] / n), Uint8(somme[1] / n),
                                        Uint8(somme[2] / n));
            std::memcpy(static_cast<Uint8 *>(dest->pixels) + (y0 + y) * dest->pitch + (x0 + x) * 4,
                        &v, 4);
        }
    SDL_UnlockSurface(dest);
    SDL_UnlockSurface(ecran);
}

void afficher_niveau(int n) {
    niveau = n;
    load_fichier();
    dessiner();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: capture_niveau FOLDER LEVEL|all OUT.bmp\n");
        return 2;
    }
    const std::string sortie = std::filesystem::absolute(argv[3]).string();
    if (chdir(argv[1]) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (demarrer() != 1) return 1;
    int erreur = 0;
    if (std::strcmp(argv[2], "all") != 0) {
        afficher_niveau(std::atoi(argv[2]));
        erreur = SDL_SaveBMP(ecran, sortie.c_str());
    } else {
        const int l = SCREEN_WIDTH / REDUCTION, h = SCREEN_HEIGHT / REDUCTION;
        const int lignes = (NB_NIVEAUX + COLONNES - 1) / COLONNES;
        SDL_Surface *planche = SDL_CreateRGBSurface(
            SDL_SWSURFACE, COLONNES * (l + 4), lignes * (h + MARGE + 4), 32, ecran->format->Rmask,
            ecran->format->Gmask, ecran->format->Bmask, 0);
        SDL_FillRect(planche, nullptr, SDL_MapRGB(planche->format, 255, 255, 255));
        for (int n = 1; n <= NB_NIVEAUX; ++n) {
            afficher_niveau(n);
            const int x = ((n - 1) % COLONNES) * (l + 4) + 2;
            const int y = ((n - 1) / COLONNES) * (h + MARGE + 4) + 2;
            reduire(planche, x, y + MARGE);
            char titre[32];
            std::snprintf(titre, sizeof titre, "niveau %d", n);
            if (SDL_Surface *t =
                    police ? TTF_RenderText_Blended(police, titre, couleurNoire) : nullptr) {
                SDL_Rect r = {Sint16(x + 4), Sint16(y + 4), 0, 0};
                SDL_BlitSurface(t, nullptr, planche, &r);
                SDL_FreeSurface(t);
            }
        }
        erreur = SDL_SaveBMP(planche, sortie.c_str());
        SDL_FreeSurface(planche);
    }
    if (erreur != 0)
        std::fprintf(stderr, "capture_niveau: %s: %s\n", sortie.c_str(), SDL_GetError());
    arreter();
    return erreur == 0 ? 0 : 1;
}
