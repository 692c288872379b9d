// test_rendu.cpp: tiles and images, the solution view and the information panel, read back
// from the dummy driver's screen.
#include "visionneuse/boucle.h"
#include "jeu/modele.h"
#include "rendu/rendu.h"
#include "sdl_factice.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

const char *const orientations[NB_ORIENTATIONS + 1] = {
    nullptr,         "debout_gauche", "debout_droite", "droite_gauche",
    "droite_droite", "gauche_gauche", "gauche_droite"};

// The colours of the pictures of the solution view: the background, pure green, the knight,
// the princess, the cube, the cube with an appendix, the tower, the big staircase in each
// orientation 1 to 6, the small one likewise.
const char LEGENDE[] = ".vHFCKT123456abcdef";

Uint32 teinte(char c) {
    if (c >= '1' && c <= '6') return 0x300000 + 0x10 * (c - '0');
    if (c >= 'a' && c <= 'f') return 0x003000 + 0x10 * (c - 'a' + 1);
    const Uint32 autres[] = {VERT_FOND, VERT_PUR, BLEU, ROSE, 0xc08040, 0x804020, 0xa0a0a0};
    return autres[std::strchr(LEGENDE, c) - LEGENDE];
}

class Rendu : public AvecEcran {
  protected:
    // Images of one colour each, as the pieces' boxes are sized, with a pure green corner.
    static void ecrire_images_unies() {
        ecrire_bmp("img_cube_simple.bmp", 100, 100, teinte('C'), true);
        ecrire_bmp("img_cube_avec_apendice.bmp", 100, 200, teinte('K'), true);
        ecrire_bmp("img_tour.bmp", 100, 300, teinte('T'), true);
        for (int v = 1; v <= NB_ORIENTATIONS; ++v) {
            ecrire_bmp(std::string("img_grand_escalier_") + orientations[v] + ".bmp", 300, 300,
                       teinte(LEGENDE[6 + v]), true);
            ecrire_bmp(std::string("img_petit_escalier_") + orientations[v] + ".bmp", 200, 200,
                       teinte(LEGENDE[12 + v]), true);
        }
    }
    // The screen at one character per 50-pixel square, '?' for a square not of one colour.
    static std::string croquis() {
        std::string s;
        for (int y = 0; y < SCREEN_HEIGHT; y += 50) {
            for (int x = 0; x < SCREEN_WIDTH; x += 50) {
                const Uint32 c = couleur(ecran, x, y);
                bool uni = true;
                for (int j = y; j < y + 50; ++j)
                    for (int i = x; i < x + 50; ++i) uni &= couleur(ecran, i, j) == c;
                const char *l = LEGENDE;
                while (*l != 0 && teinte(*l) != c) ++l;
                s += uni && *l != 0 ? *l : '?';
            }
            s += '\n';
        }
        return s;
    }
};

TEST_F(Rendu, TuilesTaillesCouleursPositions) {
    testing::internal::CaptureStderr();
    init_layout();
    const std::string erreurs = testing::internal::GetCapturedStderr();
    for (int i = 0; i < 6; ++i) {
        SDL_Surface *s = support[i].surface;
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->w, 100);
        EXPECT_EQ(s->h, 100);
        EXPECT_EQ(couleur(s, 50, 50), i % 2 == 0 ? 0xc8c8c8U : 0x969696U);
        EXPECT_EQ(support[i].position.x, 450 + 100 * i);
        EXPECT_EQ(support[i].position.y, 650);
    }
    for (auto [tuile, c] : {std::pair{&personnage_f, ROSE}, std::pair{&personnage_h, BLEU}}) {
        ASSERT_NE(tuile->surface, nullptr);
        EXPECT_EQ(tuile->surface->w, 100);
        EXPECT_EQ(tuile->surface->h, 200);
        EXPECT_EQ(couleur(tuile->surface, 0, 0), c);
        EXPECT_EQ(couleur(tuile->surface, 99, 199), c);
        EXPECT_EQ(tuile->surface->flags & SDL_SRCCOLORKEY, 0U);
    }
    // No image file here: each one is reported once and left without a surface.
    EXPECT_EQ(std::count(erreurs.begin(), erreurs.end(), '\n'), 15) << erreurs;
    EXPECT_NE(erreurs.find("valdrune: img_tour.bmp: "), std::string::npos) << erreurs;
    EXPECT_NE(erreurs.find("img_petit_escalier_droite_gauche.bmp"), std::string::npos);
    EXPECT_EQ(tour.surface, nullptr);
    EXPECT_EQ(grand_escalier[1].surface, nullptr);
}

TEST_F(Rendu, ChaqueOrientationLitSonFichier) {
    ecrire_images_unies();
    init_layout();
    EXPECT_EQ(grand_escalier[0].surface, nullptr);
    EXPECT_EQ(petit_escalier[0].surface, nullptr);
    for (int v = 1; v <= NB_ORIENTATIONS; ++v) {
        ASSERT_NE(grand_escalier[v].surface, nullptr) << v;
        ASSERT_NE(petit_escalier[v].surface, nullptr) << v;
        EXPECT_EQ(couleur(grand_escalier[v].surface, 99, 99), teinte(LEGENDE[6 + v])) << v;
        EXPECT_EQ(couleur(petit_escalier[v].surface, 99, 99), teinte(LEGENDE[12 + v])) << v;
        EXPECT_EQ(grand_escalier[v].surface->w, 300);
    }
    EXPECT_EQ(couleur(cube_simple.surface, 99, 99), teinte('C'));
    EXPECT_EQ(tour.surface->h, 300);
    // Pure green is the colour key of the twelve staircase images, and of no other.
    for (int v = 1; v <= NB_ORIENTATIONS; ++v)
        for (SDL_Surface *s : {grand_escalier[v].surface, petit_escalier[v].surface}) {
            EXPECT_NE(s->flags & SDL_SRCCOLORKEY, 0U) << v;
            EXPECT_EQ(s->format->colorkey, SDL_MapRGB(s->format, 0, 255, 0)) << v;
        }
    for (SDL_Surface *s : {cube_simple.surface, cube_avec_apendice.surface, tour.surface})
        EXPECT_EQ(s->flags & SDL_SRCCOLORKEY, 0U);
}

// Each picture in tests/vues lists pieces, "NAME COLUMN ROW HEIGHT [ORIENTATION [IN_PLAY]]",
// put in play over the start state, then after a blank line the screen the view must show.
// The small staircase's image for orientation 4 is missing, so that piece draws nothing.
TEST_F(Rendu, ChaqueVueCommeSonCroquis) {
    ecrire_images_unies();
    std::filesystem::remove("img_petit_escalier_droite_droite.bmp");
    testing::internal::CaptureStderr();
    init_layout();
    testing::internal::GetCapturedStderr();
    int vues = 0;
    for (const auto &e : std::filesystem::directory_iterator(VUES)) {
        if (e.path().extension() != ".txt") continue;
        init();
        std::ifstream f(e.path());
        std::string ligne, attendu;
        while (std::getline(f, ligne) && !ligne.empty()) {
            if (ligne[0] == '#') continue;
            std::istringstream champs(ligne);
            std::string nom;
            int colonne = 0, rang = 0, hauteur = 0, rotation = 0, dans_le_jeu = OUI;
            champs >> nom >> colonne >> rang >> hauteur >> rotation >> dans_le_jeu;
            t_piecer *p = std::find_if(jeu.piece, jeu.piece + NB_PIECES,
                                       [&](const t_piecer &q) { return nom == q.nom; });
            ASSERT_NE(p, jeu.piece + NB_PIECES) << e.path() << ": " << nom;
            p->colonne = colonne;
            p->ligne = rang;
            p->hauteur = hauteur;
            p->rotation = rotation;
            p->dans_le_jeu = dans_le_jeu;
        }
        while (std::getline(f, ligne)) attendu += ligne + '\n';
        SDL_FillRect(ecran, nullptr, SDL_MapRGB(ecran->format, 17, 206, 112));
        affich_solution();
        EXPECT_EQ(croquis(), attendu) << e.path();
        ++vues;
    }
    EXPECT_GE(vues, 5);
}

// ---- the information panel ----

using t_colonne = std::vector<std::string>; // a column's lines from the top, "" for none

// The left column with nothing held, and the right one with the start values.
const t_colonne GAUCHE_SANS_PIECE = {"disponible : ",
                                     "prise : ",
                                     "x : ",
                                     "y : ",
                                     "rotation possible : ",
                                     "rotation : ",
                                     "pos_x_sur_grille : -1",
                                     "pos_y_sur_grille : -1"};
const std::string ZEROS = "0 0 0 0 0 0";
const t_colonne DROITE_DE_DEPART = {ZEROS, ZEROS, ZEROS, ZEROS, ZEROS, "", "niveau : 19"};

class Panneau : public AvecEcran {
  protected:
    void SetUp() override {
        AvecEcran::SetUp();
        std::filesystem::copy_file(POLICE_DE_TEST, "arial.ttf");
        init_font();
        ASSERT_NE(police, nullptr);
    }
    static std::vector<Uint8> octets(SDL_Surface *s) {
        const auto *p = static_cast<const Uint8 *>(s->pixels);
        std::vector<Uint8> v;
        for (int y = 0; y < s->h; ++y)
            v.insert(v.end(), p + y * s->pitch, p + y * s->pitch + s->w * 4);
        return v;
    }
    // The panel as it must look: each line rendered on its own and placed by hand.
    static std::vector<Uint8> attendu(const t_colonne &gauche, const t_colonne &droite) {
        SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, SCREEN_WIDTH, SCREEN_HEIGHT, 32,
                                              ecran->format->Rmask, ecran->format->Gmask,
                                              ecran->format->Bmask, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 17, 206, 112));
        for (const t_colonne *c : {&gauche, &droite})
            for (size_t rang = 0; rang < c->size(); ++rang) {
                if ((*c)[rang].empty()) continue;
                SDL_Surface *t = TTF_RenderText_Blended(police, (*c)[rang].c_str(), {0, 0, 0, 0});
                SDL_Rect r{Sint16(c == &droite ? SCREEN_WIDTH - t->w : 0), Sint16(rang * t->h), 0,
                           0};
                SDL_BlitSurface(t, nullptr, s, &r);
                SDL_FreeSurface(t);
            }
        std::vector<Uint8> pixels = octets(s);
        SDL_FreeSurface(s);
        return pixels;
    }
    static std::vector<Uint8> panneau() {
        SDL_FillRect(ecran, nullptr, SDL_MapRGB(ecran->format, 17, 206, 112));
        affich_info();
        EXPECT_EQ(texte.surface, nullptr);
        return octets(ecran);
    }
};

TEST_F(Panneau, AuDemarrage) {
    EXPECT_TRUE(panneau() == attendu(GAUCHE_SANS_PIECE, DROITE_DE_DEPART));
    niveau = 20;
    t_colonne droite = DROITE_DE_DEPART;
    droite[6] = "niveau : 20";
    EXPECT_TRUE(panneau() == attendu(GAUCHE_SANS_PIECE, droite));
}

TEST_F(Panneau, PiecePriseLaPlusHauteSansNiveau) {
    pieces[2].prise = 1;
    pieces[7] = {2, 1, 5, -6, 1, 3};
    t_colonne gauche = {"disponible : NON",
                        "prise: OUI",
                        "x : 5",
                        "y : -6",
                        "rotation possible : OUI",
                        "rotation : 3",
                        GAUCHE_SANS_PIECE[6],
                        GAUCHE_SANS_PIECE[7]};
    const t_colonne matrice_seule(DROITE_DE_DEPART.begin(), DROITE_DE_DEPART.begin() + 5);
    EXPECT_TRUE(panneau() == attendu(gauche, matrice_seule));
    pieces[7].prise = 0;
    pieces[2].disponible = 1;
    pieces[2].rotation_possible = 2;
    gauche[0] = "disponible : OUI";
    gauche[2] = "x : 0";
    gauche[3] = "y : 0";
    gauche[4] = "rotation possible : NON";
    gauche[5] = "rotation : 0";
    EXPECT_TRUE(panneau() == attendu(gauche, matrice_seule));
}

TEST_F(Panneau, LignesDeLaMatriceAlignéesADroite) {
    const int16_t r5[] = {1, 2, 3, 4, 5, -6};
    std::memcpy(matrice[5], r5, sizeof r5);
    const int16_t r1[] = {-32768, 32767, 0, -1, 10, 100};
    std::memcpy(matrice[1], r1, sizeof r1);
    for (int16_t &c : matrice[0]) c = 7;
    for (int16_t &c : matrice[6]) c = 7;
    t_colonne droite = DROITE_DE_DEPART;
    droite[0] = "1 2 3 4 5 -6";
    droite[4] = "-32768 32767 0 -1 10 100";
    EXPECT_TRUE(panneau() == attendu(GAUCHE_SANS_PIECE, droite));
    // The top line's ink reaches the right edge of the window.
    bool encre_au_bord = false;
    for (int y = 0; y < TTF_FontHeight(police); ++y)
        encre_au_bord |= couleur(ecran, SCREEN_WIDTH - 2, y) != VERT_FOND;
    EXPECT_TRUE(encre_au_bord);
}

TEST_F(Panneau, PoliceDe13PointsParDessusLesPieces) {
    // The width of a line tells 13 points from 12 and from 14.
    const auto largeur = [](TTF_Font *f) {
        int l = 0, h = 0;
        TTF_SizeText(f, "pos_x_sur_grille : -1", &l, &h);
        return l;
    };
    for (int points : {12, 13, 14}) {
        TTF_Font *f = TTF_OpenFont(POLICE_DE_TEST, points);
        EXPECT_EQ(largeur(police) == largeur(f), points == 13) << points;
        TTF_CloseFont(f);
    }
    // A cube under the left column's top lines: the pass draws their text over it.
    ecrire_bmp("img_cube_simple.bmp", 100, 100, 0xc08040);
    testing::internal::CaptureStderr();
    init_layout();
    testing::internal::GetCapturedStderr();
    jeu.piece[ID_CUBE] = {ID_CUBE, "CUBE", 0, 0, OUI, 0, 0, 6, 1, 1, -1};
    dessiner();
    int encre = 0;
    for (int y = 50; y < 150; ++y)
        for (int x = 0; x < 100; ++x) encre += couleur(ecran, x, y) == 0;
    EXPECT_GT(encre, 20);
    EXPECT_EQ(couleur(ecran, 99, 149), 0xc08040U); // below the text, the cube
}

TEST_F(Panneau, SansPoliceRienNEstEcritEtLaPerteEstSignalee) {
    TTF_CloseFont(police);
    police = nullptr;
    std::filesystem::remove("arial.ttf");
    testing::internal::CaptureStderr();
    init_font();
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("valdrune: arial.ttf: ", 0), 0U);
    EXPECT_EQ(police, nullptr);
    EXPECT_TRUE(panneau() == attendu({}, {}));
    pieces[0].prise = 1;
    EXPECT_TRUE(panneau() == attendu({}, {}));
}

} // namespace
