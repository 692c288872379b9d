// generer_images.cpp: makes the fifteen piece images from the shape table.
// Usage: generer_images FOLDER
#include "niveau/formes.h"
#include "niveau/pieces.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
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
    return erreurs == 0 ? 0 : 1;
}
