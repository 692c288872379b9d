// test_contenu.cpp: the shipped images against the shape table; the level rules (balance, one
// solution, how levels compare) on hand-made boards; the challenge sheet.
#include "aide.h"
#include "jeu/modele.h"
#include "niveau/formes.h"
#include "redaction.h"
#include "regles/equilibre.h"
#include "regles/solveur.h"
#include "regles/traits.h"
#include "regles/variete.h"
#include "verification.h"

#include <SDL.h>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glpk.h>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

TEST(Formes, ImagesLivreesSuiventLaTable) {
    for (int id = ID_CUBE; id < NB_PIECES; ++id) {
        for (int rotation = est_escalier(id) ? 1 : 0; rotation <= (est_escalier(id) ? 6 : 0);
             ++rotation) {
            const t_forme &f = *forme_de(id, rotation);
            const std::string nom = fichier_image(id, rotation);
            SDL_Surface *s = SDL_LoadBMP((std::string(DOSSIER_DONNEES) + "/" + nom).c_str());
            ASSERT_NE(s, nullptr) << nom;
            EXPECT_EQ(s->w, f.largeur * 100) << nom;
            EXPECT_EQ(s->h, f.hauteur * 100) << nom;
            // Pure green exactly where the staircase is not: every pixel of an empty cell,
            // no pixel of a solid one; none at all in the images drawn without a colour key.
            for (int y = 0; y < s->h && y < f.hauteur * 100; ++y)
                for (int x = 0; x < s->w && x < f.largeur * 100; ++x) {
                    const bool vide = !f.pleine(x / 100, f.hauteur - 1 - y / 100);
                    const bool vert = couleur(s, x, y) == VERT_PUR;
                    ASSERT_EQ(vert, est_escalier(id) && vide) << nom << " at " << x << "," << y;
                }
            SDL_FreeSurface(s);
        }
    }
}

int luma(Uint32 rvb) {
    return int(299 * (rvb >> 16) + 587 * (rvb >> 8 & 0xff) + 114 * (rvb & 0xff)) / 1000;
}

// How far apart two colours are, in RGB.
double ecart(Uint32 a, Uint32 b) {
    double d = 0;
    for (int decalage : {0, 8, 16}) {
        const double e = double(a >> decalage & 0xff) - double(b >> decalage & 0xff);
        d += e * e;
    }
    return std::sqrt(d);
}

// What a player reads on a staircase: a lit tread on top of every column, and the base band
// unbroken along the whole side the staircase was built on, darker than the body.
TEST(Formes, MarchesEtSocleDesEscaliers) {
    for (int id : {ID_PETIT_ESCALIER_1, ID_GRAND_ESCALIER})
        for (int rotation = 1; rotation <= NB_ORIENTATIONS; ++rotation) {
            const t_forme &f = *forme_de(id, rotation);
            const std::string nom = fichier_image(id, rotation);
            SDL_Surface *s = SDL_LoadBMP((std::string(DOSSIER_DONNEES) + "/" + nom).c_str());
            ASSERT_NE(s, nullptr) << nom;
            // The middle of a solid cell of the bottom row shows the body's colour.
            const Uint32 corps_rvb = couleur(s, f.pleine(0, 0) ? 50 : s->w - 50, s->h - 50);
            const int corps = luma(corps_rvb);
            for (int c = 0; c < f.largeur; ++c) {
                int sommet = f.hauteur - 1;
                while (!f.pleine(c, sommet)) --sommet;
                const int y = (f.hauteur - 1 - sommet) * 100 + 10;
                for (int x = c * 100 + 25; x < c * 100 + 75; ++x) // between the side bands
                    ASSERT_GT(luma(couleur(s, x, y)), corps + 15) << nom << " tread at " << x;
            }
            const t_cote cote = base_de(rotation);
            const bool couche = cote != COTE_BAS;
            const int longueur = couche ? s->h : s->w;
            const int travers = cote == COTE_BAS ? s->h - 13 : cote == COTE_GAUCHE ? 13 : s->w - 13;
            const Uint32 socle = couche ? couleur(s, travers, 3) : couleur(s, 3, travers);
            EXPECT_GT(ecart(socle, corps_rvb), 60) << nom;
            for (int i = 3; i < longueur - 3; ++i)
                ASSERT_EQ(couche ? couleur(s, travers, i) : couleur(s, i, travers), socle)
                    << nom << " base band broken at " << i;
            SDL_FreeSurface(s);
        }
}

TEST(Formes, OrientationsDesEscaliers) {
    // Lying on its right side: the back, on the right when upright, is now underneath.
    EXPECT_EQ(forme_de(ID_PETIT_ESCALIER_2, DROITE_DROITE)->lignes,
              (std::vector<std::string>{"##", "#."}));
    EXPECT_EQ(forme_de(ID_GRAND_ESCALIER, GAUCHE_GAUCHE)->lignes,
              (std::vector<std::string>{"###", ".##", "..#"}));
    EXPECT_EQ(forme_de(ID_GRAND_ESCALIER, 0), nullptr);
    EXPECT_EQ(forme_de(ID_PETIT_ESCALIER_1, 7), nullptr);
    // No image for a staircase without an orientation, nor for a figure, drawn as a tile.
    EXPECT_EQ(fichier_image(ID_GRAND_ESCALIER, 0), "");
    EXPECT_EQ(fichier_image(ID_CHEVALIER, DEBOUT_GAUCHE), "");
}

// A piece in play with its column, row and orientation.
struct t_place {
    int id, colonne, ligne, rotation;
};

// Level numero of tests/verificateur, as the viewer reads it.
void lire_niveau(int numero, t_piecer piece[NB_PIECES]) {
    bool sain = false;
    verifier_fichier(std::string(CAS_VERIFICATEUR) + "/solution" + std::to_string(numero) + ".xml",
                     piece, sain);
}

// A level of only these pieces, from the reset's: the figures as starting pieces, the others to
// place.
void seules(const std::vector<t_place> &poses, t_piecer piece[NB_PIECES]) {
    init();
    std::copy(jeu.piece, jeu.piece + NB_PIECES, piece);
    for (int k = 0; k < NB_PIECES; ++k) piece[k].dans_le_jeu = NON;
    for (const t_place &p : poses) {
        t_piecer &q = piece[p.id];
        std::tie(q.dans_le_jeu, q.colonne, q.ligne, q.rotation) =
            std::make_tuple(OUI, p.colonne, p.ligne, p.rotation);
        q.piece_de_depart = est_figure(p.id) ? OUI : NON;
    }
}

// Whether the pieces stand with the knight at (colonne, ligne) of the window.
bool tient(const std::vector<t_place> &poses, int colonne, int ligne) {
    init();
    t_piecer piece[NB_PIECES];
    std::copy(jeu.piece, jeu.piece + NB_PIECES, piece);
    for (const t_place &p : poses)
        piece[p.id] = {p.id, "", p.rotation, 0, OUI, 0, p.colonne, p.ligne, 0, 0, -1};
    return tient_debout(construire_scene(piece), colonne - PLATEAU_COLONNE, ligne);
}

TEST(Regles, Equilibre) {
    // A cube with an appendix on the cube: its weight falls exactly over the cube's edge.
    const std::vector<t_place> bord = {{ID_CUBE, 4, 0, 0}, {ID_CUBE_AVEC_APPENDICE_1, 4, 1, 0}};
    EXPECT_FALSE(tient(bord, 9, 0));
    // Leaning on a tower's side does not hold it: nothing pushes sideways.
    auto appuye = bord;
    appuye.push_back({ID_TOUR_1, 6, 0, 0});
    EXPECT_FALSE(tient(appuye, 9, 0));
    // A tower on the cube's side of it is a counterweight: it stands...
    auto contrepoids = bord;
    contrepoids.push_back({ID_TOUR_1, 4, 2, 0});
    EXPECT_TRUE(tient(contrepoids, 9, 0));
    // ...until the knight stands on the end of the appendix.
    EXPECT_FALSE(tient(contrepoids, 5, 2));
    // A staircase upside down on its tip tips; a bridge over two towers stands, the knight on it.
    EXPECT_FALSE(tient({{ID_GRAND_ESCALIER, 4, 0, GAUCHE_GAUCHE}}, 9, 0));
    EXPECT_TRUE(tient(
        {{ID_TOUR_1, 5, 0, 0}, {ID_TOUR_2, 6, 0, 0}, {ID_CUBE_AVEC_APPENDICE_1, 5, 3, 0}}, 6, 4));
    // A face carries from a tenth to nine tenths of its cell: a small staircase on the cube,
    // the knight on its low step, loads it exactly nine tenths of the way over, or one tenth
    // when mirrored; both stand. Nothing of GLPK's stays allocated after a verdict.
    int blocs = 0, blocs_avant = 0;
    glp_mem_usage(&blocs_avant, nullptr, nullptr, nullptr);
    EXPECT_TRUE(tient({{ID_CUBE, 4, 0, 0}, {ID_PETIT_ESCALIER_1, 4, 1, DEBOUT_GAUCHE}}, 4, 2));
    EXPECT_TRUE(tient({{ID_CUBE, 5, 0, 0}, {ID_PETIT_ESCALIER_1, 4, 1, DEBOUT_DROITE}}, 5, 2));
    glp_mem_usage(&blocs, nullptr, nullptr, nullptr);
    EXPECT_EQ(blocs, blocs_avant);
    // Level 27 of the checker's cases stands as it is and tips only under the knight on his
    // way: there, not where he starts.
    t_piecer piece[NB_PIECES];
    lire_niveau(27, piece);
    const t_verdict v = evaluer(construire_scene(piece));
    EXPECT_EQ(v.echec, E_TOMBE);
    EXPECT_EQ(evaluer(construire_scene(piece), false).echec, E_AUCUN); // the balance left out
    EXPECT_EQ(std::make_pair(v.bascule.c, v.bascule.h), std::make_pair(1, 2));
}

// A working folder with the shipped images and font, for the off-screen capture.
class Capture : public DansDossier {
  protected:
    void SetUp() override {
        DansDossier::SetUp();
        for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
            if (e.path().extension() == ".bmp" || e.path().extension() == ".ttf")
                fs::copy_file(e.path(), e.path().filename());
    }
};

// Level 1: one way to place its one piece; level 30: four ways to place its four.
TEST(Regles, Solveur) {
    t_piecer piece[NB_PIECES];
    lire_niveau(1, piece);
    t_resolution r = resoudre(piece);
    EXPECT_EQ(r.a_placer, std::vector<int>{ID_GRAND_ESCALIER});
    ASSERT_EQ(r.solutions.size(), 1U);
    EXPECT_TRUE(meme_facon(r.solutions[0], poses_du_niveau(piece)));

    lire_niveau(30, piece);
    r = resoudre(piece);
    EXPECT_EQ(r.a_placer, (std::vector<int>{ID_CUBE, ID_PETIT_ESCALIER_1, ID_PETIT_ESCALIER_2,
                                            ID_GRAND_ESCALIER}));
    ASSERT_EQ(r.solutions.size(), 4U);
    EXPECT_EQ(std::count_if(r.solutions.begin(), r.solutions.end(),
                            [&](const auto &f) { return meme_facon(f, poses_du_niveau(piece)); }),
              1);
    // The search pinned: a change in what it skips (cells taken, the two small staircases
    // tried in one order only) shows as another count.
    EXPECT_EQ(r.essais, 133419);
    const long long essais = r.essais;
    EXPECT_EQ(resoudre(piece, 2).solutions.size(), 2U);
    EXPECT_LT(resoudre(piece, 2).essais, essais);
    // Swapping the two small staircases is the same way.
    std::vector<t_pose> echange = poses_du_niveau(piece);
    std::swap(echange[1].id, echange[2].id);
    EXPECT_TRUE(meme_facon(echange, poses_du_niveau(piece)));
    echange[0].masque <<= 1;
    EXPECT_FALSE(meme_facon(echange, poses_du_niveau(piece)));

    // The two small staircases alone on a board open but for the knight and the princess at
    // its ends: each pair of poses tried once, a pair that goes on to the next row included.
    seules({{ID_CHEVALIER, PLATEAU_COLONNE, 0, 0},
            {ID_PRINCESSE, PLATEAU_COLONNE + PLATEAU_LARGEUR - 1, 0, 0},
            {ID_PETIT_ESCALIER_1, 5, 0, DEBOUT_GAUCHE},
            {ID_PETIT_ESCALIER_2, 7, 0, DEBOUT_GAUCHE}},
           piece);
    EXPECT_EQ(resoudre(piece).essais, 2349);
}

// A level written as the shipped ones are, read back through the viewer's reader: the same
// pieces, and the same file when written again.
TEST_F(Capture, NiveauEcritPuisRelu) {
    t_piecer piece[NB_PIECES], lu[NB_PIECES];
    lire_niveau(30, piece);
    std::ostringstream ecrit;
    ecrire_niveau(ecrit, 30, piece);
    std::ofstream("solution30.xml") << ecrit.str();
    bool sain = false;
    EXPECT_TRUE(verifier_fichier("solution30.xml", lu, sain).empty());
    EXPECT_TRUE(sain);
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &a = piece[k], &b = lu[k];
        EXPECT_EQ(
            std::make_tuple(a.dans_le_jeu, a.colonne, a.ligne, a.rotation, a.largeur, a.hauteur),
            std::make_tuple(b.dans_le_jeu, b.colonne, b.ligne, b.rotation, b.largeur, b.hauteur))
            << piece[k].nom;
    }
    std::ostringstream encore;
    ecrire_niveau(encore, 30, lu);
    EXPECT_EQ(encore.str(), ecrit.str());
    EXPECT_NE(ecrit.str().find("<solution niveau=\"30\">"), std::string::npos);
}

// What the comparisons, the curve and the lessons find, in the checker's words.
std::vector<std::string> dire_tout(const std::vector<t_ressemblance> &v) {
    std::vector<std::string> m;
    for (const t_ressemblance &r : v) m.push_back(dire_ressemblance(r));
    return m;
}

std::vector<std::string> dire_tout(const std::vector<t_faute_courbe> &v) {
    std::vector<std::string> m;
    for (const t_faute_courbe &c : v) m.push_back(dire_courbe(c));
    return m;
}

std::vector<std::pair<int, std::string>> dire_tout(const std::vector<t_faute_lecon> &v) {
    std::vector<std::pair<int, std::string>> m;
    for (const t_faute_lecon &l : v) m.emplace_back(l.niveau, dire_lecon(l));
    return m;
}

TEST(Regles, VarieteEtCourbe) {
    t_piecer piece[NB_PIECES];
    const auto fiche = [&](int lu, int numero) {
        lire_niveau(lu, piece);
        return ficher(numero, piece, resoudre(piece));
    };
    const t_fiche un = fiche(1, 1);
    EXPECT_EQ(un.difficulte(), 100 + 10 + 3); // one piece, a climb, three steps up
    EXPECT_EQ(difficulte(2, 3, T_MONTEE | T_PONT, un.chemin), 2323); // decoys first
    t_fiche quatre = fiche(30, 40);
    EXPECT_TRUE(ressemblances(un, quatre).empty());
    // Eight cells each, six of them in common: three quarters exactly is still unlike.
    t_fiche a, b;
    a.numero = 1;
    b.chemin.forme = "=";
    for (t_fiche *f : {&a, &b}) {
        f->scene.poser(ID_TOUR_1, forme_de(ID_TOUR_1, 0), 0, 0);
        f->scene.poser(ID_TOUR_2, forme_de(ID_TOUR_2, 0), 1, 0);
    }
    a.scene.poser(ID_CUBE_AVEC_APPENDICE_1, forme_de(ID_CUBE_AVEC_APPENDICE_1, 0), 2, 0);
    b.scene.poser(ID_CUBE_AVEC_APPENDICE_1, forme_de(ID_CUBE_AVEC_APPENDICE_1, 0), 2, 1);
    EXPECT_TRUE(ressemblances(a, b).empty());
    b.scene.enlever(ID_CUBE_AVEC_APPENDICE_1);
    b.scene.poser(ID_CUBE_AVEC_APPENDICE_1, forme_de(ID_CUBE_AVEC_APPENDICE_1, 0), 3, 0);
    EXPECT_EQ(dire_tout(ressemblances(a, b)),
              std::vector<std::string>{"7 solid cells in common with level 1, more than three "
                                       "quarters of 8"});
    // Moved sideways, and mirrored: the same challenge, the same figures and walk.
    // A tower, the knight on the ground and the princess at some height, by column.
    const auto scene = [](int tour, int chevalier, int princesse, int hauteur) {
        t_scene s;
        s.poser(ID_TOUR_1, forme_de(ID_TOUR_1, 0), tour, 0);
        s.poser(ID_CHEVALIER, forme_de(ID_CHEVALIER, 0), chevalier, 0);
        s.poser(ID_PRINCESSE, forme_de(ID_PRINCESSE, 0), princesse, hauteur);
        return s;
    };
    t_fiche c = a, d;
    c.chemin.forme = d.chemin.forme = "+";
    c.scene = scene(0, 1, 3, 2);
    d.scene = scene(2, 3, 5, 2);
    EXPECT_EQ(dire_tout(ressemblances(c, d)),
              (std::vector<std::string>{
                  "the same challenge as level 1 moved 2 columns right",
                  "the same knight's start, princess's place and walk as level 1 moved 2 columns "
                  "right",
                  "7 solid cells in common with level 1 moved 2 columns right, more than three "
                  "quarters of 7"}));
    // As the generator compares a made challenge with the shipped levels: moved sideways, only
    // the same challenge counts.
    EXPECT_TRUE(ressemble(empreinte(c), empreinte(d), false));
    d.scene.poser(ID_TOUR_2, forme_de(ID_TOUR_2, 0), 0, 0);
    EXPECT_TRUE(ressemble(empreinte(c), empreinte(d)));
    EXPECT_FALSE(ressemble(empreinte(c), empreinte(d), false));
    d.scene = scene(4, 3, 1, 2);
    const std::vector<t_ressemblance> vues = ressemblances(c, d);
    ASSERT_FALSE(vues.empty());
    const t_ressemblance &miroir = vues.front();
    EXPECT_EQ(std::make_tuple(miroir.sorte, miroir.niveau, miroir.miroir, miroir.decalage),
              std::make_tuple(S_MEME_DEFI, 1, true, -1));
    EXPECT_EQ(dire_ressemblance(miroir),
              "the same challenge as level 1 as its mirror image moved 1 column left");
    EXPECT_FALSE(ressemblances(d, c).empty());
    // Neither level can move right (a tower at the edge); the second can move left: the two
    // are compared either way round, as the second moved stands, not as its mirror image.
    t_fiche e = c, g = c;
    e.scene = scene(5, 1, 3, 1);
    g.scene = scene(5, 2, 4, 1);
    EXPECT_EQ(dire_tout(ressemblances(e, g)),
              std::vector<std::string>{"the same knight's start, princess's place and walk as "
                                       "level 1 moved 1 column right"});
    EXPECT_EQ(dire_tout(ressemblances(g, e)),
              std::vector<std::string>{"the same knight's start, princess's place and walk as "
                                       "level 1 moved 1 column left"});
    // The princess a row lower stands at another place.
    e.scene = scene(0, 1, 3, 1);
    EXPECT_EQ(dire_tout(ressemblances(c, e)),
              std::vector<std::string>{
                  "6 solid cells in common with level 1, more than three quarters of 7"});

    EXPECT_TRUE(verifier_courbe(nullptr, un).empty());
    EXPECT_EQ(un.leurres, 0); // the first placement that lets the knight walk stands
    // The decoys weigh most: one decoy outweighs four pieces to place.
    t_fiche leurre = un;
    leurre.leurres = 1;
    EXPECT_GT(leurre.difficulte(), quatre.difficulte() - 1000 * quatre.leurres);
    quatre.leurres = LEURRES_DE_FIN;
    EXPECT_TRUE(verifier_courbe(&un, quatre).empty());
    // Level 41 rests after level 40: one dip is allowed, two in a row are not.
    const t_fiche apres = fiche(1, 41);
    EXPECT_EQ(
        dire_tout(verifier_courbe(&quatre, apres, &un)),
        (std::vector<std::string>{"no decoy: from level 12 on every level has one",
                                  "1 piece to place: the last twelve levels have three or more",
                                  "1 feature: the last twelve levels have three or more",
                                  "0 decoys: the last twelve levels have five or more"}));
    t_fiche haut = quatre;
    haut.numero = 39;
    haut.leurres = 9;
    const auto sous_le_haut = [&](const t_fiche &b) {
        return "difficulty " + std::to_string(b.difficulte()) + " is below level 39's " +
               std::to_string(haut.difficulte()) + ", after which level 40 rested (" +
               std::to_string(quatre.difficulte()) +
               "): a level may rest once, then the climb comes back above it";
    };
    EXPECT_EQ(dire_tout(verifier_courbe(&quatre, apres, &haut)).front(), sous_le_haut(apres));
    // Climbing after the rest, but not back above level 39: the levels would fall one rest at
    // a time. Above it, the climb goes on.
    t_fiche remonte = quatre;
    remonte.numero = 41;
    remonte.leurres = quatre.leurres + 1;
    ASSERT_GT(remonte.difficulte(), quatre.difficulte());
    ASSERT_LT(remonte.difficulte(), haut.difficulte());
    EXPECT_EQ(dire_tout(verifier_courbe(&quatre, remonte, &haut)).front(), sous_le_haut(remonte));
    remonte.leurres = haut.leurres + 1;
    EXPECT_TRUE(verifier_courbe(&quatre, remonte, &haut).empty());
    t_fiche six = quatre;
    six.numero = 6;
    EXPECT_EQ(dire_tout(verifier_courbe(&un, six)),
              std::vector<std::string>{"4 pieces to place: levels 1 to 6 have one"});
    six.numero = 7;
    EXPECT_TRUE(verifier_courbe(&un, six).empty());
    // Levels 7 to 11 may still teach with no decoy; level 12 may not.
    six.leurres = 0;
    six.numero = 11;
    EXPECT_TRUE(verifier_courbe(&un, six).empty());
    six.numero = 12;
    EXPECT_EQ(dire_tout(verifier_courbe(&un, six)),
              std::vector<std::string>{"no decoy: from level 12 on every level has one"});
    six.numero = 1;
    EXPECT_EQ(verifier_courbe(nullptr, six).size(), 1U);
    // The last twelve start at level 37.
    t_fiche fin = un;
    fin.numero = 36;
    fin.leurres = 1;
    EXPECT_TRUE(verifier_courbe(nullptr, fin).empty());
    fin.numero = 37;
    EXPECT_EQ(
        dire_tout(verifier_courbe(nullptr, fin)),
        (std::vector<std::string>{"1 piece to place: the last twelve levels have three or more",
                                  "1 feature: the last twelve levels have three or more",
                                  "1 decoy: the last twelve levels have five or more"}));
    fin.a_placer = {ID_CUBE, ID_PETIT_ESCALIER_1, ID_GRAND_ESCALIER};
    fin.traits = T_MONTEE | T_PONT | T_ETAI;
    fin.leurres = LEURRES_DE_FIN;
    EXPECT_TRUE(verifier_courbe(nullptr, fin).empty());
    EXPECT_TRUE(escalier_au_debut(nullptr, &un));
    t_fiche cube = un;
    cube.a_placer = {ID_CUBE};
    EXPECT_FALSE(escalier_au_debut(&cube, nullptr));
}

// The lessons: one new feature a level at levels 1 to 6, a climb and a descent among them; a
// feature alone and with two pieces at most when it first comes; an idea three times at most.
TEST(Regles, Lecons) {
    std::vector<t_fiche> f(8);
    const unsigned idees[] = {T_DESCENTE,
                              T_DESCENTE | T_MIROIR,
                              T_DESCENTE | T_PALIER,
                              T_DESCENTE | T_PONT,
                              T_DESCENTE | T_ETAI,
                              T_DESCENTE | T_MONTEE,
                              T_DESCENTE,
                              T_DESCENTE};
    for (size_t i = 0; i < f.size(); ++i) {
        f[i].numero = int(i) + 1;
        f[i].traits = idees[i];
        f[i].a_placer = {ID_CUBE};
    }
    const auto lecons = [&] {
        std::vector<const t_fiche *> v;
        for (const t_fiche &x : f) v.push_back(&x);
        return dire_tout(verifier_lecons(v));
    };
    EXPECT_TRUE(lecons().empty());
    f[7].traits = T_DESCENTE | T_EMPILEMENT;
    f[7].a_placer = {ID_CUBE, ID_PETIT_ESCALIER_1, ID_GRAND_ESCALIER};
    f[6].traits = T_DESCENTE | T_COLLINE | T_VALLEE;
    f[5].traits = T_DESCENTE;
    f[1].traits = T_DESCENTE | T_MIROIR | T_RENVERSE;
    using t_p = std::vector<std::pair<int, std::string>>;
    EXPECT_EQ(lecons(),
              (t_p{{2, "2 new features (mirrored, upside down): levels 1 to 6 bring one each"},
                   {6, "0 new features (none): levels 1 to 6 bring one each"},
                   {6, "levels 1 to 6 teach no climb"},
                   {7, "brings hill, valley with 1 piece to place: a feature comes alone, with at "
                       "most two"},
                   {8, "brings stack with 3 pieces to place: a feature comes alone, with at most "
                       "two"}}));
    // Read from level 1 on, as far as none is missing.
    std::vector<t_fiche> g(5, f[0]);
    std::vector<const t_fiche *> v;
    for (size_t i = 0; i < g.size(); ++i) {
        g[i].numero = int(i) + 1;
        v.push_back(&g[i]);
    }
    g[4].numero = 7;
    const std::string rien = "0 new features (none): levels 1 to 6 bring one each";
    EXPECT_EQ(
        dire_tout(verifier_lecons(v)),
        (t_p{{2, rien}, {3, rien}, {4, rien}, {4, "the idea descent in 4 levels: three at most"}}));
    EXPECT_TRUE(verifier_lecons({&g[4]}).empty());
    // The whole set: every feature comes, 24 ideas at least.
    std::vector<t_fiche> tous(NB_NIVEAUX, f[0]);
    v.clear();
    for (size_t i = 0; i < tous.size(); ++i) {
        tous[i].numero = int(i) + 1;
        tous[i].traits = i == 1 ? T_MONTEE : T_DESCENTE;
        // Means of 0, 2, 3 and 10 decoys per quarter: only the third falls short, of 4.
        tous[i].leurres = i < 12 ? 0 : i < 24 ? 2 : i < 36 ? 3 : 10;
        v.push_back(&tous[i]);
    }
    const std::vector<t_faute_lecon> faits = verifier_lecons(v);
    const t_p fin = dire_tout(faits);
    ASSERT_GE(fin.size(), 3U);
    EXPECT_EQ(std::make_tuple(faits.end()[-2].sorte, faits.end()[-2].traits),
              std::make_tuple(L_TRAITS_JAMAIS_VUS,
                              ((1U << NB_TRAITS) - 1) & ~unsigned(T_MONTEE | T_DESCENTE)));
    EXPECT_EQ(t_p(fin.end() - 3, fin.end()),
              (t_p{{48, "2 distinct ideas: 24 or more are needed"},
                   {48, "no level teaches hill, valley, flat on pieces, mirrored, upside down, "
                        "bridge, prop, counterweight, stack"},
                   {36, "a mean of 3.0 decoys over levels 25 to 36: 4 or more are needed"}}));
    EXPECT_EQ(leurres_par_quart(v), (std::array<double, QUARTS>{0, 2, 3, 10}));
    // A level left out of the list counts in no quarter's mean (the checker run on some files).
    tous[40].leurres = 1000;
    v.erase(v.begin() + 40);
    EXPECT_EQ(leurres_par_quart(v), (std::array<double, QUARTS>{0, 2, 3, 10}));
    EXPECT_EQ(leurres_par_quart({&tous[30]}), (std::array<double, QUARTS>{0, 0, 3, 0}));
}

// Three pieces touching side to side, one of them to place in each level, in the same cells
// relative to each other: the same motif moved anywhere or mirrored. Not when all three are
// starting pieces in one level, nor when one touches the others only at a corner.
TEST(Regles, Motifs) {
    const auto fiche = [](int numero, int tour, int bas, bool miroir, std::vector<int> a_placer,
                          int ecart = 1) {
        t_fiche f;
        f.numero = numero;
        f.scene.poser(ID_TOUR_1, forme_de(ID_TOUR_1, 0), tour, bas);
        f.scene.poser(ID_CUBE_AVEC_APPENDICE_1, forme_de(ID_CUBE_AVEC_APPENDICE_1, 0),
                      miroir ? tour - 1 : tour, bas + 3);
        f.scene.poser(ID_CUBE, forme_de(ID_CUBE, 0), miroir ? tour - ecart : tour + ecart, bas + 4);
        f.a_placer = std::move(a_placer);
        return f;
    };
    const t_fiche a = fiche(13, 0, 0, false, {ID_CUBE});
    const t_fiche b = fiche(20, 5, 1, true, {ID_CUBE_AVEC_APPENDICE_1});
    const std::vector<t_motif_commun> communs = motifs_communs(a, b);
    ASSERT_EQ(communs.size(), 1U);
    t_piecer piece[NB_PIECES];
    init_pieces(piece);
    EXPECT_EQ(dire_motif(piece, communs[0]),
              "CUBE, CUBE_AVEC_APENDICE_1 and TOUR_1 stand as in level 13, moved or mirrored: the "
              "same motif, with a piece to place in both");
    EXPECT_TRUE(partage_un_motif(motifs(a), motifs(b)));
    EXPECT_TRUE(motifs_communs(a, fiche(21, 2, 0, false, {})).empty());
    EXPECT_FALSE(partage_un_motif(motifs(a), motifs(fiche(21, 2, 0, false, {}))));
    // The cube one column farther: it touches the appendix only at a corner.
    EXPECT_TRUE(motifs(fiche(22, 0, 0, false, {ID_CUBE}, 2)).empty());
    // A fourth piece beside them adds motifs; the three in common still show.
    t_fiche c = fiche(23, 2, 0, false, {ID_CUBE});
    c.scene.poser(ID_TOUR_2, forme_de(ID_TOUR_2, 0), 1, 0);
    EXPECT_EQ(motifs(c).size(), 2U); // the two towers and the appendix, without the cube
    EXPECT_EQ(motifs_communs(b, c).size(), 1U);
}

// Each feature read on a hand-made board. `sur` is where the knight stands along his walk.
TEST(Regles, Traits) {
    const auto plateau = [](std::vector<std::array<int, 4>> pieces, std::vector<int> a_placer,
                            std::vector<t_lieu> sur, std::string chemin = "") {
        t_fiche f;
        for (const auto &[id, c, r, rotation] : pieces)
            f.scene.poser(id, forme_de(id, rotation), c, r);
        f.a_placer = a_placer;
        f.chemin.lieux = sur;
        f.chemin.forme = chemin;
        return nommer_traits(traits(f));
    };
    // The knight on top of each of the first three columns.
    const auto dessus = [](int id, int rotation) {
        t_scene s;
        s.poser(id, forme_de(id, rotation), 0, 0);
        std::vector<t_lieu> v;
        for (int c = 0; c < 3; ++c)
            for (int r = PLATEAU_HAUTEUR - 1; r >= 0; --r)
                if (s.cases[c][r] != -1) {
                    v.push_back({c, r + 1});
                    break;
                }
        return v;
    };
    // The walk.
    EXPECT_EQ(plateau({}, {}, {{0, 0}, {1, 1}, {2, 0}}, "+-"), "descent, climb, hill");
    EXPECT_EQ(plateau({}, {}, {{0, 1}, {1, 0}, {2, 1}}, "-+"), "descent, climb, valley");
    EXPECT_EQ(plateau({}, {}, {{0, 1}, {1, 1}, {2, 0}}, "=-"), "descent, flat on pieces");
    EXPECT_EQ(plateau({}, {}, {{0, 0}, {1, 0}}, "="), "none");
    // The big staircase to place, the knight on it: turned, and upside down.
    for (const auto &[rotation, nom] :
         std::vector<std::pair<int, std::string>>{{1, "none"},
                                                  {2, "mirrored"},
                                                  {3, "mirrored"},
                                                  {4, "upside down, bridge"},
                                                  {5, "upside down, bridge"},
                                                  {6, "none"}})
        EXPECT_EQ(plateau({{ID_GRAND_ESCALIER, 0, 0, rotation}}, {ID_GRAND_ESCALIER},
                          dessus(ID_GRAND_ESCALIER, rotation)),
                  nom)
            << rotation;
    // A bridge: the cell under the knight's foothold has nothing under it.
    EXPECT_EQ(plateau({{ID_TOUR_1, 0, 0, 0}, {ID_CUBE_AVEC_APPENDICE_1, 0, 3, 0}}, {}, {{1, 4}}),
              "bridge");
    EXPECT_EQ(plateau({{ID_TOUR_1, 0, 0, 0}}, {}, {{0, 3}}), "none");
    // A prop holds a starting piece up; a stack rests on a piece to place.
    EXPECT_EQ(plateau({{ID_CUBE, 0, 0, 0}, {ID_TOUR_1, 0, 1, 0}}, {ID_CUBE}, {{0, 4}}), "prop");
    EXPECT_EQ(plateau({{ID_CUBE, 0, 0, 0}, {ID_PETIT_ESCALIER_1, 0, 1, 1}},
                      {ID_CUBE, ID_PETIT_ESCALIER_1}, {{1, 3}}),
              "stack");
    // A counterweight: the cube on the appendix's left end keeps its weight, over the tower's
    // edge, from tipping; nothing rests on the cube and the knight never stands on it.
    t_fiche f;
    t_piecer piece[NB_PIECES];
    init();
    std::copy(jeu.piece, jeu.piece + NB_PIECES, piece);
    for (const auto &[id, c, r] : std::vector<std::array<int, 3>>{{ID_TOUR_1, 0, 0},
                                                                  {ID_CUBE_AVEC_APPENDICE_1, 0, 3},
                                                                  {ID_CUBE, 0, 4},
                                                                  {ID_CHEVALIER, 3, 0},
                                                                  {ID_PRINCESSE, 5, 0}}) {
        piece[id].dans_le_jeu = OUI;
        piece[id].colonne = c + PLATEAU_COLONNE;
        piece[id].ligne = r;
    }
    t_resolution r;
    r.a_placer = {ID_CUBE};
    f = ficher(1, piece, r);
    EXPECT_EQ(nommer_traits(f.traits), "counterweight");
}

// An image of the given cells painted all over in a dark green, which is not the images'
// see-through green, under the name nom.
void peindre(const std::string &nom, int largeur, int hauteur) {
    SDL_Surface *s = SDL_CreateRGBSurface(SDL_SWSURFACE, 100 * largeur, 100 * hauteur, 24, 0xff0000,
                                          0xff00, 0xff, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 128, 0));
    SDL_SaveBMP(s, nom.c_str());
    SDL_FreeSurface(s);
}

// The checker reads the images beside a level: one that paints over a cell of a piece drawn
// before it is refused, over a piece drawn after it is not (that piece is drawn again on top);
// one of the wrong size is refused.
TEST_F(Capture, ImagesDesPieces) {
    peindre("img_petit_escalier_debout_gauche.bmp", 2, 2);
    peindre("img_grand_escalier_debout_gauche.bmp", 3, 3);
    peindre("img_tour.bmp", 1, 2);
    bool sain = true;
    const auto messages = [&sain](std::vector<t_place> poses) {
        t_piecer piece[NB_PIECES], lu[NB_PIECES];
        poses.push_back({ID_CHEVALIER, 9, 0, 0});
        poses.push_back({ID_PRINCESSE, 9, 3, 0});
        seules(poses, piece);
        std::ofstream f("solution1.xml");
        ecrire_niveau(f, 1, piece);
        f.close();
        sain = true; // left from an earlier file
        std::vector<std::string> m;
        for (const t_probleme &p : verifier_fichier("solution1.xml", lu, sain))
            m.push_back(p.piece + ": " + p.message);
        return m;
    };
    EXPECT_EQ(messages({{ID_CUBE, 5, 2, 0},
                        {ID_CUBE_AVEC_APPENDICE_1, 5, 0, 0},
                        {ID_PETIT_ESCALIER_1, 5, 1, DEBOUT_GAUCHE}}),
              std::vector<std::string>{
                  "PETIT_ESCALIER_1: its image paints over cell (5, 2) of CUBE, drawn before it"});
    for (const std::string &m : messages({{ID_GRAND_ESCALIER, 4, 0, DEBOUT_GAUCHE},
                                          {ID_PETIT_ESCALIER_1, 4, 1, DROITE_DROITE}}))
        EXPECT_EQ(m.find("paints over"), std::string::npos) << m;
    EXPECT_EQ(messages({{ID_TOUR_1, 6, 0, 0}}),
              std::vector<std::string>{
                  "TOUR_1: its image img_tour.bmp is 100x200 pixels, its box needs 100x300"});
    EXPECT_FALSE(sain);
}

// The challenge sheet of level 30, drawn by the challenge mode's own code: the starting pieces
// on the board, the pieces to place off it, upright in the tray at columns 10 to 14 (the big
// staircase and the cube on its floor, the small ones at its top); '#' where a point of a cell's
// middle is neither the board's green nor the tray's (a character's image lets the green show
// around it).
TEST_F(Capture, DefiDessineLePlateauEtLePlateauDeRangement) {
    fs::copy_file(std::string(CAS_VERIFICATEUR) + "/solution30.xml", "solution30.xml");
    const std::string commande = std::string(CAPTURE_NIVEAU) + " --defi . 30 defi.bmp";
    ASSERT_EQ(std::system(commande.c_str()), 0);
    SDL_Surface *s = SDL_LoadBMP("defi.bmp");
    ASSERT_NE(s, nullptr);
    std::string croquis;
    for (int ligne = 5; ligne >= 0; --ligne) {
        for (int colonne = 0; colonne < 15; ++colonne) {
            bool piece = false;
            for (int dx : {30, 50, 70})
                for (int dy : {30, 50, 70}) {
                    const Uint32 p = couleur(s, colonne * 100 + dx, 750 - ligne * 100 - dy);
                    piece = piece || (p != 0x11ce70 && p != 0x78e2a0);
                }
            croquis += piece ? '#' : '.';
        }
        croquis += '\n';
    }
    SDL_FreeSurface(s);
    EXPECT_EQ(croquis, "....#....#.#..#\n"
                       "....#....###.##\n"
                       "....#..........\n"
                       "....#.......#..\n"
                       "....#......##..\n"
                       "....####..###.#\n");
}

} // namespace
