// rendu.cpp: the drawables, the solution view and the information panel.
#include "jeu/jeu.h"

t_layout support[6];
t_layout personnage_f, personnage_h, cube_simple, cube_avec_apendice, tour;
t_layout grand_escalier[NB_ORIENTATIONS + 1];
t_layout petit_escalier[NB_ORIENTATIONS + 1];
SDL_Color couleurNoire = {0, 0, 0, 0};
TTF_Font *police = nullptr;
t_layout texte;
char buff[100];
