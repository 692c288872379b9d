// test_defi.cpp: the challenge mode: transcripts of a player's events, a storm of random ones,
// the progress file and the window's drawing.
#include "aide.h"
#include "defi/partie.h"
#include "dessins.h"
#include "plateforme/boucle_defi.h"
#include "plateforme/ecran_defi.h"
#include "rendu/rendu.h"
#include "sdl_factice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char *const NOMS_ETATS[] = {"illisible", "en_cours", "echoue", "resolu", "solution_vue"};

std::string place(const t_place &p) {
    return std::to_string(p.colonne) + "," + std::to_string(p.ligne) + "," +
           std::to_string(p.rotation);
}

// What a transcript shows after each line: the level and where its challenge stands, the held
// piece where it would land, each piece to place, the hints, the undo depth, the knight's
// foothold, the message, then the lines printed and any progress error.
std::string etat(t_partie &p, int suite) {
    const t_defi &d = defi_courant(p);
    std::string s = nom_du_defi(d) + " " + NOMS_ETATS[d.etat];
    s += d.tenue == -1 ? " | tenue -"
                       : " | tenue " + std::to_string(d.tenue) + "@" + place(place_visee(d)) +
                             (place_permise(d, d.tenue, place_visee(d)) ? " permise" : " refusee");
    s += " |";
    for (int k = 0; k < NB_PIECES; ++k)
        if (d.a_placer[k]) s += " " + std::to_string(k) + "@" + place(d.places[k]);
    s += " | indices " + std::to_string(d.indices) + " annuler " +
         std::to_string(d.historique.size()) + " pas " + std::to_string(d.pas);
    if (!en_marche(d) && d.pas >= 0) s += " arrive";
    s += " | " + d.message;
    for (const std::string &a : p.annonces) s += " | > " + a;
    p.annonces.clear();
    if (!p.erreur_progres.empty()) s += " | ! " + p.erreur_progres;
    if (en_fabrication(p))
        s += " | fabrique " + std::to_string(p.atelier->graines.front()) + " " +
             std::to_string(p.atelier->pieces);
    if (p.carte) s += " | carte " + std::to_string(p.choix);
    if (p.regles) s += " | regles";
    if (suite == 0) s += " | fin";
    return s;
}

// Waits for the challenge being made, as the loop does between frames.
void attendre_fabrication(t_partie &p) {
    while (en_fabrication(p) && !suivre_fabrication(p))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

SDLKey touche_nommee(const std::string &nom) {
    const std::pair<const char *, SDLKey> touches[] = {
        {"HAUT", SDLK_UP},       {"BAS", SDLK_DOWN},
        {"GAUCHE", SDLK_LEFT},   {"DROITE", SDLK_RIGHT},
        {"ECHAP", SDLK_ESCAPE},  {"R", SDLK_r},
        {"U", SDLK_u},           {"RETOUR", SDLK_BACKSPACE},
        {"H", SDLK_h},           {"S", SDLK_s},
        {"A", SDLK_a},           {"N", SDLK_n},
        {"ENTREE", SDLK_RETURN}, {"M", SDLK_m},
        {"1", SDLK_1},           {"2", SDLK_2},
        {"3", SDLK_3},           {"4", SDLK_4},
        {"PAVE1", SDLK_KP1},     {"PAVE4", SDLK_KP4}};
    for (auto [n, sym] : touches)
        if (nom == n) return sym;
    ADD_FAILURE() << "no key " << nom;
    return SDLK_UNKNOWN;
}

fs::path chemin_cas(const std::string &nom) {
    return fs::path(TRANSCRIPTIONS_DEFI) / nom;
}

// Copies the levels the challenge mode's cases were written for (tests/defis/niveaux, a set
// shipped once), so that they keep their meaning when the shipped levels are made again.
void copier_niveaux_essai() {
    for (const auto &e : fs::directory_iterator(NIVEAUX_ESSAI))
        fs::copy_file(e.path(), e.path().filename(), fs::copy_options::overwrite_existing);
}

// A working directory holding the levels, as the launcher's folder does.
class Defi : public DansDossier {
  protected:
    void SetUp() override {
        DansDossier::SetUp();
        copier_niveaux_essai();
        partie_ = std::make_unique<t_partie>();
        getrlimit(RLIMIT_FSIZE, &taille_permise_);
    }

    void TearDown() override {
        setrlimit(RLIMIT_FSIZE, &taille_permise_);
        DansDossier::TearDown();
    }

    // Acts on one line of a transcript, before its "=>": see tests/defis/README.md.
    int jouer(const std::string &action) {
        t_partie &p = *partie_;
        std::istringstream mots(action);
        std::string verbe, nom;
        mots >> verbe;
        bool redessiner = false;
        SDL_Event e{};
        if (verbe == "appuyer" || verbe == "relacher") {
            mots >> nom;
            e = touche(verbe == "appuyer" ? SDL_KEYDOWN : SDL_KEYUP, touche_nommee(nom));
            return traiter_evenement_defi(p, e, redessiner);
        }
        if (verbe == "progression" || verbe == "copier") {
            std::getline(mots >> std::ws, nom);
            if (verbe == "copier") {
                const size_t blanc = nom.find(' ');
                fs::copy_file(chemin_cas(nom.substr(0, blanc)),
                              "solution" + nom.substr(blanc + 1) + ".xml",
                              fs::copy_options::overwrite_existing);
                return 1;
            }
            for (size_t i; (i = nom.find("\\n")) != std::string::npos;) nom.replace(i, 2, "\n");
            ecrire_fichier(FICHIER_PROGRES, nom);
            return 1;
        }
        if (verbe == "fichier") {
            std::string texte = lire_fichier(FICHIER_PROGRES);
            for (size_t i; (i = texte.find('\n')) != std::string::npos;) texte.replace(i, 1, "\\n");
            p.annonces.push_back(texte);
            return 1;
        }
        if (verbe == "bloquer") { // no byte may be written any more, as on a full disk
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit rien = {0, taille_permise_.rlim_max};
            setrlimit(RLIMIT_FSIZE, &rien);
            return 1;
        }
        if (verbe == "illisible") {
            fs::remove(FICHIER_PROGRES);
            fs::create_directory(FICHIER_PROGRES);
            return 1;
        }
        int a = 0, b = 0;
        mots >> a >> b;
        if (verbe == "commencer") { // a new run of the program
            partie_ = std::make_unique<t_partie>();
            commencer_partie(*partie_, a);
            return 1;
        }
        if (verbe == "marche") {
            commander(p, C_MARCHE);
            return 1;
        }
        if (verbe == "tourner_ici") { // a finger's tap on piece a, or the page's turn buttons
            commander(p, C_TOURNER_ICI, a, b);
            return 1;
        }
        if (verbe == "graines") { // where the next seeds come from
            p.hasard = t_hasard(uint64_t(a));
            return 1;
        }
        if (verbe == "attendre") {
            attendre_fabrication(p);
            return 1;
        }
        if (verbe == "bouton" || verbe == "lacher" || verbe == "molette") {
            const Uint8 numero = verbe != "molette" ? SDL_BUTTON_LEFT
                                 : a > 0            ? SDL_BUTTON_WHEELUP
                                                    : SDL_BUTTON_WHEELDOWN;
            e = bouton(verbe == "lacher" ? SDL_MOUSEBUTTONUP : SDL_MOUSEBUTTONDOWN, numero,
                       Uint16(a), Uint16(b));
            return traiter_evenement_defi(p, e, redessiner);
        }
        if (verbe == "souris") {
            e.type = SDL_MOUSEMOTION;
            e.motion.x = Uint16(a);
            e.motion.y = Uint16(b);
            return traiter_evenement_defi(p, e, redessiner);
        }
        if (verbe == "fermer") {
            e.type = SDL_QUIT;
            return traiter_evenement_defi(p, e, redessiner);
        }
        ADD_FAILURE() << "no action " << action;
        return 1;
    }

    std::unique_ptr<t_partie> partie_;
    rlimit taille_permise_{};
};

// Each transcript in tests/defis: every line acted on from a fresh run in a folder of the
// cases' levels, and after its "=>" the state it must leave.
TEST_F(Defi, ChaqueTranscription) {
    int transcriptions = 0;
    const fs::path ici = fs::current_path();
    for (const auto &cas : fs::directory_iterator(TRANSCRIPTIONS_DEFI)) {
        if (cas.path().extension() != ".txt") continue;
        partie_ = std::make_unique<t_partie>();
        fs::remove_all(FICHIER_PROGRES);
        std::ifstream f(cas.path());
        std::string ligne, lu, joue;
        while (std::getline(f, ligne)) {
            lu += ligne + '\n';
            if (ligne.empty() || ligne[0] == '#') {
                joue += ligne + '\n';
                continue;
            }
            const std::string action = ligne.substr(0, ligne.find(" =>"));
            const int suite = jouer(action);
            joue += action + " => " + etat(*partie_, suite) + '\n';
        }
        // Files may be written again (a case may have blocked them), the case's own first.
        setrlimit(RLIMIT_FSIZE, &taille_permise_);
        // REECRIRE=1 writes what was played back into the case, to be read before committing.
        if (std::getenv("REECRIRE") != nullptr) std::ofstream(cas.path()) << joue;
        EXPECT_EQ(joue, lu) << cas.path();
        ++transcriptions;
        for (const auto &e : fs::directory_iterator(ici))
            if (e.path().extension() == ".xml") fs::remove(e.path());
        copier_niveaux_essai();
    }
    EXPECT_GE(transcriptions, 6);
}

// Every solid cell of every piece in play, by window column and row; false when two share one
// or a piece to place is neither in the tray, nor held, nor wholly on the board.
bool places_saines(const t_defi &d, std::string &pourquoi) {
    t_piecer piece[NB_PIECES];
    pieces_du_moment(d, piece);
    int proprietaire[15][6];
    for (auto &c : proprietaire)
        for (int &x : c) x = -1;
    for (int k = 0; k < NB_PIECES; ++k) {
        if (piece[k].dans_le_jeu != OUI || k == d.tenue) continue;
        const t_forme &f = *forme_de(k, piece[k].rotation);
        const t_piecer &p = piece[k];
        const bool reserve = d.a_placer[k] && d.places[k] == place_en_reserve(k);
        const bool dessus = p.colonne >= 4 && p.colonne + f.largeur <= 10 && p.ligne >= 0 &&
                            p.ligne + f.hauteur <= 6;
        if (!reserve && !dessus) {
            pourquoi = std::to_string(k) + " is neither in the tray nor on the board";
            return false;
        }
        for (int r = 0; r < f.hauteur; ++r)
            for (int c = 0; c < f.largeur; ++c) {
                if (!f.pleine(c, r)) continue;
                int &x = proprietaire[p.colonne + c][p.ligne + r];
                if (x != -1) {
                    pourquoi = std::to_string(k) + " shares a cell with " + std::to_string(x);
                    return false;
                }
                x = k;
            }
    }
    return true;
}

// 100,000 random events, anywhere, every key, level steps: no two pieces ever share a cell and
// every piece to place stays in the tray, held or on the board. The window is drawn now and
// then, so that the drawing sees the odd states too.
class Tempete : public AvecEcran {};

TEST_F(Tempete, CentMilleEvenements) {
    for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
        fs::copy(e.path(), e.path().filename());
    init_font();
    init_layout();
    ouvrir_ecran_defi();
    auto p = std::make_unique<t_partie>();
    commencer_partie(*p, 19);
    std::mt19937 hasard(20261207);
    const SDLKey touches[] = {SDLK_UP, SDLK_DOWN,  SDLK_LEFT, SDLK_RIGHT,     SDLK_ESCAPE,
                              SDLK_r,  SDLK_u,     SDLK_h,    SDLK_BACKSPACE, SDLK_s,
                              SDLK_a,  SDLK_SPACE, SDLK_n,    SDLK_1,         SDLK_2};
    int verdicts = 0, faits = 0;
    for (int i = 0; i < 100000; ++i) {
        SDL_Event e{};
        const int x = int(hasard() % 1700) - 100, y = int(hasard() % 950) - 100;
        const int type = int(hasard() % 10);
        if (type < 3) {
            e = bouton(type == 0 ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, Uint8(1 + hasard() % 5),
                       Uint16(x), Uint16(y));
        } else if (type < 7) {
            e.type = SDL_MOUSEMOTION;
            e.motion.x = Uint16(x);
            e.motion.y = Uint16(y);
        } else {
            const SDLKey k = touches[hasard() % std::size(touches)];
            // Level steps and solutions rarer, so that placements have time to grow; a made
            // challenge rarer still, for the time it takes.
            if ((k == SDLK_UP || k == SDLK_DOWN || k == SDLK_s) && hasard() % 20 != 0) continue;
            if ((k == SDLK_n || k == SDLK_1 || k == SDLK_2) && hasard() % 200 != 0) continue;
            e = touche(hasard() % 2 ? SDL_KEYDOWN : SDL_KEYUP, k);
        }
        bool redessiner = false;
        ASSERT_EQ(traiter_evenement_defi(*p, e, redessiner), 1);
        attendre_fabrication(*p);
        if (hasard() % 7 == 0) commander(*p, C_MARCHE);
        const t_defi &d = defi_courant(*p);
        verdicts += int(p->annonces.size());
        for (const std::string &a : p->annonces) faits += a.find(" à placer") != std::string::npos;
        p->annonces.clear();
        std::string pourquoi;
        ASSERT_TRUE(places_saines(d, pourquoi)) << "event " << i << ": " << pourquoi;
        if (i % 5000 == 0) dessiner_defi(*p);
    }
    EXPECT_GT(verdicts, 50);
    EXPECT_GT(faits, 3);
    fermer_ecran_defi();
}

// The lines above the board: the level, whether it is solved and how, the levels solved, the
// message or what to do with a carried piece, the keys, and the idea the level brings.
// A made challenge: its seed and pieces to place while it is made and once in play, and the
// choice of pieces in the keys' line.
TEST_F(Defi, TextesDuDefiFabrique) {
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    EXPECT_EQ(textes_defi(p)[2],
              "← → tourner · Échap reposer ou carte · U annuler · R recommencer · H "
              "indice · S solution · ↑ ↓ niveau · N défi aléatoire à 2 "
              "pièces (1 à 4)");
    commander(p, C_PIECES, 1);
    const std::string graine = std::to_string(p.atelier->graines.front());
    EXPECT_EQ(textes_defi(p)[1].rfind(
                  "Préparation d'un défi à 1 pièce à placer (graine " + graine + ") : ", 0),
              0U);
    EXPECT_NE(textes_defi(p)[1].find(" empilements essayés. Échap pour annuler."),
              std::string::npos);
    attendre_fabrication(p);
    std::vector<std::string> l = textes_defi(p);
    EXPECT_EQ(l[0], "Défi aléatoire, graine " + graine +
                        " : 1 pièce à placer   ·   0 défi résolu sur 48");
    EXPECT_NE(l[2].find("N défi aléatoire à 1 pièce (1 à 4)"), std::string::npos);
    commander(p, C_SOLUTION);
    EXPECT_EQ(textes_defi(p)[0], "Défi aléatoire, graine " + graine +
                                     " : 1 pièce à placer : solution vue   ·   0 défi résolu "
                                     "sur 48");
    commander(p, C_PIECES, 3);
    attendre_fabrication(p);
    commander(p, C_INDICE);
    commander(p, C_INDICE);
    commander(p, C_INDICE);
    EXPECT_EQ(textes_defi(p)[0], "Défi aléatoire, graine " + std::to_string(p.defis[0].graine) +
                                     " : 3 pièces à placer : résolu   ·   0 défi résolu sur 48  "
                                     " ·   3 indices pris cette fois");
}

TEST_F(Defi, TextesAuDessusDuPlateau) {
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    std::vector<std::string> l = textes_defi(p);
    ASSERT_EQ(l.size(), 4U);
    EXPECT_EQ(l[0], "Défi 19 sur 48 : pas encore résolu   ·   0 défi résolu sur 48");
    EXPECT_EQ(l[1], "Posez les pièces de la réserve sur le plateau : le chevalier doit rejoindre "
                    "la princesse.");
    EXPECT_EQ(l[3], "Idée : Un escalier se retourne : ses marches montent vers la gauche ou vers "
                    "la droite.");
    commander(p, C_PRENDRE, 14, 0);
    EXPECT_EQ(textes_defi(p)[1],
              "Posez la pièce sur des cases libres du plateau, ou rendez-la à la réserve.");
    commander(p, C_REPOSER);
    commander(p, C_INDICE);
    commander(p, C_INDICE);
    l = textes_defi(p);
    EXPECT_EQ(l[0], "Défi 19 sur 48 : résolu avec 2 indices   ·   1 défi résolu sur 48   ·   2 "
                    "indices pris cette fois");
    EXPECT_EQ(l[1], "Résolu ! Le chevalier rejoint la princesse.");
    noter_resolu(p.progres, 20, 1);
    noter_resolu(p.progres, 21, 0);
    noter_vu(p.progres, 22);
    commander(p, C_SUIVANT);
    l = textes_defi(p);
    EXPECT_EQ(l[0], "Défi 20 sur 48 : résolu avec 1 indice   ·   3 défis résolus sur 48");
    commander(p, C_SUIVANT);
    EXPECT_EQ(textes_defi(p)[0],
              "Défi 21 sur 48 : résolu sans indice   ·   3 défis résolus sur 48");
    commander(p, C_SUIVANT);
    commander(p, C_PRENDRE, 14, 0);
    commander(p, C_DEPLACER, 4, 5);
    commander(p, C_LACHER);
    l = textes_defi(p);
    EXPECT_EQ(l[0], "Défi 22 sur 48 : solution vue   ·   3 défis résolus sur 48");
    commander(p, C_INDICE);
    EXPECT_EQ(textes_defi(p)[0],
              "Défi 22 sur 48 : solution vue   ·   3 défis résolus sur 48   ·   1 "
              "indice pris cette fois");
    p.erreur_progres = "progression.txt : No space left on device";
    EXPECT_EQ(textes_defi(p)[3],
              "Progression non enregistrée : progression.txt : No space left on device");
}

// Only a carried piece has the window drawn again as the pointer moves.
TEST_F(Defi, RedessinerQuandLaPieceBouge) {
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 550;
    e.motion.y = 600;
    bool redessiner = false;
    traiter_evenement_defi(p, e, redessiner);
    EXPECT_FALSE(redessiner);
    traiter_evenement_defi(p, bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1450, 700), redessiner);
    EXPECT_TRUE(redessiner);
    redessiner = false;
    traiter_evenement_defi(p, e, redessiner);
    EXPECT_TRUE(redessiner);
    EXPECT_EQ(place_visee(defi_courant(p)), (t_place{5, 1, 0}));
}

// A challenge opened again starts afresh: every piece in the tray, nothing to undo.
TEST_F(Defi, RouvrirRepartDeZero) {
    t_defi d;
    ouvrir_defi(d, 19);
    prendre(d, 14, 0);
    deplacer_pointeur(d, 5, 1);
    lacher(d);
    donner_indice(d);
    ASSERT_EQ(d.etat, DEFI_RESOLU);
    ouvrir_defi(d, 19);
    EXPECT_EQ(d.etat, DEFI_EN_COURS);
    EXPECT_TRUE(d.historique.empty());
    EXPECT_EQ(d.indices, 0);
    EXPECT_EQ(d.places[ID_CUBE], place_en_reserve(ID_CUBE));
    // The file read is the level's, whatever level the reader last read.
    niveau = 1;
    ouvrir_defi(d, 20);
    EXPECT_EQ(d.piece[ID_CHEVALIER].colonne, 9);
}

// The challenge game reads its levels on its own: it writes no trace file, and leaves the
// viewer's level and pieces as they were.
TEST_F(Defi, NiTraceNiVisionneuse) {
    niveau = 7;
    std::memset(&jeu, 0x5a, sizeof jeu);
    unsigned char avant[sizeof jeu];
    std::memcpy(avant, &jeu, sizeof jeu);
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    commander(p, C_SUIVANT);
    commander(p, C_INDICE);
    EXPECT_EQ(p.courant, 20);
    EXPECT_EQ(defi_courant(p).piece[ID_CHEVALIER].colonne, 9);
    EXPECT_EQ(niveau, 7);
    EXPECT_EQ(std::memcmp(&jeu, avant, sizeof jeu), 0);
    EXPECT_FALSE(fs::exists("fichier_ecriture_pute.txt"));
    // A piece at the far ends of what a field holds is off the board, with nothing overflowing
    // on the way there.
    for (const char *colonne : {"-2147483648", "2147483647"}) {
        ecrire_fichier("solution5.xml",
                       std::string("<id>0</id> <ligne>0</ligne> <colonne>") + colonne +
                           "</colonne> <rotation>0</rotation> <dans_le_jeu>1</dans_le_jeu> "
                           "<id>1</id> <ligne>2147483647</ligne> <colonne>9</colonne> "
                           "<dans_le_jeu>1</dans_le_jeu> <id>2</id> <ligne>0</ligne> "
                           "<colonne>5</colonne> <dans_le_jeu>1</dans_le_jeu>");
        t_defi d;
        ouvrir_defi(d, 5);
        EXPECT_EQ(d.etat, DEFI_ILLISIBLE) << colonne;
    }
}

// A file's orientation 3 (the cells of 2) is played as 2: the hint puts the staircase there,
// and the turns never reach 3.
TEST_F(Defi, OrientationDuFichier) {
    std::string texte = lire_fichier("solution19.xml");
    const size_t i = texte.find("<rotation>2</rotation>", texte.find("<id>8</id>"));
    texte.replace(i, 22, "<rotation>3</rotation>");
    ecrire_fichier("solution19.xml", texte);
    t_defi d;
    ouvrir_defi(d, 19);
    donner_indice(d);
    donner_indice(d);
    EXPECT_EQ(d.etat, DEFI_RESOLU);
    EXPECT_EQ(d.places[ID_PETIT_ESCALIER_2], (t_place{6, 0, DEBOUT_DROITE}));
}

// The shipped levels' idea lines: the feature named is one the level's solution uses; "Nouveau"
// only at the first level that uses it, and every feature of a level with nothing new is one an
// earlier level brought; the line says it in the player's words.
class Idees : public DansDossier {};

TEST_F(Idees, LesQuaranteHuitNiveaux) {
    for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
        if (e.path().extension() == ".xml") fs::copy(e.path(), e.path().filename());
    auto p = std::make_unique<t_partie>();
    commencer_partie(*p, 1);
    unsigned vus = 0, nouveaux = 0;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        const unsigned traits = p->traits_livres[n];
        ASSERT_NE(traits, 0U) << n;
        ASSERT_EQ(defi_courant(*p).niveau, n);
        const t_idee i = idee_courante(*p);
        EXPECT_NE(traits & i.trait, 0U) << n;
        EXPECT_EQ(i.nouvelle, (traits & ~vus) != 0) << n;
        EXPECT_EQ(i.nouvelle, (i.trait & vus) == 0) << n;
        nouveaux |= i.nouvelle ? i.trait : 0;
        EXPECT_EQ(textes_defi(*p)[3],
                  std::string(i.nouvelle ? "Nouveau : " : "Idée : ") + dire_trait(i.trait));
        vus |= traits;
        commander(*p, C_SUIVANT);
    }
    EXPECT_EQ(vus, (1U << NB_TRAITS) - 1);  // every feature comes,
    EXPECT_GE(compter_traits(nouveaux), 9); // and most are named where they first come
}

// The knight's walk timed: his first step PAS_MS after the clock first sees him walk, then one
// every PAS_MS; standing, the clock stops, and starts again with his next walk.
TEST_F(Defi, MarcheALHeure) {
    t_partie &p = *partie_;
    commencer_partie(p, 1); // a walk of three moves
    EXPECT_FALSE(marcher_a_l_heure(p, 500));
    EXPECT_EQ(p.prochain_pas, 0U);
    commander(p, C_INDICE);
    ASSERT_TRUE(en_marche(defi_courant(p)));
    EXPECT_FALSE(marcher_a_l_heure(p, 1000));
    EXPECT_FALSE(marcher_a_l_heure(p, 1000 + PAS_MS - 1));
    EXPECT_TRUE(marcher_a_l_heure(p, 1000 + PAS_MS));
    EXPECT_EQ(defi_courant(p).pas, 1);
    EXPECT_FALSE(marcher_a_l_heure(p, 1000 + 2 * PAS_MS - 1));
    EXPECT_TRUE(marcher_a_l_heure(p, 1000 + 2 * PAS_MS + 30));
    EXPECT_EQ(defi_courant(p).pas, 2);
    commander(p, C_ANNULER); // the walk stops with the verdict
    EXPECT_FALSE(marcher_a_l_heure(p, 5000));
    EXPECT_EQ(p.prochain_pas, 0U);
    commander(p, C_INDICE);
    EXPECT_FALSE(marcher_a_l_heure(p, 9000));
    EXPECT_TRUE(marcher_a_l_heure(p, 9000 + PAS_MS));
}

// A challenge made on demand wakes the loop: the event its last thread pushes, handled, puts
// the challenge in play.
class FabricationEvenement : public AvecEcran {};

TEST_F(FabricationEvenement, ReveilleLaBoucle) {
    copier_niveaux_essai();
    auto p = std::make_unique<t_partie>();
    commencer_partie(*p, 19);
    p->signaler_fabrication = signaler_fabrication_finie;
    commander(*p, C_PIECES, 1);
    ASSERT_TRUE(en_fabrication(*p));
    SDL_Event e{};
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while ((SDL_PollEvent(&e) != 1 || e.type != SDL_USEREVENT) &&
           std::chrono::steady_clock::now() < fin)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(e.type, SDL_USEREVENT);
    bool redessiner = false;
    EXPECT_EQ(traiter_evenement_defi(*p, e, redessiner), 1);
    EXPECT_TRUE(redessiner);
    EXPECT_FALSE(en_fabrication(*p));
    EXPECT_EQ(p->courant, 0);
    ASSERT_EQ(p->annonces.size(), 1U);
    EXPECT_NE(p->annonces[0].find(" : 1 pièce à placer"), std::string::npos);
}

// With no thread to be had for a made challenge (a process limit), the window and standard
// error say so and the run goes on: the level left is still played, and once threads can be
// had again the challenge is made.
TEST_F(Defi, DefiSansFil) {
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    const auto defaut = demarrer_ouvrier;
    demarrer_ouvrier = [](std::function<void()>) -> std::thread {
        throw std::system_error(EAGAIN, std::generic_category(), "thread");
    };
    testing::internal::CaptureStderr();
    commander(p, C_PIECES, 1);
    const std::string erreurs = testing::internal::GetCapturedStderr();
    demarrer_ouvrier = defaut;
    EXPECT_FALSE(en_fabrication(p));
    EXPECT_EQ(p.courant, 19);
    EXPECT_EQ(defi_courant(p).message,
              "Le défi ne peut pas être préparé : le système refuse le calcul.");
    EXPECT_EQ(erreurs, "valdrune: the challenge cannot be made: no thread to make it on: "
                       "Resource temporarily unavailable\n");
    commander(p, C_INDICE);
    EXPECT_EQ(defi_courant(p).indices, 1);
    commander(p, C_NOUVEAU);
    attendre_fabrication(p);
    EXPECT_EQ(p.courant, 0);
}

// The next challenge prepared in the background while the player plays: N shows it at once,
// and it is the challenge N makes without it, from the same seeds; with another number of
// pieces chosen, those seeds make the challenge, as they would have without it.
TEST_F(Defi, DefiSuivantPrepare) {
    t_partie &p = *partie_;
    auto sans = std::make_unique<t_partie>();
    for (t_partie *q : {&p, sans.get()}) {
        commencer_partie(*q, 19);
        q->hasard = t_hasard(20261208);
        q->pieces_voulues = 2;
    }
    preparer_suivant(p);
    ASSERT_TRUE(p.prochain != nullptr);
    EXPECT_FALSE(en_fabrication(p)); // nothing shows it: the player plays on
    EXPECT_EQ(p.prochain->suivi.gentillesse, 10);
    while (!p.prochain->suivi.finie) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    commander(p, C_NOUVEAU);
    EXPECT_FALSE(en_fabrication(p));
    EXPECT_EQ(p.courant, 0);
    commander(*sans, C_NOUVEAU);
    attendre_fabrication(*sans);
    EXPECT_EQ(cle_du_defi(p.defis[0].piece), cle_du_defi(sans->defis[0].piece));
    EXPECT_EQ(p.annonces, sans->annonces);
    // Prepared with two pieces, asked with three: the seeds it drew serve.
    preparer_suivant(p);
    ASSERT_TRUE(p.prochain != nullptr);
    commander(p, C_PIECES, 3);
    commander(*sans, C_PIECES, 3);
    EXPECT_TRUE(p.prochain == nullptr);
    attendre_fabrication(p);
    attendre_fabrication(*sans);
    EXPECT_EQ(cle_du_defi(p.defis[0].piece), cle_du_defi(sans->defis[0].piece));
    EXPECT_EQ(p.annonces, sans->annonces);
    preparer_suivant(p);
    arreter_preparation(p);
    EXPECT_TRUE(p.prochain == nullptr);
}

// One run's random challenges are unlike each other as the checker compares levels (with three
// or four pieces to place, but for their cells in common), while the seeds N draws give others:
// most seeds' first challenge is one of a few levels, mirrored or moved, which a player would
// otherwise meet again at once. With four pieces, each comes from one of its first few seeds:
// compared for their cells, they tried all twenty from the second on.
TEST_F(Defi, DefisDUneMemeSuiteDifferents) {
    t_partie &p = *partie_;
    commencer_partie(p, 19);
    for (const int k : {2, 3, 4}) {
        p.hasard = t_hasard(20261208);
        p.pieces_voulues = k;
        p.defis_faits.clear();
        std::vector<t_empreinte> vus;
        for (int n = 0; n < 3; ++n) {
            commander(p, C_NOUVEAU);
            size_t essayees = 0;
            while (en_fabrication(p)) {
                essayees = p.atelier->essayees;
                if (suivre_fabrication(p)) break;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            ASSERT_EQ(p.courant, 0);
            const std::string cas =
                std::to_string(k) + " pieces, challenge " + std::to_string(n + 1);
            if (k == 4) {
                EXPECT_LE(essayees, 3U) << cas;
            }
            const t_empreinte e = empreinte_du_defi(p.defis[0].piece);
            for (const t_empreinte &d : vus)
                EXPECT_FALSE(ressemble(d, e, true, cellules_comparees(k)) ||
                             ressemble(e, d, true, cellules_comparees(k)))
                    << cas;
            vus.push_back(e);
        }
    }
}

// The names in the working directory, sorted, the levels as one: a temporary file left
// behind would show.
std::string noms_du_dossier() {
    std::vector<std::string> noms;
    bool niveaux = false;
    for (const auto &e : fs::directory_iterator(".")) {
        const std::string nom = e.path().filename();
        if (nom.rfind("solution", 0) == 0 && e.path().extension() == ".xml")
            niveaux = true;
        else
            noms.push_back(nom);
    }
    if (niveaux) noms.emplace_back("solution*.xml");
    std::sort(noms.begin(), noms.end());
    std::string s;
    for (const std::string &n : noms) s += (s.empty() ? "" : " ") + n;
    return s;
}

// The progress file: read back whatever it holds, never written half.
TEST_F(Defi, ProgressionLueEtEcrite) {
    ecrire_fichier(FICHIER_PROGRES,
                   "# notes\n3 résolu 2\n3 résolu 1\n5 vu\n5 résolu x\n0 résolu 0\n49 vu\n7 vu\n"
                   "7 résolu 4\n9 résolu -1\n\xff\xfe\n4294967315 résolu 0\n11 résolu 2 de plus\n"
                   "12 vu 3\n13 résolu 1234567890\n");
    t_progres p;
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, p));
    EXPECT_EQ(p.avancement[3], AV_RESOLU);
    EXPECT_EQ(p.indices[3], 1);
    EXPECT_EQ(p.avancement[5], AV_VU);
    EXPECT_EQ(p.avancement[7], AV_RESOLU);
    EXPECT_EQ(p.indices[7], 4);
    EXPECT_EQ(p.avancement[9], AV_RIEN);
    EXPECT_EQ(nombre_resolus(p), 2); // nor 19, 11, 12 or 13
    EXPECT_EQ(premier_non_resolu(p), 1);
    std::string erreur;
    ASSERT_TRUE(ecrire_progres(p, FICHIER_PROGRES, erreur));
    EXPECT_EQ(lire_fichier(FICHIER_PROGRES),
              "# Valdrune : défis résolus (niveau, indices pris) et solutions vues\n"
              "3 résolu 1\n5 vu\n7 résolu 4\n");
    t_progres tous;
    for (int n = 1; n <= NB_NIVEAUX; ++n) noter_resolu(tous, n, 0);
    EXPECT_EQ(premier_non_resolu(tous), 1);
    tous.avancement[48] = AV_VU;
    EXPECT_EQ(premier_non_resolu(tous), 48);
    // A folder where the file should be: unreadable, and not replaced; the reason given.
    fs::create_directory("bloque");
    EXPECT_FALSE(lire_progres("bloque", p));
    EXPECT_FALSE(ecrire_progres(p, "bloque", erreur));
    EXPECT_EQ(erreur, "bloque : Is a directory");
    EXPECT_EQ(noms_du_dossier(), "bloque progression.txt solution*.xml");
    EXPECT_TRUE(lire_progres("absent", p));
}

// What the file holds, per level: "19R2" solved with 2 hints, "20V" seen.
std::string resume(const t_progres &p) {
    std::string s;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        if (p.avancement[n] == AV_RESOLU)
            s += std::to_string(n) + "R" + std::to_string(p.indices[n]) + " ";
        if (p.avancement[n] == AV_VU) s += std::to_string(n) + "V ";
    }
    return s + "pieces " + std::to_string(p.pieces) + (p.regles_vues == OUI ? " regles" : "");
}

// Two windows sharing the folder: each save reads the file again and keeps what the other
// saved; a solve with the fewest hints beats a solution seen, which beats nothing, and the
// number of pieces is the one chosen last.
TEST_F(Defi, ProgressionDeDeuxFenetres) {
    t_progres a, b, lu;
    std::string erreur;
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, a));
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, b));
    noter_vu(a, 19);
    noter_resolu(a, 21, 3);
    noter_vu(a, 22);
    a.pieces = 3;
    ASSERT_TRUE(enregistrer_progres(a, FICHIER_PROGRES, erreur)) << erreur;
    noter_resolu(b, 20, 0);
    noter_resolu(b, 21, 1);
    noter_resolu(b, 22, 2);
    ASSERT_TRUE(enregistrer_progres(b, FICHIER_PROGRES, erreur)) << erreur;
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, lu));
    EXPECT_EQ(resume(lu), "19V 20R0 21R1 22R2 pieces 3");
    EXPECT_EQ(resume(b), resume(lu)); // the window sees the other's results too
    noter_resolu(a, 19, 4);
    a.regles_vues = OUI;
    ASSERT_TRUE(enregistrer_progres(a, FICHIER_PROGRES, erreur)) << erreur;
    b.pieces = 1;
    ASSERT_TRUE(enregistrer_progres(b, FICHIER_PROGRES, erreur)) << erreur;
    // A's next save keeps B's later choice of pieces, which A has not changed since.
    ASSERT_TRUE(enregistrer_progres(a, FICHIER_PROGRES, erreur)) << erreur;
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, lu));
    EXPECT_EQ(resume(lu), "19R4 20R0 21R1 22R2 pieces 1 regles");
}

// Two processes saving at once, many times, each its own levels and the other's solutions
// seen, with fewer hints each round: the file ends with the union, at the fewest hints.
TEST_F(Defi, ProgressionDeDeuxProcessus) {
    constexpr int TOURS = 4;
    pid_t enfants[2];
    for (int k = 0; k < 2; ++k) {
        enfants[k] = fork();
        ASSERT_NE(enfants[k], -1);
        if (enfants[k] != 0) continue;
        t_progres p;
        std::string erreur;
        bool ok = lire_progres(FICHIER_PROGRES, p);
        for (int tour = TOURS - 1; tour >= 0; --tour)
            for (int n = 1 + k; n <= NB_NIVEAUX; n += 2) {
                noter_resolu(p, n, tour);
                noter_vu(p, n % NB_NIVEAUX + 1);
                ok = enregistrer_progres(p, FICHIER_PROGRES, erreur) && ok;
            }
        _exit(ok ? 0 : 1);
    }
    for (pid_t e : enfants) {
        int statut = 0;
        ASSERT_EQ(waitpid(e, &statut, 0), e);
        EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0);
    }
    t_progres lu;
    ASSERT_TRUE(lire_progres(FICHIER_PROGRES, lu));
    std::string tout;
    for (int n = 1; n <= NB_NIVEAUX; ++n) tout += std::to_string(n) + "R0 ";
    EXPECT_EQ(resume(lu), tout + "pieces 0");
}

// A writer killed at any moment leaves the old file or the new one, whole.
TEST_F(Defi, ProgressionTueeEnEcrivant) {
    t_progres court, long_;
    noter_vu(court, 7);
    for (int n = 1; n <= NB_NIVEAUX; ++n) noter_resolu(long_, n, n);
    long_.regles_vues = OUI;
    std::string erreur;
    // The kills are spread over two saves' time, so that they land anywhere in one.
    const auto debut = std::chrono::steady_clock::now();
    ASSERT_TRUE(ecrire_progres(court, FICHIER_PROGRES, erreur));
    const std::string texte_court = lire_fichier(FICHIER_PROGRES);
    ASSERT_TRUE(ecrire_progres(long_, FICHIER_PROGRES, erreur));
    const std::string texte_long = lire_fichier(FICHIER_PROGRES);
    const auto deux_ecritures = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - debut);
    std::mt19937 hasard(12345);
    int courts = 0, longs = 0;
    for (int essai = 0; essai < 300; ++essai) {
        const pid_t enfant = fork();
        ASSERT_NE(enfant, -1);
        if (enfant == 0)
            for (int i = 0;; ++i)
                ecrire_progres(i % 2 == 0 ? court : long_, FICHIER_PROGRES, erreur);
        std::this_thread::sleep_for(
            std::chrono::microseconds(hasard() % (uint32_t(deux_ecritures.count()) + 1)));
        kill(enfant, SIGKILL);
        int statut = 0;
        ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
        const std::string lu = lire_fichier(FICHIER_PROGRES);
        ASSERT_TRUE(lu == texte_court || lu == texte_long) << "after " << essai << ": " << lu;
        courts += lu == texte_court;
        longs += lu == texte_long;
    }
    // Both files were left in turn: the kills fell before and after a rename.
    EXPECT_GT(courts, 0);
    EXPECT_GT(longs, 0);
    // The next save sweeps away the temporary files the killed writers left, and only those.
    ecrire_fichier(".progression.txt.1.x", "");
    ecrire_fichier(".progression.txt.2", "");
    ASSERT_TRUE(enregistrer_progres(court, FICHIER_PROGRES, erreur)) << erreur;
    EXPECT_EQ(noms_du_dossier(),
              ".progression.txt.1.x .progression.txt.2 progression.txt solution*.xml");
}

// A link planted at a name the challenge mode writes is never written through: at the old
// fixed temporary name it is left alone, and at the file's own name the file is not read or
// replaced. Nor does a pipe there block the reading.
TEST_F(Defi, ProgressionEtLiensPlantes) {
    ecrire_fichier("cible", "à moi\n");
    fs::create_symlink("cible", std::string(FICHIER_PROGRES) + ".nouveau");
    t_progres p;
    std::string erreur;
    noter_resolu(p, 19, 2);
    ASSERT_TRUE(enregistrer_progres(p, FICHIER_PROGRES, erreur)) << erreur;
    EXPECT_EQ(fs::read_symlink(std::string(FICHIER_PROGRES) + ".nouveau"), "cible");
    EXPECT_EQ(lire_fichier("cible"), "à moi\n");
    EXPECT_FALSE(fs::is_symlink(FICHIER_PROGRES));
    fs::remove(FICHIER_PROGRES);
    fs::create_symlink("cible", FICHIER_PROGRES);
    EXPECT_FALSE(lire_progres(FICHIER_PROGRES, p));
    EXPECT_FALSE(enregistrer_progres(p, FICHIER_PROGRES, erreur));
    EXPECT_EQ(erreur, "progression.txt : un lien, laissé tel quel");
    EXPECT_EQ(fs::read_symlink(FICHIER_PROGRES), "cible");
    EXPECT_EQ(lire_fichier("cible"), "à moi\n");
    fs::remove(FICHIER_PROGRES);
    ASSERT_EQ(mkfifo(FICHIER_PROGRES, 0600), 0);
    EXPECT_FALSE(lire_progres(FICHIER_PROGRES, p));
    EXPECT_FALSE(enregistrer_progres(p, FICHIER_PROGRES, erreur));
    EXPECT_EQ(erreur, "progression.txt : Invalid argument");
    EXPECT_TRUE(fs::is_fifo(FICHIER_PROGRES));
    EXPECT_EQ(noms_du_dossier(), "cible progression.txt progression.txt.nouveau solution*.xml");
}

// The leftmost and rightmost pixels of colour c in the text line drawn from height y; (1500, 0)
// when there is none.
std::pair<int, int> encre(int y, Uint32 c) {
    std::pair<int, int> bords = {1500, 0};
    for (int x = 0; x < 1500; ++x)
        for (int dy = 0; dy < 20; ++dy)
            if (couleur(ecran, x, y + dy) == c) {
                bords.first = std::min(bords.first, x);
                bords.second = std::max(bords.second, x);
            }
    return bords;
}

int milieu_de_ligne(int y) {
    const auto [gauche, droite] = encre(y, 0xffffff);
    return (gauche + droite) / 2;
}

// WCAG's contrast ratio of two colours 0xRRGGBB: their relative luminances, lighter first.
double contraste(Uint32 a, Uint32 b) {
    const auto luminance = [](Uint32 c) {
        double l = 0;
        const double poids[] = {0.2126, 0.7152, 0.0722};
        for (int i = 0; i < 3; ++i) {
            const double v = double((c >> (16 - 8 * i)) & 0xff) / 255;
            l += poids[i] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
        }
        return l;
    };
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Each of the lines above the board, as drawn: its ink (the pixel that stands out most from
// the band behind it) at least 4.5 times as light or as dark as the band; the count of lines
// written.
// Whether the text in the rectangle (x, y, l, h) is written, and readable: its ink, the pixel
// that stands out most from the colour at the rectangle's corner behind it, at least 4.5 times
// as light or as dark.
bool texte_lisible(int x, int y, int l, int h) {
    const Uint32 fond = couleur(ecran, x, y);
    double meilleur = 1;
    for (int i = x; i < x + l; ++i)
        for (int j = y; j < y + h; ++j)
            meilleur = std::max(meilleur, contraste(couleur(ecran, i, j), fond));
    EXPECT_TRUE(meilleur == 1 || meilleur >= 4.5) << x << ", " << y << ": " << meilleur;
    return meilleur > 1;
}

int lignes_lisibles() {
    int ecrites = 0;
    for (int y = 12; y < 140; y += 32) ecrites += texte_lisible(0, y, 1500, 24);
    return ecrites;
}

bool ligne_en_couleur(int y, Uint32 c) {
    return encre(y, c).first < 1500;
}

// A character's image, solid, with a darker band on the side it faces, so that a test reads
// where it stands and which way it looks.
void ecrire_personnage(const std::string &nom, Uint32 teinte, bool droite) {
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 100, 200, 32, 0xff0000, 0xff00, 0xff, 0);
    SDL_FillRect(s, nullptr,
                 SDL_MapRGB(s->format, teinte >> 16, teinte >> 8 & 0xff, teinte & 0xff));
    SDL_Rect bande = {Sint16(droite ? 80 : 0), 0, 20, 200};
    SDL_FillRect(s, &bande, SDL_MapRGB(s->format, 0, 0, 0x80));
    SDL_SaveBMP(s, nom.c_str());
    SDL_FreeSurface(s);
}

// The window: the game's lines on their band, the tray in its lighter green, the grid and the
// ground, the pieces where they stand, a held piece outlined in red where it may not be dropped,
// and nothing of the viewer's panel.
// Level 13 of the test set solved by hints, then its cube moved from (7, 4) to (6, 4): the cube
// with an appendix it held down tips to the left, knight or no knight.
void basculer_niveau_13(t_partie &p) {
    commencer_partie(p, 13);
    commander(p, C_INDICE);
    commander(p, C_INDICE);
    commander(p, C_PRENDRE, 7, 4);
    commander(p, C_DEPLACER, 6, 4);
    commander(p, C_LACHER);
}

class EcranDefi : public AvecEcran {
  protected:
    void SetUp() override {
        AvecEcran::SetUp();
        for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
            fs::copy(e.path(), e.path().filename());
        copier_niveaux_essai();
        fs::copy_file(POLICE_DE_TEST, "arial.ttf", fs::copy_options::overwrite_existing);
        for (bool droite : {false, true}) {
            const std::string sens = droite ? "droite" : "gauche";
            ecrire_personnage("img_chevalier_" + sens + ".bmp", BLEU, droite);
            ecrire_personnage("img_princesse_" + sens + ".bmp", ROSE, droite);
        }
        init_font();
        init_layout();
        ouvrir_ecran_defi();
        partie_ = std::make_unique<t_partie>();
        commencer_partie(*partie_, 19);
    }
    void TearDown() override {
        fermer_ecran_defi();
        AvecEcran::TearDown();
    }
    std::unique_ptr<t_partie> partie_;
};

TEST_F(EcranDefi, PlateauReserveEtPieceTenue) {
    t_partie &p = *partie_;
    dessiner_defi(p);
    EXPECT_EQ(lignes_lisibles(), 4);
    const Uint32 bandeau = couleur(ecran, 0, 0);
    for (int x : {0, 100, 1400, 1499}) // the viewer's panel and matrix stood here
        for (int y = 0; y < 140; y += 3) ASSERT_EQ(couleur(ecran, x, y), bandeau) << x << "," << y;
    EXPECT_EQ(couleur(ecran, 1250, 300), 0x78e2a0U); // the tray
    EXPECT_EQ(couleur(ecran, 950, 300), VERT_FOND);  // the board, between grid lines
    EXPECT_EQ(couleur(ecran, 800, 300), 0x0cb260U);  // a grid line
    EXPECT_EQ(couleur(ecran, 999, 300), 0x0cb260U);  // the last one, inside the board
    EXPECT_EQ(couleur(ecran, 950, 250), 0x0cb260U);  // a row's
    EXPECT_EQ(couleur(ecran, 950, 150), 0x0cb260U);  // the top row's
    EXPECT_EQ(couleur(ecran, 950, 149), VERT_FOND);  // above the board: no grid
    bool texte = false;                              // the first line above the board, written
    for (int x = 500; x < 1000 && !texte; ++x)
        for (int y = 12; y < 32; ++y) texte = texte || couleur(ecran, x, y) == 0xffffff;
    EXPECT_TRUE(texte);
    EXPECT_LT(std::abs(milieu_de_ligne(12) - 750), 4); // centred
    EXPECT_EQ(couleur(ecran, 400, 300), 0x0cb260U);    // the board's first grid line,
    EXPECT_EQ(couleur(ecran, 401, 300), VERT_FOND);    // one pixel wide
    EXPECT_EQ(couleur(ecran, 350, 300), VERT_FOND);    // off the board: no grid
    EXPECT_EQ(couleur(ecran, 950, 748), 0x5c4028U);    // the ground,
    EXPECT_EQ(couleur(ecran, 950, 745), VERT_FOND);    // four pixels thick
    EXPECT_EQ(couleur(ecran, 750, 500), BLEU);         // the knight at (7, 1)
    const Uint32 cube = couleur(ecran, 1450, 700);     // the cube in the tray, at (14, 0)
    EXPECT_NE(cube, 0x78e2a0U);
    // Taken: over the tray, no red; carried over the knight: drawn there, outlined in red.
    commander(p, C_PRENDRE, 14, 0);
    dessiner_defi(p);
    EXPECT_NE(couleur(ecran, 1402, 700), 0xdc141eU);
    commander(p, C_DEPLACER, 7, 1);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 1450, 700), 0x78e2a0U);
    EXPECT_EQ(couleur(ecran, 750, 600), cube);
    EXPECT_EQ(couleur(ecran, 701, 600), 0xdc141eU);
    EXPECT_EQ(lignes_lisibles(), 4);
    // Where it may go, no red.
    commander(p, C_DEPLACER, 5, 1);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 550, 600), cube);
    EXPECT_NE(couleur(ecran, 501, 600), 0xdc141eU);
    // The verdict marks the piece with nothing under it: the staircase at (8, 2).
    commander(p, C_LACHER);
    commander(p, C_PRENDRE, 13, 4);
    commander(p, C_DEPLACER, 8, 2);
    commander(p, C_LACHER);
    ASSERT_EQ(defi_courant(p).etat, DEFI_ECHOUE);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 802, 500), 0xdc141eU);
    EXPECT_NE(couleur(ecran, 502, 600), 0xdc141eU);
    // Its outline follows its shape: the right edge and the top of the lower step, not the
    // edges between its own cells.
    EXPECT_EQ(couleur(ecran, 998, 500), 0xdc141eU);
    EXPECT_EQ(couleur(ecran, 850, 452), 0xdc141eU);
    EXPECT_EQ(couleur(ecran, 850, 548), 0xdc141eU);
    EXPECT_NE(couleur(ecran, 898, 500), 0xdc141eU);
    EXPECT_NE(couleur(ecran, 902, 500), 0xdc141eU);
    EXPECT_NE(couleur(ecran, 950, 452), 0xdc141eU);
    EXPECT_NE(couleur(ecran, 950, 448), 0xdc141eU);
    EXPECT_TRUE(ligne_en_couleur(44, 0xff968c)); // the failure in red
    EXPECT_EQ(lignes_lisibles(), 4);
    // Solved, once the knight has arrived: the princess outlined in gold, the message in green.
    commander(p, C_INDICE);
    while (en_marche(defi_courant(p))) commander(p, C_MARCHE);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 502, 400), 0xffc800U);
    EXPECT_TRUE(ligne_en_couleur(44, 0x96f0aa));
    EXPECT_EQ(lignes_lisibles(), 4);
    p.erreur_progres = "progression.txt : No space left on device";
    dessiner_defi(p);
    EXPECT_TRUE(ligne_en_couleur(108, 0xff968c));
    EXPECT_EQ(lignes_lisibles(), 4);
    p.erreur_progres.clear();
    // A staircase on the princess: both outlined.
    commencer_partie(p, 3);
    commander(p, C_PRENDRE, 13, 4);
    commander(p, C_DEPLACER, 6, 3);
    commander(p, C_LACHER);
    ASSERT_EQ(defi_courant(p).verdict.echec, E_SUR_FIGURE);
    dessiner_defi(p);
    const t_piecer &princesse = defi_courant(p).piece[ID_PRINCESSE];
    EXPECT_EQ(couleur(ecran, princesse.colonne * 100 + 1, 750 - princesse.ligne * 100 - 50),
              0xdc141eU);
    EXPECT_EQ(couleur(ecran, 602, 350), 0xdc141eU);
    // Level 13 tipping by itself, the knight on the ground: he is not marked.
    basculer_niveau_13(p);
    ASSERT_EQ(defi_courant(p).verdict.echec, E_TOMBE_SEUL);
    dessiner_defi(p);
    const t_piecer &chevalier = defi_courant(p).piece[ID_CHEVALIER];
    ASSERT_EQ(chevalier.ligne, 0);
    EXPECT_EQ(couleur(ecran, chevalier.colonne * 100 + 1, 600), BLEU);
    // A level whose file gives far-off fields to a piece out of play and a huge box to the
    // knight: drawn where the rules see him, with nothing overflowing.
    fs::copy_file(chemin_cas("champs_enormes.xml"), "solution5.xml",
                  fs::copy_options::overwrite_existing);
    commencer_partie(p, 5);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 550, 450), BLEU);
}

// The knight walks between cells, facing his way, the princess facing him; once he has
// arrived, hearts and a word for two seconds, which a key ends without acting.
TEST_F(EcranDefi, MarcheEtFete) {
    t_partie &p = *partie_;
    commencer_partie(p, 1); // the test set's level 1: a first move one column over and down
    commander(p, C_INDICE);
    const std::vector<t_lieu> lieux = defi_courant(p).verdict.chemin.lieux;
    const int sens = lieux[1].c - lieux[0].c;
    ASSERT_EQ(std::abs(sens), 1);
    ASSERT_EQ(lieux[1].h, lieux[0].h - 1);
    const int x0 = (lieux[0].c + 4) * 100, y0 = 750 - (lieux[0].h + 2) * 100;
    const auto chevalier = [](int x, int y) {
        return couleur(ecran, x, y) == BLEU || couleur(ecran, x, y) == 0x80;
    };
    const auto gauche_du_chevalier = [&](int y) {
        int x = 0;
        while (x < 1500 && !chevalier(x, y)) ++x;
        return x;
    };
    marcher_a_l_heure(p, 1000);
    dessiner_defi(p, 1000);
    EXPECT_EQ(gauche_du_chevalier(y0 + 100), x0);
    EXPECT_EQ(couleur(ecran, x0 + 50 + 45 * sens, y0 + 100), 0x80U); // facing his way
    // A quarter of the move: a quarter of a cell over, not yet down; three quarters: down.
    dessiner_defi(p, 1000 + PAS_MS / 4);
    EXPECT_NEAR(gauche_du_chevalier(y0 + 100), x0 + 25 * sens, 1);
    EXPECT_TRUE(chevalier(x0 + 50 + 25 * sens, y0 + 2));
    dessiner_defi(p, 1000 + 3 * PAS_MS / 4);
    EXPECT_NEAR(gauche_du_chevalier(y0 + 150), x0 + 75 * sens, 1);
    EXPECT_FALSE(chevalier(x0 + 50 + 75 * sens, y0 + 2));
    uint32_t t = 1000;
    while (en_marche(defi_courant(p))) marcher_a_l_heure(p, t += PAS_MS);
    ASSERT_TRUE(en_fete(p, t));
    const auto coeurs = [] {
        int n = 0;
        for (int x = 0; x < 1500; x += 2)
            for (int y = 150; y < 750; y += 2) n += couleur(ecran, x, y) == 0xe6285aU;
        return n;
    };
    dessiner_defi(p, t + 500);
    EXPECT_GT(coeurs(), 50);
    EXPECT_EQ(lignes_lisibles(), 4);
    // The word over the pair, on its dark label: inside it, from its top left.
    const t_piecer &princesse = defi_courant(p).piece[ID_PRINCESSE];
    const int milieu = (lieux.back().c + 4 + princesse.colonne) * 50 + 50;
    const int haut =
        std::max(150, 750 - (std::max(lieux.back().h, princesse.ligne) + 2) * 100 - 170);
    EXPECT_TRUE(texte_lisible(milieu - 28, haut + 2, 56, 26));
    dessiner_defi(p, t + FETE_MS);
    EXPECT_EQ(coeurs(), 0);
    EXPECT_FALSE(en_fete(p, t + FETE_MS));
    // A key during the celebration only ends it: Up, pressed and released, stays on level 1.
    p.fin_de_fete = SDL_GetTicks() + FETE_MS;
    bool redessiner = false;
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_UP), redessiner);
    traiter_evenement_defi(p, touche(SDL_KEYUP, SDLK_UP), redessiner);
    EXPECT_FALSE(en_fete(p, SDL_GetTicks()));
    EXPECT_EQ(p.courant, 1);
    traiter_evenement_defi(p, touche(SDL_KEYUP, SDLK_UP), redessiner);
    EXPECT_EQ(p.courant, 2);
}

// The map: every challenge's place, the first not solved chosen and outlined in gold, the solved
// ones with their stars; the arrows move the choice, Enter or a click opens, Escape or M in a
// challenge comes back.
TEST_F(EcranDefi, Carte) {
    t_partie &p = *partie_;
    ecrire_fichier(FICHIER_PROGRES, "1 résolu 0\n2 résolu 1\n3 résolu 4\n4 vu\n");
    commencer_partie(p, 0);
    ASSERT_TRUE(p.carte);
    EXPECT_EQ(p.choix, 4); // seen, not solved
    dessiner_defi(p);
    SDL_SaveBMP(ecran, "/tmp/carte.bmp");
    EXPECT_EQ(lignes_lisibles(), 3);
    for (int n : {4, 5, 49}) // the number and the words beside each picture, on its place
        EXPECT_TRUE(
            texte_lisible(15 + (n - 1) % 7 * 210 + 76, 152 + (n - 1) / 7 * 85 + 4, 126, 70));
    EXPECT_EQ(textes_defi(p)[1], "Défi 4 : solution vue");
    const auto place = [](int n) { // the middle of place n's tile
        return std::pair<int, int>{15 + (n - 1) % 7 * 210 + 102, 152 + (n - 1) / 7 * 85 + 40};
    };
    const auto [x4, y4] = place(4);
    EXPECT_EQ(couleur(ecran, x4, y4 - 41), 0xffc800U); // the gold frame of the choice
    const auto etoiles = [&](int n) {                  // gold pixels in the stars' row of place n
        int k = 0;
        for (int x = place(n).first - 20; x < place(n).first + 100; ++x)
            k += couleur(ecran, x, place(n).second + 18) == 0xffc800U;
        return k;
    };
    EXPECT_GT(etoiles(1), etoiles(2));
    EXPECT_GT(etoiles(2), etoiles(3));
    EXPECT_GT(etoiles(3), 0);
    EXPECT_EQ(etoiles(4), 0);
    bool redessiner = false;
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_DOWN), redessiner);
    traiter_evenement_defi(p, touche(SDL_KEYUP, SDLK_DOWN), redessiner);
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_LEFT), redessiner);
    EXPECT_EQ(p.choix, 10);
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_RETURN), redessiner);
    EXPECT_FALSE(p.carte);
    EXPECT_EQ(p.courant, 10);
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_ESCAPE), redessiner);
    EXPECT_TRUE(p.carte);
    EXPECT_EQ(p.choix, 10);
    const auto [x20, y20] = place(20);
    traiter_evenement_defi(
        p, bouton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, Uint16(x20), Uint16(y20)), redessiner);
    EXPECT_EQ(p.courant, 20);
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_m), redessiner);
    EXPECT_TRUE(p.carte);
    // Between two places, nothing.
    EXPECT_EQ(place_de_carte(15 + 206, y20), 0);
    EXPECT_EQ(place_de_carte(x20, 152 + 2 * 85 + 82), 0);
    EXPECT_EQ(place_de_carte(place(49).first, place(49).second), CARTE_ALEATOIRE);
}

// The rules screen: shown by itself the first time the map opens with no progress file, and
// remembered there; any key closes it and does nothing else; F1 opens it again.
TEST_F(EcranDefi, Regles) {
    t_partie &p = *partie_;
    fs::remove(FICHIER_PROGRES);
    commencer_partie(p, 0);
    ASSERT_TRUE(p.regles);
    dessiner_defi(p);
    EXPECT_EQ(couleur(ecran, 820, 320), 0x11ce70U); // a scene of pieces on the game's green
    int lignes = 0;
    for (int y = 24; y < 750 - 30; y += 34) lignes += texte_lisible(0, y, 770, 28);
    EXPECT_GE(lignes, 15);
    EXPECT_TRUE(texte_lisible(1406, 458, 80, 28)); // "bascule", by the scene
    bool redessiner = false;
    traiter_evenement_defi(p, touche(SDL_KEYDOWN, SDLK_RETURN), redessiner);
    traiter_evenement_defi(p, touche(SDL_KEYUP, SDLK_RETURN), redessiner);
    EXPECT_FALSE(p.regles);
    EXPECT_TRUE(p.carte); // Enter only closed the rules
    EXPECT_NE(lire_fichier(FICHIER_PROGRES).find("règles vues\n"), std::string::npos);
    auto q = std::make_unique<t_partie>();
    commencer_partie(*q, 0);
    EXPECT_FALSE(q->regles);
    EXPECT_EQ(q->progres.regles_vues, OUI);
    SDL_Event f1 = touche(SDL_KEYDOWN, SDLK_F1);
    traiter_evenement_defi(*q, f1, redessiner);
    EXPECT_TRUE(q->regles);
}

} // namespace

// A verdict of balance: the piece named leans over its support's edge on the side it falls to
// and comes back, the loop following it for CHUTE_MS; then it and what it carries are outlined,
// with a plumb line from their centre of weight down to the span that holds them, until a piece
// is taken. No walk: the footholds the knight reaches are marked.
TEST_F(EcranDefi, LaChuteEtLImpasseMontrees) {
    t_partie &p = *partie_;
    basculer_niveau_13(p);
    const t_chute &ch = defi_courant(p).verdict.chute;
    ASSERT_EQ(sorte(ch.piece), sorte(ID_CUBE_AVEC_APPENDICE_1));
    ASSERT_EQ(ch.cote, -1);
    const int x0 = 100 * PLATEAU_COLONNE;
    const int xc = x0 + ch.centre * 10, yc = 750 - ch.centre_haut * 10,
              ya = 750 - 100 * ch.appui_ligne;
    const int x_appui = x0 + (ch.appui_gauche + ch.appui_droite) * 5;
    // Not followed by a loop (a test, a still picture): shown as it ends.
    dessiner_defi(p);
    const Uint32 fil = couleur(ecran, xc, (yc + ya) / 2);
    EXPECT_EQ(fil, 0xffffffU);
    EXPECT_EQ(couleur(ecran, x_appui, ya), 0xffc800U);
    const t_piecer &a = defi_courant(p).piece[ch.piece];
    EXPECT_EQ(couleur(ecran, a.colonne * 100 + 1, 750 - a.ligne * 100 - 50), 0xdc141eU);
    // Followed: leaning at first, nothing of the plumb line; upright again at the end.
    EXPECT_TRUE(suivre_chute(p, 1000));
    EXPECT_TRUE(suivre_chute(p, 1000 + CHUTE_MS / 2));
    dessiner_defi(p, 1000 + CHUTE_MS / 2);
    EXPECT_NE(couleur(ecran, xc, (yc + ya) / 2), 0xffffffU);
    // The top left corner of the cube with an appendix, gone to the left and down.
    const int xa = a.colonne * 100 + 5, ya_haut = 750 - (a.ligne + 1) * 100 + 5;
    EXPECT_NE(couleur(ecran, xa + 20, ya_haut + 3), couleur(ecran, 0, 149));
    EXPECT_FALSE(suivre_chute(p, 1000 + CHUTE_MS));
    dessiner_defi(p, 1000 + CHUTE_MS);
    EXPECT_EQ(couleur(ecran, xc, (yc + ya) / 2), 0xffffffU);
    // A piece taken: nothing shown.
    commander(p, C_PRENDRE, 6, 4);
    EXPECT_EQ(avance_de_chute(p, 1000 + CHUTE_MS), -1);
    dessiner_defi(p, 1000 + CHUTE_MS);
    EXPECT_NE(couleur(ecran, x_appui, ya), 0xffc800U);
    // The test set's level 15, its big staircase upside down on the ground, on its tip: the
    // marks lifted off the window's edge, the arrow under the bar pointing left.
    commencer_partie(p, 15);
    defi_courant(p).places[ID_GRAND_ESCALIER] = {4, 0, 5};
    defi_courant(p).places[ID_PETIT_ESCALIER_1] = {7, 1, 2};
    juger(defi_courant(p));
    const t_chute &sol = defi_courant(p).verdict.chute;
    ASSERT_EQ(sol.piece, ID_GRAND_ESCALIER);
    ASSERT_EQ(std::make_pair(sol.appui_ligne, sol.cote), std::make_pair(0, -1));
    dessiner_defi(p);
    const int x_pied = x0 + sol.centre * 10;
    EXPECT_EQ(couleur(ecran, x_pied - 13, 750 - 26 + 16), 0xdc141eU);
    EXPECT_EQ(couleur(ecran, x0 + (sol.appui_gauche + sol.appui_droite) * 5, 750 - 26), 0xffc800U);
    // The test set's level 18: no one piece held would do, every piece of the stack outlined.
    commencer_partie(p, 18);
    defi_courant(p).places[ID_PETIT_ESCALIER_1] = {7, 1, 1};
    defi_courant(p).places[ID_PETIT_ESCALIER_2] = {4, 2, 1};
    juger(defi_courant(p));
    ASSERT_EQ(defi_courant(p).verdict.chute.piece, -1);
    dessiner_defi(p);
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &q = defi_courant(p).piece[k];
        if (est_figure(k) || q.dans_le_jeu != OUI) continue;
        t_piecer ici[NB_PIECES];
        pieces_du_moment(defi_courant(p), ici);
        const t_forme &f = *forme_de(k, ici[k].rotation);
        int bas = 0;
        while (!f.pleine(0, bas)) ++bas; // the lowest solid cell of its first column
        EXPECT_EQ(couleur(ecran, ici[k].colonne * 100 + 1, 750 - (ici[k].ligne + bas) * 100 - 50),
                  0xdc141eU)
            << k;
    }
    // The test set's level 1, its staircase against the knight: he reaches his start and the
    // cell beside it, gold marks at their feet, the one nearer the princess outlined in gold.
    commencer_partie(p, 1);
    commander(p, C_PRENDRE, 10, 4);
    commander(p, C_DEPLACER, 4, 0);
    commander(p, C_LACHER);
    const t_impasse &im = defi_courant(p).verdict.impasse;
    ASSERT_EQ(im.obstacle, O_SANS_APPUI);
    dessiner_defi(p);
    int marques = 0;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int h = 0; h < PLATEAU_HAUTEUR; ++h) {
            const bool atteint = (im.atteints >> (6 * h + c) & 1U) != 0;
            const Uint32 pied =
                couleur(ecran, (c + PLATEAU_COLONNE) * 100 + 50, 750 - h * 100 - 16);
            EXPECT_EQ(pied == 0xffc800U, atteint) << c << ", " << h;
            marques += atteint;
        }
    EXPECT_GE(marques, 1);
    EXPECT_EQ(
        couleur(ecran, (im.dernier.c + PLATEAU_COLONNE) * 100 + 1, 750 - im.dernier.h * 100 - 50),
        0xffc800U);
}
