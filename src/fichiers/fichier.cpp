// fichier.cpp: the level reader and the trace file.
#include "fichiers/fichier.h"

#include "jeu/jeu.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Tokens examined in a level file; anything after them has no effect.
constexpr int NB_JETONS = 132;

// Value of a tag whose value is empty.
constexpr int VALEUR_VIDE = -100;

const char *const FICHIER_TRACE = "fichier_ecriture_pute.txt";

// The tags in the order in which each token is tested, and the field each one sets
// (none for the id tag, which chooses the current piece).
struct t_balise {
    const char *texte;
    int t_piecer::*champ;
};

const t_balise balises[] = {
    {"<id>", nullptr},
    {"<ligne>", &t_piecer::ligne},
    {"<colonne>", &t_piecer::colonne},
    {"<rotation>", &t_piecer::rotation},
    {"<hauteur>", &t_piecer::hauteur},
    {"<largeur>", &t_piecer::largeur},
    {"<dans_le_jeu>", &t_piecer::dans_le_jeu},
};

bool est_blanc(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the next token into jeton, then skips the white space after it. At the end of the
// file jeton is left as it was. A token longer than TAILLE_JETON is cut and the rest of it
// dropped: kept whole it would overrun jeton, and read on its own it could pass for a tag.
void lire_jeton(std::FILE *f, char (&jeton)[TAILLE_JETON + 1]) {
    int c = std::getc(f);
    while (c != EOF && est_blanc(c)) c = std::getc(f);
    if (c == EOF) return;
    int n = 0;
    for (; c != EOF && !est_blanc(c); c = std::getc(f))
        if (n < TAILLE_JETON) jeton[n++] = static_cast<char>(c);
    jeton[n] = '\0';
    while (c != EOF && est_blanc(c)) c = std::getc(f);
    if (c != EOF) std::ungetc(c, f);
}

// Applies every tag that the token carries to the current piece.
void examiner_jeton(const char *jeton, int &courante) {
    for (const t_balise &balise : balises) {
        if (test_ligne(jeton, balise.texte) != OUI) continue;
        const int v = buff_to_int(jeton);
        if (balise.champ == nullptr) {
            courante = v;
            if (courante >= 0 && courante < NB_PIECES) jeu.piece[courante].id = v;
        } else if (courante >= 0 && courante < NB_PIECES) {
            jeu.piece[courante].*balise.champ = v;
        }
    }
}

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
    if (std::FILE *f = std::fopen(nom, "r")) {
        char jeton[TAILLE_JETON + 1] = "";
        int courante = -1;
        // Each pass examines the token read by the one before, so the last token read is
        // never examined, and at the end of the file the last token is examined again.
        for (int passe = 0; passe <= NB_JETONS; ++passe) {
            examiner_jeton(jeton, courante);
            lire_jeton(f, jeton);
        }
        std::fclose(f);
    }
    ecrire_trace();
}

int test_ligne(const char *buffer, const char *ligne_a_test) {
    const size_t n = std::strlen(ligne_a_test);
    if (n == 0 || std::strlen(buffer) < n) return NON;
    return std::strncmp(buffer, ligne_a_test, n - 1) == 0 ? OUI : NON;
}

int buff_to_int(const char *buffer) {
    const long n = static_cast<long>(std::strlen(buffer));
    // With no '>' the value starts past the end and is empty, rather than searched for past
    // the token's end.
    const char *chevron = std::strchr(buffer, '>');
    const long b = (chevron != nullptr ? chevron - buffer : n) + 1;
    const long e = n - b - 2;
    if (e < b) return VALEUR_VIDE;
    // Unsigned arithmetic wraps on long digit strings, where signed arithmetic would overflow,
    // which is undefined; every value that fits reads the same.
    uint32_t resultat = 0;
    uint32_t poids = 1;
    for (long k = e; k >= b; --k) {
        const char c = buffer[k];
        if (c >= '0' && c <= '9')
            resultat += static_cast<uint32_t>(c - '0') * poids;
        else if (c == '-')
            resultat = 0U - resultat;
        poids *= 10U;
    }
    return static_cast<int32_t>(resultat);
}
