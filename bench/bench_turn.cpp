// A quarter turn of a 24-megapixel picture (6000 x 4000) through the undo history, against a
// memcpy of the picture into a buffer already in use and against a deep copy, each timed right
// beside the turn so that both see the same machine: the turn (a blocked transpose on every core
// and the one copy of the turned picture that its level keeps), its undo and its redo, and a
// mirror (rewritten in place, stored as tiles by the next push). Medians with the least and the
// greatest of the repetitions, and the machine's load while they ran.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "OffscreenMain.h"
#include "Spread.h"
#include "history/UndoHistory.h"

namespace {

using Clock = std::chrono::steady_clock;
using bench::Spread;
using bench::spread;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Smooth colours with some grain, like a photograph.
QImage photograph24() {
    QImage picture(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const quint32 grain = quint32((x * 2654435761u) ^ (y * 40503u)) >> 29;
            row[x] = qRgb(x * 255 / 6000, y * 255 / 4000, int(128 + grain * 8));
        }
    }
    return picture;
}

// The processor time of the whole process (every thread) so far, in seconds: what the work
// costs whatever else the machine runs.
double processorTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

QString load() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 2);
}

void BM_QuarterTurn24Megapixels(benchmark::State& state) {
    const QImage picture = photograph24();
    const std::size_t bytes = std::size_t(picture.sizeInBytes());
    constexpr int kRepetitions = 9;
    for (auto _ : state) {
        const QString loadBefore = load();
        tessel::UndoHistory history;
        history.start(picture);
        std::vector<uchar> buffer(bytes, 1);
        std::vector<double> plain, deep, turn, turnRatio, deepRatio, undo, redo, mirror, work;
        for (int r = 0; r < kRepetitions; ++r) {
            const double c0 = processorTime();
            auto t0 = Clock::now();
            std::memcpy(buffer.data(), std::as_const(history.current()).image().constBits(), bytes);
            benchmark::ClobberMemory();
            const double copy = seconds(Clock::now() - t0);
            const double c1 = processorTime();
            t0 = Clock::now();
            history.turn(r % 2 ? tessel::Turn::Left : tessel::Turn::Right);
            const double turned = seconds(Clock::now() - t0);
            work.push_back((processorTime() - c1) / std::max(c1 - c0, 1e-4));
            t0 = Clock::now();
            QImage deepCopy = picture.copy();
            benchmark::DoNotOptimize(deepCopy.constBits());
            const double copied = seconds(Clock::now() - t0);
            deepCopy = QImage();
            plain.push_back(copy * 1e3);
            deep.push_back(copied * 1e3);
            turn.push_back(turned * 1e3);
            turnRatio.push_back(turned / copy);
            deepRatio.push_back(turned / copied);

            t0 = Clock::now();
            history.undo();
            undo.push_back(seconds(Clock::now() - t0) / copy);
            t0 = Clock::now();
            history.redo();
            redo.push_back(seconds(Clock::now() - t0) / copy);

            // A mirror: rewritten in place, its tiles stored by the push after it.
            t0 = Clock::now();
            history.turn(tessel::Turn::Horizontal);
            history.push();
            mirror.push_back(seconds(Clock::now() - t0) / copy);
        }
        const Spread p = spread(plain), d = spread(deep), t = spread(turn), tr = spread(turnRatio),
                     dr = spread(deepRatio), u = spread(undo), rd = spread(redo),
                     m = spread(mirror), w = spread(work);
        state.counters["turn_vs_memcpy"] = tr.median;
        state.counters["turn_ms"] = t.median;
        state.counters["memcpy_ms"] = p.median;
        std::printf(
            "\nquarter turn of %d x %d (%.0f MB), %d repetitions, median [min, max]; load %s -> "
            "%s\n"
            "  memcpy %.1f ms [%.1f, %.1f], deep copy %.1f ms [%.1f, %.1f], turn %.1f ms "
            "[%.1f, %.1f]\n"
            "  turn: %.2fx a memcpy [%.2f, %.2f] (target <= 3x), %.2fx a deep copy [%.2f, %.2f]\n"
            "  processor time of the turn (both threads) %.2fx that of the memcpy [%.2f, %.2f]\n"
            "  undo of the turn %.2fx a memcpy [%.2f, %.2f], redo %.2fx [%.2f, %.2f]\n"
            "  mirror and the push that stores it %.2fx a memcpy [%.2f, %.2f]\n\n",
            picture.width(), picture.height(), double(bytes) / 1e6, kRepetitions,
            qPrintable(loadBefore), qPrintable(load()), p.median, p.min, p.max, d.median, d.min,
            d.max, t.median, t.min, t.max, tr.median, tr.min, tr.max, dr.median, dr.min, dr.max,
            w.median, w.min, w.max, u.median, u.min, u.max, rd.median, rd.min, rd.max, m.median,
            m.min, m.max);
    }
}
BENCHMARK(BM_QuarterTurn24Megapixels)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
