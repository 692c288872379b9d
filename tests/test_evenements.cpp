// test_evenements.cpp: the main loop's event handling and pass.
#include "dessins.h"
#include "fichiers/fichier.h"
#include "visionneuse/boucle.h"
#include "sdl_factice.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// What a transcript shows after each line: the level and its latch, the turn latch, the held
// piece, then each piece's held flag and turn counter, and whether the loop goes on.
std::string etat(int suite) {
    std::string pris, tours;
    for (const t_piece &p : pieces) {
        pris += std::to_string(p.prise);
        tours += std::to_string(p.rotation);
    }
    return "niveau " + std::to_string(niveau) + " change " + std::to_string(change) + " verrou " +
           std::to_string(autoriser_rotation) + " prise " + std::to_string(id_piece_prise) +
           " pris " + pris + " tours " + tours + " suite " + std::to_string(suite);
}

SDLKey touche_nommee(const std::string &nom) {
    const std::pair<const char *, SDLKey> touches[] = {
        {"HAUT", SDLK_UP},      {"BAS", SDLK_DOWN}, {"GAUCHE", SDLK_LEFT},
        {"DROITE", SDLK_RIGHT}, {"A", SDLK_a},      {"PAGEUP", SDLK_PAGEUP}};
    for (auto [n, sym] : touches)
        if (nom == n) return sym;
    ADD_FAILURE() << "no key " << nom;
    return SDLK_UNKNOWN;
}

class Evenements : public AvecEcran {
  protected:
    // Acts on one event as a pass would, and says whether the loop goes on.
    static int agir(const SDL_Event &e) {
        event = e;
        return traiter_evenement();
    }
    // Acts on one line of a transcript, before its "=>": "appuyer KEY", "relacher KEY",
    // "bouton N X Y" (pressed), "lacher N" (released), "souris" (moved), "fermer", or sets
    // the level ("niveau N") or a field of a piece ("poser FIELD PIECE VALUE").
    static int jouer(const std::string &action) {
        std::istringstream mots(action);
        std::string verbe, nom;
        mots >> verbe;
        if (verbe == "appuyer" || verbe == "relacher") {
            mots >> nom;
            return agir(touche(verbe == "appuyer" ? SDL_KEYDOWN : SDL_KEYUP, touche_nommee(nom)));
        }
        if (verbe == "poser") mots >> nom;
        int a = 0, b = 0, c = 0;
        mots >> a >> b >> c;
        if (verbe == "bouton")
            return agir(bouton(SDL_MOUSEBUTTONDOWN, Uint8(a), Uint16(b), Uint16(c)));
        if (verbe == "lacher") return agir(bouton(SDL_MOUSEBUTTONUP, Uint8(a), 0, 0));
        SDL_Event e{};
        e.type = verbe == "souris" ? SDL_MOUSEMOTION : SDL_QUIT;
        if (verbe == "souris" || verbe == "fermer") return agir(e);
        if (verbe == "niveau") {
            niveau = a;
            return 1;
        }
        const std::pair<const char *, int t_piece::*> champs[] = {
            {"x", &t_piece::x},
            {"y", &t_piece::y},
            {"prise", &t_piece::prise},
            {"tournable", &t_piece::rotation_possible},
            {"tour", &t_piece::rotation}};
        for (auto [n, champ] : champs)
            if (verbe == "poser" && nom == n) {
                pieces[a].*champ = b;
                return 1;
            }
        // A mistyped line would otherwise do nothing and pass.
        ADD_FAILURE() << "no action " << action;
        return 1;
    }
};

// Each transcript in tests/evenements: every line acted on from the start state, and after its
// "=>" the state it must leave.
TEST_F(Evenements, ChaqueTranscription) {
    int transcriptions = 0;
    for (const auto &e : std::filesystem::directory_iterator(TRANSCRIPTIONS)) {
        if (e.path().extension() != ".txt") continue;
        remettre_etat();
        std::ifstream f(e.path());
        std::string ligne, lu, joue;
        while (std::getline(f, ligne)) {
            lu += ligne + '\n';
            const size_t fleche = ligne.find(" =>");
            if (ligne.empty() || ligne[0] == '#') {
                joue += ligne + '\n';
                continue;
            }
            const std::string action = ligne.substr(0, fleche);
            joue += action + " => " + etat(jouer(action)) + '\n';
        }
        EXPECT_EQ(joue, lu) << e.path();
        ++transcriptions;
    }
    EXPECT_GE(transcriptions, 5);
}

// A pass acts on a new event, then draws; a level step reads the level and writes its trace.
TEST_F(Evenements, LaPasseAgitPuisDessine) {
    ecrire_fichier("solution20.xml", "<id>5</id> <ligne>3</ligne> <dans_le_jeu>1</dans_le_jeu>");
    SDL_Event e = touche(SDL_KEYUP, SDLK_UP);
    SDL_PushEvent(&e);
    SDL_FillRect(ecran, nullptr, 0);
    EXPECT_EQ(passe(), 1);
    EXPECT_EQ(jeu.piece[5].ligne, 3);
    EXPECT_NE(lire_fichier("fichier_ecriture_pute.txt").find("numero ligne : 3\n"),
              std::string::npos);
    EXPECT_EQ(couleur(ecran, 1499, 749), VERT_FOND);
    EXPECT_EQ(passe(), 1); // no event waiting: nothing more happens
    EXPECT_EQ(niveau, 20);
    // Closing the window ends the loop after a last drawing.
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
