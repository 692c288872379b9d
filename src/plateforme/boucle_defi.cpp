// boucle_defi.cpp: the challenge mode's loop. It sleeps in SDL_WaitEvent while nothing moves
// (a challenge being made wakes it when done, and ten times a second for its count), and draws
// at most 60 frames a second while the pointer carries a piece, the knight walks or a solve is
// celebrated.
#include "plateforme/boucle_defi.h"

#include "jeu/jeu.h"
#include "plateforme/ecran_defi.h"
#include "rendu/rendu.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <cstdio>
#include <random>

namespace {

constexpr Uint32 IMAGE_MS = 16;  // at most 60 frames a second
constexpr Uint32 SUIVI_MS = 100; // the count of stacks tried, while a challenge is made

// What the loop's own events say: a making of a challenge has ended; the count of its stacks
// is due to be shown again.
enum { U_FABRICATION_FINIE, U_SUIVI };

// From any thread: SDL 1.2's event queue takes events from other threads.
void pousser(int code) {
    SDL_Event e{};
    e.type = SDL_USEREVENT;
    e.user.code = code;
    SDL_PushEvent(&e);
}

Uint32 pousser_suivi(Uint32 intervalle, void *) {
    pousser(U_SUIVI);
    return intervalle;
}

// Division rounding down, so that a pixel left of or below the window is in no cell of it.
int diviser_vers_le_bas(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// The key whose press ended a celebration: its release is not heard either, or Up would step
// to the next level.
SDLKey touche_avalee = SDLK_UNKNOWN;

// Whether something moves on the screen at time `maintenant`: the knight walking, or the
// celebration after.
bool anime(const t_partie &p, Uint32 maintenant) {
    return (en_marche(defi_courant(p)) && !en_fabrication(p)) || en_fete(p, maintenant);
}

// F1, or ? wherever the keyboard puts it.
bool demande_les_regles(const SDL_keysym &k) {
    return k.sym == SDLK_F1 || k.sym == SDLK_QUESTION || k.unicode == '?';
}

// The keys and the mouse on the map: the arrows move the choice, Enter or a click opens, N and
// 1 to 4 make a random challenge as in a challenge.
int traiter_evenement_carte(t_partie &p, const SDL_Event &e, bool &redessiner) {
    const auto agir = [&](t_commande c, int colonne = 0) {
        commander(p, c, colonne);
        redessiner = true;
    };
    if (e.type == SDL_QUIT) return 0;
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        if (const int place = place_de_carte(e.button.x, e.button.y); place != 0)
            agir(C_OUVRIR, place);
    } else if (e.type == SDL_KEYDOWN) {
        const SDLKey k = e.key.keysym.sym;
        if (k == SDLK_LEFT) agir(C_CHOISIR, -1);
        if (k == SDLK_RIGHT) agir(C_CHOISIR, 1);
        if (k == SDLK_UP) agir(C_CHOISIR, -CARTE_LARGEUR);
        if (k == SDLK_DOWN) agir(C_CHOISIR, CARTE_LARGEUR);
        if (k == SDLK_RETURN || k == SDLK_KP_ENTER) agir(C_OUVRIR);
        if (k == SDLK_n) agir(C_NOUVEAU);
        if ((k >= SDLK_1 && k <= SDLK_4) || (k >= SDLK_KP1 && k <= SDLK_KP4))
            agir(C_PIECES, k - (k >= SDLK_KP0 ? SDLK_KP0 : SDLK_0));
    } else if (e.type == SDL_VIDEOEXPOSE || e.type == SDL_ACTIVEEVENT || e.type == SDL_USEREVENT) {
        if (e.type == SDL_USEREVENT) suivre_fabrication(p);
        redessiner = true;
    }
    return 1;
}

} // namespace

int traiter_evenement_defi(t_partie &p, const SDL_Event &e, bool &redessiner) {
    // Any key or click ends a celebration, and does nothing else.
    if (en_fete(p, SDL_GetTicks()) && (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN)) {
        finir_fete(p);
        touche_avalee = e.type == SDL_KEYDOWN ? e.key.keysym.sym : SDLK_UNKNOWN;
        redessiner = true;
        return 1;
    }
    if (e.type == SDL_KEYUP && e.key.keysym.sym == touche_avalee && touche_avalee != SDLK_UNKNOWN) {
        touche_avalee = SDLK_UNKNOWN;
        return 1;
    }
    // The rules screen: any key or click closes it, and does nothing else.
    if (p.regles && (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN)) {
        commander(p, C_REGLES);
        touche_avalee = e.type == SDL_KEYDOWN ? e.key.keysym.sym : SDLK_UNKNOWN;
        redessiner = true;
        return 1;
    }
    if (e.type == SDL_KEYDOWN && demande_les_regles(e.key.keysym)) {
        commander(p, C_REGLES);
        redessiner = true;
        return 1;
    }
    if (p.carte) return traiter_evenement_carte(p, e, redessiner);
    // Pixels become the window's cells, column from the left, row from the bottom.
    const auto agir = [&](t_commande c, int x = 0, int y = 0) {
        commander(p, c, diviser_vers_le_bas(x, taille_cube),
                  diviser_vers_le_bas(SCREEN_HEIGHT - 1 - y, taille_cube));
        redessiner = true;
    };
    switch (e.type) {
    case SDL_QUIT:
        return 0;
    case SDL_KEYDOWN:
        switch (e.key.keysym.sym) {
        case SDLK_RIGHT:
            agir(C_TOURNER_DROITE);
            break;
        case SDLK_LEFT:
            agir(C_TOURNER_GAUCHE);
            break;
        case SDLK_ESCAPE:
            // With nothing held and nothing being made, back to the map.
            agir(defi_courant(p).tenue == -1 && !en_fabrication(p) ? C_CARTE : C_REPOSER);
            break;
        case SDLK_m:
            agir(C_CARTE);
            break;
        case SDLK_r:
            agir(C_RECOMMENCER);
            break;
        case SDLK_u:
        case SDLK_BACKSPACE:
            agir(C_ANNULER);
            break;
        case SDLK_h:
            agir(C_INDICE);
            break;
        case SDLK_s:
            agir(C_SOLUTION);
            break;
        case SDLK_n:
            agir(C_NOUVEAU);
            break;
        case SDLK_1:
        case SDLK_2:
        case SDLK_3:
        case SDLK_4:
        case SDLK_KP1:
        case SDLK_KP2:
        case SDLK_KP3:
        case SDLK_KP4: {
            const int touche = e.key.keysym.sym;
            commander(p, C_PIECES, touche - (touche >= SDLK_KP0 ? SDLK_KP0 : SDLK_0));
            redessiner = true;
            break;
        }
        default:
            break;
        }
        break;
    case SDL_KEYUP:
        if (e.key.keysym.sym == SDLK_UP) agir(C_SUIVANT);
        if (e.key.keysym.sym == SDLK_DOWN) agir(C_PRECEDENT);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT) agir(C_PRENDRE, e.button.x, e.button.y);
        // The wheel turns the held staircase too.
        if (e.button.button == SDL_BUTTON_WHEELUP) agir(C_TOURNER_DROITE);
        if (e.button.button == SDL_BUTTON_WHEELDOWN) agir(C_TOURNER_GAUCHE);
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) {
            agir(C_DEPLACER, e.button.x, e.button.y);
            agir(C_LACHER);
        }
        break;
    case SDL_MOUSEMOTION: {
        // Only a carried piece changes the picture as the pointer moves.
        const bool avant = redessiner;
        agir(C_DEPLACER, e.motion.x, e.motion.y);
        redessiner = avant || defi_courant(p).tenue != -1;
        break;
    }
    case SDL_USEREVENT:
        // Either one: an end whose event the full queue dropped is seen at the next count.
        suivre_fabrication(p);
        redessiner = true;
        break;
    case SDL_VIDEOEXPOSE:
    case SDL_ACTIVEEVENT:
        redessiner = true;
        break;
    default:
        break;
    }
    return 1;
}

void signaler_fabrication_finie() {
    pousser(U_FABRICATION_FINIE);
}

void annoncer(t_partie &p) {
    for (const std::string &a : p.annonces) std::printf("%s\n", a.c_str());
    if (!p.annonces.empty()) std::fflush(stdout);
    p.annonces.clear();
}

int demarrer_defi() {
    if (ouvrir_fenetre() != 1) return 0;
    // Without timers the count of stacks tried is not shown as it grows, nothing worse.
    if (SDL_InitSubSystem(SDL_INIT_TIMER) != 0)
        std::fprintf(stderr, "valdrune: no timer: %s\n", SDL_GetError());
    init_layout();
    ouvrir_ecran_defi();
    SDL_EnableUNICODE(1); // for ?, which each keyboard puts on its own key
    return 1;
}

int jouer_defis(int n, uint32_t graine, int pieces) {
    if (demarrer_defi() != 1) return 1;
    static t_partie partie; // large: kept out of the stack
    partie.hasard = t_hasard(std::random_device()());
    // The making's threads wake the loop with an event when they are done.
    partie.signaler_fabrication = signaler_fabrication_finie;
    commencer_partie(partie, n);
    if (pieces != 0) partie.pieces_voulues = pieces;
    if (graine != 0)
        fabriquer(partie, {graine}, partie.pieces_voulues);
    else if (pieces != 0)
        commander(partie, C_NOUVEAU);
    bool continuer = true, redessiner = true, animait = false;
    Uint32 derniere_image = 0;
    SDL_TimerID suivi{}; // a handle on the desktop, a number in the browser's SDL
    bool suivi_en_cours = false;
    while (continuer) {
        annoncer(partie);
        marcher_a_l_heure(partie, SDL_GetTicks());
        // Every frame while something moves, and one more once it stops.
        // The tipping's clock starts with its verdict, whatever else moves.
        const bool penche = suivre_chute(partie, SDL_GetTicks());
        const bool bouge = anime(partie, SDL_GetTicks()) || penche;
        redessiner = redessiner || bouge || animait;
        animait = bouge;
        if (en_fabrication(partie) != suivi_en_cours) {
            if (suivi_en_cours) SDL_RemoveTimer(suivi);
            if (!suivi_en_cours) suivi = SDL_AddTimer(SUIVI_MS, pousser_suivi, nullptr);
            suivi_en_cours = !suivi_en_cours;
        }
        if (redessiner) {
            const Uint32 depuis = SDL_GetTicks() - derniere_image;
            if (depuis < IMAGE_MS) SDL_Delay(IMAGE_MS - depuis);
            dessiner_defi(partie, SDL_GetTicks());
            SDL_Flip(ecran);
            derniere_image = SDL_GetTicks();
            redessiner = false;
        }
        // After the frame: the first one shows before the shipped levels' prints are made.
        preparer_suivant(partie);
        SDL_Event e;
        if (bouge) {
            if (!SDL_PollEvent(&e)) {
                SDL_Delay(5);
                continue;
            }
        } else if (SDL_WaitEvent(&e) != 1) {
            break;
        }
        // Every waiting event before the next frame: a moving pointer queues many.
        do continuer = traiter_evenement_defi(partie, e, redessiner) == 1 && continuer;
        while (SDL_PollEvent(&e) == 1);
    }
    if (suivi_en_cours) SDL_RemoveTimer(suivi);
    arreter_fabrication(partie);
    arreter_preparation(partie);
    annoncer(partie);
    fermer_ecran_defi();
    arreter();
    return 0;
}
