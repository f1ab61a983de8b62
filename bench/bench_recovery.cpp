// The window thread's share of a recovery copy of a 6000 x 4000 picture (24 megapixels): taking
// the snapshot (references to the history's tiles, copies of the tiles drawn since the last
// push), against one memcpy of the picture and against the push of the same change, measured
// side by side in every run. Three cases: a change drawn (a 100 x 100 box and a line of text)
// after a history whose newest level holds tiles all over the picture (the most references to
// take); the same on a history with few tiles; and a change of the whole picture still unpushed,
// whose tiles the worker copies from the shared picture: the window thread's share, and its wait
// when it changes the picture again the moment the worker starts (the worst case).
// The worker's share (putting the picture together, PNG, safe write) is shown for scale.

#include <benchmark/benchmark.h>

#include <QPainter>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "OffscreenMain.h"
#include "Photograph.h"
#include "Spread.h"
#include "app/GreyScale.h"
#include "history/UndoHistory.h"
#include "history/UndoHistorySnapshot.h"
#include "recovery/CopyJob.h"

namespace {

using Clock = std::chrono::steady_clock;
using Snapshot = tessel::UndoHistory::Snapshot;
constexpr int kRuns = 7;

double micros(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

QImage bigPicture() {
    return bench::photograph().scaled(6000, 4000, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

void drawChange(tessel::Surface& surface, int run) {
    surface.setForeground(0x2040C0);
    surface.box(300 + run * 7, 400, 400 + run * 7, 500, 0, -1, -1, 0);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(40);
    surface.selectFont(tessel::ResolvedFont{font, 0});
    surface.setBackground(-2);
    surface.moveTo(1000, 2000 + run * 3);
    surface.print(QStringLiteral("Feliz cumpleaños"));
}

struct Figures {
    std::vector<double> snapshot, memcpy, push, slice, worker;
};

void report(const char* name, const Figures& f) {
    std::vector<double> toMemcpy, toPush;
    for (std::size_t i = 0; i < f.snapshot.size(); ++i) {
        toMemcpy.push_back(f.snapshot[i] / f.memcpy[i]);
        if (!f.push.empty()) toPush.push_back(f.snapshot[i] / f.push[i]);
    }
    const bench::Spread s = bench::spread(f.snapshot), m = bench::spread(f.memcpy),
                        r = bench::spread(toMemcpy);
    std::printf(
        "%s (%d runs)\n  window thread: median %.0f us (min %.0f, max %.0f)\n"
        "  memcpy of the picture: median %.0f us (min %.0f, max %.0f)\n"
        "  ratio to the memcpy: median %.4f (min %.4f, max %.4f)\n",
        name, int(f.snapshot.size()), s.median, s.min, s.max, m.median, m.min, m.max, r.median,
        r.min, r.max);
    if (!toPush.empty()) {
        const bench::Spread p = bench::spread(f.push), q = bench::spread(toPush);
        std::printf(
            "  push of the change: median %.0f us (min %.0f, max %.0f); ratio to it: "
            "median %.3f (min %.3f, max %.3f)\n",
            p.median, p.min, p.max, q.median, q.min, q.max);
    }
    if (!f.slice.empty()) {
        const bench::Spread l = bench::spread(f.slice);
        std::printf("  longest slice: median %.0f us (min %.0f, max %.0f)\n", l.median, l.min,
                    l.max);
    }
    if (!f.worker.empty()) {
        const bench::Spread w = bench::spread(f.worker);
        std::printf(
            "  worker thread (picture, PNG, safe write): median %.0f ms (min %.0f, max "
            "%.0f)\n",
            w.median / 1000, w.min / 1000, w.max / 1000);
    }
    std::printf("\n");
}

// One run: a memcpy of the picture, then push + change, then the snapshot, timed.
void measureChange(tessel::UndoHistory& history, std::vector<uchar>& buffer, int run, Figures& f,
                   const QString& target) {
    const QImage& image = std::as_const(history.current()).image();
    auto t0 = Clock::now();
    std::memcpy(buffer.data(), image.constBits(), buffer.size());
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
    f.memcpy.push_back(micros(Clock::now() - t0));

    t0 = Clock::now();
    history.push();
    f.push.push_back(micros(Clock::now() - t0));
    drawChange(history.current(), run);

    t0 = Clock::now();
    auto snapshot = std::make_unique<Snapshot>(history);
    const bool complete = snapshot->copyDrawnTiles(history, Clock::time_point::max());
    f.snapshot.push_back(micros(Clock::now() - t0));
    if (!complete) std::abort();
    if (!target.isEmpty()) {
        t0 = Clock::now();
        tessel::recovery::CopyJob job(std::move(snapshot), {}, target);
        job.start([] {});
        if (!job.wait()) std::abort();
        f.worker.push_back(micros(Clock::now() - t0));
    }
}

void BM_RecoverySnapshot(benchmark::State& state) {
    const QImage picture = bigPicture();
    std::vector<uchar> buffer(std::size_t(picture.sizeInBytes()));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("copy.png"));
    for (auto _ : state) {
        {
            // A newest level with tiles all over the picture: grey scale pushed once more.
            tessel::UndoHistory history;
            history.start(picture);
            history.push();
            tessel::toGreyScale(history.current());
            history.push();
            history.current().image().invertPixels();
            history.push();  // stores it: the newest level holds every tile
            Figures f;
            for (int run = 0; run < kRuns; ++run) {
                measureChange(history, buffer, run, f, run < 5 ? target : QString());
            }
            report("A change drawn, every tile of the newest level stored", f);
        }
        {
            tessel::UndoHistory history;
            history.start(picture);
            Figures f;
            for (int run = 0; run < kRuns; ++run) measureChange(history, buffer, run, f, {});
            report("A change drawn, few tiles stored", f);
        }
        {
            tessel::UndoHistory history;
            history.start(picture);
            Figures f, waits, lateWaits;
            for (int run = 0; run < kRuns; ++run) {
                const QImage& image = std::as_const(history.current()).image();
                auto t0 = Clock::now();
                std::memcpy(buffer.data(), image.constBits(), buffer.size());
                benchmark::DoNotOptimize(buffer.data());
                benchmark::ClobberMemory();
                f.memcpy.push_back(micros(Clock::now() - t0));
                waits.memcpy.push_back(f.memcpy.back());
                history.push();
                history.current().image().invertPixels();  // every tile drawn, unpushed
                t0 = Clock::now();
                auto snapshot = std::make_unique<Snapshot>(history);
                if (!snapshot->copyDrawnTiles(history, Clock::time_point::max())) std::abort();
                f.snapshot.push_back(micros(Clock::now() - t0));
                // The worst case: the user changes the picture again the moment the copy's
                // thread starts. The copy gives way (it is taken again later), unless it is
                // late: then the window waits until the worker has copied the picture.
                for (const bool late : {false, true}) {
                    if (late) {
                        snapshot = std::make_unique<Snapshot>(history);
                        if (!snapshot->copyDrawnTiles(history, Clock::time_point::max())) {
                            std::abort();
                        }
                        snapshot->setYieldToWrites(false);
                    }
                    tessel::recovery::CopyJob job(std::move(snapshot), {}, target);
                    job.start([] {});
                    t0 = Clock::now();
                    QImage& written = history.current().image();
                    (late ? lateWaits : waits).snapshot.push_back(micros(Clock::now() - t0));
                    written.invertPixels();
                    if (job.wait() == job.yielded()) std::abort();
                }
                lateWaits.memcpy.push_back(f.memcpy.back());
            }
            report("A change of the whole picture, unpushed (the worker copies the picture)", f);
            report("  and a change the moment the worker starts: the window waits, the copy "
                   "gives way",
                   waits);
            report("  and the same when the copy is late and does not give way", lateWaits);
        }
    }
}
BENCHMARK(BM_RecoverySnapshot)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
