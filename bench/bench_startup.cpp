// Start-up of the program against a bare Qt window started the same way, and against a plain Qt
// skeleton of its window (skeleton_window.cpp): each is launched as a process of its own, with
// FirstFrame preloaded, and timed from the launch to its first painted frame. They alternate
// (which goes first changes every round), so all meet the same load.
// Timed twice: on an X server, as a user starts it (an Xvfb of 1400 x 1050 started for the run,
// when Xvfb is installed), and under QT_QPA_PLATFORM=offscreen with a screen of that size, which
// leaves out the display connection every real start pays. When QT_QPA_PLATFORM is set (for
// example to xcb with DISPLAY) only that platform is timed. TESSEL_STARTUP_OTHER may name
// another build of the program (an older one, say), timed in the same rounds.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <optional>
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

// Starts `program` (looked up on PATH when `search`) with what it prints dropped (on an X server
// without a window manager Qt has things to say); false when it cannot be started.
bool startQuietly(pid_t& child, const char* program, char* const arguments[],
                  char* const environment[], bool search) {
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int failed = search
                           ? posix_spawnp(&child, program, &quiet, nullptr, arguments, environment)
                           : posix_spawn(&child, program, &quiet, nullptr, arguments, environment);
    posix_spawn_file_actions_destroy(&quiet);
    return failed == 0;
}

// Where the programs are shown: the value of QT_QPA_PLATFORM and, for an X server, DISPLAY.
struct Platform {
    std::string name, qpa, display;
};

// Milliseconds from launching `program` to its first frame; negative when it never showed one.
double launch(const std::string& program, const std::string& folder, const Platform& platform) {
    const std::string stamp = folder + "/frame";
    std::remove(stamp.c_str());
    std::vector<std::string> settings;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LD_PRELOAD=", 0) == 0 || entry.rfind("QT_QPA_PLATFORM=", 0) == 0 ||
            (!platform.display.empty() && entry.rfind("DISPLAY=", 0) == 0)) {
            continue;
        }
        settings.push_back(entry);
    }
    settings.push_back(std::string("LD_PRELOAD=") + TESSEL_FIRST_FRAME_LIBRARY);
    settings.push_back("TESSEL_FIRST_FRAME_FILE=" + stamp);
    settings.push_back("QT_QPA_PLATFORM=" + platform.qpa);
    if (!platform.display.empty()) settings.push_back("DISPLAY=" + platform.display);
    std::vector<char*> environment;
    for (std::string& entry : settings) environment.push_back(entry.data());
    environment.push_back(nullptr);
    std::string name = program;
    char* arguments[] = {name.data(), nullptr};

    const long long start = monotonicNs();
    pid_t child = 0;
    if (!startQuietly(child, program.c_str(), arguments, environment.data(), false)) return -1;
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

// An Xvfb of its own for the run, on the first free display number; stopped when destroyed.
class XServer {
  public:
    XServer() {
        for (int number = 77; number < 99; ++number) {
            const std::string lock = "/tmp/.X" + std::to_string(number) + "-lock";
            if (access(lock.c_str(), F_OK) == 0) continue;
            const std::string name = ":" + std::to_string(number);
            std::vector<std::string> words{"Xvfb",         name,        "-screen", "0",
                                           "1400x1050x24", "-nolisten", "tcp"};
            std::vector<char*> arguments;
            for (std::string& word : words) arguments.push_back(word.data());
            arguments.push_back(nullptr);
            if (!startQuietly(pid_, "Xvfb", arguments.data(), environ, true)) return;  // none
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            for (int waited = 0; waited < 500; ++waited) {  // 5 s
                if (access(socket.c_str(), F_OK) == 0) {
                    display_ = name;
                    return;
                }
                if (waitpid(pid_, nullptr, WNOHANG) == pid_) break;  // it gave up
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            stop();
        }
    }
    ~XServer() { stop(); }
    const std::string& display() const { return display_; }

  private:
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = 0;
        display_.clear();
    }
    pid_t pid_ = 0;
    std::string display_;
};

// The ratio of each program's median to the bare window's, over `rounds` alternating rounds.
double timeRounds(const Platform& platform, const std::string& folder, int rounds,
                  benchmark::State& state) {
    std::vector<std::string> programs{TESSEL_BINARY, TESSEL_BARE_WINDOW, TESSEL_SKELETON_WINDOW};
    std::vector<std::string> names{"tessel", "bare Qt window", "Qt skeleton of the window"};
    if (const char* other = std::getenv("TESSEL_STARTUP_OTHER")) {
        programs.emplace_back(other);
        names.emplace_back(other);
    }
    // One launch of each first, untimed: it fills the system's file caches for all.
    for (const std::string& program : programs) launch(program, folder, platform);
    std::vector<std::vector<double>> times(programs.size());
    for (int r = 0; r < rounds; ++r) {
        // Each round starts with another of the programs.
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const std::size_t p = (i + std::size_t(r)) % programs.size();
            const double t = launch(programs[p], folder, platform);
            if (t < 0) {
                state.SkipWithError(("a program showed no frame on " + platform.name).c_str());
                return 0;
            }
            times[p].push_back(t);
        }
    }
    const Spread bare = spread(times[1]);
    std::printf(
        "\nstart-up to the first frame %s, %d rounds, median [min, max]; ratio of the medians "
        "to the bare window, and the per-round ratios:\n",
        platform.name.c_str(), rounds);
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
        "  tessel against the skeleton: %.2fx (per round %.2f [%.2f, %.2f]); target against the "
        "bare window <= 1.3x\n",
        spread(times[0]).median / spread(times[2]).median, k.median, k.min, k.max);
    return spread(times[0]).median / bare.median;
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const std::string folder = temporaryFolder();
    {
        std::ofstream screen(folder + "/screen.json");
        screen << R"({"screens":[{"name":"bench","x":0,"y":0,"width":1400,"height":1050,)"
               << R"("logicalDpi":96,"logicalBaseDpi":96,"physicalDpi":96,"dpr":1}]})" << '\n';
    }
    std::vector<Platform> platforms;
    std::optional<XServer> server;
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM")) {
        const char* display = std::getenv("DISPLAY");
        platforms.push_back({std::string("on ") + chosen, chosen, display ? display : ""});
    } else {
        server.emplace();
        if (!server->display().empty()) {
            platforms.push_back(
                {"on an X server (Xvfb " + server->display() + ")", "xcb", server->display()});
        }
        platforms.push_back({"offscreen", "offscreen:configfile=" + folder + "/screen.json", ""});
    }
    for (auto _ : state) {
        for (std::size_t i = 0; i < platforms.size(); ++i) {
            const double ratio = timeRounds(platforms[i], folder, int(state.range(0)), state);
            state.counters[i == 0 ? "ratio" : "offscreen_ratio"] = ratio;
        }
        std::printf("\n");
    }
    std::remove((folder + "/screen.json").c_str());
    std::remove((folder + "/frame").c_str());
    rmdir(folder.c_str());
}
BENCHMARK(BM_StartupAgainstBareWindow)->Arg(15)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
