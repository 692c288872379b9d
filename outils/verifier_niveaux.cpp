// verifier_niveaux.cpp: checks level files as the viewer reads them, each level's challenge
// with the solver, and the levels against each other.
// Usage: verifier_niveaux FILE_OR_FOLDER...  (a folder: every solution*.xml in it)
// Prints one line per problem, "file: piece: what is wrong", one line per sound level with its
// difficulty, its decoys, its pieces to place and its features, and the mean count of decoys
// per quarter of the levels; exits 1 if there is any problem.
#include "redaction.h"
#include "regles/equilibre.h"
#include "regles/variete.h"
#include "verification.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct t_niveau {
    std::string fichier;
    t_piecer piece[NB_PIECES];
    std::vector<t_probleme> problemes;
    std::unique_ptr<t_fiche> fiche; // a sound level with one solution
};

// The level's number in its file name solutionN.xml, 0 for another name.
int numero(const std::string &fichier) {
    const std::string nom = fs::path(fichier).filename().string();
    int n = 0;
    char fin = 0;
    return std::sscanf(nom.c_str(), "solution%d.xm%c", &n, &fin) == 2 && fin == 'l' ? n : 0;
}

std::string noms(const t_piecer piece[NB_PIECES], const std::vector<int> &ids) {
    std::string s;
    for (int id : ids) s += (s.empty() ? "" : " ") + std::string(piece[id].nom);
    return s;
}

// A level that keeps the placement rules: its challenge has one solution, its own.
void verifier_defi(t_niveau &n) {
    if (!n.problemes.empty()) return;
    const t_resolution r = resoudre(n.piece, 2);
    if (r.a_placer.empty()) {
        n.problemes.push_back({"-", "has no piece to place: the challenge needs one or more"});
        return;
    }
    const std::vector<t_pose> propre = poses_du_niveau(n.piece);
    for (const auto &autre : r.solutions) {
        if (meme_facon(autre, propre)) continue;
        std::string facon;
        for (const t_pose &p : autre)
            facon += std::string(facon.empty() ? "" : ", ") + n.piece[p.id].nom + " at (" +
                     std::to_string(p.colonne) + ", " + std::to_string(p.ligne) + ") turned " +
                     std::to_string(p.rotation);
        n.problemes.push_back({"-", "its challenge has another solution: " + facon});
        return;
    }
    // The level's own way keeps every rule: a search that misses it is at fault.
    if (r.solutions.empty()) {
        n.problemes.push_back({"-", "the solver does not find the level's own solution"});
        return;
    }
    n.fiche = std::make_unique<t_fiche>(ficher(numero(n.fichier), n.piece, r));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: verifier_niveaux FILE_OR_FOLDER...\n");
        return 2;
    }
    std::vector<std::string> fichiers;
    for (int i = 1; i < argc; ++i) {
        std::error_code erreur;
        if (!fs::is_directory(argv[i], erreur)) {
            fichiers.emplace_back(argv[i]);
            continue;
        }
        std::vector<std::string> dossier;
        for (const auto &e : fs::directory_iterator(argv[i], erreur)) {
            const std::string nom = e.path().filename().string();
            if (nom.rfind("solution", 0) == 0 && e.path().extension() == ".xml")
                dossier.push_back(e.path().string());
        }
        // solution2.xml before solution10.xml
        std::sort(dossier.begin(), dossier.end(), [](const std::string &a, const std::string &b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;
        });
        fichiers.insert(fichiers.end(), dossier.begin(), dossier.end());
    }

    // The levels one by one: the files are read in turn, since the viewer's reader works in the
    // working directory; the solver, which takes most of the time, runs on every core.
    std::vector<t_niveau> niveaux(fichiers.size());
    for (size_t i = 0; i < fichiers.size(); ++i) {
        niveaux[i].fichier = fichiers[i];
        bool sain = false;
        niveaux[i].problemes = verifier_fichier(fichiers[i], niveaux[i].piece, sain);
    }
    std::vector<std::thread> fils;
    const size_t nb_fils = std::max(1U, std::thread::hardware_concurrency());
    for (size_t f = 0; f < nb_fils; ++f)
        fils.emplace_back([&, f] {
            for (size_t i = f; i < niveaux.size(); i += nb_fils) verifier_defi(niveaux[i]);
            liberer_equilibre();
        });
    for (std::thread &t : fils) t.join();

    int problemes = 0;
    const auto signaler = [&](const std::string &fichier, const std::string &piece,
                              const std::string &m) {
        std::printf("%s: %s: %s\n", fichier.c_str(), piece.c_str(), m.c_str());
        ++problemes;
    };
    const t_fiche *premiers[3] = {};
    std::vector<const t_fiche *> fiches; // the sound levels, in order
    for (size_t i = 0; i < niveaux.size(); ++i) {
        const t_niveau &n = niveaux[i];
        for (const t_probleme &p : n.problemes) signaler(n.fichier, p.piece, p.message);
        if (!n.fiche) continue;
        const t_fiche &f = *n.fiche;
        std::printf("%s: difficulty %d, %d decoy%s, %zu piece%s to place (%s), walk %s, %lld poses "
                    "tried, features: %s\n",
                    n.fichier.c_str(), f.difficulte(), f.leurres, f.leurres == 1 ? "" : "s",
                    f.a_placer.size(), f.a_placer.size() == 1 ? "" : "s",
                    noms(n.piece, f.a_placer).c_str(), f.chemin.forme.c_str(), f.essais,
                    nommer_traits(f.traits).c_str());
        for (const std::string &m : dire_pareils(fiches, f, n.piece)) signaler(n.fichier, "-", m);
        const size_t nb = fiches.size();
        for (const t_faute_courbe &c : verifier_courbe(nb > 0 ? fiches[nb - 1] : nullptr, f,
                                                       nb > 1 ? fiches[nb - 2] : nullptr))
            signaler(n.fichier, "-", dire_courbe(c));
        fiches.push_back(&f);
        if (f.numero == 1 || f.numero == 2) premiers[f.numero] = &f;
    }
    std::map<int, std::string> fichier_du_niveau;
    for (const t_niveau &n : niveaux)
        if (n.fiche) fichier_du_niveau.emplace(n.fiche->numero, n.fichier);
    // The decoys per quarter, of the levels whose numbers fall in it.
    const std::array<double, QUARTS> moyennes = leurres_par_quart(fiches);
    std::string quarts;
    for (int q = 0; q < QUARTS; ++q) {
        const int premier = q * NB_NIVEAUX / QUARTS + 1, dernier = (q + 1) * NB_NIVEAUX / QUARTS;
        if (std::none_of(fiches.begin(), fiches.end(), [&](const t_fiche *f) {
                return f->numero >= premier && f->numero <= dernier;
            }))
            continue;
        char texte[64];
        std::snprintf(texte, sizeof texte, "%s%d to %d: %.1f", quarts.empty() ? "" : ", ", premier,
                      dernier, moyennes[size_t(q)]);
        quarts += texte;
    }
    if (!quarts.empty()) std::printf("mean decoys per level, levels %s\n", quarts.c_str());
    for (const t_faute_lecon &l : verifier_lecons(fiches))
        signaler(fichier_du_niveau[l.niveau], "-", dire_lecon(l));
    if ((premiers[1] || premiers[2]) && !escalier_au_debut(premiers[1], premiers[2]))
        signaler(niveaux.front().fichier, "-",
                 "neither level 1 nor level 2 has a staircase to place");
    if (problemes == 0)
        std::printf("%zu level file%s checked, no problem\n", fichiers.size(),
                    fichiers.size() == 1 ? "" : "s");
    return problemes == 0 ? 0 : 1;
}
