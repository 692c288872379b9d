// test_endurance.cpp: a run of the main loop's pass that must lose no memory, and a flood of
// events.
#include "fichiers/fichier.h"
#include "jeu/boucle.h"
#include "jeu/modele.h"
#include "rendu/rendu.h"
#include "sdl_factice.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define SOUS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SOUS_ASAN 1
#endif
#endif

namespace {

// Resident memory of the process, in bytes.
long memoire_residente() {
    long total = 0, residente = 0;
    std::ifstream("/proc/self/statm") >> total >> residente;
    return residente * sysconf(_SC_PAGESIZE);
}

// A working directory with the shipped data, the program started on it as at start-up.
class Programme : public AvecEcran {
  protected:
    void SetUp() override {
        AvecEcran::SetUp();
        for (const auto &e : std::filesystem::directory_iterator(DOSSIER_DONNEES))
            std::filesystem::copy(e.path(), e.path().filename());
        init();
        init_font();
        init_layout();
        load_fichier();
    }
};

// A pass loses nothing: a single text line of the panel kept per pass would show here as some
// 16 MB. The passes cycle through level steps, a take, turns and a release.
TEST_F(Programme, DeuxMillePassesSansPerdreDeMemoire) {
#ifdef SOUS_ASAN
    GTEST_SKIP() << "resident memory means nothing under AddressSanitizer";
#endif
    pieces[0].rotation_possible = 1; // so that the turns turn
    const SDL_Event cycle[] = {touche(SDL_KEYDOWN, SDLK_UP),
                               touche(SDL_KEYUP, SDLK_UP),
                               bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 10),
                               touche(SDL_KEYDOWN, SDLK_RIGHT),
                               touche(SDL_KEYUP, SDLK_RIGHT),
                               touche(SDL_KEYDOWN, SDLK_LEFT),
                               touche(SDL_KEYUP, SDLK_LEFT),
                               bouton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 10),
                               touche(SDL_KEYDOWN, SDLK_DOWN),
                               touche(SDL_KEYUP, SDLK_DOWN),
                               touche(SDL_KEYDOWN, SDLK_DOWN),
                               touche(SDL_KEYUP, SDLK_DOWN)};
    long apres_deux_cents = 0;
    for (int n = 1; n <= 2208; ++n) { // whole cycles
        SDL_Event e = cycle[n % 12];
        SDL_PushEvent(&e);
        ASSERT_EQ(passe(), 1);
        if (n == 200) apres_deux_cents = memoire_residente();
    }
    EXPECT_LT(memoire_residente() - apres_deux_cents, 4L << 20);
    EXPECT_EQ(pieces[0].rotation, 0); // a turn each way per cycle
}

TEST_F(Programme, DixMilleEvenementsEtUnQuitHonore) {
    // 2,500 level steps, then the close of the window, then 4,999 more events that must not be
    // acted on. SDL's queue holds only 127 events: it is topped up as the passes empty it.
    std::vector<SDL_Event> flot;
    for (int i = 0; i < 2500; ++i) {
        flot.push_back(touche(SDL_KEYDOWN, SDLK_UP));
        flot.push_back(touche(SDL_KEYUP, SDLK_UP));
    }
    SDL_Event quitter{};
    quitter.type = SDL_QUIT;
    flot.push_back(quitter);
    while (flot.size() < 10000) flot.push_back(touche(SDL_KEYUP, SDLK_DOWN));
    size_t pousses = 0;
    int passes = 0;
    do {
        while (pousses < flot.size() && SDL_PushEvent(&flot[pousses]) == 0) ++pousses;
        ++passes;
    } while (passe() == 1);
    EXPECT_EQ(passes, 5001);
    EXPECT_EQ(niveau, 19 + 2500 % 48); // 2,500 steps up from 19, wrapping at 48
}

} // namespace
