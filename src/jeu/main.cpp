// main.cpp: the entry of Valdrune, a viewer of the block-stacking puzzle's solutions.
#include "jeu/boucle.h"

#include <SDL.h>

int main(int /*argc*/, char ** /*argv*/) {
    if (demarrer() != 1) return 1;
    while (passe() == 1) {
    }
    arreter();
    return 0;
}
