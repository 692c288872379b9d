// aide.cpp: the tests' shared helpers.
#include "aide.h"

#include "jeu/modele.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

void remettre_etat() {
    std::memset(&jeu, 0, sizeof jeu);
    std::memset(pieces, 0, sizeof pieces);
    std::memset(matrice, 0, sizeof matrice);
    std::memset(&event, 0, sizeof event);
    change = 0;
    niveau = 19;
    id_piece_prise = -1;
    pos_x_sur_grille = -1;
    pos_y_sur_grille = -1;
    autoriser_rotation = 1;
    init();
}

void ecrire_fichier(const std::string &nom, const std::string &texte) {
    std::ofstream(nom, std::ios::binary) << texte;
}

std::string cle_du_defi(const t_piecer piece[NB_PIECES]) {
    std::string s;
    for (int k = 0; k < NB_PIECES; ++k)
        if (piece[k].dans_le_jeu == OUI)
            s += std::to_string(k) + "@" + std::to_string(piece[k].colonne) + "," +
                 std::to_string(piece[k].ligne) + "," + std::to_string(piece[k].rotation) + " ";
    return s;
}

std::string lire_fichier(const std::string &nom) {
    std::ifstream f(nom, std::ios::binary);
    if (!f) return "<absent>";
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

Uint32 couleur(SDL_Surface *s, int x, int y) {
    SDL_LockSurface(s);
    const auto *ligne = static_cast<const Uint8 *>(s->pixels) + y * s->pitch;
    Uint32 pixel = 0;
    std::memcpy(&pixel, ligne + x * s->format->BytesPerPixel, s->format->BytesPerPixel);
    SDL_UnlockSurface(s);
    Uint8 r, g, b;
    SDL_GetRGB(pixel, s->format, &r, &g, &b);
    return static_cast<Uint32>(r) << 16 | static_cast<Uint32>(g) << 8 | b;
}

void DansDossier::SetUp() {
    ancien_ = std::filesystem::current_path();
    char modele[] = "/tmp/valdrune-test-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
    std::filesystem::current_path(dossier_);
    remettre_etat();
}

void DansDossier::TearDown() {
    std::filesystem::current_path(ancien_);
    std::filesystem::remove_all(dossier_);
}
