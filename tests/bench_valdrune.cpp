// bench_valdrune.cpp: the time of a pass, of a level load and of start-up, each against its
// floor, the same library calls made inline with nothing else; the level checker's time on
// its hardest level; the challenge mode's verdict on a full placement and on every decoy, and a
// challenge made on demand. Medians of nine repetitions; of fifty seeds for the challenges made.
// Usage: bench_valdrune [google benchmark options]   (reads the shipped data; dummy video)
#include "defi/defi.h"
#include "dessins.h"
#include "fichiers/fichier.h"
#include "jeu/jeu.h"
#include "jeu/modele.h"
#include "regles/generateur.h"
#include "regles/solveur.h"
#include "verification.h"
#include "visionneuse/boucle.h"

#include <SDL.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void fermer() {
    liberer_dessins();
    TTF_Quit();
    SDL_Quit();
    ecran = nullptr;
}

void demarrer_niveau_19() {
    niveau = 19;
    if (demarrer() != 1) std::abort();
}

void BM_passe(benchmark::State &state) {
    demarrer_niveau_19();
    while (state.KeepRunning()) passe();
    fermer();
}

// What a pass of level 19 draws, made ready beforehand: its surfaces at their places and the
// fourteen lines of its panel at theirs.
void BM_passe_plancher(benchmark::State &state) {
    demarrer_niveau_19();
    struct t_blit {
        SDL_Surface *s;
        SDL_Rect r;
    };
    std::vector<t_blit> blits;
    const int ordre[] = {1, 0, 2, 3, 4, 5, 6, 9, 7, 8};
    t_layout *dessins[] = {&personnage_h,
                           &personnage_f,
                           &cube_simple,
                           &cube_avec_apendice,
                           &cube_avec_apendice,
                           &tour,
                           &tour,
                           nullptr,
                           nullptr,
                           nullptr};
    for (int k : ordre) {
        const t_piecer &p = jeu.piece[k];
        if (p.dans_le_jeu != 1) continue;
        SDL_Surface *s = dessins[k] != nullptr ? dessins[k]->surface
                         : k == 9              ? grand_escalier[p.rotation].surface
                                               : petit_escalier[p.rotation].surface;
        blits.push_back(
            {s, {Sint16(100 * p.colonne), Sint16(750 - 100 * (p.ligne + p.hauteur)), 0, 0}});
    }
    struct t_texte {
        std::string t;
        bool droite;
        int rang;
    };
    const std::vector<t_texte> textes = {{"disponible : ", false, 0},
                                         {"prise : ", false, 1},
                                         {"x : ", false, 2},
                                         {"y : ", false, 3},
                                         {"rotation possible : ", false, 4},
                                         {"rotation : ", false, 5},
                                         {"niveau : 19", true, 6},
                                         {"pos_x_sur_grille : -1", false, 6},
                                         {"pos_y_sur_grille : -1", false, 7},
                                         {"0 0 0 0 0 0", true, 0},
                                         {"0 0 0 0 0 0", true, 1},
                                         {"0 0 0 0 0 0", true, 2},
                                         {"0 0 0 0 0 0", true, 3},
                                         {"0 0 0 0 0 0", true, 4}};
    const Uint32 fond = SDL_MapRGB(ecran->format, 17, 206, 112);
    const SDL_Color noir = {0, 0, 0, 0};
    while (state.KeepRunning()) {
        SDL_FillRect(ecran, nullptr, fond);
        for (const t_blit &b : blits) {
            SDL_Rect r = b.r;
            SDL_BlitSurface(b.s, nullptr, ecran, &r);
        }
        for (const t_texte &t : textes) {
            SDL_Surface *s = TTF_RenderText_Blended(police, t.t.c_str(), noir);
            SDL_Rect r = {Sint16(t.droite ? 1500 - s->w : 0), Sint16(t.rang * s->h), 0, 0};
            SDL_BlitSurface(s, nullptr, ecran, &r);
            SDL_FreeSurface(s);
        }
        SDL_Flip(ecran);
    }
    fermer();
}

void BM_load_fichier(benchmark::State &state) {
    niveau = 19;
    while (state.KeepRunning()) load_fichier();
}

// Opening the level, reading its 133 tokens, writing the 70 lines of the trace.
void BM_load_fichier_plancher(benchmark::State &state) {
    while (state.KeepRunning()) {
        std::FILE *f = std::fopen("solution19.xml", "r");
        char jeton[200] = "";
        for (int i = 0; i <= 132; ++i) benchmark::DoNotOptimize(std::fscanf(f, "%199s\n", jeton));
        std::fclose(f);
        std::FILE *t = std::fopen("fichier_ecriture_pute.txt", "w");
        for (const t_piecer &p : jeu.piece) {
            std::fprintf(t, "numero piece : %d\n", p.id);
            std::fprintf(t, "numero ligne : %d\n", p.ligne);
            std::fprintf(t, "numero colonne : %d\n", p.colonne);
            std::fprintf(t, "numero rotation : %d\n", p.rotation);
            std::fprintf(t, "numero hauteur : %d\n", p.hauteur);
            std::fprintf(t, "numero largeur : %d\n", p.largeur);
            std::fprintf(t, "numero dans_le_jeu : %d\n", p.dans_le_jeu);
        }
        std::fclose(t);
    }
}

// From the first SDL call to the first flip, with every shipped file.
void BM_demarrage(benchmark::State &state) {
    while (state.KeepRunning()) {
        demarrer_niveau_19();
        dessiner();
        state.PauseTiming();
        fermer();
        state.ResumeTiming();
    }
}

// The checker's work on the level with the longest search (level 47: four pieces to place):
// reading and checking the file, then solving its challenge.
void BM_verifier_niveau(benchmark::State &state) {
    t_piecer piece[NB_PIECES];
    bool sain = false;
    while (state.KeepRunning()) {
        benchmark::DoNotOptimize(verifier_fichier("solution47.xml", piece, sain));
        benchmark::DoNotOptimize(resoudre(piece, 2));
    }
}

// The verdict the challenge mode gives when the last piece is dropped: level N's pieces to
// place at their solution places, the scene built and judged by the level rules.
void BM_verdict(benchmark::State &state) {
    t_defi d;
    ouvrir_defi(d, int(state.range(0)));
    for (int k = 0; k < NB_PIECES; ++k)
        if (d.a_placer[k])
            d.places[k] = {d.piece[k].colonne, d.piece[k].ligne, d.piece[k].rotation};
    juger(d);
    if (d.etat != DEFI_RESOLU) {
        state.SkipWithError("the solution is not judged solved");
        return;
    }
    while (state.KeepRunning()) {
        d.annonces.clear();
        juger(d);
    }
}

// The verdict on every decoy of the 48 levels (every piece placed, the knight's walk there with
// the balance aside, yet the level does not stand), the piece that tips looked for: an
// iteration judges them all, each timed; the median and the worst decoy, each at its best.
void BM_verdict_leurres(benchmark::State &state) {
    static std::vector<t_defi> leurres;
    if (leurres.empty())
        for (int n = 1; n <= NB_NIVEAUX; ++n) {
            t_defi d;
            ouvrir_defi(d, n);
            for (const std::vector<t_pose> &l : chercher_leurres(d.piece).solutions) {
                t_defi e = d;
                for (const t_pose &p : l) e.places[size_t(p.id)] = {p.colonne, p.ligne, p.rotation};
                leurres.push_back(e);
            }
        }
    std::vector<double> meilleur(leurres.size(), 1e30);
    for (auto _ : state)
        for (size_t i = 0; i < leurres.size(); ++i) {
            const auto debut = std::chrono::steady_clock::now();
            juger(leurres[i]);
            const std::chrono::duration<double, std::micro> duree =
                std::chrono::steady_clock::now() - debut;
            meilleur[i] = std::min(meilleur[i], duree.count());
            leurres[i].annonces.clear();
            if (leurres[i].etat != DEFI_ECHOUE) state.SkipWithError("a decoy judged solved");
        }
    std::sort(meilleur.begin(), meilleur.end());
    state.counters["leurres"] = double(leurres.size());
    state.counters["mediane_us"] = meilleur[meilleur.size() / 2];
    state.counters["pire_us"] = meilleur.back();
}

// A challenge made on demand with K pieces to place, as N makes it, on every core: one seed
// per repetition, seeds 1 to 50, so that the median and the worst are over fifty seeds.
void BM_nouveau_defi(benchmark::State &state) {
    static uint32_t graines[5] = {};
    const int k = int(state.range(0));
    init();
    t_piecer depart[NB_PIECES], piece[NB_PIECES];
    std::copy(jeu.piece, jeu.piece + NB_PIECES, depart);
    const uint32_t graine = ++graines[k];
    while (state.KeepRunning())
        if (!fabriquer_defi(graine, k, depart, piece)) state.SkipWithError("none made");
}

BENCHMARK(BM_passe)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_passe_plancher)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_load_fichier)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_load_fichier_plancher)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_demarrage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_verifier_niveau)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_verdict)->Arg(19)->Arg(48)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_verdict_leurres)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_nouveau_defi)
    ->DenseRange(1, 4)
    ->Iterations(1)
    ->Repetitions(50)
    ->UseRealTime()
    ->ComputeStatistics("p95",
                        [](const std::vector<double> &mesures) {
                            std::vector<double> v = mesures;
                            std::sort(v.begin(), v.end());
                            return v[(v.size() * 95 + 99) / 100 - 1];
                        })
    ->ComputeStatistics("max",
                        [](const std::vector<double> &v) {
                            return *std::max_element(v.begin(), v.end());
                        })
    ->Unit(benchmark::kMillisecond);

// Keeps the medians, to print each measure against its floor at the end.
class Rapport : public benchmark::ConsoleReporter {
  public:
    Rapport() : ConsoleReporter(OO_None) {}
    std::map<std::string, double> medianes;
    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs)
            if (r.aggregate_name == "median" ||
                (r.run_type == Run::RT_Iteration && r.repetitions <= 1))
                medianes[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
};

} // namespace

int main(int argc, char **argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    // Works on a copy of the shipped data, so that the trace stays out of the source tree.
    const fs::path dossier =
        fs::temp_directory_path() / ("bench-valdrune-" + std::to_string(getpid()));
    fs::create_directories(dossier);
    for (const auto &e : fs::directory_iterator(DOSSIER_DONNEES))
        if (e.is_regular_file()) fs::copy_file(e.path(), dossier / e.path().filename());
    fs::current_path(dossier);

    std::vector<char *> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9",
                agregats = "--benchmark_report_aggregates_only=true";
    args.push_back(repetitions.data());
    args.push_back(agregats.data());
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    Rapport rapport;
    benchmark::RunSpecifiedBenchmarks(&rapport);
    benchmark::Shutdown();

    const auto ratio = [&](const char *mesure, const char *plancher, double cible) {
        if (!rapport.medianes.count(mesure) || !rapport.medianes.count(plancher)) return;
        const double r = rapport.medianes[mesure] / rapport.medianes[plancher];
        std::printf("%-16s / %-25s = %.3f (target <= %.2f)\n", mesure, plancher, r, cible);
    };
    std::printf("\n");
    ratio("BM_passe", "BM_passe_plancher", 1.05);
    ratio("BM_load_fichier", "BM_load_fichier_plancher", 1.5);
    if (rapport.medianes.count("BM_demarrage"))
        std::printf("BM_demarrage median = %.1f ms (target < 50 ms)\n",
                    rapport.medianes["BM_demarrage"]);
    if (rapport.medianes.count("BM_verifier_niveau"))
        std::printf("BM_verifier_niveau median = %.1f ms (all 48 levels: target < 10 s)\n",
                    rapport.medianes["BM_verifier_niveau"]);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dossier);
    return 0;
}
