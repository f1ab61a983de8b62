// Start-up of the program against a bare Qt window started the same way, and against a plain Qt
// skeleton of its window (skeleton_window.cpp): each is launched as a process of its own, with
// FirstFrame preloaded, and timed from the launch to its first painted frame. They alternate
// (which goes first changes every round), so all meet the same load.
// Under QT_QPA_PLATFORM=offscreen with a 1400 x 1050 screen unless QT_QPA_PLATFORM is set (for
// example to xcb with DISPLAY, to time it on an X server). TESSEL_STARTUP_OTHER may name another
// build of the program (an older one, say), timed in the same rounds.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Spread.h"

extern char** environ;

namespace {

long long monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

std::string temporaryFolder() {
    char pattern[] = "/tmp/tessel-startup-XXXXXX";
    const char* folder = mkdtemp(pattern);
    return folder ? folder : "/tmp";
}

// Milliseconds from launching `program` to its first frame; negative when it never showed one.
double launch(const std::string& program, const std::string& folder) {
    const std::string stamp = folder + "/frame";
    std::remove(stamp.c_str());
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LD_PRELOAD=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0) continue;
        settings.push_back(entry);
    }
    settings.push_back(std::string("LD_PRELOAD=") + TESSEL_FIRST_FRAME_LIBRARY);
    settings.push_back("TESSEL_FIRST_FRAME_FILE=" + stamp);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    settings.push_back(std::string("QT_QPA_PLATFORM=") +
                       (platform ? platform : "offscreen:configfile=" + folder + "/screen.json"));
    std::vector<char*> environment;
    for (std::string& entry : settings) environment.push_back(entry.data());
    environment.push_back(nullptr);
    std::string name = program;
    char* arguments[] = {name.data(), nullptr};

    const long long start = monotonicNs();
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environment.data()) !=
        0) {
        return -1;
    }
    int status = 0;
    for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
        if (waited > 3000) {  // 30 s
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::ifstream in(stamp);
    long long shown = 0;
    if (!(in >> shown)) return -1;
    return double(shown - start) / 1e6;
}

using bench::Spread;
using bench::spread;

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const std::string folder = temporaryFolder();
    {
        std::ofstream screen(folder + "/screen.json");
        screen << R"({"screens":[{"name":"bench","x":0,"y":0,"width":1400,"height":1050,)"
               << R"("logicalDpi":96,"logicalBaseDpi":96,"physicalDpi":96,"dpr":1}]})" << '\n';
    }
    const int rounds = int(state.range(0));
    for (auto _ : state) {
        std::vector<std::string> programs{TESSEL_BINARY, TESSEL_BARE_WINDOW,
                                          TESSEL_SKELETON_WINDOW};
        std::vector<std::string> names{"tessel", "bare Qt window", "Qt skeleton of the window"};
        if (const char* other = std::getenv("TESSEL_STARTUP_OTHER")) {
            programs.emplace_back(other);
            names.emplace_back(other);
        }
        // One launch of each first, untimed: it fills the system's file caches for all.
        for (const std::string& program : programs) launch(program, folder);
        std::vector<std::vector<double>> times(programs.size());
        for (int r = 0; r < rounds; ++r) {
            // Each round starts with another of the programs.
            for (std::size_t i = 0; i < programs.size(); ++i) {
                const std::size_t p = (i + std::size_t(r)) % programs.size();
                const double t = launch(programs[p], folder);
                if (t < 0) {
                    state.SkipWithError("a program showed no frame");
                    return;
                }
                times[p].push_back(t);
            }
        }
        const Spread bare = spread(times[1]);
        state.counters["tessel_ms"] = spread(times[0]).median;
        state.counters["bare_ms"] = bare.median;
        state.counters["ratio"] = spread(times[0]).median / bare.median;
        std::printf(
            "\nstart-up to the first frame, %d rounds, median [min, max]; ratio of the "
            "medians to the bare window, and the per-round ratios:\n",
            rounds);
        for (std::size_t p = 0; p < programs.size(); ++p) {
            std::vector<double> ratios;
            for (int r = 0; r < rounds; ++r) ratios.push_back(times[p][r] / times[1][r]);
            const Spread t = spread(times[p]), q = spread(ratios);
            std::printf("  %-28s %6.1f ms [%.1f, %.1f]  %.2fx  (per round %.2f [%.2f, %.2f])\n",
                        names[p].c_str(), t.median, t.min, t.max, t.median / bare.median, q.median,
                        q.min, q.max);
        }
        std::vector<double> overSkeleton;
        for (int r = 0; r < rounds; ++r) overSkeleton.push_back(times[0][r] / times[2][r]);
        const Spread k = spread(overSkeleton);
        std::printf(
            "  tessel against the skeleton: %.2fx (per round %.2f [%.2f, %.2f]); target "
            "against the bare window <= 1.3x\n\n",
            spread(times[0]).median / spread(times[2]).median, k.median, k.min, k.max);
    }
    std::remove((folder + "/screen.json").c_str());
    std::remove((folder + "/frame").c_str());
    rmdir(folder.c_str());
}
BENCHMARK(BM_StartupAgainstBareWindow)->Arg(15)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
