// lecture.cpp: the level file's tokens, tags and values.
#include "niveau/lecture.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

const t_balise BALISES[NB_BALISES] = {
    {"<id>", &t_piecer::id},
    {"<ligne>", &t_piecer::ligne},
    {"<colonne>", &t_piecer::colonne},
    {"<rotation>", &t_piecer::rotation},
    {"<hauteur>", &t_piecer::hauteur},
    {"<largeur>", &t_piecer::largeur},
    {"<dans_le_jeu>", &t_piecer::dans_le_jeu},
};

namespace {

// Value of a tag whose value is empty.
constexpr int VALEUR_VIDE = -100;

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
void examiner_jeton(const char *jeton, int &courante, t_piecer piece[NB_PIECES]) {
    for (const t_balise &balise : BALISES) {
        if (test_ligne(jeton, balise.texte) != OUI) continue;
        const int v = buff_to_int(jeton);
        if (balise.champ == &t_piecer::id) courante = v;
        if (courante >= 0 && courante < NB_PIECES) piece[courante].*balise.champ = v;
    }
}

} // namespace

bool lire_niveau(const char *nom, t_piecer piece[NB_PIECES]) {
    std::FILE *f = std::fopen(nom, "r");
    if (f == nullptr) return false;
    char jeton[TAILLE_JETON + 1] = "";
    int courante = -1;
    // Each pass examines the token read by the one before, so the last token read is never
    // examined, and at the end of the file the last token is examined again.
    for (int passe = 0; passe <= NB_JETONS; ++passe) {
        examiner_jeton(jeton, courante, piece);
        lire_jeton(f, jeton);
    }
    std::fclose(f);
    return true;
}

uint32_t lire_nombre(const char *texte, uint32_t max) {
    uint64_t n = 0;
    for (const char *c = texte; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || n > max) return 0;
        n = 10 * n + uint64_t(*c - '0');
    }
    return n <= max ? uint32_t(n) : 0;
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
