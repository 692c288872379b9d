// explication.h: a failing verdict made to teach: the balance judged before the walk, the piece
// that tips and the side it falls to, and where the knight stops.
#pragma once

#include "regles/plateau.h"

// evaluer(), then: a level whose stack does not stand with the knight off it fails on that,
// whatever his walk (E_TOMBE_SEUL); a verdict of balance gets its t_chute, one of "no walk" its
// t_impasse. The yes or no is evaluer()'s.
t_verdict evaluer_en_detail(const t_scene &scene);
