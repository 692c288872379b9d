// test_generateur.cpp: the challenges made on demand: each one proved by the checker and the
// solver, unlike the shipped levels, the same from the same seed whatever the cores, and
// stopped when asked.
#include "aide.h"
#include "defi/partie.h"
#include "jeu/modele.h"
#include "niveau/lecture.h"
#include "niveau/pieces.h"
#include "redaction.h"
#include "regles/generateur.h"
#include "regles/niveaux_livres.h"
#include "regles/plateau.h"
#include "regles/solveur.h"
#include "regles/variete.h"
#include "verification.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

// Seeds made for each number of pieces to place: two hundred where the test command's time
// allows, fewer for three and four pieces (a tenth and some three tenths of a second each) and
// in the sanitizers' slower build.
#ifdef GRAINES_REDUITES
constexpr int GRAINES[5] = {0, 30, 20, 8, 4};
#else
constexpr int GRAINES[5] = {0, 200, 200, 80, 30};
#endif

class Generateur : public DansDossier {
  protected:
    void SetUp() override {
        DansDossier::SetUp();
        init();
        std::copy(jeu.piece, jeu.piece + NB_PIECES, depart_);
    }
    t_piecer depart_[NB_PIECES];
};

// The shipped levels as the checker reads them from their files, with their solver's verdict.
std::vector<t_fiche> fiches_des_fichiers() {
    std::vector<t_fiche> v;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        t_piecer piece[NB_PIECES];
        bool sain = false;
        verifier_fichier(std::string(DOSSIER_DONNEES) + "/solution" + std::to_string(n) + ".xml",
                         piece, sain);
        v.push_back(ficher(n, piece, resoudre(piece, 1)));
    }
    return v;
}

// Every challenge written as a level file beside the shipped images, read back through the
// viewer's reader: every rule kept, exactly K pieces to place, one solution (its own) for the
// whole search, a walk that changes height, decoys enough, no motif of a shipped level, and
// unlike every shipped level (ressemble()'s comparison without `decale`). GRAINES=N in the
// environment takes at most N seeds of each, for a quick run.
TEST_F(Generateur, ChaqueDefiVerifieEtResolu) {
    for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
        if (e.path().extension() == ".bmp") fs::create_symlink(e.path(), e.path().filename());
    const std::vector<t_fiche> livres = fiches_des_fichiers();
    const char *plafond = std::getenv("GRAINES");
    for (int k = 1; k <= 4; ++k)
        for (uint32_t graine = 1; graine <= uint32_t(GRAINES[k]) &&
                                  (plafond == nullptr || graine <= uint32_t(std::atoi(plafond)));
             ++graine) {
            const std::string cas =
                "graine " + std::to_string(graine) + ", " + std::to_string(k) + " pieces";
            t_piecer piece[NB_PIECES];
            ASSERT_TRUE(fabriquer_defi(graine, k, depart_, piece)) << cas;
            std::ofstream("defi.xml") << [&] {
                std::ostringstream f;
                ecrire_niveau(f, 0, piece);
                return f.str();
            }();
            t_piecer lu[NB_PIECES];
            bool sain = false;
            const std::vector<t_probleme> problemes = verifier_fichier("defi.xml", lu, sain);
            ASSERT_TRUE(problemes.empty())
                << cas << ": " << problemes[0].piece << ": " << problemes[0].message;
            const t_resolution r = resoudre(lu);
            ASSERT_EQ(r.a_placer.size(), size_t(k)) << cas;
            ASSERT_EQ(r.solutions.size(), 1U) << cas;
            ASSERT_TRUE(meme_facon(r.solutions[0], poses_du_niveau(lu))) << cas;
            const t_fiche f = ficher(0, lu, r);
            ASSERT_GT(f.chemin.changements_de_hauteur(), 0) << cas;
            ASSERT_GE(f.leurres, leurres_minimum(k)) << cas;
            for (const t_fiche &l : livres)
                ASSERT_TRUE(motifs_communs(l, f).empty())
                    << cas << ": a motif of level " << l.numero;
            // Moved sideways, a shipped level may share its figures and walk or its cells with
            // a made challenge, never its challenge; with three or four pieces to place, its
            // cells anyhow.
            for (const t_fiche &l : livres)
                for (const t_ressemblance &r : ressemblances(l, f)) {
                    const std::string m = dire_ressemblance(r);
                    if (!cellules_comparees(k) && r.sorte == S_CELLULES_COMMUNES) continue;
                    ASSERT_TRUE(r.decalage != 0 && r.sorte != S_MEME_DEFI &&
                                m.find(" moved ") != std::string::npos &&
                                m.find("the same challenge") == std::string::npos)
                        << cas << ": " << m;
                }
        }
}

// The same seed makes the same challenge on one core or three, and every seed its own
// stream: two neighbouring seeds seldom meet on the same challenge.
TEST_F(Generateur, MemeGraineMemeDefi) {
    for (int k = 1; k <= 3; ++k) {
        std::vector<std::string> vus;
        for (uint32_t graine = 1; graine <= 4; ++graine) {
            t_piecer un[NB_PIECES], trois[NB_PIECES];
            ASSERT_TRUE(fabriquer_defi(graine, k, depart_, un, nullptr, 1));
            ASSERT_TRUE(fabriquer_defi(graine, k, depart_, trois, nullptr, 3));
            EXPECT_EQ(cle_du_defi(un), cle_du_defi(trois))
                << "seed " << graine << ", " << k << " pieces";
            vus.push_back(cle_du_defi(un));
        }
        std::sort(vus.begin(), vus.end());
        EXPECT_GE(std::unique(vus.begin(), vus.end()) - vus.begin(), 3) << k << " pieces";
    }
}

// Stopped before it starts it makes nothing; stopped from another thread it returns soon.
TEST_F(Generateur, Arret) {
    t_piecer piece[NB_PIECES];
    t_fabrication arretee;
    arretee.arretee = true;
    EXPECT_FALSE(fabriquer_defi(1, 1, depart_, piece, &arretee));
    EXPECT_EQ(arretee.piles, 0);
    t_fabrication suivi0;
    for (int k : {0, 5}) EXPECT_FALSE(fabriquer_defi(1, k, depart_, piece, &suivi0)) << k;
    EXPECT_EQ(suivi0.piles, 0);
    // Seed 4 with four pieces takes several seconds.
    t_fabrication suivi;
    std::thread arreter([&] {
        while (suivi.piles < 100) std::this_thread::yield();
        suivi.arretee = true;
    });
    EXPECT_FALSE(fabriquer_defi(4, 4, depart_, piece, &suivi));
    arreter.join();
    EXPECT_LT(suivi.piles, 200000);
}

// Started, the making runs on its own threads and says once, from the last of them, that it has
// ended: the challenge is then ready to take, the same as made at once; stopped, it still says
// so, with nothing to take.
TEST_F(Generateur, FinSignalee) {
    std::mutex verrou;
    std::condition_variable fin;
    int signaux = 0;
    bool finie_avant = false;
    t_fabrication f;
    const auto signaler = [&] {
        std::lock_guard<std::mutex> l(verrou);
        finie_avant = f.finie;
        ++signaux;
        fin.notify_one();
    };
    const auto attendre = [&](int n) {
        std::unique_lock<std::mutex> l(verrou);
        return fin.wait_for(l, std::chrono::seconds(60), [&] { return signaux >= n; });
    };
    ASSERT_TRUE(lancer_fabrication(f, 11, 2, depart_, 2, signaler));
    ASSERT_TRUE(attendre(1));
    EXPECT_TRUE(finie_avant);
    // Seed 11's challenge with two pieces, as the seeds' test holds it.
    t_piecer lance[NB_PIECES], tenu[NB_PIECES];
    ASSERT_TRUE(finir_fabrication(f, lance));
    std::copy(depart_, depart_ + NB_PIECES, tenu);
    ASSERT_TRUE(lire_niveau(GRAINES_TENUES "/graine11_2.xml", tenu));
    EXPECT_EQ(cle_du_defi(lance), cle_du_defi(tenu));
    // Seed 4 with four pieces takes seconds: stopped at once, it ends all the same.
    ASSERT_TRUE(lancer_fabrication(f, 4, 4, depart_, 2, signaler));
    f.arretee = true;
    ASSERT_TRUE(attendre(2));
    EXPECT_FALSE(finir_fabrication(f, lance));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(signaux, 2);
}

// A thread the system will not start, first or part-way: the making says so and why, every
// thread started has ended and been joined, the end is not signalled, and the next making,
// the threads to be had again, makes the seed's challenge.
TEST_F(Generateur, OuvrierRefuse) {
    static int demarres = 0;
    static int permis = 0;
    const auto defaut = demarrer_ouvrier;
    demarrer_ouvrier = [](std::function<void()> travail) {
        if (demarres++ >= permis)
            throw std::system_error(EAGAIN, std::generic_category(), "thread");
        return std::thread(std::move(travail));
    };
    int signaux = 0;
    t_fabrication f;
    for (int k : {0, 1, 2}) {
        demarres = 0;
        permis = k;
        EXPECT_FALSE(lancer_fabrication(f, 11, 2, depart_, 3, [&] { ++signaux; })) << k;
        EXPECT_EQ(f.refus, EAGAIN);
        EXPECT_TRUE(f.ouvriers.empty()) << k;
        EXPECT_TRUE(f.finie);
        EXPECT_FALSE(f.arretee);
    }
    demarrer_ouvrier = defaut;
    EXPECT_EQ(signaux, 0);
    t_piecer lance[NB_PIECES], tenu[NB_PIECES];
    ASSERT_TRUE(lancer_fabrication(f, 11, 2, depart_, 3));
    EXPECT_EQ(f.refus, 0);
    ASSERT_TRUE(finir_fabrication(f, lance));
    std::copy(depart_, depart_ + NB_PIECES, tenu);
    ASSERT_TRUE(lire_niveau(GRAINES_TENUES "/graine11_2.xml", tenu));
    EXPECT_EQ(cle_du_defi(lance), cle_du_defi(tenu));
}

// Without threads, the caller draws the stacks a few at a time: the same challenges as the
// threads make, the count of stacks up to the one that made it; stopped, it ends with nothing.
TEST_F(Generateur, SansFils) {
    for (const auto &[graine, k] : {std::pair<uint32_t, int>{11, 2}, {3, 1}, {2, 3}}) {
        t_fabrication f;
        ASSERT_TRUE(lancer_fabrication(f, graine, k, depart_, SANS_FILS));
        long appels = 0;
        while (!avancer_fabrication(f, 3)) ASSERT_LT(++appels, 100000);
        EXPECT_TRUE(f.finie);
        EXPECT_EQ(f.piles, f.trouvee + 1);
        t_piecer pas_a_pas[NB_PIECES], fils[NB_PIECES];
        ASSERT_TRUE(finir_fabrication(f, pas_a_pas));
        ASSERT_TRUE(fabriquer_defi(graine, k, depart_, fils, nullptr, 2));
        EXPECT_EQ(cle_du_defi(pas_a_pas), cle_du_defi(fils)) << "seed " << graine << ", " << k;
    }
    t_fabrication f;
    ASSERT_TRUE(lancer_fabrication(f, 4, 4, depart_, SANS_FILS));
    f.arretee = true;
    EXPECT_TRUE(avancer_fabrication(f, 1));
    EXPECT_EQ(f.piles, 0);
    t_piecer piece[NB_PIECES];
    EXPECT_FALSE(finir_fabrication(f, piece));
}

// The pool the shipped levels are chosen from: every level a stack makes, one for each place of
// the figures, keeps the rules and has one solution; the first is the challenge tirer_defi()
// makes of that stack; asked for staircases, two of its pieces to place are (the one, with one).
TEST_F(Generateur, TousLesNiveauxDUnePile) {
    int piles_a_niveaux = 0, plusieurs = 0;
    for (const bool escaliers : {false, true})
        for (int k = 1; k <= 3; ++k)
            for (long i = 0; i < 3000; ++i) {
                const auto niveaux = tirer_niveaux(0, k, escaliers, i, depart_);
                if (niveaux.empty()) continue;
                ++piles_a_niveaux;
                plusieurs += niveaux.size() > 1;
                if (!escaliers) {
                    t_piecer premier[NB_PIECES];
                    std::copy(depart_, depart_ + NB_PIECES, premier);
                    ASSERT_TRUE(tirer_defi(0, k, i, {}, premier));
                    EXPECT_EQ(cle_du_defi(premier), cle_du_defi(niveaux[0].data()));
                }
                for (const auto &n : niveaux) {
                    bool pose = false;
                    EXPECT_TRUE(
                        verifier_placement(n.data(), peintures_des_formes(n.data()), pose).empty());
                    EXPECT_EQ(resoudre(n.data(), 2).solutions.size(), 1U);
                    int a_placer = 0, escaliers_a_placer = 0;
                    for (int j = 0; j < NB_PIECES; ++j)
                        if (est_a_placer(n[size_t(j)])) {
                            ++a_placer;
                            escaliers_a_placer += est_escalier(j);
                        }
                    EXPECT_EQ(a_placer, k);
                    if (escaliers) {
                        EXPECT_GE(escaliers_a_placer, std::min(k, 2))
                            << k << " pieces, stack " << i;
                    }
                }
            }
    EXPECT_GT(piles_a_niveaux, 20);
    EXPECT_GT(plusieurs, 0); // the figures stand elsewhere on the same stack
}

// The table built from the level files is what the viewer's reader finds in them.
TEST(NiveauxLivres, TableDesFichiers) {
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        t_piecer piece[NB_PIECES];
        bool sain = false;
        verifier_fichier(std::string(DOSSIER_DONNEES) + "/solution" + std::to_string(n) + ".xml",
                         piece, sain);
        for (int k = 0; k < NB_PIECES; ++k) {
            const t_piece_livree &l = NIVEAUX_LIVRES[n - 1][k];
            EXPECT_EQ(l.dans_le_jeu, piece[k].dans_le_jeu) << "level " << n << ", piece " << k;
            EXPECT_EQ(l.colonne, piece[k].colonne) << "level " << n << ", piece " << k;
            EXPECT_EQ(l.ligne, piece[k].ligne) << "level " << n << ", piece " << k;
            EXPECT_EQ(l.rotation, piece[k].rotation) << "level " << n << ", piece " << k;
        }
    }
}

TEST(LigneDeCommande, NombresTapes) {
    EXPECT_EQ(lire_nombre("1", 4), 1U);
    EXPECT_EQ(lire_nombre("4", 4), 4U);
    EXPECT_EQ(lire_nombre("999999999", GRAINE_MAX), GRAINE_MAX);
    EXPECT_EQ(lire_nombre("100", GRAINE_MAX), 100U);
    for (const char *faux : {"", "0", "5", "04a", "-1", "+1", " 1", "1 "})
        EXPECT_EQ(lire_nombre(faux, 4), 0U) << faux;
    for (const char *trop : {"1000000000", "99999999999999999999999"})
        EXPECT_EQ(lire_nombre(trop, GRAINE_MAX), 0U) << trop;
}

} // namespace
