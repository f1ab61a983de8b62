// An element shown live while its dialog is open, against inserting it: the update of a preview
// (the element taken back and drawn again at the zero position, then the view's reduced copies
// brought up to date) against today's insertion of the same element on the same picture (a push,
// the drawing, the same view update, as "Aceptar" does). Four elements (a 48-point text line, a
// speech bubble, an aligned block, a calendar month) on a 1202 x 900 paper and on the
// 5640 x 3172 photograph (see Photograph.h), the photograph fitted in a 1200 x 900 view as the
// program shows it. Each repetition times ten operations of each kind, interleaved, at zero
// positions that move as a dragging user moves them; the ratios are taken per repetition.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "OffscreenMain.h"
#include "Photograph.h"
#include "Spread.h"
#include "calendar/HolidayTable.h"
#include "calendar/MonthSheet.h"
#include "history/UndoHistory.h"
#include "platform/Fonts.h"
#include "text/AlignedText.h"
#include "text/AlignedTextSettings.h"
#include "text/BubbleShapes.h"
#include "text/LineText.h"
#include "text/TextProperties.h"
#include "view/ViewCache.h"
#include "view/ViewTransform.h"

namespace {

using Clock = std::chrono::steady_clock;
using Draw = std::function<void(tessel::Surface&, QPoint)>;

double milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Element {
    const char* name;
    Draw draw;
};

std::vector<Element> elements() {
    static tessel::TextProperties text;
    text.pointSize = 48;
    static tessel::BubbleSettings bubble;
    bubble.size = 48;
    bubble.shadow = 1;
    static tessel::MonthSettings month;
    month.monthYear = 2027;
    month.monthNumber = 7;
    static tessel::HolidayTable holidays;
    return {
        {"text line 48 pt",
         [](tessel::Surface& canvas, QPoint at) {
             tessel::drawLevelText(canvas, at.x(), at.y(), text.foreColour, text.backColour,
                                   QStringLiteral("Vacaciones en la playa"), text.fontName,
                                   text.pointSize, tessel::styleBits(text.styles));
         }},
        {"bubble", [](tessel::Surface& canvas,
                      QPoint at) { tessel::drawBubble(canvas, at.x(), at.y(), bubble); }},
        {"aligned block",
         [](tessel::Surface& canvas, QPoint at) {
             tessel::drawAlignedText(
                 canvas,
                 QStringLiteral("Un bloque de texto alineado a los dos lados, de varias lineas, "
                                "como el pie de una fotografia de las vacaciones."),
                 tessel::kAlignJustified, 300, at.x(), at.y(),
                 tessel::platform::resolveFont(tessel::levelFont(text)), text.foreColour,
                 text.backColour);
         }},
        {"month", [](tessel::Surface& canvas,
                     QPoint at) { tessel::drawMonthOnCanvas(canvas, at, month, holidays, text); }},
    };
}

struct Picture {
    const char* name;
    QImage image;
};

// One picture: for each element, the insertion and the preview update, each timed over `ops`
// operations per repetition; returns the preview times (ms) per element.
std::vector<std::vector<double>> measure(const Picture& picture, int repetitions,
                                         std::vector<std::vector<double>>& ratios) {
    const std::vector<Element> all = elements();
    std::vector<std::vector<double>> previews(all.size());
    ratios.assign(all.size(), {});
    constexpr int kOps = 10;
    const QSize size = picture.image.size();
    tessel::UndoHistory history;
    history.start(picture.image);
    tessel::ViewCache cache;
    cache.sync(history);
    const tessel::Zoom zoom = tessel::fitZoom(QSize(1200, 900), size);
    const bool reduced = zoom.num < zoom.den;
    if (reduced) cache.reduced(std::as_const(history).current().image(), zoom);
    const auto viewUpdate = [&] {
        cache.sync(history);
        if (reduced) cache.reduced(std::as_const(history).current().image(), zoom);
    };
    for (std::size_t e = 0; e < all.size(); ++e) {
        const Draw& draw = all[e].draw;
        // The first drawing of an element loads its fonts; not part of either.
        history.push();
        draw(history.current(), QPoint(50, 50));
        history.undo();
        viewUpdate();
        for (int r = 0; r < repetitions; ++r) {
            double inserting = 0, previewing = 0;
            for (int i = 0; i < kOps; ++i) {
                const QPoint at(60 + (size.width() / 3) * i / kOps + 7 * r,
                                60 + (size.height() / 3) * i / kOps + 5 * r);
                auto t0 = Clock::now();
                history.push();
                draw(history.current(), at);
                viewUpdate();
                inserting += milliseconds(Clock::now() - t0);
                history.undo();
                viewUpdate();
            }
            history.beginTrial();
            draw(history.current(), QPoint(60, 60));
            viewUpdate();
            for (int i = 0; i < kOps; ++i) {
                const QPoint at(60 + 9 * (i + 1), 60 + 4 * (i + 1));  // a drag, a few pixels a step
                auto t0 = Clock::now();
                history.reviseTrial();
                draw(history.current(), at);
                viewUpdate();
                previewing += milliseconds(Clock::now() - t0);
            }
            history.withdrawTrial();
            viewUpdate();
            previews[e].push_back(previewing / kOps);
            ratios[e].push_back(previewing / inserting);
        }
    }
    return previews;
}

void BM_PreviewUpdate(benchmark::State& state) {
    const int repetitions = int(state.range(0));
    QImage paper(1202, 900, QImage::Format_RGB32);
    paper.fill(Qt::white);
    const std::vector<Element> all = elements();
    for (auto _ : state) {
        std::vector<std::vector<double>> paperRatios, photoRatios;
        const auto onPaper = measure({"paper", paper}, repetitions, paperRatios);
        const auto onPhoto = measure({"photograph", bench::photograph()}, repetitions, photoRatios);
        std::printf("\npreview update, %d repetitions of 10 updates, median [min, max]:\n",
                    repetitions);
        for (std::size_t e = 0; e < all.size(); ++e) {
            std::vector<double> photoVsPaper;
            for (int r = 0; r < repetitions; ++r) {
                photoVsPaper.push_back(onPhoto[e][std::size_t(r)] / onPaper[e][std::size_t(r)]);
            }
            const bench::Spread a = bench::spread(paperRatios[e]),
                                b = bench::spread(photoRatios[e]), c = bench::spread(photoVsPaper),
                                t = bench::spread(onPhoto[e]), u = bench::spread(onPaper[e]);
            std::printf(
                "  %-16s preview / insertion: paper %.2f [%.2f, %.2f], photograph %.2f [%.2f, "
                "%.2f] (target <= 2)\n"
                "  %-16s photograph / paper preview: %.2f [%.2f, %.2f] (target <= 1.5); "
                "%.2f ms on the paper, %.2f ms on the photograph\n",
                all[e].name, a.median, a.min, a.max, b.median, b.min, b.max, "", c.median, c.min,
                c.max, u.median, t.median);
        }
        std::printf("\n");
    }
}
BENCHMARK(BM_PreviewUpdate)->Arg(7)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::runOnOffscreenPlatform(argc, argv);
}
