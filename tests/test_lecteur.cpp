// test_lecteur.cpp: the level reader and the trace file.
#include "aide.h"
#include "fichiers/fichier.h"
#include "jeu/modele.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

using Lecteur = DansDossier;

TEST(TestLigne, PrefixeJusquAuChevronFermant) {
    const std::pair<const char *, const char *> oui[] = {{"<ligne>2</ligne>", "<ligne>"},
                                                         {"<lignes>5</lignes>", "<ligne>"},
                                                         {"<identite>3</identite>", "<id>"},
                                                         {"<ligneX", "<ligne>"},
                                                         {"<a", "<"}};
    for (auto [jeton, balise] : oui) EXPECT_EQ(test_ligne(jeton, balise), 1) << jeton;
    // Another tag, another case, a missing '<', or shorter than the tag.
    const std::pair<const char *, const char *> non[] = {{"<colonne>2</colonne>", "<ligne>"},
                                                         {"ligne>2</ligne>", "<ligne>"},
                                                         {"<LIGNE>2</LIGNE>", "<ligne>"},
                                                         {"<ligne", "<ligne>"},
                                                         {"<id", "<id>"},
                                                         {"", "<id>"}};
    for (auto [jeton, balise] : non) EXPECT_EQ(test_ligne(jeton, balise), 0) << jeton;
}

// The reader's cases show what values read as (valeurs.xml); a token with no '>' at all, which
// no tag matches, reads as -100.
TEST(BuffToInt, SansChevronFermant) {
    EXPECT_EQ(buff_to_int("<ligneX"), -100);
    EXPECT_EQ(buff_to_int(""), -100);
}

// Each case of tests/lecteur, read as level 19 over the start state, leaves the trace beside
// it: the whole of what the reader wrote. The cases are also the fuzzer's seeds.
TEST_F(Lecteur, ChaqueCasLaisseSaTrace) {
    int cas = 0;
    for (const auto &e : std::filesystem::directory_iterator(CAS_LECTEUR)) {
        if (e.path().extension() != ".xml") continue;
        remettre_etat();
        ecrire_fichier("solution19.xml", lire_fichier(e.path().string()));
        const t_jeu avant = jeu;
        load_fichier();
        // The rest of the game record, which no trace shows, is left as it was.
        t_jeu hors_pieces = jeu;
        std::copy(avant.piece, avant.piece + NB_PIECES, hors_pieces.piece);
        EXPECT_EQ(std::memcmp(&hors_pieces, &avant, sizeof jeu), 0) << e.path();
        std::filesystem::path trace = e.path();
        EXPECT_EQ(lire_fichier("fichier_ecriture_pute.txt"),
                  lire_fichier(trace.replace_extension(".trace").string()))
            << e.path();
        ++cas;
    }
    EXPECT_GE(cas, 20);
}

// A trace that cannot be written is skipped: the level is read all the same.
TEST_F(Lecteur, TraceImpossibleSautee) {
    std::filesystem::create_directory("fichier_ecriture_pute.txt");
    ecrire_fichier("solution19.xml", "<id>2</id> <ligne>4</ligne>");
    load_fichier();
    EXPECT_EQ(jeu.piece[2].ligne, 4);
}

// Every file opened is closed: a hundred loads leave the process's open files as they were.
TEST_F(Lecteur, FichiersRefermes) {
    ecrire_fichier("solution19.xml", lire_fichier(std::string(CAS_LECTEUR) + "/niveau19.xml"));
    const auto ouverts = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto avant = ouverts();
    for (int k = 0; k < 100; ++k) load_fichier();
    EXPECT_EQ(ouverts(), avant);
}

TEST_F(Lecteur, FichierAbsentNeChangeRienEtTraceEnEntier) {
    ecrire_fichier("fichier_ecriture_pute.txt", std::string(10000, 'z'));
    const t_jeu avant = jeu;
    load_fichier();
    EXPECT_EQ(std::memcmp(&jeu, &avant, sizeof jeu), 0);
    EXPECT_EQ(lire_fichier("fichier_ecriture_pute.txt"),
              lire_fichier(std::string(CAS_LECTEUR) + "/depart.trace"));
}

TEST_F(Lecteur, NomDuFichierSansZeroDevant) {
    ecrire_fichier("solution05.xml", "<id>1</id> <ligne>5</ligne>");
    ecrire_fichier("solution5.xml", "<id>1</id> <ligne>4</ligne>");
    ecrire_fichier("solution48.xml", "<id>1</id> <colonne>48</colonne>");
    niveau = 5;
    load_fichier();
    EXPECT_EQ(jeu.piece[1].ligne, 4);
    niveau = 48;
    load_fichier();
    EXPECT_EQ(jeu.piece[1].colonne, 48);
}

// An id alone writes only the id, the first piece's too: seen only when the id was changed.
TEST_F(Lecteur, UnIdSeulEcritLId) {
    jeu.piece[0].id = 42;
    ecrire_fichier("solution19.xml", "<id>0</id>");
    load_fichier();
    EXPECT_EQ(jeu.piece[0].id, 0);
}

TEST_F(Lecteur, ChampsGardesDUnNiveauALAutre) {
    ecrire_fichier("solution19.xml", lire_fichier(std::string(CAS_LECTEUR) + "/complet.xml"));
    ecrire_fichier("solution20.xml", "<id>2</id> <ligne>1</ligne> <id>6</id> "
                                     "<dans_le_jeu>0</dans_le_jeu>");
    load_fichier();
    const t_jeu niveau19 = jeu;
    niveau = 20;
    load_fichier();
    EXPECT_EQ(jeu.piece[2].ligne, 1);
    EXPECT_EQ(jeu.piece[6].dans_le_jeu, 0);
    jeu.piece[2].ligne = niveau19.piece[2].ligne;
    jeu.piece[6].dans_le_jeu = niveau19.piece[6].dans_le_jeu;
    EXPECT_EQ(std::memcmp(&jeu, &niveau19, sizeof jeu), 0);
}

} // namespace
