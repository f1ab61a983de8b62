// The undo history under 5000 small insertions on a 1202 x 900 paper: memory per level against a
// full copy of the picture, and the cost of a push (which commits the level below) against a
// plain copy of the picture, both measured in the same run.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QRandomGenerator>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/UndoHistory.h"
#include "surface/Surface.h"

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

// Plain copies of the picture: a deep QImage copy and a memcpy into a buffer already in use.
struct CopyCost {
    double qimage = 0;
    double memcpy = 0;
};

CopyCost measureCopy(const QImage& picture, int rounds) {
    std::vector<uchar> buffer(std::size_t(picture.sizeInBytes()));
    std::memcpy(buffer.data(), picture.constBits(), buffer.size());
    CopyCost cost;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Clock::now();
        QImage copy = picture.copy();
        benchmark::DoNotOptimize(copy.constBits());
        auto t1 = Clock::now();
        std::memcpy(buffer.data(), picture.constBits(), buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        auto t2 = Clock::now();
        cost.qimage += seconds(t1 - t0);
        cost.memcpy += seconds(t2 - t1);
    }
    cost.qimage /= rounds;
    cost.memcpy /= rounds;
    return cost;
}

void BM_UndoHistory_5000Insertions(benchmark::State& state) {
    const QImage picture = paper();
    const double pictureBytes = double(picture.sizeInBytes());
    for (auto _ : state) {
        tessel::UndoHistory history;
        history.start(picture);
        QRandomGenerator random(2024);
        double pushTime = 0;
        std::size_t levelZeroBytes = 0;
        for (int i = 0; i < kInsertions; ++i) {
            const auto t0 = Clock::now();
            history.push();
            pushTime += seconds(Clock::now() - t0);
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
        const double push = pushTime / kInsertions;
        const CopyCost copy = measureCopy(history.current().image(), 200);

        const auto t0 = Clock::now();
        while (history.undo()) {
        }
        const double undo = seconds(Clock::now() - t0) / kInsertions;

        state.counters["level_pct_of_picture"] = 100.0 * perLevel / pictureBytes;
        state.counters["total_MB"] = double(levelZeroBytes) / 1e6 + perLevel * kInsertions / 1e6;
        state.counters["push_us"] = push * 1e6;
        state.counters["qimage_copy_us"] = copy.qimage * 1e6;
        state.counters["memcpy_us"] = copy.memcpy * 1e6;
        state.counters["push_vs_qimage_copy"] = push / copy.qimage;
        state.counters["push_vs_memcpy"] = push / copy.memcpy;
        state.counters["undo_vs_memcpy"] = undo / copy.memcpy;
        std::printf(
            "\n5000 insertions on %d x %d (tiles %d px): memory per level %.2f %% of a full copy "
            "(target <= 3 %%), level 0 %.2f MB, all levels %.1f MB\n"
            "push+commit %.1f us = %.2fx a QImage deep copy (%.1f us), %.2fx a memcpy (%.1f us) "
            "(target <= 2x); undo %.2fx a memcpy\n\n",
            kWidth, kHeight, tessel::UndoHistory::kTileSize, 100.0 * perLevel / pictureBytes,
            double(levelZeroBytes) / 1e6,
            double(levelZeroBytes) / 1e6 + perLevel * kInsertions / 1e6, push * 1e6,
            push / copy.qimage, copy.qimage * 1e6, push / copy.memcpy, copy.memcpy * 1e6,
            undo / copy.memcpy);
    }
}
BENCHMARK(BM_UndoHistory_5000Insertions)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
