// progres.cpp: the progress file: one line per level solved ("19 résolu 2": level, hints) or
// whose solution was seen ("20 vu"), and the pieces to place last chosen ("pièces 3").
#include "defi/progres.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool niveau_valide(int n) {
    return n >= 1 && n <= NB_NIVEAUX;
}

// The folder that holds `fichier`, where its temporary file is made and which is locked.
std::string dossier_de(const std::string &fichier) {
    const size_t barre = fichier.rfind('/');
    if (barre == std::string::npos) return ".";
    return barre == 0 ? "/" : fichier.substr(0, barre);
}

// Reads the file into p; 0, or why it exists but cannot be read. A link is not followed, nor
// anything but a plain file opened (a pipe planted there would block).
int lire(const char *fichier, t_progres &p) {
    p = t_progres();
    const int fd = open(fichier, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd == -1) return errno == ENOENT ? 0 : errno;
    p.trouve = OUI;
    struct stat etat {};
    const int examen = fstat(fd, &etat) != 0    ? errno
                       : S_ISDIR(etat.st_mode)  ? EISDIR
                       : !S_ISREG(etat.st_mode) ? EINVAL
                                                : 0;
    if (examen != 0) {
        close(fd);
        return examen;
    }
    std::FILE *f = fdopen(fd, "r");
    if (f == nullptr) {
        const int raison = errno;
        close(fd);
        return raison;
    }
    errno = 0;
    char ligne[256];
    while (std::fgets(ligne, sizeof ligne, f) != nullptr) {
        int n = 0, indices = 0;
        char mot[16] = "", reste = 0;
        if (std::strcmp(ligne, "règles vues\n") == 0 || std::strcmp(ligne, "règles vues") == 0) {
            p.regles_vues = OUI;
            continue;
        }
        if (std::sscanf(ligne, "pièces %d %c", &n, &reste) == 1 && n >= 1 && n <= 4) {
            p.pieces = n;
            continue;
        }
        // The whole line, numbers in range: anything else is not a record.
        const int lus = std::sscanf(ligne, "%2d %15s %9d %c", &n, mot, &indices, &reste);
        if (lus == 3 && std::strcmp(mot, "résolu") == 0 && indices >= 0)
            noter_resolu(p, n, indices);
        else if (lus == 2 && std::strcmp(mot, "vu") == 0)
            noter_vu(p, n);
    }
    const int raison = std::ferror(f) != 0 ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(f);
    p.pieces_lues = p.pieces;
    return raison;
}

std::string expliquer(const char *fichier, int raison) {
    if (raison == ELOOP) return std::string(fichier) + " : un lien, laissé tel quel";
    return std::string(fichier) + " : " + std::strerror(raison);
}

std::string en_texte(const t_progres &p) {
    std::string t = "# Valdrune : défis résolus (niveau, indices pris) et solutions vues\n";
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        if (p.avancement[n] == AV_RESOLU)
            t += std::to_string(n) + " résolu " + std::to_string(p.indices[n]) + "\n";
        if (p.avancement[n] == AV_VU) t += std::to_string(n) + " vu\n";
    }
    if (p.pieces != 0) t += "pièces " + std::to_string(p.pieces) + "\n";
    if (p.regles_vues == OUI) t += "règles vues\n";
    return t;
}

bool tout_ecrire(int fd, const std::string &t) {
    for (size_t fait = 0; fait < t.size();) {
        const ssize_t n = write(fd, t.data() + fait, t.size() - fait);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        fait += size_t(n);
    }
    return true;
}

// How the temporary files beside `fichier` begin: ".progression.txt.", then the process's
// number and a count.
std::string debut_provisoire(const std::string &fichier) {
    const size_t barre = fichier.rfind('/');
    return barre == std::string::npos
               ? "." + fichier + "."
               : fichier.substr(0, barre + 1) + "." + fichier.substr(barre + 1) + ".";
}

// A temporary file of our own beside `fichier`: a name no one else uses, made here, so that
// nothing planted at a name is opened. -1 with errno when none can be made.
int creer_provisoire(const std::string &fichier, std::string &nom) {
    static unsigned compte = 0;
    const std::string debut = debut_provisoire(fichier);
    for (int essai = 0; essai < 100; ++essai) {
        nom = debut + std::to_string(getpid()) + "." + std::to_string(compte++);
        const int fd =
            open(nom.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd != -1 || errno != EEXIST) return fd;
    }
    return -1;
}

// Flushes the folder, so that the new name survives a crash. A file system that cannot flush
// a folder says EINVAL: there is nothing more to do then.
bool vider_dossier(const std::string &dossier) {
#ifdef __EMSCRIPTEN__
    (void)dossier; // the browser's files live in memory
    return true;
#else
    const int fd = open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1) return false;
    const bool vide = fsync(fd) == 0 || errno == EINVAL;
    const int raison = errno;
    close(fd);
    errno = raison;
    return vide;
#endif
}

// Holds the folder's advisory lock while alive: every save, in this process or another, and
// the launcher's bringing of the folder in line, take it in turn. Where the file system has no
// locks the save goes on without one.
class t_verrou {
  public:
    explicit t_verrou(const std::string &dossier) {
#ifndef __EMSCRIPTEN__
        fd_ = open(dossier.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ == -1) return;
        int r = 0;
        while ((r = flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        tenu_ = r == 0;
#else
        (void)dossier; // one page, one program: nothing to share the file with
#endif
    }
    ~t_verrou() {
        if (fd_ != -1) close(fd_);
    }
    t_verrou(const t_verrou &) = delete;
    t_verrou &operator=(const t_verrou &) = delete;
    bool tenu() const {
        return tenu_;
    }

  private:
    int fd_ = -1;
    bool tenu_ = false;
};

// Under the lock, a temporary file beside `fichier` is one a save left when its process was
// killed before the rename: it goes once that process is gone. Nothing else is touched.
void balayer(const std::string &fichier) {
#ifndef __EMSCRIPTEN__
    const std::string dossier = dossier_de(fichier), debut = debut_provisoire(fichier);
    const std::string prefixe = debut.substr(debut.rfind('/') + 1);
    DIR *d = opendir(dossier.c_str());
    if (d == nullptr) return;
    while (const dirent *e = readdir(d)) {
        const std::string nom = e->d_name;
        if (nom.compare(0, prefixe.size(), prefixe) != 0) continue;
        const std::string reste = nom.substr(prefixe.size());
        const size_t point = reste.find('.');
        if (point == 0 || point == std::string::npos || point + 1 == reste.size() ||
            reste.find_first_not_of("0123456789.") != std::string::npos ||
            reste.find('.', point + 1) != std::string::npos)
            continue;
        const long pid = std::strtol(reste.c_str(), nullptr, 10);
        if (pid <= 0 || pid == getpid() || kill(pid_t(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat etat {};
        if (fstatat(dirfd(d), nom.c_str(), &etat, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(etat.st_mode))
            unlinkat(dirfd(d), nom.c_str(), 0);
    }
    closedir(d);
#else
    (void)fichier;
#endif
}

} // namespace

bool lire_progres(const char *fichier, t_progres &p) {
    return lire(fichier, p) == 0;
}

bool ecrire_progres(const t_progres &p, const char *fichier, std::string &erreur) {
    std::string provisoire;
    const int fd = creer_provisoire(fichier, provisoire);
    bool ecrit = fd != -1 && tout_ecrire(fd, en_texte(p)) && fsync(fd) == 0;
    int raison = errno;
    if (fd != -1 && close(fd) != 0 && ecrit) {
        ecrit = false;
        raison = errno;
    }
    if (ecrit && std::rename(provisoire.c_str(), fichier) != 0) {
        ecrit = false;
        raison = errno;
    }
    if (!ecrit) {
        erreur = expliquer(fichier, raison);
        // Only the temporary file made here goes.
        if (fd != -1) unlink(provisoire.c_str());
        return false;
    }
    if (!vider_dossier(dossier_de(fichier))) {
        erreur = expliquer(fichier, errno);
        return false;
    }
    return true;
}

void fusionner_progres(t_progres &p, const t_progres &lu) {
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        if (lu.avancement[n] == AV_RESOLU) noter_resolu(p, n, lu.indices[n]);
        if (lu.avancement[n] == AV_VU) noter_vu(p, n);
    }
    // The choice made last is the file's unless this run has made one since it read it.
    if (p.pieces == p.pieces_lues) p.pieces = lu.pieces;
    p.pieces_lues = lu.pieces;
    if (lu.regles_vues == OUI) p.regles_vues = OUI;
    if (lu.trouve == OUI) p.trouve = OUI;
}

bool enregistrer_progres(t_progres &p, const char *fichier, std::string &erreur) {
    const t_verrou verrou(dossier_de(fichier));
    if (verrou.tenu()) balayer(fichier);
    t_progres lu;
    const int raison = lire(fichier, lu);
    if (raison != 0) {
        erreur = expliquer(fichier, raison);
        return false;
    }
    fusionner_progres(p, lu);
    if (!ecrire_progres(p, fichier, erreur)) return false;
    p.pieces_lues = p.pieces;
    return true;
}

void noter_resolu(t_progres &p, int n, int indices) {
    if (!niveau_valide(n)) return;
    if (p.avancement[n] != AV_RESOLU || indices < p.indices[n]) p.indices[n] = indices;
    p.avancement[n] = AV_RESOLU;
}

void noter_vu(t_progres &p, int n) {
    if (niveau_valide(n) && p.avancement[n] == AV_RIEN) p.avancement[n] = AV_VU;
}

int premier_non_resolu(const t_progres &p) {
    for (int n = 1; n <= NB_NIVEAUX; ++n)
        if (p.avancement[n] != AV_RESOLU) return n;
    return 1;
}

int nombre_resolus(const t_progres &p) {
    int n = 0;
    for (int a : p.avancement) n += a == AV_RESOLU;
    return n;
}
