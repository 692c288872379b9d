// fuzz_lecteur.cpp: feeds arbitrary bytes to the level reader as a level file.
#include "fichiers/fichier.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/) {
    // The reader works in the current directory: give it one of its own, in memory if possible.
    char modele_shm[] = "/dev/shm/fuzz-lecteur-XXXXXX";
    char modele_tmp[] = "/tmp/fuzz-lecteur-XXXXXX";
    const char *dossier = mkdtemp(modele_shm);
    if (dossier == nullptr) dossier = mkdtemp(modele_tmp);
    if (dossier == nullptr || chdir(dossier) != 0) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *octets, size_t taille) {
    std::FILE *f = std::fopen("solution1.xml", "wb");
    if (f == nullptr) std::abort();
    std::fwrite(octets, 1, taille, f);
    std::fclose(f);
    niveau = 1;
    init();
    load_fichier();
    return 0;
}
