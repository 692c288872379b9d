// verifier_niveaux.cpp: checks level files as the viewer reads them.
// Usage: verifier_niveaux FILE_OR_FOLDER...  (a folder: every solution*.xml in it)
// Prints one line per problem, "file: piece: what is wrong", and exits 1 if there is any.
#include "verification.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

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
    struct t_lu {
        std::string fichier;
        t_piecer piece[NB_PIECES];
    };
    std::vector<t_lu> lus(fichiers.size());
    int problemes = 0;
    for (size_t i = 0; i < fichiers.size(); ++i) {
        lus[i].fichier = fichiers[i];
        for (const t_probleme &p : verifier_fichier(fichiers[i], lus[i].piece)) {
            std::printf("%s: %s: %s\n", fichiers[i].c_str(), p.piece.c_str(), p.message.c_str());
            ++problemes;
        }
        for (size_t j = 0; j < i; ++j)
            if (meme_solution(lus[i].piece, lus[j].piece)) {
                std::printf("%s: -: same solution as %s\n", fichiers[i].c_str(),
                            lus[j].fichier.c_str());
                ++problemes;
                break;
            }
    }
    if (problemes == 0)
        std::printf("%zu level file%s checked, no problem\n", fichiers.size(),
                    fichiers.size() == 1 ? "" : "s");
    return problemes == 0 ? 0 : 1;
}
