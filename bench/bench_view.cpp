// The view on a 5640 x 3172 photograph, each figure against a memcpy of the picture measured in
// the same run: one redraw of the whole view at "Ajustar a la ventana" (from the reduced copy),
// one scroll step at "Tamaño real" (a wheel step of three 20-pixel lines: the strip it uncovers
// is drawn, the window system moves the rest), and bringing the view up to date after a small
// insertion (a 200 x 100 box), on the photograph and on a 1202 x 900 paper, both at "Ajustar a la
// ventana". Ratios: divide the medians (the JSON or console output of --benchmark_repetitions).

#include <benchmark/benchmark.h>

#include <QImage>
#include <cstring>
#include <vector>

#include "view/CanvasView.h"
#include "history/UndoHistory.h"
#include "view/ViewCache.h"
#include "view/ViewTransform.h"

namespace {

using namespace tessel;

constexpr QSize kPhoto(5640, 3172);
constexpr QSize kPaper(1202, 900);
constexpr QSize kView(1200, 900);
constexpr int kWheelStep = 3 * 20;

// A photograph-like picture: smooth gradients with some noise.
QImage photograph(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            noise = noise * 1664525u + 1013904223u;
            const quint32 n = (noise >> 27) & 0xF;
            row[x] = 0xFF000000u | (((x * 255 / size.width()) ^ n) << 16) |
                     (((y * 255 / size.height()) ^ n) << 8) | (((x + y) & 0xFF) ^ n);
        }
    }
    return picture;
}

const QImage& photo() {
    static const QImage picture = photograph(kPhoto);
    return picture;
}

void BM_MemcpyOfThePhotograph(benchmark::State& state) {
    const QImage& source = photo();
    std::vector<uchar> target(std::size_t(source.sizeInBytes()));
    for (auto _ : state) {
        std::memcpy(target.data(), source.constBits(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

void BM_FitRedraw(benchmark::State& state) {
    UndoHistory history;
    history.start(photo());
    ViewCache cache;
    cache.sync(history);
    const ViewTransform fit(fitZoom(kView, kPhoto), QPoint(0, 0));
    const ViewSource source{&history.current().image(),
                            &cache.reduced(history.current().image(), fit.zoom())};
    QImage view(kView, QImage::Format_RGB32);
    CutSettings axes;
    for (auto _ : state) {
        renderView(view, QPoint(0, 0), source, fit, QPoint(2820, 1586), axes);
        benchmark::DoNotOptimize(view.bits());
    }
}

// A zoom step out of the ladder and back to fit: the reduced copy is made again from the mipmap
// (the first image of the view at a new zoom; not a goal, reported for "zooms without lag").
void BM_NewZoomFromTheMipmap(benchmark::State& state) {
    UndoHistory history;
    history.start(photo());
    ViewCache cache;
    cache.sync(history);
    const Zoom zooms[] = {fitZoom(kView, kPhoto), Zoom{1, 4}};
    int k = 0;
    for (auto _ : state) {
        const QImage& reduced = cache.reduced(history.current().image(), zooms[k]);
        benchmark::DoNotOptimize(reduced.constBits());
        k = 1 - k;
    }
}

void BM_ScrollStepAtActualSize(benchmark::State& state) {
    UndoHistory history;
    history.start(photo());
    const ViewSource source{&history.current().image(), nullptr};
    ViewTransform view(Zoom{}, QPoint(1000, 1000));
    QImage strip(QSize(kView.width(), kWheelStep), QImage::Format_RGB32);
    CutSettings axes;
    int direction = 1;
    for (auto _ : state) {
        // One step down (or back up): the uncovered strip at the bottom (or top) is drawn.
        QPoint scroll = view.scroll() + QPoint(0, direction * kWheelStep);
        scroll = view.clampedScroll(scroll, kView, kPhoto);
        view.setScroll(scroll);
        const int top = direction > 0 ? kView.height() - kWheelStep : 0;
        renderView(strip, QPoint(0, top), source, view, QPoint(2000, 1500), axes);
        benchmark::DoNotOptimize(strip.bits());
        if (scroll.y() > 2000 || scroll.y() < 100) direction = -direction;
    }
}

// After a 200 x 100 box drawn on a new level: the cache follows the change and the part of the
// view over it is drawn again. The push, the drawing and the undo that follows are not timed.
void insertionUpdate(benchmark::State& state, const QImage& picture) {
    UndoHistory history;
    history.start(picture);
    // One level above the picture first, so that each undo below comes back to a level whose
    // tiles are kept (undoing to level 0 would make the next push store the whole picture).
    history.push();
    ViewCache cache;
    cache.sync(history);
    const ViewTransform fit(fitZoom(kView, picture.size()), QPoint(0, 0));
    cache.reduced(history.current().image(), fit.zoom());
    CutSettings axes;
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        history.push();
        const int x = 100 + (step * 37) % (picture.width() - 400);
        const int y = 100 + (step * 23) % (picture.height() - 300);
        ++step;
        history.current().box(x, y, x + 200, y + 100, 0, 0x0000FF, 0x00FFFF, 0);
        state.ResumeTiming();

        const QRect changed = cache.sync(history);
        const QPoint from = fit.viewAt(changed.topLeft()) - QPoint(1, 1);
        const QPoint to = fit.viewAt(changed.bottomRight() + QPoint(1, 1)) + QPoint(1, 1);
        QImage part(QSize(to.x() - from.x() + 1, to.y() - from.y() + 1), QImage::Format_RGB32);
        const ViewSource source{&history.current().image(),
                                &cache.reduced(history.current().image(), fit.zoom())};
        renderView(part, from, source, fit, QPoint(0, 0), axes);
        benchmark::DoNotOptimize(part.bits());

        state.PauseTiming();
        history.undo();
        cache.sync(history);
        state.ResumeTiming();
    }
}

void BM_InsertionUpdateOnThePhotograph(benchmark::State& state) {
    insertionUpdate(state, photo());
}

void BM_InsertionUpdateOnAPaper(benchmark::State& state) {
    static const QImage paper = photograph(kPaper);
    insertionUpdate(state, paper);
}

}  // namespace

BENCHMARK(BM_MemcpyOfThePhotograph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NewZoomFromTheMipmap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollStepAtActualSize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertionUpdateOnThePhotograph)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_InsertionUpdateOnAPaper)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK_MAIN();
