// generer_images.cpp: makes the fifteen piece images from the shape table, and the knight's and
// the princess's, facing either way.
// Usage: generer_images FOLDER
#include "niveau/formes.h"
#include "niveau/pieces.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int CASE = 100;  // pixels per cell
constexpr int BORD = 3;    // outline where the piece ends
constexpr int BISEAU = 9;  // lit and shaded bands along the outer faces
constexpr int MARCHE = 16; // a staircase's treads, lit, and its risers, shaded
constexpr int SOCLE = 20;  // the staircases' base band
constexpr int JOINT = 2;   // seams between the cells of one piece

struct t_rvb {
    int r, g, b;
};

const t_rvb VERT_PUR = {0, 255, 0};
const t_rvb CONTOUR = {40, 30, 24};
// The base of every staircase: a slate band, apart in hue and brightness from both bodies.
const t_rvb SOCLE_ARDOISE = {48, 52, 72};

t_rvb nuance(t_rvb c, double f) {
    const auto v = [f](int x) { return std::clamp(static_cast<int>(x * f), 0, 250); };
    return {v(c.r), v(c.g), v(c.b)};
}

struct t_image {
    int largeur, hauteur;
    std::vector<t_rvb> pixels;
    t_image(int l, int h, t_rvb fond) : largeur(l), hauteur(h), pixels(size_t(l) * h, fond) {}
    void peindre(int x0, int y0, int x1, int y1, t_rvb c) {
        for (int y = std::max(0, y0); y < std::min(hauteur, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(largeur, x1); ++x)
                pixels[size_t(y) * largeur + x] = c;
    }
};

// Paints the solid cells of a shape as a block with lit top and left faces, shaded bottom and
// right faces and a dark outline along every edge where the piece ends. A staircase's steps
// are drawn broader: every face on top is a lit tread, every upright face a shaded riser.
void peindre_forme(t_image &img, const t_forme &f, t_rvb teinte, bool marches) {
    const auto pleine = [&f](int c, int r) {
        return c >= 0 && r >= 0 && c < f.largeur && r < f.hauteur && f.pleine(c, r);
    };
    const int haut_lu = marches ? MARCHE : BISEAU;
    for (int r = 0; r < f.hauteur; ++r) {
        for (int c = 0; c < f.largeur; ++c) {
            if (!pleine(c, r)) continue;
            const int x0 = c * CASE, y0 = (f.hauteur - 1 - r) * CASE;
            const int x1 = x0 + CASE, y1 = y0 + CASE;
            img.peindre(x0, y0, x1, y1, teinte);
            const bool haut = !pleine(c, r + 1), bas = !pleine(c, r - 1);
            const bool gauche = !pleine(c - 1, r), droite = !pleine(c + 1, r);
            if (bas) img.peindre(x0, y1 - BISEAU, x1, y1, nuance(teinte, 0.7));
            if (marches) {
                const t_rvb contremarche = nuance(teinte, 0.62);
                if (gauche) img.peindre(x0, y0, x0 + MARCHE, y1, contremarche);
                if (droite) img.peindre(x1 - MARCHE, y0, x1, y1, contremarche);
            } else {
                if (gauche) img.peindre(x0, y0, x0 + BISEAU, y1, nuance(teinte, 1.15));
                if (droite) img.peindre(x1 - BISEAU, y0, x1, y1, nuance(teinte, 0.8));
            }
            if (haut) img.peindre(x0, y0, x1, y0 + haut_lu, nuance(teinte, 1.35));
            // Seams between cells of the same piece, fainter than its outline.
            const t_rvb joint = nuance(teinte, 0.85);
            if (!haut) img.peindre(x0, y0, x1, y0 + JOINT, joint);
            if (!gauche) img.peindre(x0, y0, x0 + JOINT, y1, joint);
            if (haut) img.peindre(x0, y0, x1, y0 + BORD, CONTOUR);
            if (bas) img.peindre(x0, y1 - BORD, x1, y1, CONTOUR);
            if (gauche) img.peindre(x0, y0, x0 + BORD, y1, CONTOUR);
            if (droite) img.peindre(x1 - BORD, y0, x1, y1, CONTOUR);
        }
    }
}

// Stone courses on the tower.
void peindre_briques(t_image &img, t_rvb teinte) {
    const t_rvb mortier = nuance(teinte, 0.75);
    for (int y = 25; y < img.hauteur; y += 25) {
        if (y % CASE == 0) continue;
        img.peindre(BISEAU, y, img.largeur - BISEAU, y + 2, mortier);
        const int decalage = (y / 25) % 2 == 0 ? 30 : 65;
        img.peindre(decalage, y - 23, decalage + 2, y, mortier);
    }
}

// The appendix: a round boss on the right-hand cell.
void peindre_appendice(t_image &img, t_rvb teinte) {
    const int cx = CASE + CASE / 2, cy = CASE / 2, rayon = 30;
    for (int y = cy - rayon; y <= cy + rayon; ++y)
        for (int x = cx - rayon; x <= cx + rayon; ++x) {
            const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            if (d > rayon * rayon) continue;
            const bool eclaire = x - cx + y - cy < 0;
            img.peindre(x, y, x + 1, y + 1,
                        d > (rayon - 4) * (rayon - 4) ? CONTOUR
                                                      : nuance(teinte, eclaire ? 1.25 : 0.8));
        }
}

// The base of a staircase: one unbroken band along the whole side it was built on, inside the
// outline, over the seams between its cells.
void peindre_socle(t_image &img, t_cote cote) {
    const int l = img.largeur, h = img.hauteur;
    if (cote == COTE_BAS) img.peindre(BORD, h - BORD - SOCLE, l - BORD, h - BORD, SOCLE_ARDOISE);
    if (cote == COTE_GAUCHE) img.peindre(BORD, BORD, BORD + SOCLE, h - BORD, SOCLE_ARDOISE);
    if (cote == COTE_DROIT) img.peindre(l - BORD - SOCLE, BORD, l - BORD, h - BORD, SOCLE_ARDOISE);
}

// The figures are drawn from simple parts, each given by whether a point lies inside it.
using t_partie = std::function<bool(double, double)>;

t_partie ellipse(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        return (x - cx) * (x - cx) / (rx * rx) + (y - cy) * (y - cy) / (ry * ry) <= 1;
    };
}

// Even-odd rule, so a polygon's points may go round either way.
t_partie polygone(std::vector<std::pair<double, double>> p) {
    return [p](double x, double y) {
        bool dedans = false;
        for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
            const auto [xi, yi] = p[i];
            const auto [xj, yj] = p[j];
            if ((yi > y) != (yj > y) && x < xj + (xi - xj) * (y - yj) / (yi - yj)) dedans = !dedans;
        }
        return dedans;
    };
}

// A stroke with round ends: every point within half its width of the segment.
t_partie trait(double x0, double y0, double x1, double y1, double epaisseur) {
    return [=](double x, double y) {
        const double dx = x1 - x0, dy = y1 - y0;
        const double t =
            std::clamp(((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy + 1e-9), 0.0, 1.0);
        const double ex = x - x0 - t * dx, ey = y - y0 - t * dy;
        return ex * ex + ey * ey <= epaisseur * epaisseur / 4;
    };
}

constexpr int RELIEF = 5; // the figures' lit and shaded bands: their parts are narrow

// Paints a part in the blocks' manner: lit along its top and left edges, shaded along its bottom
// and right ones, outlined where it ends; a flat part (a slit, an eye, an emblem) in one colour.
void peindre_partie(t_image &img, const t_partie &p, t_rvb teinte, bool relief = true) {
    for (int y = 0; y < img.hauteur; ++y)
        for (int x = 0; x < img.largeur; ++x) {
            const auto hors = [&](int dx, int dy) { return !p(x + dx + 0.5, y + dy + 0.5); };
            if (hors(0, 0)) continue;
            t_rvb c = teinte;
            if (relief && (hors(RELIEF, 0) || hors(0, RELIEF)))
                c = nuance(teinte, 0.72);
            else if (relief && (hors(-RELIEF, 0) || hors(0, -RELIEF)))
                c = nuance(teinte, 1.25);
            if (relief && (hors(2, 0) || hors(-2, 0) || hors(0, 2) || hors(0, -2))) c = CONTOUR;
            img.peindre(x, y, x + 1, y + 1, c);
        }
}

const t_rvb ACIER = {172, 180, 196}, BLEU = {36, 84, 210}, OR = {240, 186, 36};
const t_rvb CUIR = {122, 72, 36}, PEAU = {250, 208, 176};

// The knight facing right: a plumed great helm, a blue tabard over his armour, his sword upright
// in the hand behind him, and in front a blue shield with a golden cross.
void dessiner_chevalier(t_image &img) {
    peindre_partie(img,
                   polygone({{60, 20}, {58, 6}, {48, 0}, {34, 2}, {26, 12}, {38, 10}, {46, 20}}),
                   {206, 40, 44});
    peindre_partie(img, trait(42, 126, 40, 188, 16), nuance(ACIER, 0.8));
    peindre_partie(img, trait(58, 126, 62, 188, 16), ACIER);
    peindre_partie(img, polygone({{28, 200}, {30, 184}, {48, 184}, {54, 200}}), nuance(ACIER, 0.8));
    peindre_partie(img, polygone({{52, 200}, {54, 184}, {70, 184}, {80, 200}}), ACIER);
    peindre_partie(img, polygone({{30, 62}, {70, 62}, {72, 124}, {28, 124}}), ACIER);
    peindre_partie(img, polygone({{34, 66}, {66, 66}, {68, 142}, {32, 142}}), BLEU);
    peindre_partie(img, trait(30, 120, 70, 120, 7), CUIR);
    peindre_partie(img, ellipse(50, 62, 15, 7), nuance(ACIER, 0.8));
    peindre_partie(img, polygone({{16, 106}, {16, 30}, {21, 18}, {26, 30}, {26, 106}}), ACIER);
    peindre_partie(img, trait(8, 106, 34, 106, 7), OR);
    peindre_partie(img, trait(21, 108, 21, 126, 7), CUIR);
    peindre_partie(img, ellipse(21, 128, 5, 5), OR);
    peindre_partie(img, ellipse(30, 72, 12, 10), ACIER);
    peindre_partie(img, trait(28, 78, 22, 110, 13), ACIER);
    peindre_partie(img, ellipse(22, 114, 8, 7), nuance(ACIER, 0.8));
    peindre_partie(img, ellipse(51, 38, 20, 23), ACIER);
    peindre_partie(img, trait(53, 38, 72, 38, 4), CONTOUR, false);
    for (int y = 46; y <= 54; y += 8) peindre_partie(img, ellipse(63, y, 2, 2), CONTOUR, false);
    peindre_partie(img, ellipse(66, 70, 11, 9), ACIER);
    peindre_partie(
        img, polygone({{54, 74}, {94, 74}, {94, 104}, {86, 124}, {74, 142}, {62, 124}, {54, 104}}),
        BLEU);
    peindre_partie(img, trait(74, 82, 74, 128, 6), OR, false);
    peindre_partie(img, trait(60, 96, 88, 96, 6), OR, false);
}

// The princess facing right: a golden crown on chestnut hair falling down her back, a purple
// bodice over a long pink bell skirt, her hands joined at her waist.
void dessiner_princesse(t_image &img) {
    const t_rvb cheveux = {150, 78, 40}, rose = {236, 96, 176}, violet = {150, 64, 190};
    peindre_partie(img, polygone({{40, 30}, {28, 64}, {26, 104}, {44, 106}, {52, 60}}), cheveux);
    peindre_partie(img, ellipse(48, 40, 20, 22), cheveux);
    peindre_partie(
        img, polygone({{40, 100}, {60, 100}, {74, 140}, {90, 200}, {10, 200}, {26, 140}}), rose);
    peindre_partie(img, polygone({{50, 108}, {68, 200}, {32, 200}}), nuance(rose, 1.2), false);
    peindre_partie(img, polygone({{10, 200}, {14, 186}, {86, 186}, {90, 200}}), violet);
    peindre_partie(img, trait(50, 54, 50, 68, 10), PEAU);
    peindre_partie(img, polygone({{36, 68}, {64, 68}, {60, 106}, {40, 106}}), violet);
    peindre_partie(img, ellipse(36, 74, 9, 8), rose);
    peindre_partie(img, trait(36, 80, 42, 100, 10), rose);
    peindre_partie(img, ellipse(55, 44, 14, 17), PEAU);
    peindre_partie(img,
                   polygone({{36, 44}, {40, 28}, {56, 24}, {68, 32}, {69, 38}, {56, 33}, {46, 40}}),
                   cheveux);
    peindre_partie(
        img, polygone({{40, 30}, {40, 12}, {46, 20}, {52, 8}, {58, 20}, {64, 12}, {64, 30}}), OR);
    peindre_partie(img, ellipse(52, 25, 3, 3), {210, 30, 60}, false);
    peindre_partie(img, ellipse(62, 44, 2, 3), CONTOUR, false);
    peindre_partie(img, ellipse(61, 50, 4, 2.5), {246, 160, 160}, false);
    peindre_partie(img, trait(60, 55, 65, 55, 2), {200, 50, 70}, false);
    peindre_partie(img, ellipse(64, 74, 9, 8), rose);
    peindre_partie(img, trait(66, 80, 68, 96, 10), rose);
    peindre_partie(img, trait(68, 96, 58, 102, 10), rose);
    peindre_partie(img, ellipse(50, 104, 8, 5), PEAU);
}

// Writes a 32-bit Windows bitmap (rows bottom-up, each pixel blue, green, red, unused): the
// format of the viewer's screen, so that drawing an image is a plain copy.
bool enregistrer(const t_image &img, const std::string &chemin) {
    std::FILE *f = std::fopen(chemin.c_str(), "wb");
    if (f == nullptr) return false;
    const auto mot = [f](uint32_t v, int octets) {
        for (int i = 0; i < octets; ++i) std::fputc(int(v >> (8 * i) & 0xff), f);
    };
    const uint32_t taille_pixels = uint32_t(img.largeur) * uint32_t(img.hauteur) * 4;
    std::fputs("BM", f);
    mot(14 + 40 + taille_pixels, 4); // file size
    mot(0, 4);                       // reserved
    mot(14 + 40, 4);                 // offset of the pixels
    mot(40, 4);                      // BITMAPINFOHEADER
    mot(uint32_t(img.largeur), 4);
    mot(uint32_t(img.hauteur), 4);
    mot(1, 2);  // planes
    mot(32, 2); // bits per pixel
    mot(0, 4);  // BI_RGB
    mot(taille_pixels, 4);
    mot(2835, 4); // 72 dpi
    mot(2835, 4);
    mot(0, 4);
    mot(0, 4);
    for (int y = img.hauteur - 1; y >= 0; --y)
        for (int x = 0; x < img.largeur; ++x) {
            const t_rvb c = img.pixels[size_t(y) * img.largeur + x];
            mot(uint32_t(c.b) | uint32_t(c.g) << 8 | uint32_t(c.r) << 16, 4);
        }
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generer_images FOLDER\n");
        return 2;
    }
    struct t_piece_image {
        int id, rotation;
        t_rvb teinte;
    };
    std::vector<t_piece_image> liste = {{ID_CUBE, 0, {222, 150, 60}},
                                        {ID_CUBE_AVEC_APPENDICE_1, 0, {150, 100, 190}},
                                        {ID_TOUR_1, 0, {160, 160, 172}}};
    for (int v = 1; v <= NB_ORIENTATIONS; ++v) {
        liste.push_back({ID_GRAND_ESCALIER, v, {120, 80, 50}});
        liste.push_back({ID_PETIT_ESCALIER_1, v, {240, 226, 170}});
    }
    int erreurs = 0;
    for (const t_piece_image &p : liste) {
        const t_forme &f = *forme_de(p.id, p.rotation);
        const bool escalier = est_escalier(p.id);
        // Only the staircases are drawn with a colour key; the rest paint their whole box.
        t_image img(f.largeur * CASE, f.hauteur * CASE, escalier ? VERT_PUR : p.teinte);
        peindre_forme(img, f, p.teinte, escalier);
        if (p.id == ID_TOUR_1) peindre_briques(img, p.teinte);
        if (p.id == ID_CUBE_AVEC_APPENDICE_1) peindre_appendice(img, p.teinte);
        if (escalier) peindre_socle(img, base_de(p.rotation));
        const std::string chemin = std::string(argv[1]) + "/" + fichier_image(p.id, p.rotation);
        if (!enregistrer(img, chemin)) {
            std::perror(("generer_images: " + chemin).c_str());
            ++erreurs;
        }
    }
    // Each figure in its 1 x 2 box, its background the colour key, drawn facing right, then
    // mirrored to face left.
    const std::pair<const char *, void (*)(t_image &)> figures[] = {
        {"chevalier", dessiner_chevalier}, {"princesse", dessiner_princesse}};
    for (const auto &[nom, dessiner] : figures) {
        t_image img(CASE, 2 * CASE, VERT_PUR);
        dessiner(img);
        for (const char *sens : {"droite", "gauche"}) {
            const std::string chemin = std::string(argv[1]) + "/img_" + nom + "_" + sens + ".bmp";
            if (!enregistrer(img, chemin)) {
                std::perror(("generer_images: " + chemin).c_str());
                ++erreurs;
            }
            for (int y = 0; y < img.hauteur; ++y) {
                const auto ligne = img.pixels.begin() + y * img.largeur;
                std::reverse(ligne, ligne + img.largeur);
            }
        }
    }
    return erreurs == 0 ? 0 : 1;
}
