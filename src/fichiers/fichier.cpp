// fichier.cpp: the viewer's level reader and the trace file.
#include "fichiers/fichier.h"

#include "jeu/jeu.h"

#include <cstdio>

namespace {

const char *const FICHIER_TRACE = "fichier_ecriture_pute.txt";

void ecrire_trace() {
    std::FILE *trace = std::fopen(FICHIER_TRACE, "w");
    if (trace == nullptr) return;
    for (const t_piecer &p : jeu.piece) {
        std::fprintf(trace, "numero piece : %d\n", p.id);
        std::fprintf(trace, "numero ligne : %d\n", p.ligne);
        std::fprintf(trace, "numero colonne : %d\n", p.colonne);
        std::fprintf(trace, "numero rotation : %d\n", p.rotation);
        std::fprintf(trace, "numero hauteur : %d\n", p.hauteur);
        std::fprintf(trace, "numero largeur : %d\n", p.largeur);
        std::fprintf(trace, "numero dans_le_jeu : %d\n", p.dans_le_jeu);
    }
    std::fclose(trace);
}

} // namespace

void load_fichier() {
    // Room for any int: the name is bounded whatever niveau holds.
    char nom[32];
    std::snprintf(nom, sizeof nom, "solution%d.xml", niveau);
    lire_niveau(nom, jeu.piece);
    // Written also when the level file could not be read.
    ecrire_trace();
}
