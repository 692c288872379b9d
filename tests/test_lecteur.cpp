// test_lecteur.cpp: the level reader and the trace file.
#include "aide.h"
#include "fichiers/fichier.h"
#include "jeu/modele.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// The trace as it must read for the pieces as they stand.
std::string trace_attendue() {
    std::string s;
    for (const t_piecer &p : jeu.piece) {
        const int valeurs[] = {p.id,      p.ligne,   p.colonne,    p.rotation,
                               p.hauteur, p.largeur, p.dans_le_jeu};
        const char *noms[] = {"piece",   "ligne",   "colonne",    "rotation",
                              "hauteur", "largeur", "dans_le_jeu"};
        for (int c = 0; c < 7; ++c)
            s += std::string("numero ") + noms[c] + " : " + std::to_string(valeurs[c]) + "\n";
    }
    return s;
}

int32_t modulo_2_32(uint64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

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

TEST(BuffToInt, ValeursOrdinairesEtEtranges) {
    const std::pair<const char *, int> cas[] = {
        {"<ligne>12</ligne>", 12},
        {"<id>-1</id>", -1},
        {"<id>0</id>", 0},
        {"<lignes>5</lignes>", 5},
        {"<dans_le_jeu>1</dans_le_jeu>", 1},
        // No '>' at all: nothing to read.
        {"<ligneX", -100},
        {"", -100},
        // A '-' negates what lies to its right; a stray character still takes a decimal place.
        {"<ligne>1-2</ligne>", 98},
        {"<ligne>--5</ligne>", 5},
        {"<ligne>1x2</ligne>", 102},
        {"<ligne>x</ligne>", 0},
        {"<ligne>3-</ligne>", 30},
        // The closing tag is not read, only counted.
        {"<ligne>12</abcde>", 12},
        {"<ligne>12</ligne>ab", 1200},
        // Long digit strings wrap modulo 2^32.
        {"<ligne>2147483647</ligne>", 2147483647},
        {"<ligne>-2147483648</ligne>", INT32_MIN},
        {"<ligne>4294967295</ligne>", -1},
        {"<ligne>99999999999</ligne>", modulo_2_32(99999999999ULL)}};
    for (auto [jeton, valeur] : cas) EXPECT_EQ(buff_to_int(jeton), valeur) << jeton;
    const std::string longue = "<ligne>" + std::string(180, '9') + "</ligne>";
    uint32_t attendu = 0, poids = 1;
    for (int k = 0; k < 180; ++k, poids *= 10U) attendu += 9U * poids;
    EXPECT_EQ(buff_to_int(longue.c_str()), static_cast<int32_t>(attendu));
}

TEST_F(Lecteur, ExempleDeLaPiece7) {
    ecrire_fichier("solution19.xml", "<id>7</id>\n<ligne>0</ligne>\n<colonne>3</colonne>\n"
                                     "<rotation>2</rotation>\n<hauteur>2</hauteur>\n"
                                     "<largeur>2</largeur>\n<dans_le_jeu>1</dans_le_jeu>\n");
    const t_jeu avant = jeu;
    load_fichier();
    const t_piecer &p = jeu.piece[7];
    EXPECT_EQ(p.id, 7);
    EXPECT_EQ(p.ligne, 0);
    EXPECT_EQ(p.colonne, 3);
    EXPECT_EQ(p.rotation, 2);
    EXPECT_EQ(p.hauteur, 2);
    EXPECT_EQ(p.largeur, 2);
    EXPECT_EQ(p.dans_le_jeu, 1);
    EXPECT_STREQ(p.nom, "PETIT_ESCALIER_1");
    EXPECT_EQ(p.piece_solution, -1);
    for (int k = 0; k < NB_PIECES; ++k)
        if (k != 7) {
            EXPECT_EQ(std::memcmp(&jeu.piece[k], &avant.piece[k], sizeof(t_piecer)), 0);
        }
}

TEST_F(Lecteur, TraceExacte) {
    ecrire_fichier("solution19.xml", niveau_complet(3));
    load_fichier();
    EXPECT_EQ(jeu.piece[4].colonne, 0); // (3 + 4) % 7
    const std::string trace = lire_fichier("fichier_ecriture_pute.txt");
    EXPECT_EQ(trace, trace_attendue());
    EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 70);
    EXPECT_EQ(trace.substr(0, 82), "numero piece : 0\nnumero ligne : 3\nnumero colonne : 3\n"
                                   "numero rotation : 3\nnumero ha");
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
    ecrire_fichier("solution19.xml", niveau_complet(1));
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
    EXPECT_EQ(lire_fichier("fichier_ecriture_pute.txt"), trace_attendue());
    EXPECT_NE(lire_fichier("fichier_ecriture_pute.txt").find("numero ligne : -1\n"),
              std::string::npos);
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

TEST_F(Lecteur, ChoixDeLaPieceParLId) {
    // Fields before any id, or after an id out of range or empty, go nowhere.
    ecrire_fichier("solution19.xml", "<ligne>4</ligne> <id>10</id> <colonne>4</colonne> "
                                     "<id>-1</id> <hauteur>4</hauteur> <id></id> "
                                     "<largeur>4</largeur> <id>-100</id> <rotation>4</rotation>");
    const t_jeu avant = jeu;
    load_fichier();
    EXPECT_EQ(std::memcmp(&jeu, &avant, sizeof jeu), 0);
    // An id alone writes only the id, the first piece's too.
    jeu.piece[0].id = 42;
    ecrire_fichier("solution19.xml", "<id>0</id>");
    load_fichier();
    EXPECT_EQ(jeu.piece[0].id, 0);
    EXPECT_EQ(jeu.piece[0].ligne, -1);
    // Tags match by their beginning, up to the '>' and no shorter.
    ecrire_fichier("solution19.xml", "<identite>3</identite> <lignes>5</lignes> "
                                     "<dans_le_jeux>1</dans_le_jeux> <piece>7</piece> "
                                     "<ix>8</ix> <hauteur>2</hauteur> <lignX>1</lignX> "
                                     "<colonnX>1</colonnX> <rotatioX>1</rotatioX> "
                                     "<hauteuX>1</hauteuX> <largeuX>1</largeuX> "
                                     "<dans_le_jeX>0</dans_le_jeX>");
    load_fichier();
    EXPECT_EQ(jeu.piece[3].ligne, 5);
    EXPECT_EQ(jeu.piece[3].dans_le_jeu, 1);
    EXPECT_EQ(jeu.piece[3].hauteur, 2); // "<ix>" chose no piece
    EXPECT_EQ(jeu.piece[7].ligne, -1);
    EXPECT_EQ(jeu.piece[3].colonne, -1);
    EXPECT_EQ(jeu.piece[3].largeur, -1);
    EXPECT_EQ(jeu.piece[3].rotation, 0);
    // An empty value is stored as -100; glued to the id, it is part of the id's token.
    ecrire_fichier("solution19.xml", "<id>9</id><rotation></rotation>");
    load_fichier();
    EXPECT_EQ(jeu.piece[9].rotation, 1);
    ecrire_fichier("solution19.xml", "<id>9</id> <rotation></rotation>");
    load_fichier();
    EXPECT_EQ(jeu.piece[9].rotation, -100);
}

TEST_F(Lecteur, ChampsGardesDUnNiveauALAutre) {
    ecrire_fichier("solution19.xml", niveau_complet(0));
    ecrire_fichier("solution20.xml", "<id>2</id> <ligne>5</ligne> <id>6</id> "
                                     "<dans_le_jeu>0</dans_le_jeu>");
    load_fichier();
    const t_jeu niveau19 = jeu;
    niveau = 20;
    load_fichier();
    EXPECT_EQ(jeu.piece[2].ligne, 5);
    EXPECT_EQ(jeu.piece[6].dans_le_jeu, 0);
    jeu.piece[2].ligne = niveau19.piece[2].ligne;
    jeu.piece[6].dans_le_jeu = niveau19.piece[6].dans_le_jeu;
    EXPECT_EQ(std::memcmp(&jeu, &niveau19, sizeof jeu), 0);
}

TEST_F(Lecteur, Seuls132JetonsExamines) {
    std::string texte = " \n<id>2</id>\n"; // blanks first: they are no token
    for (int k = 2; k <= 131; ++k) texte += "<bourrage/>\n";
    texte += "<ligne>7</ligne>\n<colonne>8</colonne>\n<hauteur>9</hauteur>\n";
    ecrire_fichier("solution19.xml", texte);
    load_fichier();
    EXPECT_EQ(jeu.piece[2].ligne, 7);
    EXPECT_EQ(jeu.piece[2].colonne, -1);
    EXPECT_EQ(jeu.piece[2].hauteur, -1);
}

TEST_F(Lecteur, BlancsQuelconquesEntreJetons) {
    ecrire_fichier("solution19.xml", "  \t<id>4</id>\r\n\r\n<ligne>2</ligne>\f\v<colonne>3"
                                     "</colonne>");
    load_fichier();
    EXPECT_EQ(jeu.piece[4].ligne, 2);
    EXPECT_EQ(jeu.piece[4].colonne, 3);
}

TEST_F(Lecteur, JetonTropLongCoupeSansDebordement) {
    // The cut-off rest of a long token is not read as a token of its own.
    const std::string reste = "<ligne>5</ligne>";
    // Cut at 199 characters, the value of this token ends at its '1', the closing tag being
    // taken as its last 10 characters: one character more kept would read 12.
    const std::string coupe = "<hauteur>" + std::string(179, 'x') + "12" + std::string(20, 'x');
    ecrire_fichier("solution19.xml", "<id>1</id> " + std::string(TAILLE_JETON, 'x') + reste +
                                         " <colonne>" + std::string(5000, '1') + "</colonne> " +
                                         coupe);
    load_fichier();
    EXPECT_EQ(jeu.piece[1].ligne, -1);
    // The long value keeps its first 199 characters, "<colonne>" and 190 ones, of which the
    // last 10 are taken for the closing tag: 180 ones are read.
    uint32_t attendu = 0, poids = 1;
    for (int k = 0; k < 180; ++k, poids *= 10U) attendu += poids;
    EXPECT_EQ(jeu.piece[1].colonne, static_cast<int32_t>(attendu));
    EXPECT_EQ(jeu.piece[1].hauteur, 1);
}

TEST_F(Lecteur, OctetsQuelconquesNeCassentRien) {
    std::string bruit;
    for (int k = 0; k < 4000; ++k) bruit += static_cast<char>((k * 7919) % 256);
    ecrire_fichier("solution19.xml", bruit);
    load_fichier();
    EXPECT_EQ(lire_fichier("fichier_ecriture_pute.txt"), trace_attendue());
}

// A crash test, whose worth is under the sanitizers: every seed and every crash case of the
// reader's fuzzer is read through.
TEST_F(Lecteur, CorpusDuFuzzerSansPlantage) {
    int fichiers = 0;
    for (const auto &e : std::filesystem::directory_iterator(CORPUS_LECTEUR)) {
        ecrire_fichier("solution19.xml", lire_fichier(e.path().string()));
        load_fichier();
        ++fichiers;
    }
    EXPECT_GE(fichiers, 3);
}

} // namespace
