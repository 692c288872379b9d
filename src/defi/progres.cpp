// progres.cpp: the progress file: one line per level solved ("19 résolu 2": level, hints) or
// whose solution was seen ("20 vu"), and the pieces to place last chosen ("pièces 3").
#include "defi/progres.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool niveau_valide(int n) {
    return n >= 1 && n <= NB_NIVEAUX;
}

} // namespace

bool lire_progres(const char *fichier, t_progres &p) {
    p = t_progres();
    std::FILE *f = std::fopen(fichier, "r");
    if (f == nullptr) return errno == ENOENT;
    p.trouve = OUI;
    char ligne[256];
    while (std::fgets(ligne, sizeof ligne, f) != nullptr) {
        int n = 0, indices = 0;
        char mot[16] = "", reste = 0;
        if (std::strcmp(ligne, "règles vues\n") == 0 || std::strcmp(ligne, "règles vues") == 0) {
            p.regles_vues = OUI;
            continue;
        }
        if (std::sscanf(ligne, "pièces %d %c", &n, &reste) == 1 && n >= 1 && n <= 4) {
            p.pieces = n;
            continue;
        }
        // The whole line, numbers in range: anything else is not a record.
        const int lus = std::sscanf(ligne, "%2d %15s %9d %c", &n, mot, &indices, &reste);
        if (lus == 3 && std::strcmp(mot, "résolu") == 0 && indices >= 0)
            noter_resolu(p, n, indices);
        else if (lus == 2 && std::strcmp(mot, "vu") == 0)
            noter_vu(p, n);
    }
    const bool lu = std::ferror(f) == 0;
    std::fclose(f);
    return lu;
}

bool ecrire_progres(const t_progres &p, const char *fichier, std::string &erreur) {
    const std::string provisoire = std::string(fichier) + ".nouveau";
    std::FILE *f = std::fopen(provisoire.c_str(), "w");
    const bool ouvert = f != nullptr;
    bool ecrit = ouvert;
    if (ecrit) {
        std::fprintf(f, "# Valdrune : défis résolus (niveau, indices pris) et solutions vues\n");
        for (int n = 1; n <= NB_NIVEAUX; ++n) {
            if (p.avancement[n] == AV_RESOLU) std::fprintf(f, "%d résolu %d\n", n, p.indices[n]);
            if (p.avancement[n] == AV_VU) std::fprintf(f, "%d vu\n", n);
        }
        if (p.pieces != 0) std::fprintf(f, "pièces %d\n", p.pieces);
        if (p.regles_vues == OUI) std::fprintf(f, "règles vues\n");
        ecrit = std::ferror(f) == 0;
        ecrit = std::fclose(f) == 0 && ecrit;
    }
    if (ecrit) ecrit = std::rename(provisoire.c_str(), fichier) == 0;
    if (!ecrit) {
        erreur = std::string(fichier) + " : " + std::strerror(errno);
        // Only a temporary file of ours goes: what stood in its way is not ours to remove.
        if (ouvert) std::remove(provisoire.c_str());
    }
    return ecrit;
}

void noter_resolu(t_progres &p, int n, int indices) {
    if (!niveau_valide(n)) return;
    if (p.avancement[n] != AV_RESOLU || indices < p.indices[n]) p.indices[n] = indices;
    p.avancement[n] = AV_RESOLU;
}

void noter_vu(t_progres &p, int n) {
    if (niveau_valide(n) && p.avancement[n] == AV_RIEN) p.avancement[n] = AV_VU;
}

int premier_non_resolu(const t_progres &p) {
    for (int n = 1; n <= NB_NIVEAUX; ++n)
        if (p.avancement[n] != AV_RESOLU) return n;
    return 1;
}

int nombre_resolus(const t_progres &p) {
    int n = 0;
    for (int a : p.avancement) n += a == AV_RESOLU;
    return n;
}
