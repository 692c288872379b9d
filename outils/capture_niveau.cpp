// capture_niveau.cpp: draws levels off-screen with the program's own drawing code and saves
// them: a level's solution as the viewer shows it, or its challenge as the challenge mode
// first shows it (the starting pieces where they stand, the pieces to place in the tray).
// Usage: capture_niveau [--defi] FOLDER LEVEL OUT.bmp   one level, the whole window
//        capture_niveau [--defi] FOLDER all OUT.bmp     a sheet of levels 1 to 48, each cropped
//                                                      to its board, 40 pixels a cell
// FOLDER holds what the viewer reads; the trace file is written there as the viewer does.
#include "fichiers/fichier.h"
#include "jeu/boucle.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"
#include "plateforme/ecran_defi.h"
#include "regles/solveur.h"
#include "regles/variete.h"
#include "rendu/rendu.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// What a thumbnail shows of the window: the board (columns 4 to 9, rows 0 to 5) with half a
// cell around it, and for a challenge the tray too.
constexpr int CADRE_X = 350, CADRE_Y = 110, CADRE_H = 640;
constexpr int CADRE_L_SOLUTION = 700, CADRE_L_DEFI = 1150;
constexpr int ECHELLE_SUR_10 = 4; // 40 pixels a cell
constexpr int LEGENDE = 24;       // room for the caption above each thumbnail
constexpr int ECART = 8;
// The challenge as the challenge mode's window first shows it, every piece to place in the
// tray; a run of its own, so that no player's progress shows.
void dessiner_defi(int n) {
    static t_partie partie;
    partie.courant = n;
    ouvrir_defi(defi_courant(partie), n);
    dessiner_defi(partie);
}

void afficher_niveau(int n, bool defi) {
    niveau = n;
    load_fichier();
    if (defi)
        dessiner_defi(n);
    else
        dessiner();
}

// Copies the window's rectangle (x0, y0, l, h) into dest at (xd, yd), scaled by ECHELLE_SUR_10
// tenths, each pixel the mean of the window's pixels it covers.
void reduire(SDL_Surface *dest, int x0, int y0, int l, int h, int xd, int yd) {
    SDL_LockSurface(ecran);
    SDL_LockSurface(dest);
    const int ld = l * ECHELLE_SUR_10 / 10, hd = h * ECHELLE_SUR_10 / 10;
    for (int y = 0; y < hd; ++y)
        for (int x = 0; x < ld; ++x) {
            unsigned somme[3] = {0, 0, 0}, n = 0;
            for (int sy = y * 10 / ECHELLE_SUR_10; sy < (y + 1) * 10 / ECHELLE_SUR_10; ++sy)
                for (int sx = x * 10 / ECHELLE_SUR_10; sx < (x + 1) * 10 / ECHELLE_SUR_10; ++sx) {
                    Uint32 p;
                    std::memcpy(&p,
                                static_cast<Uint8 *>(ecran->pixels) + (y0 + sy) * ecran->pitch +
                                    (x0 + sx) * 4,
                                4);
                    Uint8 c[3];
                    SDL_GetRGB(p, ecran->format, &c[0], &c[1], &c[2]);
                    for (int i = 0; i < 3; ++i) somme[i] += c[i];
                    ++n;
                }
            const Uint32 v = SDL_MapRGB(dest->format, Uint8(somme[0] / n), Uint8(somme[1] / n),
                                        Uint8(somme[2] / n));
            std::memcpy(static_cast<Uint8 *>(dest->pixels) + (yd + y) * dest->pitch + (xd + x) * 4,
                        &v, 4);
        }
    SDL_UnlockSurface(dest);
    SDL_UnlockSurface(ecran);
}

// All 48 levels, cropped to their board, with each level's number and pieces to place.
SDL_Surface *planche(bool defi) {
    const int l = (defi ? CADRE_L_DEFI : CADRE_L_SOLUTION) * ECHELLE_SUR_10 / 10;
    const int h = CADRE_H * ECHELLE_SUR_10 / 10;
    const int colonnes = defi ? 4 : 6;
    const int lignes = (NB_NIVEAUX + colonnes - 1) / colonnes;
    SDL_Surface *s = SDL_CreateRGBSurface(
        SDL_SWSURFACE, colonnes * (l + ECART) + ECART, lignes * (h + LEGENDE + ECART) + ECART, 32,
        ecran->format->Rmask, ecran->format->Gmask, ecran->format->Bmask, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 255, 255, 255));
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        afficher_niveau(n, defi);
        const int x = ECART + ((n - 1) % colonnes) * (l + ECART);
        const int y = ECART + ((n - 1) / colonnes) * (h + LEGENDE + ECART);
        reduire(s, CADRE_X, CADRE_Y, l * 10 / ECHELLE_SUR_10, CADRE_H, x, y + LEGENDE);
        const int nb =
            static_cast<int>(std::count_if(jeu.piece, jeu.piece + NB_PIECES, est_a_placer));
        char legende[64];
        // Latin-1, as the panel's text is.
        std::snprintf(legende, sizeof legende,
                      "niveau %d : %d pi\xe8"
                      "ce%s \xe0 placer",
                      n, nb, nb > 1 ? "s" : "");
        if (SDL_Surface *t =
                police ? TTF_RenderText_Blended(police, legende, couleurNoire) : nullptr) {
            SDL_Rect r = {Sint16(x + 2), Sint16(y + 4), 0, 0};
            SDL_BlitSurface(t, nullptr, s, &r);
            SDL_FreeSurface(t);
        }
    }
    return s;
}

} // namespace

int main(int argc, char **argv) {
    const bool defi = argc > 1 && std::strcmp(argv[1], "--defi") == 0;
    if (argc != 4 + defi) {
        std::fprintf(stderr, "usage: capture_niveau [--defi] FOLDER LEVEL|all OUT.bmp\n");
        return 2;
    }
    const char *dossier = argv[1 + defi], *quoi = argv[2 + defi];
    const std::string sortie = std::filesystem::absolute(argv[3 + defi]).string();
    if (chdir(dossier) != 0) {
        std::perror(dossier);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (demarrer() != 1) return 1;
    ouvrir_police_defi();
    int erreur = 0;
    if (std::strcmp(quoi, "all") != 0) {
        afficher_niveau(std::atoi(quoi), defi);
        erreur = SDL_SaveBMP(ecran, sortie.c_str());
    } else {
        SDL_Surface *s = planche(defi);
        erreur = SDL_SaveBMP(s, sortie.c_str());
        SDL_FreeSurface(s);
    }
    if (erreur != 0)
        std::fprintf(stderr, "capture_niveau: %s: %s\n", sortie.c_str(), SDL_GetError());
    fermer_police_defi();
    arreter();
    return erreur == 0 ? 0 : 1;
}
