// Memory given back by "Nuevo": the 5640 x 3172 photograph (see Photograph.h) is opened from a
// JPEG file, changed 40 times over its whole area (each change a level of its own), the 40
// changes are undone and the history is emptied as "Nuevo" does. The resident memory of the
// process (/proc/self/statm) is then compared with what it was before the first picture was
// opened plus one picture. Repeated in the same process, so the later repetitions also show
// whether anything stays behind from the earlier ones.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

#include "OffscreenMain.h"
#include "Photograph.h"
#include "Spread.h"
#include "history/UndoHistory.h"

namespace {

double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

using bench::Spread;
using bench::spread;

void BM_MemoryAfterNew(benchmark::State& state) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("photo.jpg"));
    if (!bench::photograph().save(file, "JPEG", 90)) {
        state.SkipWithError("the photograph could not be written");
        return;
    }
    const double before = residentMegabytes();
    const int repetitions = int(state.range(0));
    constexpr int kChanges = 40;
    for (auto _ : state) {
        std::vector<double> ratios, after, peak, undone;
        double pictureMegabytes = 0;
        tessel::UndoHistory history;
        for (int r = 0; r < repetitions; ++r) {
            history.start(QImage(file));
            const int w = history.current().width(), h = history.current().height();
            pictureMegabytes = double(w) * h * 4 / 1e6;
            for (int i = 0; i < kChanges; ++i) {
                history.push();
                const tessel::Colour colour = tessel::Colour(0x102030 + i * 0x030507);
                history.current().box(0, 0, w, h, 0, colour, colour, 0);
            }
            history.push();  // the 40th change is stored as a level too
            peak.push_back(residentMegabytes());
            while (history.undo()) {
            }
            undone.push_back(residentMegabytes());
            history.clear();  // "Nuevo"
            after.push_back(residentMegabytes());
            ratios.push_back(after.back() / (before + pictureMegabytes));
        }
        const Spread q = spread(ratios), a = spread(after), p = spread(peak), u = spread(undone);
        state.counters["after_new_MB"] = a.median;
        state.counters["ratio"] = q.median;
        std::printf(
            "\nresident memory, %d repetitions of %d whole-picture changes on %.1f MB, "
            "median [min, max]:\n"
            "  before the first picture %.1f MB; with the %d levels %.0f MB [%.0f, %.0f]; all "
            "undone %.0f MB [%.0f, %.0f]\n"
            "  after \"Nuevo\" %.1f MB [%.1f, %.1f] = %.3fx [%.3f, %.3f] of (before + one "
            "picture) (target <= 1.2x)\n\n",
            repetitions, kChanges, pictureMegabytes, before, kChanges, p.median, p.min, p.max,
            u.median, u.min, u.max, a.median, a.min, a.max, q.median, q.min, q.max);
    }
}
BENCHMARK(BM_MemoryAfterNew)->Arg(5)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
