// generateur.h: levels made at random: stacks dropped on the board piece by piece, the figures
// set where a walk joins them, and challenges that the solver proves to have one solution.
#pragma once

#include "niveau/niveau.h"
#include "regles/variete.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

// A small generator of its own, so that a seed makes the same level on every machine.
struct t_hasard {
    uint64_t etat;
    explicit t_hasard(uint64_t graine)
        : etat(graine * 0x9e3779b97f4a7c15ULL + 0x5a1d7e3b9c4f2a61ULL) {}
    uint32_t suivant() {
        etat += 0x9e3779b97f4a7c15ULL;
        uint64_t z = etat;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
    }
    int entre(int n) { return static_cast<int>(suivant() % static_cast<uint32_t>(n)); }
    template <typename T> void melanger(std::vector<T> &v) {
        for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[size_t(entre(int(i)))]);
    }
};

// What a random challenge is held to besides the rules: to be like none of the shipped levels
// (their prints, as ressemble() judges without `decale`), to share no motif with them (every
// motif of theirs with a piece to place, by key), and to have decoys enough for its pieces to
// place (leurres_minimum()). Empty, with `leurres` false, for the draws of the shipped levels.
struct t_livres {
    std::vector<t_empreinte> empreintes;
    std::vector<t_motif> motifs;
    bool leurres = false;
};

// The decoys a random challenge has at least, so that it asks some thought: none with one piece
// to place (a handful of challenges would be left), one with two, three with three or four.
int leurres_minimum(int a_placer);

// Whether a random challenge is compared for its cells in common, with the shipped levels and
// with those made before it in the run: with one or two pieces to place only. With three or
// four, most of its cells are those the player lays and the motifs already keep them apart;
// the few such stacks with one solution share most of theirs, and compared so, a four-piece
// challenge took minutes against the shipped levels and tried all twenty seeds within a run.
bool cellules_comparees(int a_placer);

// Stack number i of the draws for seed `graine` and `a_placer` pieces to place, the figures set
// on it: a level that keeps every rule, whose challenge has one solution, whose walk changes
// height, and that `livres` accepts; false otherwise. `piece` holds the pieces as the reset
// leaves them. The motifs are compared as soon as the stack stands, since the figures do not
// change them; then the places of the figures are drawn one after the other, the cheap rules
// first (the walk without the balance, the comparisons), the costly ones (the balance, the
// solver, then the decoys) on what is left.
bool tirer_defi(uint32_t graine, int a_placer, long i, const t_livres &livres,
                t_piecer piece[NB_PIECES]);

// Every level that stack number i of those draws makes with no shipped level to compare, one
// for each place of the figures where it keeps the rules, as tirer_defi() would find each: the
// pool the shipped levels are chosen from. With `escaliers`, two of the pieces to place
// are staircases (a walk up, then down, needs two). `depart` holds the pieces as the
// reset leaves them.
std::vector<std::array<t_piecer, NB_PIECES>> tirer_niveaux(uint32_t graine, int a_placer,
                                                           bool escaliers, long i,
                                                           const t_piecer depart[NB_PIECES]);

// The seeds a player types: 1 to 999999999.
constexpr uint32_t GRAINE_MAX = 999999999;

// The making of a challenge on threads of its own, which another thread follows (the stacks
// drawn, whether it is done) and may stop. Gone, it stops and waits for its threads.
struct t_fabrication {
    std::atomic<bool> arretee{false};
    std::atomic<long> piles{0};     // stacks drawn so far, over every making in it
    std::atomic<bool> finie{false}; // every thread of the last making has ended
    // Within a making: the first stack, by number, that made a challenge; each thread's
    // result; the threads not yet ended; the pieces every stack starts from.
    std::atomic<long> trouvee{-1};
    std::vector<std::array<t_piecer, NB_PIECES>> resultats;
    std::atomic<unsigned> restants{0};
    std::array<t_piecer, NB_PIECES> depart{};
    std::vector<std::thread> ouvriers;
    int refus = 0; // why the last making's threads could not all start (an errno), or 0
    // What its threads add to their niceness as they start (where threads have their own, on
    // Linux): a making in the background leaves the processor to what the player sees.
    int gentillesse = 0;
    // Without threads (SANS_FILS): what avancer_fabrication() draws from, and its next stack.
    uint32_t graine = 0;
    int a_placer = 0;
    long prochaine = 0;
    t_fabrication() = default;
    t_fabrication(const t_fabrication &) = delete;
    t_fabrication &operator=(const t_fabrication &) = delete;
    ~t_fabrication();
};

// The threads of a making that has none: its caller draws the stacks, in the same order, a few
// at a time with avancer_fabrication(), where threads cannot be had (a web page).
constexpr unsigned SANS_FILS = ~0U;

// Starts making a challenge with `a_placer` pieces to place (1 to 4), made from `graine` alone:
// it keeps every level rule, has one solution, its walk changes height at least once, and it is
// not like any of the shipped levels as tirer_defi() compares them. `depart` holds the pieces as
// the reset leaves them. The stacks are drawn in a fixed order and shared among `fils` threads
// (0: one per core), the first that makes a challenge wins: the same seed makes the same
// challenge whatever the cores. The last thread to end sets `finie`, then calls `quand_finie`
// (from its own thread). False, with nothing started, for another number of pieces or when the
// threads cannot all be started (`refus` then says why, and those started have ended).
bool lancer_fabrication(t_fabrication &f, uint32_t graine, int a_placer,
                        const t_piecer depart[NB_PIECES], unsigned fils = 0,
                        std::function<void()> quand_finie = {});

// Starts one of a making's threads. A test puts its own here, to refuse a start as a process
// limit does (std::system_error).
extern std::thread (*demarrer_ouvrier)(std::function<void()> travail);

// Draws up to `piles` more stacks of a making started with SANS_FILS, on this thread; sets
// `finie` (and calls nothing) once a stack made a challenge or the making was stopped. True
// then.
bool avancer_fabrication(t_fabrication &f, long piles);

// Waits for the making's threads, then gives the challenge made; false when it was stopped
// first or none was made.
bool finir_fabrication(t_fabrication &f, t_piecer piece[NB_PIECES]);

// Both at once, on this thread's time: a challenge made from `graine`, as lancer_fabrication()
// says. False when `suivi` was stopped first, or for another number of pieces.
bool fabriquer_defi(uint32_t graine, int a_placer, const t_piecer depart[NB_PIECES],
                    t_piecer piece[NB_PIECES], t_fabrication *suivi = nullptr, unsigned fils = 0);
