// verification.cpp: a level file read through the viewer's reader, and its checks.
#include "verification.h"

#include "niveau/lecture.h"
#include "niveau/pieces.h"

#include <SDL.h>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// Pixels per cell in the images.
constexpr int CASE = 100;

// Reads the file as the viewer would, every field first set to `temoin`.
void charger(const std::string &chemin, int temoin, t_piecer lu[NB_PIECES]) {
    init_pieces(lu);
    for (int k = 0; k < NB_PIECES; ++k)
        for (const t_balise &b : BALISES) lu[k].*b.champ = temoin;
    lire_niveau(chemin.c_str(), lu);
}

// What an image holds for the checks: its size, and the cells it paints.
struct t_image_lue {
    std::string erreur;
    int largeur = 0, hauteur = 0;
    t_forme peinte;
};

t_image_lue lire_image(const fs::path &chemin, bool cle_verte) {
    t_image_lue image;
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface *)> s(SDL_LoadBMP(chemin.c_str()),
                                                            SDL_FreeSurface);
    if (!s) {
        image.erreur = SDL_GetError();
        return image;
    }
    image.largeur = s->w;
    image.hauteur = s->h;
    const int lc = s->w / CASE, hc = s->h / CASE;
    image.peinte.largeur = lc;
    image.peinte.hauteur = hc;
    image.peinte.lignes.assign(size_t(hc), std::string(size_t(lc), cle_verte ? '.' : '#'));
    if (!cle_verte) return image;
    SDL_LockSurface(s.get());
    const int octets = s->format->BytesPerPixel;
    for (int y = 0; y < hc * CASE; ++y)
        for (int x = 0; x < lc * CASE; ++x) {
            Uint32 pixel = 0;
            const auto *p = static_cast<const Uint8 *>(s->pixels) + y * s->pitch + x * octets;
            std::memcpy(&pixel, p, size_t(octets));
            Uint8 r, g, b;
            SDL_GetRGB(pixel, s->format, &r, &g, &b);
            if (r != 0 || g != 255 || b != 0)
                image.peinte.lignes[size_t(y / CASE)][size_t(x / CASE)] = '#';
        }
    SDL_UnlockSurface(s.get());
    return image;
}

int compter_jetons(const std::string &texte) {
    std::istringstream flux(texte);
    std::string jeton;
    int n = 0;
    while (flux >> jeton) ++n;
    return n;
}

} // namespace

std::vector<t_probleme> verifier_fichier(const std::string &chemin, t_piecer lu[NB_PIECES],
                                         bool &sain) {
    sain = false;
    std::vector<t_probleme> problemes;
    const auto signaler = [&](const std::string &piece, const std::string &m) {
        problemes.push_back({piece, m});
    };
    std::ifstream f(chemin, std::ios::binary);
    std::ostringstream texte;
    if (!f || !(texte << f.rdbuf()) || fs::is_directory(chemin)) {
        signaler("-", "cannot be read");
        return problemes;
    }
    const int jetons = compter_jetons(texte.str());
    if (jetons > NB_JETONS)
        signaler("-", "has " + std::to_string(jetons) +
                          " tokens; the viewer reads only the first " + std::to_string(NB_JETONS));

    // Twice, from two different start values: a field that keeps its start value both times
    // was never named.
    t_piecer a[NB_PIECES], b[NB_PIECES];
    charger(chemin, -777777, a);
    charger(chemin, 888888, b);
    std::copy(b, b + NB_PIECES, lu);
    bool sains = true;
    for (int k = 0; k < NB_PIECES; ++k) {
        std::string manquants;
        for (const t_balise &c : BALISES)
            if (a[k].*c.champ == -777777 && b[k].*c.champ == 888888)
                manquants += std::string(manquants.empty() ? "" : ", ") + c.texte;
        if (!manquants.empty()) {
            signaler(lu[k].nom, "does not name " + manquants);
            sains = false;
        }
    }
    if (!sains) return problemes;

    const fs::path dossier = fs::path(chemin).parent_path();
    std::map<std::string, t_image_lue> images;
    t_peintures peintures(NB_PIECES, nullptr);
    for (int k = 0; k < NB_PIECES; ++k) {
        const t_piecer &p = lu[k];
        if (p.dans_le_jeu != NON && p.dans_le_jeu != OUI) {
            signaler(p.nom, "dans_le_jeu is " + std::to_string(p.dans_le_jeu) + ", not 0 or 1");
            sains = false;
            continue;
        }
        const bool oriente = est_escalier(k) && p.dans_le_jeu == OUI;
        if (oriente && (p.rotation < 1 || p.rotation > NB_ORIENTATIONS)) {
            signaler(p.nom,
                     "rotation is " + std::to_string(p.rotation) + ", not an orientation 1 to 6");
            sains = false;
            continue;
        }
        if (!oriente && p.rotation != 0) {
            signaler(p.nom, "rotation is " + std::to_string(p.rotation) + ", not 0" +
                                (est_escalier(k) ? " for a staircase out of play"
                                                 : " for a piece without orientations"));
            sains = false;
        }
        if (p.dans_le_jeu != OUI) continue;
        const t_forme &forme = *forme_de(k, p.rotation);
        if (p.largeur != forme.largeur || p.hauteur != forme.hauteur) {
            signaler(p.nom, "box " + std::to_string(p.largeur) + "x" + std::to_string(p.hauteur) +
                                " (largeur x hauteur) is not its shape's " +
                                std::to_string(forme.largeur) + "x" +
                                std::to_string(forme.hauteur));
            sains = false;
            continue;
        }
        const std::string nom_image = fichier_image(k, p.rotation);
        if (nom_image.empty()) {
            peintures[k] = &forme; // the figures are plain tiles of their box
            continue;
        }
        auto [it, nouvelle] = images.try_emplace(nom_image);
        if (nouvelle) it->second = lire_image(dossier / nom_image, est_escalier(k));
        const t_image_lue &image = it->second;
        if (!image.erreur.empty()) {
            signaler(p.nom, "its image " + nom_image + " cannot be read: " + image.erreur);
            sains = false;
        } else if (image.largeur != forme.largeur * CASE || image.hauteur != forme.hauteur * CASE) {
            signaler(p.nom, "its image " + nom_image + " is " + std::to_string(image.largeur) +
                                "x" + std::to_string(image.hauteur) + " pixels, its box needs " +
                                std::to_string(forme.largeur * CASE) + "x" +
                                std::to_string(forme.hauteur * CASE));
            sains = false;
        } else {
            peintures[k] = &image.peinte;
        }
    }
    if (!sains) return problemes;
    for (const t_faute &f : verifier_placement(lu, peintures, sain))
        problemes.push_back(dire_faute(lu, f));
    return problemes;
}

void ecrire_niveau(std::ostream &f, int numero, const t_piecer piece[NB_PIECES]) {
    f << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<solution niveau=\"" << numero << "\">\n";
    for (int k = 0; k < NB_PIECES; ++k) {
        t_piecer p{};
        if (piece[k].dans_le_jeu == OUI) {
            p = piece[k];
            const t_forme *f = forme_de(k, p.rotation); // none for an orientation out of range
            p.hauteur = f != nullptr ? f->hauteur : 0;
            p.largeur = f != nullptr ? f->largeur : 0;
        }
        f << "<piece>\n<id>" << k << "</id>\n<ligne>" << p.ligne << "</ligne>\n<colonne>"
          << p.colonne << "</colonne>\n<rotation>" << p.rotation << "</rotation>\n<hauteur>"
          << p.hauteur << "</hauteur>\n<largeur>" << p.largeur << "</largeur>\n<dans_le_jeu>"
          << p.dans_le_jeu << "</dans_le_jeu>\n</piece>\n";
    }
    f << "</solution>\n";
}
