// redaction.cpp: the comparisons between levels put in words.
#include "redaction.h"

namespace {

// "1 piece", "2 pieces": n, then the word, made plural unless n is one.
std::string compter(size_t n, const std::string &mot) {
    return std::to_string(n) + " " + mot + (n == 1 ? "" : "s");
}

} // namespace

std::string dire_ressemblance(const t_ressemblance &r) {
    const int n = r.decalage < 0 ? -r.decalage : r.decalage;
    const std::string niveau =
        "level " + std::to_string(r.niveau) + (r.miroir ? " as its mirror image" : "") +
        (n == 0 ? ""
                : " moved " + compter(size_t(n), "column") + (r.decalage > 0 ? " right" : " left"));
    switch (r.sorte) {
    case S_MEME_DEFI:
        return "the same challenge as " + niveau;
    case S_MEMES_FIGURES:
        return "the same knight's start, princess's place and walk as " + niveau;
    case S_CELLULES_COMMUNES:
        return std::to_string(r.communes) + " solid cells in common with " + niveau +
               ", more than three quarters of " + std::to_string(r.solides);
    }
    return "";
}
