// The undo history under 5000 small insertions on a 1202 x 900 paper: memory per level against a
// full copy of the picture, and the cost of a push (which commits the level below) against a
// plain copy of the picture, both measured in the same run. Then a 5640 x 3172 photograph (the
// file given as TESSEL_PHOTO, else the Debian background of that size, else a synthetic picture):
// a 100 x 100 change against a memcpy of the picture, in time and in memory against the tiles it
// touched, a speech bubble of 60 points with its shadow against the same memcpy (and against the
// same bubble with the whole picture marked as changed, as writing through image() does), and a
// whole-picture change (grey scale) and its undo against a deep copy.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "OffscreenMain.h"
#include "Photograph.h"
#include "Spread.h"
#include "app/GreyScale.h"
#include "history/UndoHistory.h"
#include "surface/Surface.h"
#include "text/BubbleSettings.h"
#include "text/BubbleShapes.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1202;
constexpr int kHeight = 900;
constexpr int kInsertions = 5000;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A paper with some texture, so that tiles are not all alike.
QImage paper() {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            row[x] = 0xFF000000u | (quint32(((x * 7) ^ (y * 13)) & 0x3F) * 0x010101u + 0xA0A0A0u);
        }
    }
    return picture;
}

// An arrow: a shaft of 40 to 160 pixels in any direction and two strokes for the head.
void drawArrow(tessel::Surface& surface, QRandomGenerator& random) {
    const int x = int(random.bounded(kWidth));
    const int y = int(random.bounded(kHeight));
    const double angle = random.bounded(6.283185307);
    const double length = 40 + random.bounded(120);
    const int tipX = x + int(length * std::cos(angle));
    const int tipY = y + int(length * std::sin(angle));
    surface.setPenWidth(1 + int(random.bounded(4)));
    const tessel::Colour colour = tessel::Colour(random.bounded(0x1000000));
    surface.line(x, y, tipX, tipY, colour);
    for (double side : {-0.5, 0.5}) {
        surface.line(tipX, tipY, tipX - int(15 * std::cos(angle + side)),
                     tipY - int(15 * std::sin(angle + side)), colour);
    }
}

// A short line of text, 14 to 26 pixels high.
void drawText(tessel::Surface& surface, QRandomGenerator& random) {
    static const char* const texts[] = {"Feliz cumpleaños", "Oferta",        "¡Hola!",
                                        "Próximamente",     "Entrada libre", "Gracias"};
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(14 + int(random.bounded(13)));
    surface.selectFont(tessel::ResolvedFont{font, 0});
    surface.setForeground(tessel::Colour(random.bounded(0x1000000)));
    surface.setBackground(-2);
    surface.moveTo(int(random.bounded(kWidth - 100)), int(random.bounded(kHeight - 20)));
    surface.print(QString::fromUtf8(texts[random.bounded(6)]));
}

// The middle one of the measured durations: the machine may be busy with other work at times,
// which the median shrugs off better than the mean.
double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Plain copies of the picture, timed next to every push so that both see the same machine: a
// deep QImage copy (what a full-copy history would do per level) and a memcpy into a buffer
// already in use.
class CopyTimer {
  public:
    explicit CopyTimer(std::size_t bytes) : buffer_(bytes, 0) {}

    void measure(const QImage& picture) {
        const auto t0 = Clock::now();
        QImage copy = picture.copy();
        benchmark::DoNotOptimize(copy.constBits());
        const auto t1 = Clock::now();
        std::memcpy(buffer_.data(), picture.constBits(), buffer_.size());
        benchmark::DoNotOptimize(buffer_.data());
        benchmark::ClobberMemory();
        const auto t2 = Clock::now();
        qimage.push_back(seconds(t1 - t0));
        plain.push_back(seconds(t2 - t1));
    }

    std::vector<double> qimage;
    std::vector<double> plain;

  private:
    std::vector<uchar> buffer_;
};

void BM_UndoHistory_5000Insertions(benchmark::State& state) {
    const QImage picture = paper();
    const double pictureBytes = double(picture.sizeInBytes());
    for (auto _ : state) {
        tessel::UndoHistory history;
        history.start(picture);
        QRandomGenerator random(2024);
        CopyTimer copies(std::size_t(picture.sizeInBytes()));
        std::vector<double> pushTimes;
        std::size_t levelZeroBytes = 0;
        for (int i = 0; i < kInsertions; ++i) {
            // Alternate which of the two goes first, so neither always finds the cache warm.
            if (i % 2 == 0) {
                copies.measure(std::as_const(history.current()).image());
            }
            const auto t0 = Clock::now();
            history.push();
            pushTimes.push_back(seconds(Clock::now() - t0));
            if (i % 2 == 1) {
                copies.measure(std::as_const(history.current()).image());
            }
            if (i == 0) {
                levelZeroBytes = history.storedBytes();
            }
            if (i % 2 == 0) {
                drawArrow(history.current(), random);
            } else {
                drawText(history.current(), random);
            }
        }
        // Level 5000 is the current picture; the growth is held by the 4999 stored levels 1..4999.
        const double perLevel =
            double(history.storedBytes() - levelZeroBytes) / double(kInsertions - 1);
        const double push = median(pushTimes);
        const double qimage = median(copies.qimage);
        const double plain = median(copies.plain);

        std::vector<double> undoTimes;
        for (bool more = true; more;) {
            const auto t0 = Clock::now();
            more = history.undo();
            undoTimes.push_back(seconds(Clock::now() - t0));
        }
        const double undo = median(undoTimes);

        state.counters["level_pct_of_picture"] = 100.0 * perLevel / pictureBytes;
        state.counters["total_MB"] = double(levelZeroBytes) / 1e6 + perLevel * kInsertions / 1e6;
        state.counters["push_us"] = push * 1e6;
        state.counters["qimage_copy_us"] = qimage * 1e6;
        state.counters["memcpy_us"] = plain * 1e6;
        state.counters["push_vs_qimage_copy"] = push / qimage;
        state.counters["push_vs_memcpy"] = push / plain;
        state.counters["undo_vs_memcpy"] = undo / plain;
        std::printf(
            "\n5000 insertions on %d x %d (tiles %d px): memory per level %.2f %% of a full copy "
            "(target <= 3 %%), level 0 %.2f MB, all levels %.1f MB\n"
            "push+commit (median) %.1f us = %.2fx a QImage deep copy (%.1f us), %.2fx a memcpy "
            "(%.1f us) (target <= 0.1x a deep copy); undo %.2fx a memcpy\n\n",
            kWidth, kHeight, tessel::UndoHistory::kTileSize, 100.0 * perLevel / pictureBytes,
            double(levelZeroBytes) / 1e6,
            double(levelZeroBytes) / 1e6 + perLevel * kInsertions / 1e6, push * 1e6, push / qimage,
            qimage * 1e6, push / plain, plain * 1e6, undo / plain);
    }
}
BENCHMARK(BM_UndoHistory_5000Insertions)
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

using bench::photograph;

using bench::Spread;
using bench::spread;

void BM_UndoHistory_Photograph(benchmark::State& state) {
    const QImage picture = photograph();
    const double pictureBytes = double(picture.sizeInBytes());
    constexpr int kRepetitions = 9;
    constexpr int kTile = tessel::UndoHistory::kTileSize;
    for (auto _ : state) {
        tessel::UndoHistory history;
        history.start(picture);
        history.push();  // level 0
        std::vector<uchar> buffer(picture.sizeInBytes());
        QRandomGenerator random(7);
        std::vector<double> small, smallMemory, bubble, bubbleWhole, grey, greyUndo, memcpyTimes,
            copyTimes;
        tessel::BubbleSettings bubbleSettings;
        bubbleSettings.size = 60;
        bubbleSettings.shadow = 1;
        for (int r = 0; r < kRepetitions; ++r) {
            // A 100 x 100 change, committed by the next push (after a push that takes back the
            // level undone last time, so that only this change is measured).
            history.push();
            const int x = int(random.bounded(picture.width() - 100));
            const int y = int(random.bounded(picture.height() - 100));
            history.current().box(x, y, x + 100, y + 100, 0, 0x3050F0, 0x3050F0, 0);
            const QRect touched = history.current().dirtyRect();
            const int tiles = ((touched.right() / kTile) - (touched.left() / kTile) + 1) *
                              ((touched.bottom() / kTile) - (touched.top() / kTile) + 1);
            const std::size_t before = history.storedBytes();
            auto t0 = Clock::now();
            history.push();
            const double push = seconds(Clock::now() - t0);
            smallMemory.push_back(double(history.storedBytes() - before) /
                                  (double(tiles) * kTile * kTile * 4));
            t0 = Clock::now();
            std::memcpy(buffer.data(), picture.constBits(), buffer.size());
            benchmark::ClobberMemory();
            const double plain = seconds(Clock::now() - t0);
            small.push_back(push / plain);
            memcpyTimes.push_back(plain);

            // A speech bubble, committed by the next push.
            tessel::drawBubble(history.current(), int(random.bounded(picture.width() - 100)),
                               int(random.bounded(picture.height() - 100)), bubbleSettings);
            t0 = Clock::now();
            history.push();
            bubble.push_back(seconds(Clock::now() - t0) / plain);
            tessel::drawBubble(history.current(), int(random.bounded(picture.width() - 100)),
                               int(random.bounded(picture.height() - 100)), bubbleSettings);
            history.current().markDirty(picture.rect());
            t0 = Clock::now();
            history.push();
            bubbleWhole.push_back(seconds(Clock::now() - t0) / plain);

            // A change of the whole picture, committed by the next push, then undone.
            tessel::toGreyScale(history.current());
            t0 = Clock::now();
            history.push();
            const double greyPush = seconds(Clock::now() - t0);
            t0 = Clock::now();
            QImage copy = picture.copy();
            benchmark::DoNotOptimize(copy.constBits());
            const double deep = seconds(Clock::now() - t0);
            copy = QImage();
            copyTimes.push_back(deep);
            grey.push_back(greyPush / deep);
            history.undo();  // back to the grey picture: its level waits for the next push
            t0 = Clock::now();
            history.undo();  // the colours come back
            greyUndo.push_back(seconds(Clock::now() - t0) / plain);
        }
        const Spread s = spread(small), m = spread(smallMemory), b = spread(bubble),
                     bw = spread(bubbleWhole), g = spread(grey), u = spread(greyUndo),
                     mc = spread(memcpyTimes), dc = spread(copyTimes);
        state.counters["small_vs_memcpy"] = s.median;
        state.counters["grey_vs_deep_copy"] = g.median;
        std::printf(
            "\nphotograph %d x %d (%.1f MB), %d repetitions, median [min, max]:\n"
            "  memcpy %.2f ms [%.2f, %.2f], deep copy %.2f ms [%.2f, %.2f]\n"
            "  100 x 100 change: push+commit %.4f %% of a memcpy [%.4f, %.4f] (target <= 1 %%), "
            "memory %.2fx its tiles [%.2f, %.2f] (target <= 4x)\n"
            "  bubble of 60 points with its shadow: push+commit %.4f %% of a memcpy [%.4f, %.4f]; "
            "with the whole picture marked %.4f %% [%.4f, %.4f]\n"
            "  grey scale: push+commit %.2fx a deep copy [%.2f, %.2f] (target <= 1.2x), "
            "undo %.2fx a memcpy [%.2f, %.2f]\n\n",
            picture.width(), picture.height(), pictureBytes / 1e6, kRepetitions, mc.median * 1e3,
            mc.min * 1e3, mc.max * 1e3, dc.median * 1e3, dc.min * 1e3, dc.max * 1e3, 100 * s.median,
            100 * s.min, 100 * s.max, m.median, m.min, m.max, 100 * b.median, 100 * b.min,
            100 * b.max, 100 * bw.median, 100 * bw.min, 100 * bw.max, g.median, g.min, g.max,
            u.median, u.min, u.max);
    }
}
BENCHMARK(BM_UndoHistory_Photograph)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
