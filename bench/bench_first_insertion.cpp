// The first insertion after opening a large picture against the insertions after it, on the
// 5640 x 3172 photograph (see Photograph.h): each repetition opens the picture from a JPEG file
// (decoding it and starting the undo history on it), then inserts eleven speech bubbles of 60
// points with their shadow at random places, each insertion being the push of a level and the
// drawing. The first insertion is compared with the median of the ten after it in the same
// repetition; the start of the history is compared with the decoding of the file. One bubble is
// drawn on a small paper before all that, so that no repetition pays for the process's first
// drawing (fonts, painter).

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "OffscreenMain.h"
#include "Photograph.h"
#include "Spread.h"
#include "history/UndoHistory.h"
#include "text/BubbleSettings.h"
#include "text/BubbleShapes.h"

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

using bench::Spread;
using bench::spread;

void BM_FirstInsertionAfterOpening(benchmark::State& state) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("photo.jpg"));
    QSize size;
    {
        const QImage picture = bench::photograph();
        size = picture.size();
        if (!picture.save(file, "JPEG", 90)) {
            state.SkipWithError("the photograph could not be written");
            return;
        }
    }
    const int repetitions = int(state.range(0));
    constexpr int kLater = 10;
    tessel::BubbleSettings bubble;
    bubble.size = 60;
    bubble.shadow = 1;
    {
        // The first drawing of the process loads its fonts and sets up its painter; that is
        // not part of opening a picture, so it happens once here, on a small paper.
        tessel::UndoHistory warm;
        QImage paper(400, 400, QImage::Format_RGB32);
        paper.fill(Qt::white);
        warm.start(paper);
        warm.push();
        tessel::drawBubble(warm.current(), 150, 150, bubble);
    }
    for (auto _ : state) {
        std::vector<double> first, later, ratio, decode, start;
        QRandomGenerator random(11);
        for (int r = 0; r < repetitions; ++r) {
            tessel::UndoHistory history;
            auto t0 = Clock::now();
            QImage picture(file);
            picture = picture.convertToFormat(QImage::Format_RGB32);
            const double decoded = milliseconds(Clock::now() - t0);
            t0 = Clock::now();
            history.start(picture);
            picture = QImage();  // the history holds the picture now, as after "Leer Imagen"
            start.push_back(milliseconds(Clock::now() - t0) / decoded);
            decode.push_back(decoded);
            std::vector<double> times;
            for (int i = 0; i <= kLater; ++i) {
                const int x = int(random.bounded(size.width() - 300)) + 100;
                const int y = int(random.bounded(size.height() - 300)) + 100;
                t0 = Clock::now();
                history.push();
                tessel::drawBubble(history.current(), x, y, bubble);
                times.push_back(milliseconds(Clock::now() - t0));
            }
            const double laterMedian = spread({times.begin() + 1, times.end()}).median;
            first.push_back(times.front());
            later.push_back(laterMedian);
            ratio.push_back(times.front() / laterMedian);
        }
        const Spread f = spread(first), l = spread(later), q = spread(ratio), d = spread(decode),
                     s = spread(start);
        state.counters["first_ms"] = f.median;
        state.counters["later_ms"] = l.median;
        state.counters["first_vs_later"] = q.median;
        std::printf(
            "\nfirst insertion after opening %d x %d, %d repetitions, median [min, max]:\n"
            "  first %.2f ms [%.2f, %.2f], later (median of %d) %.2f ms [%.2f, %.2f]\n"
            "  first / later %.2f [%.2f, %.2f] (target <= 2)\n"
            "  opening: decoding %.0f ms [%.0f, %.0f], starting the history %.3fx the decoding "
            "[%.3f, %.3f]\n\n",
            size.width(), size.height(), repetitions, f.median, f.min, f.max, kLater, l.median,
            l.min, l.max, q.median, q.min, q.max, d.median, d.min, d.max, s.median, s.min, s.max);
    }
}
BENCHMARK(BM_FirstInsertionAfterOpening)->Arg(7)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
