// rendu.cpp: the drawables, the solution view and the information panel.
#include "rendu/rendu.h"

#include "jeu/jeu.h"
#include "jeu/modele.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>

t_layout support[6];
t_layout personnage_f, personnage_h, cube_simple, cube_avec_apendice, tour;
t_layout grand_escalier[NB_ORIENTATIONS + 1];
t_layout petit_escalier[NB_ORIENTATIONS + 1];
SDL_Color couleurNoire = {0, 0, 0, 0};
TTF_Font *police = nullptr;
t_layout texte;
char buff[100];

namespace {

// Edge of a grid cell in pixels, as the solution view places pieces.
constexpr long long CASE = 100;

// A screen coordinate as a rectangle can hold it: stored unclamped, a piece far outside the
// window would wrap round into it.
Sint16 borner(long long v) {
    return static_cast<Sint16>(std::clamp(v, -32768LL, 32767LL));
}

SDL_Surface *creer_tuile(int largeur, int hauteur, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_HWSURFACE, largeur, hauteur, 32, 0, 0, 0, 0);
    if (s == nullptr) {
        std::fprintf(stderr, "valdrune: cannot create a %dx%d tile: %s\n", largeur, hauteur,
                     SDL_GetError());
        return nullptr;
    }
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    return s;
}

// The fifteen images in the order they are read.
struct t_image {
    const char *nom;
    t_layout *dessin;
    bool cle_verte;
};

const t_image images[] = {
    {"img_cube_simple.bmp", &cube_simple, false},
    {"img_cube_avec_apendice.bmp", &cube_avec_apendice, false},
    {"img_grand_escalier_debout_gauche.bmp", &grand_escalier[DEBOUT_GAUCHE], true},
    {"img_grand_escalier_debout_droite.bmp", &grand_escalier[DEBOUT_DROITE], true},
    {"img_grand_escalier_gauche_gauche.bmp", &grand_escalier[GAUCHE_GAUCHE], true},
    {"img_grand_escalier_gauche_droite.bmp", &grand_escalier[GAUCHE_DROITE], true},
    {"img_grand_escalier_droite_droite.bmp", &grand_escalier[DROITE_DROITE], true},
    {"img_grand_escalier_droite_gauche.bmp", &grand_escalier[DROITE_GAUCHE], true},
    {"img_petit_escalier_debout_gauche.bmp", &petit_escalier[DEBOUT_GAUCHE], true},
    {"img_petit_escalier_debout_droite.bmp", &petit_escalier[DEBOUT_DROITE], true},
    {"img_petit_escalier_gauche_gauche.bmp", &petit_escalier[GAUCHE_GAUCHE], true},
    {"img_petit_escalier_gauche_droite.bmp", &petit_escalier[GAUCHE_DROITE], true},
    {"img_petit_escalier_droite_droite.bmp", &petit_escalier[DROITE_DROITE], true},
    {"img_petit_escalier_droite_gauche.bmp", &petit_escalier[DROITE_GAUCHE], true},
    {"img_tour.bmp", &tour, false},
};

// The pieces drawn with one drawable each, in drawing order; the staircases follow them.
struct t_dessin_simple {
    int id;
    t_layout *dessin;
};

const t_dessin_simple dessins_simples[] = {
    {ID_PRINCESSE, &personnage_f},
    {ID_CHEVALIER, &personnage_h},
    {ID_CUBE, &cube_simple},
    {ID_CUBE_AVEC_APPENDICE_1, &cube_avec_apendice},
    {ID_CUBE_AVEC_APPENDICE_2, &cube_avec_apendice},
    {ID_TOUR_1, &tour},
    {ID_TOUR_2, &tour},
};

struct t_dessin_escalier {
    int id;
    t_layout *images; // indexed by orientation value
};

const t_dessin_escalier dessins_escaliers[] = {
    {ID_GRAND_ESCALIER, grand_escalier},
    {ID_PETIT_ESCALIER_1, petit_escalier},
    {ID_PETIT_ESCALIER_2, petit_escalier},
};

// Places a piece's surface at its cells and draws it whole.
void dessiner_piece(const t_piecer &p, SDL_Surface *surface, SDL_Rect &position) {
    position.x = borner(CASE * p.colonne);
    position.y = borner(SCREEN_HEIGHT - CASE * (static_cast<long long>(p.ligne) + p.hauteur));
    if (surface != nullptr) SDL_BlitSurface(surface, nullptr, ecran, &position);
}

enum { GAUCHE, DROITE };

// Renders buff and draws it in the column's slot, then frees it at once.
void afficher_ligne(int colonne, int rang) {
    // Rendering with no font would crash: without arial.ttf the panel stays empty.
    if (police == nullptr) return;
    texte.surface = TTF_RenderText_Blended(police, buff, couleurNoire);
    if (texte.surface == nullptr) return;
    const long long x = colonne == DROITE ? SCREEN_WIDTH - texte.surface->w : 0;
    texte.position.x = borner(x);
    texte.position.y = borner(static_cast<long long>(rang) * texte.surface->h);
    SDL_BlitSurface(texte.surface, nullptr, ecran, &texte.position);
    SDL_FreeSurface(texte.surface);
    texte.surface = nullptr;
}

const char *oui_non(int drapeau) {
    return drapeau == OUI ? "OUI" : "NON";
}

} // namespace

SDL_Surface *charger_image(const char *nom, bool cle_verte) {
#ifdef __EMSCRIPTEN__
    // The browser's SDL numbers its open files from 0, which the check below reads as a
    // failure: the image is opened by name.
    SDL_Surface *s = SDL_LoadBMP(nom);
#else
    SDL_RWops *flux = SDL_RWFromFile(nom, "rb");
    SDL_Surface *s = flux != nullptr ? SDL_LoadBMP_RW(flux, 1) : nullptr;
#endif
    if (s == nullptr) {
        std::fprintf(stderr, "valdrune: %s: %s\n", nom, SDL_GetError());
        return nullptr;
    }
#ifdef __EMSCRIPTEN__
    // The browser's SDL has no colour key: the key colour becomes transparency once, here.
    if (!cle_verte || SDL_LockSurface(s) != 0) return s;
    const Uint32 alpha = s->format->Amask, cle = SDL_MapRGB(s->format, 0, 255, 0) & ~alpha;
    for (int y = 0; y < s->h; ++y) {
        Uint32 *ligne = reinterpret_cast<Uint32 *>(static_cast<Uint8 *>(s->pixels) + y * s->pitch);
        for (int x = 0; x < s->w; ++x)
            if ((ligne[x] & ~alpha) == cle) ligne[x] &= ~alpha;
    }
    SDL_UnlockSurface(s);
#else
    if (cle_verte) SDL_SetColorKey(s, SDL_SRCCOLORKEY, SDL_MapRGB(s->format, 0, 255, 0));
#endif
    return s;
}

void init_font() {
    police = TTF_OpenFont("arial.ttf", 13);
    if (police == nullptr) std::fprintf(stderr, "valdrune: arial.ttf: %s\n", TTF_GetError());
}

void init_layout() {
    for (int i = 0; i < 6; ++i) {
        const Uint8 gris = i % 2 == 0 ? 200 : 150;
        t_layout &s = support[i];
        s.surface = creer_tuile(taille_cube, taille_cube, gris, gris, gris);
        if (s.surface == nullptr) continue;
        s.position.y = borner(SCREEN_HEIGHT - s.surface->h);
        s.position.x = borner(SCREEN_WIDTH / 2 + (i - 3) * s.surface->w);
    }
    personnage_f.surface = creer_tuile(taille_cube, 2 * taille_cube, 255, 100, 255);
    personnage_h.surface = creer_tuile(taille_cube, 2 * taille_cube, 0, 0, 255);
    for (const t_image &image : images)
        image.dessin->surface = charger_image(image.nom, image.cle_verte);
}

void affich_solution() {
    dessiner_pieces(jeu.piece);
}

void dessiner_pieces(const t_piecer piece[NB_PIECES]) {
    for (const t_dessin_simple &d : dessins_simples) {
        const t_piecer &p = piece[d.id];
        if (p.dans_le_jeu == OUI) dessiner_piece(p, d.dessin->surface, d.dessin->position);
    }
    SDL_Rect position{};
    for (const t_dessin_escalier &d : dessins_escaliers) {
        const t_piecer &p = piece[d.id];
        if (p.dans_le_jeu != OUI) continue;
        const bool a_une_image = p.rotation >= 1 && p.rotation <= NB_ORIENTATIONS;
        dessiner_piece(p, a_une_image ? d.images[p.rotation].surface : nullptr, position);
    }
}

void affich_info() {
    const int numero = chercher_piece_prise();
    if (numero == -1) {
        const char *etiquettes[] = {
            "disponible : ", "prise : ", "x : ", "y : ", "rotation possible : ", "rotation : "};
        for (int rang = 0; rang < 6; ++rang) {
            std::snprintf(buff, sizeof buff, "%s", etiquettes[rang]);
            afficher_ligne(GAUCHE, rang);
        }
        std::snprintf(buff, sizeof buff, "niveau : %d", niveau);
        afficher_ligne(DROITE, 6);
    } else {
        const t_piece &p = pieces[numero];
        std::snprintf(buff, sizeof buff, "disponible : %s", oui_non(p.disponible));
        afficher_ligne(GAUCHE, 0);
        // No blank before the colon, unlike every other label: the documented text, kept.
        std::snprintf(buff, sizeof buff, "prise: OUI");
        afficher_ligne(GAUCHE, 1);
        std::snprintf(buff, sizeof buff, "x : %d", p.x);
        afficher_ligne(GAUCHE, 2);
        std::snprintf(buff, sizeof buff, "y : %d", p.y);
        afficher_ligne(GAUCHE, 3);
        std::snprintf(buff, sizeof buff, "rotation possible : %s", oui_non(p.rotation_possible));
        afficher_ligne(GAUCHE, 4);
        std::snprintf(buff, sizeof buff, "rotation : %d", p.rotation);
        afficher_ligne(GAUCHE, 5);
    }
    std::snprintf(buff, sizeof buff, "pos_x_sur_grille : %d", pos_x_sur_grille);
    afficher_ligne(GAUCHE, 6);
    std::snprintf(buff, sizeof buff, "pos_y_sur_grille : %d", pos_y_sur_grille);
    afficher_ligne(GAUCHE, 7);
    for (int r = 5; r >= 1; --r) {
        const int16_t *m = matrice[r];
        std::snprintf(buff, sizeof buff, "%d %d %d %d %d %d", m[0], m[1], m[2], m[3], m[4], m[5]);
        afficher_ligne(DROITE, 5 - r);
    }
}
