// generateur.h: levels made at random: stacks dropped on the board piece by piece, the figures
// set where a walk joins them, and challenges that the solver proves to have one solution.
#pragma once

#include "niveau/niveau.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
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

// Stack number i of the draws for seed `graine` and `a_placer` pieces to place, the figures set
// on it: a level that keeps every rule, whose challenge has one solution, whose walk changes
// height, and that is like no level of `livres` as ressemble() judges without `decale`; false
// otherwise. `piece` holds the pieces as the reset leaves them. The places of the figures are
// drawn one after the other, the cheap rules first (the walk without the balance, the
// comparisons), the costly ones (the balance, then the solver) on what is left.
struct t_empreinte;
bool tirer_defi(uint32_t graine, int a_placer, long i, const std::vector<t_empreinte> &livres,
                t_piecer piece[NB_PIECES]);

// The seeds a player types: 1 to 999999999.
constexpr uint32_t GRAINE_MAX = 999999999;

// The making of a challenge, which another thread follows and may stop.
struct t_fabrication {
    std::atomic<bool> arretee{false};
    std::atomic<long> piles{0}; // stacks drawn so far
};

// A challenge with `a_placer` pieces to place (1 to 4), made from `graine` alone: it keeps every
// level rule, has one solution, its walk changes height at least once, and it is not like any of
// the shipped levels as tirer_defi() compares them. `depart` holds the pieces as the reset leaves
// them. The stacks are drawn in a fixed order and shared among `fils` threads (0: one per core),
// the first that makes a challenge wins: the same seed makes the same challenge whatever the cores.
// False when `suivi` was stopped first, or for another number of pieces. Threads that call it call
// liberer_equilibre() before they end.
bool fabriquer_defi(uint32_t graine, int a_placer, const t_piecer depart[NB_PIECES],
                    t_piecer piece[NB_PIECES], t_fabrication *suivi = nullptr, unsigned fils = 0);
