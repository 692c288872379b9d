// capture_niveau.cpp: draws levels off-screen with the program's own drawing code and saves
// them: a level's solution as the viewer shows it, or its challenge as the challenge mode
// first shows it (the starting pieces where they stand, the pieces to place in the tray); and
// the printed pictures: each level drawn for paper, with its board's cells outlined over a
// ground line and, for a challenge, a tray whose pieces stand apart.
// Usage: capture_niveau [--defi] FOLDER LEVEL OUT.bmp   one level, the whole window
//        capture_niveau [--defi] FOLDER all OUT.bmp     a sheet of levels 1 to 48 drawn for
//                                                      paper, 40 pixels a cell, captioned
//        capture_niveau --livret FOLDER OUTDIR          the booklet's pictures, 100 pixels a
//                                                      cell (see ecrire_livret)
// FOLDER holds what the viewer reads; the trace file is written there as the viewer does.
#include "defi/defi.h"
#include "fichiers/fichier.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"
#include "niveau/formes.h"
#include "plateforme/ecran_defi.h"
#include "rendu/rendu.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A level drawn for paper, at the window's 100 pixels a cell; in pixels of the picture: the
// board's 6 by 6 cells at x and y 25 to 624, the ground under them, and for a challenge the
// tray from x 675 to 1174, as high as the board. The picture is 650 pixels high, 650 wide for
// a solution and 1200 for a challenge; scripts/livret.py lays the pictures out on these
// measures. The board's pieces are drawn in the window at columns 1 to 6 and rows 1 to 6
// (x 100 to 699, y 50 to 649), and the picture cut out of it from x 75 and y 25.
constexpr int CASE = 100;
constexpr int DECALAGE_COLONNE = 1 - PLATEAU_COLONNE, DECALAGE_LIGNE = 1;
constexpr int COUPE_X = 75, COUPE_Y = 25;
constexpr int PLATEAU_X = 100, PLATEAU_Y = 50, PLATEAU_COTE = 600;
constexpr int RESERVE_X = 750, RESERVE_L = 500;
constexpr int VIGNETTE_H = 650, VIGNETTE_L_SOLUTION = 650, VIGNETTE_L_DEFI = 1200;
// Inside the tray, in half cells: its width and the gap between two pieces.
constexpr int RESERVE_DEMI = 9, ECART_DEMI = 1;

struct t_rgb {
    Uint8 r, g, b;
};
// Light tints that print: the board, the tray, and darker lines for the cells and the edges.
constexpr t_rgb BLANC = {255, 255, 255};
constexpr t_rgb FOND_PLATEAU = {236, 247, 240};
constexpr t_rgb LIGNE_GRILLE = {150, 185, 165};
constexpr t_rgb BORD = {60, 90, 75};
constexpr t_rgb FOND_RESERVE = {246, 243, 232};
constexpr t_rgb BORD_RESERVE = {170, 160, 130};
constexpr t_rgb SOL = {92, 64, 40};
constexpr t_rgb POSEE = {210, 25, 45};

void remplir(SDL_Surface *s, int x, int y, int l, int h, t_rgb c) {
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(l), Uint16(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

void cadre(SDL_Surface *s, int x, int y, int l, int h, int e, t_rgb c) {
    remplir(s, x, y, l, e, c);
    remplir(s, x, y + h - e, l, e, c);
    remplir(s, x, y, e, h, c);
    remplir(s, x + l - e, y, e, h, c);
}

SDL_Surface *nouvelle_surface(int l, int h) {
    return SDL_CreateRGBSurface(SDL_SWSURFACE, l, h, 32, ecran->format->Rmask, ecran->format->Gmask,
                                ecran->format->Bmask, 0);
}

// The window's rectangle (x, y, l, h) as a surface of its own.
SDL_Surface *decouper(int x, int y, int l, int h) {
    SDL_Surface *s = nouvelle_surface(l, h);
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(l), Uint16(h)};
    SDL_BlitSurface(ecran, &r, s, nullptr);
    return s;
}

// One piece alone, drawn at window cell (0, 0) over the colour fond, cut to its box.
SDL_Surface *piece_seule(int id, int rotation, t_rgb fond) {
    t_piecer piece[NB_PIECES] = {};
    const t_forme &f = *forme_de(id, rotation);
    piece[id].id = id;
    piece[id].dans_le_jeu = OUI;
    piece[id].rotation = rotation;
    piece[id].largeur = f.largeur;
    piece[id].hauteur = f.hauteur;
    remplir(ecran, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, fond);
    dessiner_pieces_defi(piece);
    return decouper(0, SCREEN_HEIGHT - f.hauteur * CASE, f.largeur * CASE, f.hauteur * CASE);
}

// A piece in the tray for paper: which, and its box's lower left in pixels from the left edge
// of the tray's inside and from its floor.
struct t_rangee {
    int id, x, y;
};

// The tray for paper: the pieces to place upright, facing left, half a cell apart on shelves
// from the floor up, each shelf centred; each piece, the big staircase first and the cube
// last, on the lowest shelf with room left for it, or on a new one half a cell above the
// highest piece. The window's tray has them at fixed places, next to the board.
std::vector<t_rangee> ranger_reserve(const t_defi &d) {
    struct t_etage {
        int y, largeur = 0;
        std::vector<size_t> pieces;
    };
    std::vector<t_rangee> rangees;
    std::vector<t_etage> etages;
    int haut = 0;
    for (int k : {ID_GRAND_ESCALIER, ID_PETIT_ESCALIER_1, ID_PETIT_ESCALIER_2, ID_CUBE}) {
        if (!d.a_placer[k]) continue;
        const t_forme &f = *forme_de(k, est_escalier(k) ? DEBOUT_GAUCHE : 0);
        const int l = 2 * f.largeur;
        auto e = std::find_if(etages.begin(), etages.end(), [&](const t_etage &etage) {
            return etage.largeur + ECART_DEMI + l <= RESERVE_DEMI;
        });
        if (e == etages.end()) {
            etages.push_back({etages.empty() ? 0 : haut + ECART_DEMI, -ECART_DEMI, {}});
            e = etages.end() - 1;
        }
        rangees.push_back({k, (e->largeur + ECART_DEMI) * CASE / 2, e->y * CASE / 2});
        e->largeur += ECART_DEMI + l;
        e->pieces.push_back(rangees.size() - 1);
        haut = std::max(haut, e->y + 2 * f.hauteur);
    }
    for (const t_etage &e : etages)
        for (size_t i : e.pieces) rangees[i].x += (RESERVE_DEMI - e.largeur) * CASE / 4;
    return rangees;
}

// A frame of width e inside the edges of shape f, placed at window cell (colonne, ligne), that
// face no solid cell of its own.
void entourer(SDL_Surface *s, const t_forme &f, int colonne, int ligne, int e, t_rgb c) {
    const auto plein = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < f.largeur && y < f.hauteur && f.pleine(x, y);
    };
    for (int y = 0; y < f.hauteur; ++y)
        for (int x = 0; x < f.largeur; ++x) {
            if (!f.pleine(x, y)) continue;
            const int px = (colonne + x) * CASE, py = SCREEN_HEIGHT - (ligne + y + 1) * CASE;
            if (!plein(x - 1, y)) remplir(s, px, py, e, CASE, c);
            if (!plein(x + 1, y)) remplir(s, px + CASE - e, py, e, CASE, c);
            if (!plein(x, y + 1)) remplir(s, px, py, CASE, e, c);
            if (!plein(x, y - 1)) remplir(s, px, py + CASE - e, CASE, e, c);
        }
}

// Level n drawn for paper: its challenge, or its solution with the pieces the player places
// outlined. Null when the level cannot be played; a_placer gets its number of pieces to place.
SDL_Surface *vignette(int n, bool defi, int &a_placer) {
    static t_defi d;
    ouvrir_defi(d, n);
    if (d.etat == DEFI_ILLISIBLE) {
        std::fprintf(stderr, "capture_niveau: level %d: %s\n", n, d.message.c_str());
        return nullptr;
    }
    a_placer = compter_a_placer(d);
    // The tray's pieces first: each is drawn alone in the window.
    std::vector<std::pair<SDL_Surface *, SDL_Rect>> reserve;
    if (defi)
        for (const t_rangee &r : ranger_reserve(d)) {
            SDL_Surface *p =
                piece_seule(r.id, est_escalier(r.id) ? DEBOUT_GAUCHE : 0, FOND_RESERVE);
            const Sint16 x = Sint16(RESERVE_X + (RESERVE_L - RESERVE_DEMI * CASE / 2) / 2 + r.x);
            // Standing on the tray's frame, 4 pixels thick.
            const Sint16 y = Sint16(PLATEAU_Y + PLATEAU_COTE - 4 - r.y - p->h);
            reserve.push_back({p, {x, y, 0, 0}});
        }
    t_piecer piece[NB_PIECES];
    std::copy(d.piece, d.piece + NB_PIECES, piece);
    for (int k = 0; k < NB_PIECES; ++k) {
        piece[k].colonne += DECALAGE_COLONNE;
        piece[k].ligne += DECALAGE_LIGNE;
        if (defi && d.a_placer[k]) piece[k].dans_le_jeu = NON;
    }

    SDL_Surface *s = ecran;
    remplir(s, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, BLANC);
    remplir(s, PLATEAU_X, PLATEAU_Y, PLATEAU_COTE, PLATEAU_COTE, FOND_PLATEAU);
    // The cells under the pieces, so that a staircase's empty corner still shows its cell.
    for (int i = 1; i < PLATEAU_LARGEUR; ++i) {
        remplir(s, PLATEAU_X + i * CASE - 1, PLATEAU_Y, 3, PLATEAU_COTE, LIGNE_GRILLE);
        remplir(s, PLATEAU_X, PLATEAU_Y + i * CASE - 1, PLATEAU_COTE, 3, LIGNE_GRILLE);
    }
    dessiner_pieces_defi(piece);
    if (!defi)
        for (int k = 0; k < NB_PIECES; ++k)
            if (d.a_placer[k])
                entourer(s, *forme_de(k, piece[k].rotation), piece[k].colonne, piece[k].ligne, 7,
                         POSEE);
    cadre(s, PLATEAU_X - 3, PLATEAU_Y - 3, PLATEAU_COTE + 6, PLATEAU_COTE + 3, 4, BORD);
    remplir(s, PLATEAU_X - 20, PLATEAU_Y + PLATEAU_COTE, PLATEAU_COTE + 40, 16, SOL);
    if (defi) {
        remplir(s, RESERVE_X, PLATEAU_Y, RESERVE_L, PLATEAU_COTE, FOND_RESERVE);
        cadre(s, RESERVE_X, PLATEAU_Y, RESERVE_L, PLATEAU_COTE, 4, BORD_RESERVE);
    }
    for (auto &[p, r] : reserve) {
        SDL_BlitSurface(p, nullptr, s, &r);
        SDL_FreeSurface(p);
    }
    return decouper(COUPE_X, COUPE_Y, defi ? VIGNETTE_L_DEFI : VIGNETTE_L_SOLUTION, VIGNETTE_H);
}

// Copies source into dest at (xd, yd), scaled by num / den, each pixel the mean of the source
// pixels it covers.
void reduire(SDL_Surface *source, SDL_Surface *dest, int xd, int yd, int num, int den) {
    SDL_LockSurface(source);
    SDL_LockSurface(dest);
    const int ld = source->w * num / den, hd = source->h * num / den;
    for (int y = 0; y < hd; ++y)
        for (int x = 0; x < ld; ++x) {
            unsigned somme[3] = {0, 0, 0}, n = 0;
            for (int sy = y * den / num; sy < (y + 1) * den / num; ++sy)
                for (int sx = x * den / num; sx < (x + 1) * den / num; ++sx) {
                    Uint32 p;
                    std::memcpy(
                        &p, static_cast<Uint8 *>(source->pixels) + sy * source->pitch + sx * 4, 4);
                    Uint8 c[3];
                    SDL_GetRGB(p, source->format, &c[0], &c[1], &c[2]);
                    for (int i = 0; i < 3; ++i) somme[i] += c[i];
                    ++n;
                }
            const Uint32 v = SDL_MapRGB(dest->format, Uint8(somme[0] / n), Uint8(somme[1] / n),
                                        Uint8(somme[2] / n));
            std::memcpy(static_cast<Uint8 *>(dest->pixels) + (yd + y) * dest->pitch + (xd + x) * 4,
                        &v, 4);
        }
    SDL_UnlockSurface(dest);
    SDL_UnlockSurface(source);
}

// Writes texte (UTF-8) at (x, y) on s; returns the x after it.
int ecrire(SDL_Surface *s, TTF_Font *f, int style, const std::string &texte, int x, int y) {
    if (f == nullptr) return x;
    TTF_SetFontStyle(f, style);
    SDL_Surface *t = TTF_RenderUTF8_Blended(f, texte.c_str(), couleurNoire);
    if (t == nullptr) return x;
    SDL_Rect r = {Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(t, nullptr, s, &r);
    const int fin = x + t->w;
    SDL_FreeSurface(t);
    return fin;
}

// The width of texte in font f, 0 without a font.
int largeur(TTF_Font *f, int style, const std::string &texte) {
    int l = 0, h = 0;
    if (f == nullptr) return 0;
    TTF_SetFontStyle(f, style);
    return TTF_SizeUTF8(f, texte.c_str(), &l, &h) == 0 ? l : 0;
}

constexpr int ECHELLE_NUM = 2, ECHELLE_DEN = 5; // 40 pixels a cell
constexpr int LEGENDE = 34;                     // room for the caption above each level
constexpr int ECART = 16;

// Levels 1 to 48 as the booklet draws them, smaller, each captioned with its number and its
// pieces to place; null if a level cannot be drawn.
SDL_Surface *planche(bool defi) {
    TTF_Font *f = TTF_OpenFont("arial.ttf", 20);
    // Each caption is one line, which may be wider than a solution.
    const std::string separateur = " · ", exemple = "Niveau 48",
                      pieces = dire_pieces(4) + " à placer";
    const int l = (defi ? VIGNETTE_L_DEFI : VIGNETTE_L_SOLUTION) * ECHELLE_NUM / ECHELLE_DEN;
    const int h = VIGNETTE_H * ECHELLE_NUM / ECHELLE_DEN;
    const int pas_x = std::max(l, largeur(f, TTF_STYLE_BOLD, exemple) +
                                      largeur(f, TTF_STYLE_NORMAL, separateur + pieces)) +
                      ECART;
    const int colonnes = defi ? 4 : 6;
    const int lignes = (NB_NIVEAUX + colonnes - 1) / colonnes;
    SDL_Surface *s =
        nouvelle_surface(colonnes * pas_x + ECART, lignes * (h + LEGENDE + ECART) + ECART);
    remplir(s, 0, 0, s->w, s->h, BLANC);
    bool bon = true;
    for (int n = 1; n <= NB_NIVEAUX && bon; ++n) {
        int a_placer = 0;
        SDL_Surface *v = vignette(n, defi, a_placer);
        bon = v != nullptr;
        if (!bon) break;
        const int x = ECART + ((n - 1) % colonnes) * pas_x;
        const int y = ECART + ((n - 1) / colonnes) * (h + LEGENDE + ECART);
        reduire(v, s, x, y + LEGENDE, ECHELLE_NUM, ECHELLE_DEN);
        SDL_FreeSurface(v);
        const int fin = ecrire(s, f, TTF_STYLE_BOLD, "Niveau " + std::to_string(n), x + 4, y + 4);
        ecrire(s, f, TTF_STYLE_NORMAL, separateur + dire_pieces(a_placer) + " à placer", fin,
               y + 4);
    }
    if (f != nullptr) TTF_CloseFont(f);
    if (!bon) {
        SDL_FreeSurface(s);
        return nullptr;
    }
    return s;
}

bool enregistrer(SDL_Surface *s, const std::string &chemin) {
    const bool bon = s != nullptr && SDL_SaveBMP(s, chemin.c_str()) == 0;
    if (s != nullptr && !bon)
        std::fprintf(stderr, "capture_niveau: %s: %s\n", chemin.c_str(), SDL_GetError());
    if (s != nullptr) SDL_FreeSurface(s);
    return bon;
}

// The booklet's pictures, into the folder sortie: defiNN.bmp and solutionNN.bmp for every
// level (NN on two digits), pieceI_R.bmp for piece I in orientation R (0 for the pieces that
// have none) on white, and niveaux.txt, one line "N K" a level: its pieces to place.
bool ecrire_livret(const std::string &sortie) {
    std::string liste;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        char nom[32];
        int a_placer = 0;
        std::snprintf(nom, sizeof nom, "/defi%02d.bmp", n);
        if (!enregistrer(vignette(n, true, a_placer), sortie + nom)) return false;
        std::snprintf(nom, sizeof nom, "/solution%02d.bmp", n);
        if (!enregistrer(vignette(n, false, a_placer), sortie + nom)) return false;
        liste += std::to_string(n) + " " + std::to_string(a_placer) + "\n";
    }
    for (int id = 0; id < NB_PIECES; ++id) {
        const int derniere = est_escalier(id) ? NB_ORIENTATIONS : 0;
        for (int r = est_escalier(id) ? 1 : 0; r <= derniere; ++r) {
            char nom[32];
            std::snprintf(nom, sizeof nom, "/piece%d_%d.bmp", id, r);
            if (!enregistrer(piece_seule(id, r, BLANC), sortie + nom)) return false;
        }
    }
    FILE *f = std::fopen((sortie + "/niveaux.txt").c_str(), "w");
    const bool bon = f != nullptr && std::fputs(liste.c_str(), f) >= 0;
    if (f == nullptr || std::fclose(f) != 0 || !bon) {
        std::perror((sortie + "/niveaux.txt").c_str());
        return false;
    }
    return true;
}

// The challenge as the challenge mode's window first shows it, every piece to place in the
// tray; a run of its own, so that no player's progress shows.
void dessiner_defi(int n) {
    static t_partie partie;
    lire_niveaux(partie); // what the level brings new is known from the levels before it
    partie.courant = n;
    ouvrir_defi(defi_courant(partie), n);
    dessiner_defi(partie);
}

} // namespace

int main(int argc, char **argv) {
    const bool livret = argc > 1 && std::strcmp(argv[1], "--livret") == 0;
    const bool defi = argc > 1 && std::strcmp(argv[1], "--defi") == 0;
    if (livret ? argc != 4 : argc != 4 + defi) {
        std::fprintf(stderr, "usage: capture_niveau [--defi] FOLDER LEVEL|all OUT.bmp\n"
                             "       capture_niveau --livret FOLDER OUTDIR\n");
        return 2;
    }
    const int premier = livret || defi ? 2 : 1;
    const char *dossier = argv[premier], *quoi = argv[premier + 1];
    const std::string sortie = fs::absolute(argv[argc - 1]).string();
    if (chdir(dossier) != 0) {
        std::perror(dossier);
        return 1;
    }
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (demarrer() != 1) return 1;
    ouvrir_ecran_defi();
    bool bon;
    if (livret) {
        bon = ecrire_livret(sortie);
    } else if (std::strcmp(quoi, "all") == 0) {
        bon = enregistrer(planche(defi), sortie);
    } else {
        niveau = std::atoi(quoi);
        load_fichier();
        if (defi)
            dessiner_defi(niveau);
        else
            dessiner();
        bon = SDL_SaveBMP(ecran, sortie.c_str()) == 0;
        if (!bon) std::fprintf(stderr, "capture_niveau: %s: %s\n", sortie.c_str(), SDL_GetError());
    }
    fermer_ecran_defi();
    arreter();
    return bon ? 0 : 1;
}
