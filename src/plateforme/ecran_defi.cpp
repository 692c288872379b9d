// ecran_defi.cpp: the challenge mode's window: the board and its tray, the pieces where they
// stand, the held piece, what the verdict marks, and the game's lines above the board.
#include "plateforme/ecran_defi.h"

#include "jeu/jeu.h"
#include "rendu/rendu.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

// The lines' font; none without arial.ttf.
static TTF_Font *police_defi = nullptr;
// The characters, facing left [0] and right [1]; none without their images.
static SDL_Surface *chevalier[2] = {}, *princesse[2] = {};

namespace {

// Above the board (row 5 ends 150 pixels below the window's top): the band of the game's lines.
constexpr int HAUT_DU_PLATEAU = 150;
constexpr int HAUT_DU_BANDEAU = 140;
constexpr int MILIEU = 750;

struct t_rgb {
    Uint8 r, g, b;
};
constexpr t_rgb FOND = {17, 206, 112};
constexpr t_rgb RESERVE = {120, 226, 160};
constexpr t_rgb GRILLE = {12, 178, 96};
constexpr t_rgb SOL = {92, 64, 40};
constexpr t_rgb ROUGE = {220, 20, 30};
constexpr t_rgb OR = {255, 200, 0};
constexpr t_rgb COEUR = {230, 40, 90};
constexpr t_rgb BLANC_TRAIT = {255, 255, 255};
// The lines on a dark band, each colour at least 4.5 times as light as the band (WCAG AA).
constexpr t_rgb BANDEAU = {22, 40, 32};
constexpr SDL_Color BLANC = {255, 255, 255, 0};
constexpr SDL_Color ROUGE_TEXTE = {255, 150, 140, 0};
constexpr SDL_Color VERT_TEXTE = {150, 240, 170, 0};
constexpr SDL_Color GRIS_TEXTE = {200, 210, 205, 0};
constexpr SDL_Color OR_TEXTE = {255, 210, 80, 0};

void remplir(SDL_Surface *s, int x, int y, int l, int h, t_rgb c) {
    SDL_Rect r = {Sint16(x), Sint16(y), Uint16(l), Uint16(h)};
    SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

// Pixel of the top-left corner of window cell (colonne, ligne), for cells near the window.
int x_de(int colonne) {
    return colonne * taille_cube;
}
int y_de(int ligne) {
    return SCREEN_HEIGHT - (ligne + 1) * taille_cube;
}

// A frame of width e along the edges of shape f at (colonne, ligne) that face no solid cell
// of its own: the outline of the piece.
void entourer(SDL_Surface *s, const t_forme &f, int colonne, int ligne, t_rgb c, int e) {
    const auto plein = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < f.largeur && y < f.hauteur && f.pleine(x, y);
    };
    for (int y = 0; y < f.hauteur; ++y)
        for (int x = 0; x < f.largeur; ++x) {
            if (!f.pleine(x, y)) continue;
            const int px = x_de(colonne + x), py = y_de(ligne + y);
            if (!plein(x - 1, y)) remplir(s, px, py, e, taille_cube, c);
            if (!plein(x + 1, y)) remplir(s, px + taille_cube - e, py, e, taille_cube, c);
            if (!plein(x, y + 1)) remplir(s, px, py, taille_cube, e, c);
            if (!plein(x, y - 1)) remplir(s, px, py + taille_cube - e, taille_cube, e, c);
        }
}

void entourer_piece(SDL_Surface *s, const t_piecer &p, t_rgb c) {
    if (const t_forme *f = forme_de(p.id, p.rotation)) entourer(s, *f, p.colonne, p.ligne, c, 4);
}

// One line of text centred on x = MILIEU at height y.
void ecrire(SDL_Surface *s, const std::string &texte, int y, SDL_Color c) {
    if (police_defi == nullptr || texte.empty()) return;
    SDL_Surface *t = TTF_RenderUTF8_Blended(police_defi, texte.c_str(), c);
    if (t == nullptr) return;
    SDL_Rect r = {Sint16(MILIEU - t->w / 2), Sint16(y), 0, 0};
    SDL_BlitSurface(t, nullptr, s, &r);
    SDL_FreeSurface(t);
}

// The board's extent under the pieces: a faint grid over columns 4 to 9, rows 0 to 5, and
// the ground along its foot; the tray beside it in a lighter green.
void dessiner_plateau(SDL_Surface *s) {
    remplir(s, x_de(RESERVE_COLONNE), HAUT_DU_PLATEAU, RESERVE_LARGEUR * taille_cube,
            SCREEN_HEIGHT - HAUT_DU_PLATEAU, RESERVE);
    const int gauche = x_de(PLATEAU_COLONNE), largeur = PLATEAU_LARGEUR * taille_cube;
    for (int i = 0; i <= PLATEAU_LARGEUR; ++i)
        remplir(s, gauche + i * taille_cube - (i == PLATEAU_LARGEUR), HAUT_DU_PLATEAU, 1,
                SCREEN_HEIGHT - HAUT_DU_PLATEAU, GRILLE);
    for (int i = 0; i < PLATEAU_HAUTEUR; ++i)
        remplir(s, gauche, HAUT_DU_PLATEAU + i * taille_cube, largeur, 1, GRILLE);
    remplir(s, gauche, SCREEN_HEIGHT - 4, largeur, 4, SOL);
}

// A disc of radius r centred on (cx, cy), row by row.
void disque(SDL_Surface *s, int cx, int cy, int r, t_rgb c) {
    for (int y = -r; y <= r; ++y) {
        const int l = int(std::sqrt(double(r * r - y * y)));
        remplir(s, cx - l, cy + y, 2 * l + 1, 1, c);
    }
}

// A pixel of the board, from tenths of a cell across it and up from the ground.
int x_dixiemes(int dixiemes) {
    return x_de(PLATEAU_COLONNE) + dixiemes * taille_cube / 10;
}
int y_dixiemes(int dixiemes) {
    return SCREEN_HEIGHT - dixiemes * taille_cube / 10;
}

// Whether the knight, drawn at his start, is among the pieces that tip: only when he stands
// there as they tip.
bool chevalier_dans_la_chute(const t_defi &d) {
    const t_chute &ch = d.verdict.chute;
    return (ch.groupe >> ID_CHEVALIER & 1U) != 0 &&
           ch.chevalier ==
               t_lieu{d.piece[ID_CHEVALIER].colonne - PLATEAU_COLONNE, d.piece[ID_CHEVALIER].ligne};
}

// The pieces that tip as drawn: the piece named, what rests on it, the knight if he is there.
unsigned groupe_dessine(const t_defi &d) {
    const unsigned g = d.verdict.chute.groupe;
    return chevalier_dans_la_chute(d) ? g : g & ~(1U << ID_CHEVALIER);
}

// The pieces in play of `groupe` drawn leaning by `angle` (radians, positive to the right, as
// a clock turns) about pixel (px, py): drawn apart on a keyed surface, then each pixel of the
// window around them taken from where it stood before the turn. Only on 32-bit surfaces: false,
// with nothing drawn, on others or without the memory for it.
bool pencher(SDL_Surface *s, const t_piecer groupe[NB_PIECES], double angle, int px, int py) {
    if (s->format->BytesPerPixel != 4) return false;
    SDL_Surface *a_part = SDL_CreateRGBSurface(SDL_SWSURFACE, s->w, s->h, 32, s->format->Rmask,
                                               s->format->Gmask, s->format->Bmask, 0);
    if (a_part == nullptr) return false;
    const Uint32 cle = SDL_MapRGB(a_part->format, 1, 2, 3);
    SDL_FillRect(a_part, nullptr, cle);
    int x0 = s->w, x1 = 0, y0 = s->h, y1 = 0;
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &q = groupe[k];
        const t_forme *f = q.dans_le_jeu == OUI ? forme_de(q.id, q.rotation) : nullptr;
        if (f == nullptr) continue;
        x0 = std::min(x0, x_de(q.colonne));
        x1 = std::max(x1, x_de(q.colonne + f->largeur));
        y0 = std::min(y0, y_de(q.ligne + f->hauteur - 1));
        y1 = std::max(y1, y_de(q.ligne - 1));
    }
    // The characters and tiles draw on the window's surface: this once, on the one apart.
    SDL_Surface *fenetre = ecran;
    ecran = a_part;
    dessiner_pieces_defi(groupe);
    ecran = fenetre;
    const double co = std::cos(angle), si = std::sin(angle);
    const int r =
        int(std::ceil(std::hypot(std::max(px - x0, x1 - px), std::max(py - y0, y1 - py))));
    SDL_LockSurface(s);
    const auto *source = static_cast<const Uint32 *>(a_part->pixels);
    auto *cible = static_cast<Uint32 *>(s->pixels);
    const int pas_source = a_part->pitch / 4, pas_cible = s->pitch / 4;
    for (int y = std::max(0, py - r); y < std::min(s->h, py + r); ++y)
        for (int x = std::max(0, px - r); x < std::min(s->w, px + r); ++x) {
            // Where this pixel was before the turn: the turn undone.
            const double dx = x - px, dy = y - py;
            const int sx = px + int(std::lround(dx * co + dy * si)),
                      sy = py + int(std::lround(-dx * si + dy * co));
            if (sx < x0 || sx >= x1 || sy < y0 || sy >= y1) continue;
            const Uint32 c = source[sy * pas_source + sx];
            if (c != cle) cible[y * pas_cible + x] = c;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(a_part);
    return true;
}

// Why it tips, once it has leant over and back: the pieces that tip outlined, a plumb line from
// their common centre of weight down to the level they rest on, and the span that holds them.
void montrer_chute(SDL_Surface *s, const t_defi &d, const t_piecer piece[NB_PIECES]) {
    const t_chute &ch = d.verdict.chute;
    const unsigned groupe = groupe_dessine(d);
    for (int k = 0; k < NB_PIECES; ++k)
        if (groupe >> k & 1U) entourer_piece(s, piece[k], ROUGE);
    // On the ground the marks are lifted into the bottom row, or the window's edge cuts them.
    const int xc = x_dixiemes(ch.centre), yc = y_dixiemes(ch.centre_haut),
              ya = std::min(y_dixiemes(10 * ch.appui_ligne), SCREEN_HEIGHT - 26);
    const int xg = x_dixiemes(ch.appui_gauche), xd = x_dixiemes(ch.appui_droite);
    remplir(s, xg - 2, ya - 7, xd - xg + 4, 14, BANDEAU);
    remplir(s, xg, ya - 5, xd - xg, 10, OR);
    remplir(s, xc - 3, std::min(yc, ya), 6, std::abs(ya - yc), BANDEAU);
    remplir(s, xc - 1, std::min(yc, ya), 2, std::abs(ya - yc), BLANC_TRAIT);
    disque(s, xc, yc, 11, BANDEAU);
    disque(s, xc, yc, 8, ROUGE);
    disque(s, xc, ya, 7, BANDEAU);
    disque(s, xc, ya, 5, ROUGE);
    // An arrow under the bar, from the foot of the line toward the side it falls to.
    for (int i = 0; i < 14; ++i) {
        const int x = xc + ch.cote * (12 + 3 * i), moitie = 14 - i;
        remplir(s, ch.cote > 0 ? x : x - 2, ya + 16 - moitie / 2, 3, moitie, ROUGE);
    }
    remplir(s, std::min(xc, xc + ch.cote * 12), ya + 14, 12, 4, ROUGE);
}

// Where the knight can go on "no walk": a mark on each foothold he reaches, the one nearest the
// princess outlined as his body would stand there.
void montrer_impasse(SDL_Surface *s, const t_impasse &im) {
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int h = 0; h < PLATEAU_HAUTEUR; ++h) {
            if (!(im.atteints >> (6 * h + c) & 1U)) continue;
            const int x = x_de(c + PLATEAU_COLONNE) + taille_cube / 2,
                      y = y_de(h) + taille_cube - 16;
            disque(s, x, y, 11, BANDEAU);
            disque(s, x, y, 8, OR);
        }
    // Gold as the footholds: where he stops is not what is wrong.
    if (im.atteints != 0)
        entourer(s, *forme_de(ID_CHEVALIER, 0), im.dernier.c + PLATEAU_COLONNE, im.dernier.h, OR,
                 5);
}

// What the verdict marks: the piece that breaks a rule, or the piece that tips and why, or
// where the knight stands when the level tips, or how far he goes with no way; the princess
// reached, once solved.
void marquer_verdict(SDL_Surface *s, const t_defi &d, const t_piecer piece[NB_PIECES],
                     double chute) {
    const t_verdict &v = d.verdict;
    switch (v.echec) {
    case E_AUCUN:
        if (d.etat == DEFI_RESOLU && !en_marche(d)) entourer_piece(s, piece[ID_PRINCESSE], OR);
        return;
    case E_SUR_FIGURE:
        entourer_piece(s, piece[v.autre], ROUGE);
        entourer_piece(s, piece[v.piece], ROUGE);
        return;
    case E_FLOTTE:
        entourer_piece(s, piece[v.piece], ROUGE);
        return;
    case E_TOMBE_SEUL:
    case E_TOMBE_AU_DEPART:
    case E_TOMBE:
        if (v.chute.piece >= 0 && chute >= 1) montrer_chute(s, d, piece);
        // No one piece to blame: the whole stack is, every piece of it outlined.
        if (v.chute.piece < 0)
            for (int k = 0; k < NB_PIECES; ++k)
                if (!est_figure(k) && piece[k].dans_le_jeu == OUI)
                    entourer_piece(s, piece[k], ROUGE);
        // On the ground the knight loads nothing: the level tips by itself, not under him.
        if (v.echec == E_TOMBE_SEUL || v.bascule.h == 0) return;
        entourer(s, *forme_de(ID_CHEVALIER, 0), v.bascule.c + PLATEAU_COLONNE, v.bascule.h, ROUGE,
                 4);
        return;
    case E_SANS_CHEMIN:
        if (v.impasse.atteints != 0) {
            montrer_impasse(s, v.impasse);
            return;
        }
        entourer_piece(s, piece[ID_CHEVALIER], ROUGE);
        return;
    default:
        entourer_piece(s, piece[ID_CHEVALIER], ROUGE);
        return;
    }
}

std::string avancement(const t_partie &p) {
    const t_defi &d = defi_courant(p);
    const int n = d.niveau;
    std::string s = "Défi " + std::to_string(n) + " sur " + std::to_string(NB_NIVEAUX);
    const int indices = p.progres.indices[n];
    if (d.graine != 0) {
        s = "Défi aléatoire, graine " + std::to_string(d.graine) + " : " +
            dire_pieces(compter_a_placer(d)) + " à placer" +
            (d.etat == DEFI_RESOLU         ? " : résolu"
             : d.etat == DEFI_SOLUTION_VUE ? " : solution vue"
                                           : "");
    } else if (p.progres.avancement[n] == AV_RESOLU)
        s += " : résolu" + (indices == 0 ? std::string(" sans indice")
                                         : " avec " + std::to_string(indices) + " indice" +
                                               (indices > 1 ? "s" : ""));
    else if (p.progres.avancement[n] == AV_VU)
        s += " : solution vue";
    else
        s += " : pas encore résolu";
    const int resolus = nombre_resolus(p.progres);
    s += "   ·   " + std::to_string(resolus) + (resolus > 1 ? " défis résolus" : " défi résolu") +
         " sur " + std::to_string(NB_NIVEAUX);
    if (d.indices > 0)
        s += "   ·   " + std::to_string(d.indices) + " indice" + (d.indices > 1 ? "s" : "") +
             " pris cette fois";
    return s;
}

// How far the walking knight is drawn from his foothold, in pixels (up for y): along his move
// to the next one, rising early on a step up and dropping late on a step down, so that he
// never cuts through the step's corner.
std::pair<int, int> pas_en_cours(const t_partie &p, uint32_t maintenant) {
    const t_defi &d = defi_courant(p);
    const double f = avance_du_pas(p, maintenant);
    if (f <= 0 || !en_marche(d)) return {0, 0};
    const t_lieu a = d.verdict.chemin.lieux[size_t(d.pas)],
                 b = d.verdict.chemin.lieux[size_t(d.pas) + 1];
    const double monte = b.h > a.h ? std::min(1.0, f / 0.6) : std::max(0.0, (f - 0.4) / 0.6);
    return {int((b.c - a.c) * f * taille_cube), int((b.h - a.h) * monte * taille_cube)};
}

// A heart of half-width r centred on (cx, cy): the curve (u² + v² - 1)³ = u² v³, row by row.
void coeur(SDL_Surface *s, int cx, int cy, int r, t_rgb c) {
    for (int y = -r; y <= r; ++y) {
        const double v = -1.3 * y / r + 0.15;
        int gauche = 1, droite = -1;
        for (int x = -r; x <= r; ++x) {
            const double u = 1.3 * x / r, w = u * u + v * v - 1;
            if (w * w * w - u * u * v * v * v > 0) continue;
            gauche = std::min(gauche, x);
            droite = std::max(droite, x);
        }
        if (gauche <= droite) remplir(s, cx + gauche, cy + y, droite - gauche + 1, 1, c);
    }
}

// The celebration of a solve, `reste` milliseconds before it ends: hearts rising between the
// knight and the princess, and a word over them on a dark label.
void feter(SDL_Surface *s, const t_piecer piece[NB_PIECES], uint32_t reste) {
    const double t = 1.0 - double(reste) / FETE_MS;
    const int x0 = (x_de(piece[ID_CHEVALIER].colonne) + x_de(piece[ID_PRINCESSE].colonne)) / 2 +
                   taille_cube / 2;
    const int y0 = y_de(std::max(piece[ID_CHEVALIER].ligne, piece[ID_PRINCESSE].ligne) + 1);
    for (int i = 0; i < 5; ++i) {
        const double h = std::fmod(t * 1.5 + i * 0.2, 1.0);
        coeur(s, x0 + (i - 2) * 28, y0 - int(h * 120), 10 + i % 2 * 4, COEUR);
    }
    if (police_defi == nullptr) return;
    SDL_Surface *mot = TTF_RenderUTF8_Blended(police_defi, "Bravo !", SDL_Color{255, 255, 255, 0});
    if (mot == nullptr) return;
    const int x = x0 - mot->w / 2 - 10, y = std::max(HAUT_DU_PLATEAU, y0 - 170);
    remplir(s, x, y, mot->w + 20, mot->h + 8, BANDEAU);
    SDL_Rect r = {Sint16(x + 10), Sint16(y + 4), 0, 0};
    SDL_BlitSurface(mot, nullptr, s, &r);
    SDL_FreeSurface(mot);
}

// The map's places: CARTE_LARGEUR to a row under the band, each with its challenge's picture
// at 10 pixels a cell, its number and its stars.
constexpr int CARTE_X = 15, CARTE_Y = 152, CARTE_PAS_X = 210, CARTE_PAS_Y = 85;
constexpr int CARTE_L = 204, CARTE_H = 80, APERCU = 10;
constexpr t_rgb CASE_CARTE = {30, 54, 44};
constexpr t_rgb APERCU_FOND = {70, 150, 105};
constexpr t_rgb ETOILE_VIDE = {90, 110, 100};

// The colour of a piece in a map's picture, by kind.
t_rgb teinte_apercu(int id) {
    switch (sorte(id)) {
    case ID_CHEVALIER:
        return {60, 110, 255};
    case ID_PRINCESSE:
        return {255, 110, 220};
    case ID_CUBE:
        return {222, 150, 60};
    case ID_CUBE_AVEC_APPENDICE_1:
        return {170, 120, 210};
    case ID_TOUR_1:
        return {190, 190, 200};
    default:
        return {150, 100, 60};
    }
}

// A five-pointed star of radius r centred on (cx, cy), row by row: a point is inside when it
// lies on the inner side of the polygon's edges as seen from the centre.
void etoile(SDL_Surface *s, int cx, int cy, int r, t_rgb c) {
    double px[10], py[10];
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 == 0 ? r : r * 0.45;
        px[i] = rr * std::cos(a);
        py[i] = rr * std::sin(a);
    }
    for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
            bool dedans = false;
            for (int i = 0, j = 9; i < 10; j = i++)
                if ((py[i] > y) != (py[j] > y) &&
                    x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
                    dedans = !dedans;
            if (dedans) remplir(s, cx + x, cy + y, 1, 1, c);
        }
}

// One line of text with its left end at (x, y).
void ecrire_a(SDL_Surface *s, const std::string &texte, int x, int y, SDL_Color c) {
    if (police_defi == nullptr) return;
    SDL_Surface *t = TTF_RenderUTF8_Blended(police_defi, texte.c_str(), c);
    if (t == nullptr) return;
    SDL_Rect r = {Sint16(x), Sint16(y), 0, 0};
    SDL_BlitSurface(t, nullptr, s, &r);
    SDL_FreeSurface(t);
}

void dessiner_carte(SDL_Surface *s, const t_partie &p) {
    for (int place = 1; place <= CARTE_ALEATOIRE; ++place) {
        const int x = CARTE_X + (place - 1) % CARTE_LARGEUR * CARTE_PAS_X,
                  y = CARTE_Y + (place - 1) / CARTE_LARGEUR * CARTE_PAS_Y;
        if (place == p.choix) remplir(s, x - 3, y - 3, CARTE_L + 6, CARTE_H + 6, OR);
        remplir(s, x, y, CARTE_L, CARTE_H, CASE_CARTE);
        if (place == CARTE_ALEATOIRE) {
            ecrire_a(s, "Défi aléatoire", x + 12, y + 14, BLANC);
            ecrire_a(s, "à " + dire_pieces(p.pieces_voulues), x + 12, y + 44, GRIS_TEXTE);
            continue;
        }
        // The challenge: its board, the pieces standing on it at the start.
        const int bx = x + 10, by = y + 10;
        remplir(s, bx, by, PLATEAU_LARGEUR * APERCU, PLATEAU_HAUTEUR * APERCU, APERCU_FOND);
        for (int k = 0; k < NB_PIECES; ++k) {
            const t_piecer &q = p.apercus[place][k];
            const t_forme *f = forme_de(k, q.rotation);
            if (q.dans_le_jeu != OUI || est_a_placer(q) || f == nullptr) continue;
            pour_cases(q.colonne - PLATEAU_COLONNE, q.ligne, *f, [&](int c, int r) {
                if (sur_plateau(c, r))
                    remplir(s, bx + c * APERCU, by + (PLATEAU_HAUTEUR - 1 - r) * APERCU, APERCU,
                            APERCU, teinte_apercu(k));
            });
        }
        ecrire_a(s, std::to_string(place), x + 80, y + 8, BLANC);
        const int av = p.progres.avancement[place], indices = p.progres.indices[place];
        const int a_placer = int(std::count_if(p.apercus[place], p.apercus[place] + NB_PIECES,
                                               [](const t_piecer &q) { return est_a_placer(q); }));
        if (av == AV_VU) ecrire_a(s, "solution vue", x + 80, y + 48, GRIS_TEXTE);
        if (av == AV_RIEN && a_placer > 0)
            ecrire_a(s, std::to_string(a_placer) + " à placer", x + 80, y + 48, GRIS_TEXTE);
        if (av != AV_RESOLU) continue;
        const int etoiles = indices == 0 ? 3 : indices == 1 ? 2 : 1;
        for (int i = 0; i < 3; ++i)
            etoile(s, x + 92 + 26 * i, y + 58, 11, i < etoiles ? OR : ETOILE_VIDE);
    }
}

// The rules screen: the rules in words on the left, and on the right two scenes drawn with the
// pieces' own images: the knight's footholds up a staircase, and a piece whose weight falls off
// its support.
void dessiner_regles(SDL_Surface *s) {
    remplir(s, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, BANDEAU);
    static const char *const lignes[] = {
        "Règles du jeu",
        "",
        "But : poser les pièces de la réserve pour que le chevalier rejoigne la princesse.",
        "Pièces : le cube, le cube à appendice, la tour, le petit et le grand escalier.",
        "La souris prend et pose une pièce ; ← → ou la molette tournent un escalier :",
        "debout face à gauche, face à droite, couché sur un côté ou sur l'autre.",
        "",
        "Tout tient par le dessous : le sol ou une autre pièce, jamais un personnage.",
        "Chaque case pèse autant, personnages compris ; une face porte par son milieu :",
        "si le poids tombe hors de ce qui porte, ça bascule (ici, à droite).",
        "Le point rouge : le centre du poids ; la barre jaune : ce qui porte.",
        "",
        "Le chevalier avance d'une case sur le sol ou sur une pièce. Il ne change de",
        "hauteur que d'une marche, par un escalier : de son pied à la première marche,",
        "puis de marche en marche (à droite). Il lui faut deux cases libres",
        "au-dessus des pieds, et une de plus là où il monte ou descend.",
        "Il arrive à côté de la princesse, à sa hauteur. Tout doit tenir à chaque pas.",
        "",
        "Le jugement vient quand toutes les pièces de la réserve sont posées.",
        "H indice · S solution · U annuler · R recommencer · M carte · F1 ou ? ces règles",
        "Une touche ou un clic pour revenir.",
    };
    for (size_t i = 0; i < std::size(lignes); ++i)
        ecrire_a(s, lignes[i], 40, 24 + 34 * int(i), i == 0 ? OR_TEXTE : BLANC);
    // On the ground at the right: the knight's footholds up the big staircase; a cube with an
    // appendix half off its tower, its weight's plumb line red outside the green span that
    // carries it.
    remplir(s, 780, 300, 700, SCREEN_HEIGHT - 300, FOND);
    remplir(s, 780, SCREEN_HEIGHT - 4, 700, 4, SOL);
    t_piecer scene[NB_PIECES] = {};
    const auto poser = [&](int id, int colonne, int ligne, int rotation) {
        const t_forme &f = *forme_de(id, rotation);
        scene[id] = {id, "", rotation, 0, OUI, 0, colonne, ligne, f.largeur, f.hauteur, -1};
    };
    poser(ID_CHEVALIER, 8, 0, 0);
    poser(ID_GRAND_ESCALIER, 9, 0, DEBOUT_GAUCHE);
    poser(ID_TOUR_1, 13, 0, 0);
    poser(ID_CUBE_AVEC_APPENDICE_1, 13, 3, 0);
    dessiner_pieces_defi(scene);
    for (int i = 0; i < 4; ++i) disque(s, x_de(8 + i) + taille_cube / 2, y_de(i) + 88, 9, OR);
    // Drawn as a verdict draws it: the bar of what carries, the line from the centre of weight.
    const int appui = y_de(3) + taille_cube;
    remplir(s, x_de(13) + 8, appui - 7, taille_cube - 16, 14, BANDEAU);
    remplir(s, x_de(13) + 10, appui - 5, taille_cube - 20, 10, OR);
    remplir(s, x_de(14) - 3, y_de(3) + taille_cube / 2, 6, taille_cube / 2 + 40, BANDEAU);
    remplir(s, x_de(14) - 1, y_de(3) + taille_cube / 2, 2, taille_cube / 2 + 40, BLANC_TRAIT);
    disque(s, x_de(14), y_de(3) + taille_cube / 2, 11, BANDEAU);
    disque(s, x_de(14), y_de(3) + taille_cube / 2, 8, ROUGE);
    remplir(s, x_de(14) + 6, appui + 8, 80, 28, BANDEAU); // dark under light words
    ecrire_a(s, "bascule", x_de(14) + 12, appui + 10, BLANC);
}

// The lines over the map: the count solved, the place chosen, the keys.
std::vector<std::string> textes_carte(const t_partie &p) {
    const int resolus = nombre_resolus(p.progres), n = p.choix;
    std::string choix =
        "Défi aléatoire à " + dire_pieces(p.pieces_voulues) + " à placer (1 à 4 pour en changer)";
    if (n != CARTE_ALEATOIRE) {
        const int indices = p.progres.indices[n];
        choix = "Défi " + std::to_string(n) + " : " +
                (p.progres.avancement[n] == AV_RESOLU
                     ? "résolu " + (indices == 0 ? std::string("sans indice")
                                                 : "avec " + std::to_string(indices) + " indice" +
                                                       (indices > 1 ? "s" : ""))
                 : p.progres.avancement[n] == AV_VU ? std::string("solution vue")
                                                    : std::string("pas encore résolu"));
    }
    return {"Carte des défis   ·   " + std::to_string(resolus) +
                (resolus > 1 ? " défis résolus" : " défi résolu") + " sur " +
                std::to_string(NB_NIVEAUX),
            choix,
            "← → ↑ ↓ choisir · Entrée ou clic : jouer · N défi aléatoire · Échap ou M "
            "dans un défi : revenir ici"};
}

// While a challenge is made: what, and how far the search has gone.
std::string preparation(const t_atelier &a) {
    return "Préparation d'un défi à " + dire_pieces(a.pieces) + " à placer (graine " +
           std::to_string(a.graine) + ") : " + std::to_string(a.suivi.piles.load()) +
           " empilements essayés. Échap pour annuler.";
}

} // namespace

int place_de_carte(int x, int y) {
    const int c = (x - CARTE_X) / CARTE_PAS_X, r = (y - CARTE_Y) / CARTE_PAS_Y;
    if (x < CARTE_X || y < CARTE_Y || c >= CARTE_LARGEUR ||
        (x - CARTE_X) % CARTE_PAS_X >= CARTE_L || (y - CARTE_Y) % CARTE_PAS_Y >= CARTE_H)
        return 0;
    const int place = r * CARTE_LARGEUR + c + 1;
    return place <= CARTE_ALEATOIRE ? place : 0;
}

std::vector<std::string> textes_defi(const t_partie &p) {
    if (p.carte) return textes_carte(p);
    const t_defi &d = defi_courant(p);
    std::vector<std::string> lignes = {
        avancement(p),
        en_fabrication(p) ? preparation(*p.atelier)
        : d.tenue != -1
            ? "Posez la pièce sur des cases libres du plateau, ou rendez-la à la réserve."
            : d.message,
        "← → tourner · Échap reposer ou carte · U annuler · R recommencer · H indice · S solution "
        "· ↑ ↓ niveau · N défi aléatoire à " +
            dire_pieces(p.pieces_voulues) + " (1 à 4)"};
    if (!p.erreur_progres.empty())
        lignes.push_back("Progression non enregistrée : " + p.erreur_progres);
    else if (const t_idee i = idee_courante(p); i.trait != 0 && d.etat != DEFI_ILLISIBLE)
        lignes.push_back(std::string(i.nouvelle ? "Nouveau : " : "Idée : ") + dire_trait(i.trait));
    return lignes;
}

bool ouvrir_ecran_defi() {
    police_defi = TTF_OpenFont("arial.ttf", 18);
    chevalier[0] = charger_image("img_chevalier_gauche.bmp", true);
    chevalier[1] = charger_image("img_chevalier_droite.bmp", true);
    princesse[0] = charger_image("img_princesse_gauche.bmp", true);
    princesse[1] = charger_image("img_princesse_droite.bmp", true);
    return police_defi != nullptr;
}

void fermer_ecran_defi() {
    if (police_defi != nullptr) TTF_CloseFont(police_defi);
    police_defi = nullptr;
    for (SDL_Surface **s : {&chevalier[0], &chevalier[1], &princesse[0], &princesse[1]}) {
        SDL_FreeSurface(*s);
        *s = nullptr;
    }
}

void dessiner_pieces_defi(const t_piecer piece[NB_PIECES], int dx, int dy) {
    t_piecer autres[NB_PIECES];
    std::copy(piece, piece + NB_PIECES, autres);
    const t_piecer &c = piece[ID_CHEVALIER], &p = piece[ID_PRINCESSE];
    const bool chevalier_la = c.dans_le_jeu == OUI, princesse_la = p.dans_le_jeu == OUI;
    // Without every image the figures are the viewer's tiles, the knight's still moving.
    const bool images = chevalier[0] && chevalier[1] && princesse[0] && princesse[1];
    autres[ID_CHEVALIER].dans_le_jeu = NON;
    if (images) autres[ID_PRINCESSE].dans_le_jeu = NON;
    dessiner_pieces(autres);
    const auto poser = [](SDL_Surface *img, int x, int y) {
        SDL_Rect r = {Sint16(x), Sint16(y), 0, 0};
        if (img != nullptr) SDL_BlitSurface(img, nullptr, ecran, &r);
    };
    const int xc = x_de(c.colonne) + dx, xp = x_de(p.colonne);
    // Each faces the other; the knight alone faces right, the princess alone left.
    if (images && princesse_la) poser(princesse[chevalier_la && xc > xp], xp, y_de(p.ligne + 1));
    if (!chevalier_la) return;
    const bool droite = dx != 0 ? dx > 0 : !princesse_la || xp >= xc;
    poser(images ? chevalier[droite] : personnage_h.surface, xc, y_de(c.ligne + 1) - dy);
}

void dessiner_defi(const t_partie &p, uint32_t maintenant) {
    SDL_Surface *s = ecran;
    const t_defi &d = defi_courant(p);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, FOND.r, FOND.g, FOND.b));
    remplir(s, 0, 0, SCREEN_WIDTH, HAUT_DU_BANDEAU, BANDEAU);
    if (p.regles) {
        dessiner_regles(s);
        return;
    }
    if (p.carte) {
        dessiner_carte(s, p);
        const std::vector<std::string> lignes = textes_defi(p);
        for (size_t i = 0; i < lignes.size(); ++i)
            ecrire(s, lignes[i], 12 + 32 * int(i), i == 0 ? BLANC : GRIS_TEXTE);
        return;
    }
    dessiner_plateau(s);
    t_piecer piece[NB_PIECES];
    pieces_du_moment(d, piece);
    if (d.etat != DEFI_ILLISIBLE) {
        t_piecer posees[NB_PIECES], tenue[NB_PIECES];
        std::copy(piece, piece + NB_PIECES, posees);
        std::copy(piece, piece + NB_PIECES, tenue);
        for (int k = 0; k < NB_PIECES; ++k) (k == d.tenue ? posees : tenue)[k].dans_le_jeu = NON;
        const auto [dx, dy] = pas_en_cours(p, maintenant);
        // While the piece that tips leans, it and what it carries are drawn apart, turned.
        const double chute = avance_de_chute(p, maintenant);
        const bool penche = chute >= 0 && chute < 1;
        t_piecer groupe[NB_PIECES];
        std::copy(posees, posees + NB_PIECES, groupe);
        if (penche) {
            const unsigned g = groupe_dessine(d);
            for (int k = 0; k < NB_PIECES; ++k)
                (g >> k & 1U ? posees : groupe)[k].dans_le_jeu = NON;
        }
        dessiner_pieces_defi(posees, dx, dy);
        if (penche) {
            const t_chute &ch = d.verdict.chute;
            // Over in half the time, back in the rest.
            const double aller = std::min(1.0, chute / 0.6),
                         angle = chute < 0.6 ? std::sin(aller * M_PI / 2)
                                             : std::cos((chute - 0.6) / 0.4 * M_PI / 2);
            // Not leant, it is drawn upright rather than not at all.
            if (!pencher(s, groupe, ch.cote * 0.28 * angle,
                         x_dixiemes(ch.cote < 0 ? ch.appui_gauche : ch.appui_droite),
                         y_dixiemes(10 * ch.appui_ligne)))
                dessiner_pieces_defi(groupe);
        }
        if (d.tenue == -1) marquer_verdict(s, d, piece, chute);
        if (d.tenue != -1) {
            dessiner_pieces(tenue);
            // A piece that could not be dropped where it is drawn is outlined in red; over
            // the tray it would go home.
            if (!place_permise(d, d.tenue, place_visee(d)) && !sur_la_reserve(d))
                entourer_piece(s, piece[d.tenue], ROUGE);
        }
    }
    if (en_fete(p, maintenant)) feter(s, piece, p.fin_de_fete - maintenant);
    const std::vector<std::string> lignes = textes_defi(p);
    const bool echec = d.etat == DEFI_ECHOUE || d.etat == DEFI_ILLISIBLE;
    const SDL_Color couleurs[] = {
        BLANC, echec ? ROUGE_TEXTE : (d.etat == DEFI_RESOLU ? VERT_TEXTE : BLANC), GRIS_TEXTE,
        p.erreur_progres.empty() ? GRIS_TEXTE : ROUGE_TEXTE};
    for (size_t i = 0; i < lignes.size(); ++i) ecrire(s, lignes[i], 12 + 32 * int(i), couleurs[i]);
}
