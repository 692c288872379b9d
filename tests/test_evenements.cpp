// test_evenements.cpp: the main loop's event handling and pass.
#include "dessins.h"
#include "fichiers/fichier.h"
#include "jeu/boucle.h"
#include "sdl_factice.h"

#include <cstring>
#include <filesystem>

namespace {

class Evenements : public AvecEcran {
  protected:
    // Acts on one event as a pass would, and says whether the loop goes on.
    int agir(const SDL_Event &e) {
        event = e;
        return traiter_evenement();
    }
    void appuyer(SDLKey sym) { agir(touche(SDL_KEYDOWN, sym)); }
    void relacher(SDLKey sym) { agir(touche(SDL_KEYUP, sym)); }
    void cliquer(Uint16 x, Uint16 y) { agir(bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, x, y)); }
    void lacher() { agir(bouton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0, 0)); }
};

TEST_F(Evenements, UnAppuiUnPasDeNiveauVerrouPartage) {
    relacher(SDLK_UP); // the latch starts open: no press needed first
    EXPECT_EQ(niveau, 20);
    relacher(SDLK_UP);
    EXPECT_EQ(niveau, 20);
    appuyer(SDLK_UP);
    appuyer(SDLK_UP); // held down: no repeat
    relacher(SDLK_UP);
    EXPECT_EQ(niveau, 21);
    appuyer(SDLK_DOWN);
    relacher(SDLK_DOWN);
    EXPECT_EQ(niveau, 20);
    // Up and Down share the latch: a press of one opens it for the other.
    appuyer(SDLK_UP);
    relacher(SDLK_DOWN);
    EXPECT_EQ(niveau, 19);
    relacher(SDLK_UP);
    EXPECT_EQ(niveau, 19);
}

TEST_F(Evenements, NiveauxBouclentEntre1Et48) {
    niveau = 47;
    relacher(SDLK_UP);
    EXPECT_EQ(niveau, 48);
    appuyer(SDLK_UP);
    relacher(SDLK_UP);
    EXPECT_EQ(niveau, 1);
    appuyer(SDLK_DOWN);
    relacher(SDLK_DOWN);
    EXPECT_EQ(niveau, 48);
}

TEST_F(Evenements, PasDeNiveauRelitEtTrace) {
    ecrire_fichier("solution20.xml", "<id>5</id> <ligne>3</ligne> <dans_le_jeu>1</dans_le_jeu>");
    relacher(SDLK_UP);
    EXPECT_EQ(jeu.piece[5].ligne, 3);
    EXPECT_NE(lire_fichier("fichier_ecriture_pute.txt").find("numero ligne : 3\n"),
              std::string::npos);
}

TEST_F(Evenements, RienNeTourneSansPieceTournablePrise) {
    pieces[4].rotation_possible = 1;
    appuyer(SDLK_RIGHT);
    appuyer(SDLK_LEFT);
    EXPECT_EQ(pieces[4].rotation, 0);
    cliquer(0, 0);
    ASSERT_EQ(id_piece_prise, 0);
    for (int possible : {0, 2}) { // only exactly 1 allows a turn
        pieces[0].rotation_possible = possible;
        appuyer(SDLK_RIGHT);
        EXPECT_EQ(pieces[0].rotation, 0);
        EXPECT_EQ(autoriser_rotation, 1); // and the latch stays open
    }
}

TEST_F(Evenements, TourneUneFoisParAppuiEtBoucleSur0A5) {
    pieces[0].rotation_possible = 1;
    cliquer(10, 10);
    appuyer(SDLK_RIGHT);
    EXPECT_EQ(pieces[0].rotation, 1);
    EXPECT_EQ(autoriser_rotation, 0);
    appuyer(SDLK_RIGHT);
    appuyer(SDLK_LEFT);
    EXPECT_EQ(pieces[0].rotation, 1);
    relacher(SDLK_LEFT); // either key reopens the latch
    appuyer(SDLK_LEFT);
    relacher(SDLK_RIGHT);
    appuyer(SDLK_LEFT);
    EXPECT_EQ(pieces[0].rotation, 5);
    relacher(SDLK_LEFT);
    appuyer(SDLK_RIGHT);
    EXPECT_EQ(pieces[0].rotation, 0);
    pieces[0].rotation = 4;
    relacher(SDLK_RIGHT);
    appuyer(SDLK_RIGHT);
    EXPECT_EQ(pieces[0].rotation, 5);
}

TEST_F(Evenements, LaPiecePriseDeRangLePlusHautTourne) {
    pieces[2].prise = pieces[7].prise = 1;
    pieces[9].prise = 2; // only exactly 1 is held
    pieces[2].rotation_possible = pieces[7].rotation_possible = pieces[9].rotation_possible = 1;
    appuyer(SDLK_RIGHT);
    EXPECT_EQ(pieces[7].rotation, 1);
    EXPECT_EQ(pieces[2].rotation, 0);
    EXPECT_EQ(pieces[9].rotation, 0);
}

TEST_F(Evenements, PriseAMoinsDe50PixelsUnePieceALaFois) {
    cliquer(50, 10);
    cliquer(10, 50);
    EXPECT_EQ(id_piece_prise, -1);
    cliquer(49, 49);
    EXPECT_EQ(id_piece_prise, 0);
    EXPECT_EQ(pieces[0].prise, 1);
    pieces[1].x = 300;
    cliquer(300, 0); // one piece at a time
    EXPECT_EQ(id_piece_prise, 0);
    EXPECT_EQ(pieces[1].prise, 0);
    lacher();
    EXPECT_EQ(id_piece_prise, -1);
    EXPECT_EQ(pieces[0].prise, 0);
    lacher(); // nothing held: nothing changes
    EXPECT_EQ(id_piece_prise, -1);
    // The first piece in identity order whose point is near enough.
    for (int k = 0; k < NB_PIECES; ++k) pieces[k].x = pieces[k].y = 1000;
    pieces[3].x = 500;
    pieces[3].y = 300;
    pieces[6].x = 520;
    pieces[6].y = 300;
    cliquer(450, 300);
    cliquer(500, 250);
    EXPECT_EQ(id_piece_prise, -1);
    cliquer(540, 349);
    EXPECT_EQ(id_piece_prise, 3);
    lacher();
    cliquer(551, 300);
    EXPECT_EQ(id_piece_prise, 6);
}

TEST_F(Evenements, AutresBoutonsEtAutresEvenementsIgnores) {
    agir(bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 0, 0));
    EXPECT_EQ(id_piece_prise, -1);
    cliquer(0, 0);
    agir(bouton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 0, 0));
    EXPECT_EQ(id_piece_prise, 0);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    EXPECT_EQ(agir(e), 1);
    agir(touche(SDL_KEYUP, SDLK_a));
    agir(touche(SDL_KEYDOWN, SDLK_PAGEUP));
    EXPECT_EQ(niveau, 19);
    EXPECT_EQ(id_piece_prise, 0);
}

TEST_F(Evenements, UnEvenementRepeteNeChangeRien) {
    pieces[0].rotation_possible = 1;
    const SDL_Event suite[] = {touche(SDL_KEYUP, SDLK_UP),
                               touche(SDL_KEYDOWN, SDLK_DOWN),
                               bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 3),
                               touche(SDL_KEYDOWN, SDLK_LEFT),
                               touche(SDL_KEYUP, SDLK_LEFT),
                               touche(SDL_KEYUP, SDLK_DOWN),
                               bouton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 3, 3)};
    for (const SDL_Event &e : suite) {
        agir(e);
        const int etat[] = {niveau,         change,          autoriser_rotation,
                            id_piece_prise, pieces[0].prise, pieces[0].rotation};
        agir(e);
        const int encore[] = {niveau,         change,          autoriser_rotation,
                              id_piece_prise, pieces[0].prise, pieces[0].rotation};
        EXPECT_EQ(std::memcmp(etat, encore, sizeof etat), 0) << int(e.type);
    }
    EXPECT_EQ(niveau, 19);
    EXPECT_EQ(pieces[0].rotation, 5);
}

TEST_F(Evenements, LaPasseAgitPuisDessine) {
    SDL_Event e = touche(SDL_KEYUP, SDLK_UP);
    SDL_PushEvent(&e);
    SDL_FillRect(ecran, nullptr, 0);
    EXPECT_EQ(passe(), 1);
    EXPECT_EQ(niveau, 20);
    EXPECT_EQ(couleur(ecran, 1499, 749), VERT_FOND);
    EXPECT_EQ(passe(), 1); // no event waiting: nothing more happens
    EXPECT_EQ(niveau, 20);
}

TEST_F(Evenements, FermerLaFenetreFinitApresUnDernierDessin) {
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    SDL_FillRect(ecran, nullptr, 0);
    EXPECT_EQ(passe(), 0);
    EXPECT_EQ(couleur(ecran, 0, 0), VERT_FOND);
}

// Start-up under the dummy driver, in its order: the screen and its caption, the reset, the
// font, the drawables, then the level read over the reset; and the shut-down.
using Demarrage = DansDossier;

TEST_F(Demarrage, SansVideoUnMessageEtRienDePlus) {
    setenv("SDL_VIDEODRIVER", "inexistant", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(demarrer(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind("valdrune: cannot initialise SDL: ", 0),
              0U);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_EQ(ecran, nullptr);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0U);
}

TEST_F(Demarrage, DemarrerPuisArreter) {
    std::filesystem::copy_file(POLICE_DE_TEST, "arial.ttf");
    ecrire_fichier("solution19.xml", "<id>4</id> <ligne>3</ligne>");
    std::memset(&jeu, 0x5a, sizeof jeu); // so that the reset shows
    ASSERT_EQ(demarrer(), 1);
    char *legende = nullptr;
    SDL_WM_GetCaption(&legende, nullptr);
    EXPECT_STREQ(legende, "Jeu Valdrune");
    ASSERT_NE(ecran, nullptr);
    EXPECT_EQ(ecran->w, 1500);
    EXPECT_EQ(ecran->h, 750);
    EXPECT_EQ(ecran->format->BitsPerPixel, 32);
    EXPECT_STREQ(jeu.piece[4].nom, "CUBE_AVEC_APENDICE_2");
    EXPECT_EQ(jeu.piece[4].ligne, 3);
    EXPECT_EQ(jeu.piece[5].ligne, -1);
    EXPECT_NE(police, nullptr);
    EXPECT_NE(personnage_h.surface, nullptr);
    EXPECT_NE(lire_fichier("fichier_ecriture_pute.txt").find("numero ligne : 3\n"),
              std::string::npos);
    liberer_surfaces();
    arreter();
    EXPECT_EQ(police, nullptr);
    EXPECT_EQ(TTF_WasInit(), 0);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0U);
    ecran = nullptr;
}

} // namespace
