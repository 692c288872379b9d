// generateur.cpp: stacks dropped at random, the figures set on them, and the challenges made
// from a seed, the cheap rules tried before the balance and the solver.
#include "regles/generateur.h"

#include "regles/equilibre.h"
#include "regles/niveaux_livres.h"
#include "regles/solveur.h"
#include "regles/variete.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <system_error>
#include <thread>
#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// The board cells of every piece in play but k.
uint64_t cellules_des_autres(const t_piecer piece[NB_PIECES], int k) {
    uint64_t m = 0;
    for (int j = 0; j < NB_PIECES; ++j)
        if (j != k && piece[j].dans_le_jeu == OUI) m |= cellules(j, place_de(piece[j]));
    return m;
}

// Whether piece k, where it lies, has the middle of its cells over what holds it: between a
// tenth in from the outer ends of its held bottom faces (on the ground or on a piece), where the
// balance puts its pushes.
bool bien_assise(const t_piecer piece[NB_PIECES], int k) {
    const uint64_t autres = cellules_des_autres(piece, k);
    const uint64_t m = cellules(k, place_de(piece[k]));
    int dixiemes = 0, nb = 0, gauche = PLATEAU_LARGEUR, droite = -1;
    for (int b = 0; b < PLATEAU_LARGEUR * PLATEAU_HAUTEUR; ++b) {
        if ((m >> b & 1) == 0) continue;
        const int c = b % PLATEAU_LARGEUR;
        dixiemes += 10 * c + 5;
        ++nb;
        const bool au_sol = b < PLATEAU_LARGEUR;
        if (!au_sol && (m >> (b - PLATEAU_LARGEUR) & 1) != 0) continue; // its own cell below
        if (au_sol || (autres >> (b - PLATEAU_LARGEUR) & 1) != 0) {
            gauche = std::min(gauche, c);
            droite = std::max(droite, c);
        }
    }
    return droite >= 0 && dixiemes >= nb * (10 * gauche + 1) && dixiemes <= nb * (10 * droite + 9);
}

// Drops piece k, in a random orientation and column, from the top of the board as far as it
// falls; false when it does not fit even at the top.
bool laisser_tomber_une_fois(t_hasard &h, t_piecer piece[NB_PIECES], int k) {
    t_piecer &p = piece[k];
    p.rotation = est_escalier(k) ? orientation_distincte(1 + h.entre(NB_ORIENTATIONS)) : 0;
    const t_forme &f = *forme_de(k, p.rotation);
    p.colonne = PLATEAU_COLONNE + h.entre(PLATEAU_LARGEUR - f.largeur + 1);
    p.dans_le_jeu = OUI;
    p.ligne = PLATEAU_HAUTEUR - f.hauteur;
    const uint64_t autres = cellules_des_autres(piece, k);
    uint64_t m = cellules(k, place_de(p));
    if ((m & autres) != 0) return false;
    // One row down is six bits down; the box's lowest row is never row 0 while it falls.
    for (; p.ligne > 0 && ((m >> PLATEAU_LARGEUR) & autres) == 0; m >>= PLATEAU_LARGEUR) --p.ligne;
    return true;
}

// Drops piece k as above; `assise`, again until it lands well seated, four times at most.
bool laisser_tomber(t_hasard &h, t_piecer piece[NB_PIECES], int k, bool assise) {
    if (!assise) return laisser_tomber_une_fois(h, piece, k);
    for (int essai = 0; essai < 4; ++essai)
        if (laisser_tomber_une_fois(h, piece, k) && bien_assise(piece, k)) return true;
    return false;
}

// Drops a stack on the board: `a_placer` pieces to place and up to four starting pieces, in a
// random order, each as far as it falls; false when a piece does not fit even at the top (or,
// with four pieces to place, is not seated after four drops). With `escaliers`, the first two
// staircases drawn are among the pieces to place: a walk up then down needs two.
// With four pieces to place: one or two starting pieces, each piece seated (laisser_tomber());
// dropped as they come, most such stacks tip over, and with no starting piece none has one
// solution, so that a challenge took some thirty seconds to find and the levels' draws made few.
bool empiler(t_hasard &h, int a_placer, bool escaliers, t_piecer piece[NB_PIECES]) {
    std::vector<int> a_poser, depart;
    for (int k = 0; k < NB_PIECES; ++k)
        if (!est_figure(k)) (peut_etre_a_placer(k) ? a_poser : depart).push_back(k);
    h.melanger(a_poser);
    h.melanger(depart);
    if (escaliers) {
        // The first two staircases drawn first, the others after them in their drawn order.
        std::vector<int> ordre, autres;
        for (int k : a_poser) (est_escalier(k) && ordre.size() < 2 ? ordre : autres).push_back(k);
        ordre.insert(ordre.end(), autres.begin(), autres.end());
        a_poser = ordre;
    }
    a_poser.resize(size_t(a_placer));
    const bool vite = a_placer == 4;
    depart.resize(size_t(vite ? 1 + h.entre(2) : h.entre(5)));
    std::vector<int> ordre = a_poser;
    ordre.insert(ordre.end(), depart.begin(), depart.end());
    h.melanger(ordre);
    return std::all_of(ordre.begin(), ordre.end(),
                       [&](int k) { return laisser_tomber(h, piece, k, vite); });
}

// Every rule of a single level but the uniqueness of its solution.
bool valide(const t_piecer piece[NB_PIECES]) {
    bool pose = false;
    return verifier_placement(piece, peintures_des_formes(piece), pose).empty();
}

// Where a figure may stand on the stack: on the ground or on a solid cell, his two cells free,
// and nothing right above him, since the figures carry nothing.
std::vector<t_lieu> appuis(const t_scene &s) {
    std::vector<t_lieu> v;
    for (int c = 0; c < PLATEAU_LARGEUR; ++c)
        for (int h = 0; h + 1 < PLATEAU_HAUTEUR; ++h)
            if (s.cases[c][h] == -1 && s.cases[c][h + 1] == -1 &&
                (h + 2 == PLATEAU_HAUTEUR || s.cases[c][h + 2] == -1) &&
                (h == 0 || s.cases[c][h - 1] != -1))
                v.push_back({c, h});
    return v;
}

void placer(t_piecer &p, t_lieu l) {
    p.dans_le_jeu = OUI;
    p.colonne = l.c + PLATEAU_COLONNE;
    p.ligne = l.h;
}

// Unlike every shipped level: not one of them, as it stands, mirrored or moved sideways; and
// neither with the same figures and walk nor, with one or two pieces to place, with three
// quarters of the same cells as one of them as it stands or mirrored. Moved sideways, the
// shipped levels leave almost no level of four pieces to place with other figures and walk and
// other cells: a challenge would take minutes to find, or never be found.
bool nouveau(const t_fiche &f, const t_livres &livres) {
    const t_empreinte e = empreinte(f);
    const bool cellules = cellules_comparees(int(f.a_placer.size()));
    return std::none_of(livres.empreintes.begin(), livres.empreintes.end(),
                        [&](const t_empreinte &l) { return ressemble(l, e, false, cellules); });
}

// A place for each figure, and how likely it is drawn.
struct t_figures {
    t_lieu chevalier, princesse;
    int poids;
};

// The places of the figures on the stack where the knight walks to the princess with a change
// of height and the level is unlike the shipped ones, by the cheap rules only (placement and
// the walk, not the balance); a longer and steeper walk weighs more.
std::vector<t_figures> places_des_figures(const t_piecer piece[NB_PIECES], const t_livres &livres) {
    t_fiche f;
    f.scene = construire_scene(piece);
    for (int k = 0; k < NB_PIECES; ++k)
        if (est_a_placer(piece[k])) f.a_placer.push_back(k);
    t_scene &s = f.scene;
    const std::vector<t_lieu> lieux = appuis(s);
    const t_forme &figure = *forme_de(ID_CHEVALIER, 0);
    std::vector<t_figures> v;
    for (t_lieu p : lieux)
        for (t_lieu c : lieux) {
            if (c.c == p.c && c.h < p.h + 3 && p.h < c.h + 3) continue; // shared or stacked
            s.poser(ID_PRINCESSE, &figure, p.c, p.h);
            s.poser(ID_CHEVALIER, &figure, c.c, c.h);
            const t_verdict verdict = evaluer(s, false);
            f.chemin = verdict.chemin;
            const int montees = f.chemin.changements_de_hauteur();
            if (verdict.echec == E_AUCUN && montees > 0 && nouveau(f, livres))
                v.push_back({c, p, 1 + f.chemin.pas() + 3 * montees});
            s.enlever(ID_CHEVALIER);
            s.enlever(ID_PRINCESSE);
        }
    return v;
}

// The shipped levels as the comparisons see them, and their motifs with a piece to place.
t_livres livres_compares(const t_piecer depart[NB_PIECES]) {
    t_livres livres;
    livres.leurres = true;
    for (int n = 1; n <= NB_NIVEAUX; ++n) {
        t_piecer piece[NB_PIECES];
        std::copy(depart, depart + NB_PIECES, piece);
        for (int k = 0; k < NB_PIECES; ++k) {
            const t_piece_livree &l = NIVEAUX_LIVRES[n - 1][k];
            piece[k].dans_le_jeu = l.dans_le_jeu;
            piece[k].colonne = l.colonne;
            piece[k].ligne = l.ligne;
            piece[k].rotation = l.rotation;
        }
        const t_fiche f = ficher(n, piece, false);
        livres.empreintes.push_back(empreinte(f));
        for (const t_motif &m : motifs(f))
            if (m.a_placer) livres.motifs.push_back(m);
    }
    std::sort(livres.motifs.begin(), livres.motifs.end(),
              [](const t_motif &a, const t_motif &b) { return a.cle < b.cle; });
    return livres;
}

// Whether the stack, figures aside, shares a motif with a shipped level.
bool motif_livre(const t_piecer piece[NB_PIECES], const t_livres &livres) {
    if (livres.motifs.empty()) return false;
    t_fiche f;
    f.scene = construire_scene(piece);
    for (int k = 0; k < NB_PIECES; ++k)
        if (est_a_placer(piece[k])) f.a_placer.push_back(k);
    return partage_un_motif(motifs(f), livres.motifs);
}

} // namespace

bool cellules_comparees(int a_placer) {
    return a_placer < 3;
}

int leurres_minimum(int a_placer) {
    return a_placer >= 3 ? 3 : a_placer == 2 ? 1 : 0;
}

namespace {

// The levels stack number i makes, one for each place of the figures, in the order they are
// drawn: each is handed to `garder` with the pieces in `piece`, until it returns true.
template <typename F>
bool parcourir_niveaux(uint32_t graine, int a_placer, bool escaliers, long i,
                       const t_livres &livres, t_piecer piece[NB_PIECES], F garder) {
    // A stream of its own for each of the first 2^24 stacks of each seed and number of pieces;
    // past that, stack i shares the stream of stack i - 2^24 with one more piece to place (the
    // next seed's with one, after four), as six shipped levels' draws do: left so, since
    // another stream would change them and the seeds' challenges.
    t_hasard h(((uint64_t(graine) * 4 + uint64_t(a_placer - 1)) << 24) + uint64_t(i));
    if (!empiler(h, a_placer, escaliers, piece) || motif_livre(piece, livres)) return false;
    std::vector<t_figures> choix = places_des_figures(piece, livres);
    int total = 0;
    for (const t_figures &c : choix) total += c.poids;
    while (total > 0) {
        int tire = h.entre(total);
        size_t j = 0;
        while (tire >= choix[j].poids) tire -= choix[j++].poids;
        placer(piece[ID_CHEVALIER], choix[j].chevalier);
        placer(piece[ID_PRINCESSE], choix[j].princesse);
        total -= choix[j].poids;
        choix.erase(choix.begin() + long(j));
        if (!valide(piece)) continue;
        const t_resolution r = resoudre(piece, 2);
        if (r.solutions.size() != 1) continue;
        // The walk along which the level stands may differ from the one tried first.
        const t_fiche f = ficher(0, piece, r, false);
        if (f.chemin.changements_de_hauteur() == 0 || !nouveau(f, livres)) continue;
        if (livres.leurres && compter_leurres(piece) < leurres_minimum(a_placer)) continue;
        if (garder(static_cast<const t_piecer *>(piece))) return true;
    }
    return false;
}

} // namespace

bool tirer_defi(uint32_t graine, int a_placer, long i, const t_livres &livres,
                t_piecer piece[NB_PIECES]) {
    return parcourir_niveaux(graine, a_placer, false, i, livres, piece,
                             [](const t_piecer *) { return true; });
}

std::vector<std::array<t_piecer, NB_PIECES>> tirer_niveaux(uint32_t graine, int a_placer,
                                                           bool escaliers, long i,
                                                           const t_piecer depart[NB_PIECES]) {
    std::vector<std::array<t_piecer, NB_PIECES>> v;
    t_piecer piece[NB_PIECES];
    std::copy(depart, depart + NB_PIECES, piece);
    parcourir_niveaux(graine, a_placer, escaliers, i, {}, piece, [&](const t_piecer *p) {
        v.emplace_back();
        std::copy(p, p + NB_PIECES, v.back().begin());
        return false;
    });
    return v;
}

std::thread (*demarrer_ouvrier)(std::function<void()> travail) = [](std::function<void()> t) {
    return std::thread(std::move(t));
};

namespace {

// Raises the calling thread's niceness by `n`, where a thread has its own (Linux); elsewhere,
// and if the system refuses, it runs as it is.
void ralentir_ce_fil(int n) {
#ifdef __linux__
    const auto fil = static_cast<id_t>(syscall(SYS_gettid));
    errno = 0;
    const int actuelle = getpriority(PRIO_PROCESS, fil);
    if (errno == 0) setpriority(PRIO_PROCESS, fil, actuelle + n);
#else
    (void)n;
#endif
}

// Waits for the threads of f that were started; each ends within a stack once f is stopped.
void attendre_ouvriers(t_fabrication &f) {
    for (std::thread &t : f.ouvriers) t.join();
    f.ouvriers.clear();
}

// The shipped levels' prints and motifs, made once: the first making of a run pays for them.
const t_livres &empreintes_des_livres(const t_piecer depart[NB_PIECES]) {
    static const t_livres livres = livres_compares(depart);
    return livres;
}

} // namespace

t_fabrication::~t_fabrication() {
    arretee = true;
    attendre_ouvriers(*this);
}

bool lancer_fabrication(t_fabrication &f, uint32_t graine, int a_placer,
                        const t_piecer depart[NB_PIECES], unsigned fils,
                        std::function<void()> quand_finie) {
    attendre_ouvriers(f);
    f.finie = false;
    f.trouvee = -1;
    f.refus = 0;
    if (a_placer < 1 || a_placer > 4) {
        f.finie = true;
        return false;
    }
    std::copy(depart, depart + NB_PIECES, f.depart.begin());
    if (fils == SANS_FILS) {
        f.graine = graine;
        f.a_placer = a_placer;
        f.prochaine = 0;
        f.resultats.assign(1, {});
        return true;
    }
    empreintes_des_livres(depart); // before the threads, which share them
    const unsigned nb_fils = fils != 0 ? fils : std::max(1U, std::thread::hardware_concurrency());
    f.resultats.assign(nb_fils, {});
    f.restants = nb_fils;
    // A core stops once another has made a challenge from a stack before its next one.
    const auto premier_avant = [&f](long i) {
        const long t = f.trouvee.load();
        return t != -1 && t < i;
    };
    const auto travailler = [&f, graine, a_placer, nb_fils, premier_avant,
                             quand_finie](unsigned n) {
        if (f.gentillesse != 0) ralentir_ce_fil(f.gentillesse);
        for (long i = n; !f.arretee && !premier_avant(i); i += nb_fils) {
            t_piecer essai[NB_PIECES];
            std::copy(f.depart.begin(), f.depart.end(), essai);
            ++f.piles;
            if (!tirer_defi(graine, a_placer, i, empreintes_des_livres(f.depart.data()), essai))
                continue;
            std::copy(essai, essai + NB_PIECES, f.resultats[n].begin());
            long t = f.trouvee.load();
            while ((t == -1 || i < t) && !f.trouvee.compare_exchange_weak(t, i)) {
            }
            break;
        }
        liberer_equilibre();
        // The last to end says so, once every result is written.
        if (--f.restants == 0) {
            f.finie = true;
            if (quand_finie) quand_finie();
        }
    };
    try {
        f.ouvriers.reserve(nb_fils);
        for (unsigned n = 0; n < nb_fils; ++n)
            f.ouvriers.push_back(demarrer_ouvrier([travailler, n] { travailler(n); }));
        return true;
    } catch (const std::system_error &e) {
        f.refus = e.code().value() != 0 ? e.code().value() : EAGAIN;
    } catch (const std::bad_alloc &) {
        f.refus = ENOMEM;
    }
    // Fewer cores would draw other stacks and so make another challenge from the seed: none is
    // made rather than that one. Those started are stopped, and the making left as its caller
    // set it.
    const bool arretee = f.arretee.exchange(true);
    attendre_ouvriers(f);
    f.arretee = arretee;
    f.finie = true;
    return false;
}

bool avancer_fabrication(t_fabrication &f, long piles) {
    if (f.finie) return true;
    const t_livres &livres = empreintes_des_livres(f.depart.data());
    for (long n = 0; n < piles && !f.arretee; ++n) {
        t_piecer essai[NB_PIECES];
        std::copy(f.depart.begin(), f.depart.end(), essai);
        const long i = f.prochaine++;
        ++f.piles;
        if (!tirer_defi(f.graine, f.a_placer, i, livres, essai)) continue;
        std::copy(essai, essai + NB_PIECES, f.resultats[0].begin());
        f.trouvee = i;
        break;
    }
    if (!f.arretee && f.trouvee == -1) return false;
    liberer_equilibre();
    f.finie = true;
    return true;
}

bool finir_fabrication(t_fabrication &f, t_piecer piece[NB_PIECES]) {
    attendre_ouvriers(f);
    const long t = f.trouvee;
    if (f.arretee || t == -1 || f.resultats.empty()) return false;
    const auto &r = f.resultats[size_t(t) % f.resultats.size()];
    std::copy(r.begin(), r.end(), piece);
    return true;
}

bool fabriquer_defi(uint32_t graine, int a_placer, const t_piecer depart[NB_PIECES],
                    t_piecer piece[NB_PIECES], t_fabrication *suivi, unsigned fils) {
    t_fabrication local;
    t_fabrication &f = suivi != nullptr ? *suivi : local;
    return lancer_fabrication(f, graine, a_placer, depart, fils) && finir_fabrication(f, piece);
}
