// test_endurance.cpp: a run of the main loop's pass that must lose no memory.
#include "fichiers/fichier.h"
#include "visionneuse/boucle.h"
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

} // namespace
