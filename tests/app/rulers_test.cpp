// The ruler strips: marks, lengths, colours and where the labels stand.

#include <gtest/gtest.h>

#include "view/Rulers.h"
#include "app/WindowFit.h"

#include <cmath>
#include <string>

namespace tessel {
namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kBlack = 0x000000;
constexpr Colour kGrey = 0x808080;

// Length of the run of `colour` from the strip's edge at `at` along the strip.
int markLength(const Surface& strip, Qt::Orientation orientation, int at, Colour colour) {
    int n = 0;
    while (true) {
        const Colour c = orientation == Qt::Horizontal ? strip.pixel(at, n) : strip.pixel(n, at);
        if (c != colour) return n;
        ++n;
    }
}

// Whether anything but the ground shows in the rectangle.
bool hasInk(const Surface& strip, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const Colour c = strip.pixel(x, y);
            if (c != kRulerGround && c != -1) return true;
        }
    }
    return false;
}

// Where millimetre i stands at ppi pixels per inch: ppi * i / 25.4 with the divisor a
// single-precision number, in extended precision, rounded to nearest with ties to even.
int expectedMark(int ppi, int i) {
    const long double divisor = 25.4f;
    return int(std::lrint((long double)ppi * i / divisor));
}

// The colour and length the rule gives millimetre i.
std::pair<Colour, int> expectedStyle(int i) {
    if (i % 10 == 0) return {kRed, 9};
    if (i % 5 == 0) return {kBlack, 6};
    return {kGrey, 4};
}

TEST(MillimetreRuler, MarkPositionsFollowTheScreenResolution) {
    // Worked by hand at 96 pixels per inch: 10 mm is 37.795... -> 38, 5 mm 18.897... -> 19.
    EXPECT_EQ(millimetreMark(96, 0), 0);
    EXPECT_EQ(millimetreMark(96, 10), 38);
    EXPECT_EQ(millimetreMark(96, 5), 19);
    EXPECT_EQ(millimetreMark(96, 100), 378);
    EXPECT_EQ(millimetreMark(120, 10), 47);
    for (const int ppi : {72, 96, 120, 144}) {
        for (int i = 0; i <= 400; ++i)
            EXPECT_EQ(millimetreMark(ppi, i), expectedMark(ppi, i)) << ppi << " " << i;
    }
}

TEST(MillimetreRuler, EveryMarkAlongBothStripsHasItsColourAndLength) {
    for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
        const bool across = orientation == Qt::Horizontal;
        Surface strip(across ? 1217 : 40, across ? 40 : 907);
        drawMillimetreRuler(strip, orientation, 96);
        const int length = across ? 1217 : 907;
        int last = -1;
        for (int i = 0; expectedMark(96, i) < length; ++i) {
            const auto [colour, markSize] = expectedStyle(i);
            EXPECT_EQ(markLength(strip, orientation, expectedMark(96, i), colour), markSize)
                << (across ? "across " : "down ") << i;
            last = i;
        }
        // 32 cm stands at 1209 across and 24 cm at 907 would be beyond the strip.
        EXPECT_EQ(last, across ? 321 : 239);
        // Between two marks the ground shows.
        EXPECT_EQ(across ? strip.pixel(2, 0) : strip.pixel(0, 2), kRulerGround);
    }
}

TEST(MillimetreRuler, LabelsStandUnderTheirCentimetreMarks) {
    Surface strip(1217, 40);
    drawMillimetreRuler(strip, Qt::Horizontal, 96);
    // "1" at (38 - 3, 11) and "10" at (378 - 3, 11); nothing is printed at 0 cm.
    EXPECT_TRUE(hasInk(strip, QRect(35, 11, 8, 12)));
    EXPECT_TRUE(hasInk(strip, QRect(375, 11, 14, 12)));
    EXPECT_FALSE(hasInk(strip, QRect(0, 10, 30, 30)));
}

TEST(MillimetreRuler, VerticalStripRunsDownFromItsLeftEdge) {
    Surface strip(40, 907);
    drawMillimetreRuler(strip, Qt::Vertical, 96);
    EXPECT_EQ(markLength(strip, Qt::Vertical, 38, kRed), 9);
    EXPECT_EQ(markLength(strip, Qt::Vertical, 19, kBlack), 6);
    EXPECT_TRUE(hasInk(strip, QRect(11, 35, 12, 12)));
    EXPECT_TRUE(hasInk(strip, QRect(11, 375, 20, 12)));
}

TEST(PixelRuler, MarksEveryFivePixelsWithRedFifties) {
    Surface strip(1217, 40);
    drawPixelRuler(strip, Qt::Horizontal, 1200);
    for (int p = 0; p <= 1200; p += 5) {
        const Colour colour = p % 50 == 0 && p > 0 ? kRed : kBlack;
        EXPECT_EQ(markLength(strip, Qt::Horizontal, p, colour), p % 10 == 0 ? 10 : 5) << p;
        if (p < 1200) {
            EXPECT_EQ(strip.pixel(p + 2, 0), kRulerGround) << p;
        }
    }
    EXPECT_GE(markLength(strip, Qt::Horizontal, 1205, kRulerGround), 12);
}

TEST(PixelRuler, LabelsFiftyToTheEndOfEachStrip) {
    Surface across(1217, 40);
    drawPixelRuler(across, Qt::Horizontal, 1200);
    for (int p = 50; p <= 1200; p += 50) {
        EXPECT_TRUE(hasInk(across, QRect(p - 5, 12, 20, 14))) << p;
    }
    EXPECT_FALSE(hasInk(across, QRect(0, 11, 40, 29)));

    Surface down(40, 907);
    drawPixelRuler(down, Qt::Vertical, 900);
    for (int p = 50; p <= 900; p += 50) {
        EXPECT_TRUE(hasInk(down, QRect(14, p - 5, 20, 12))) << p;
        EXPECT_EQ(markLength(down, Qt::Vertical, p, kRed), 10) << p;
    }
    EXPECT_GE(markLength(down, Qt::Vertical, 905, kRulerGround), 14);
}

TEST(ViewRuler, AtActualSizeWithoutScrollItIsTheRulerAsEver) {
    for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
        const bool across = orientation == Qt::Horizontal;
        const QSize size = across ? QSize(1217, 40) : QSize(40, 907);
        const int viewLength = across ? 1200 : 900;
        Surface pixels(size.width(), size.height()), expectedPixels(size.width(), size.height());
        drawViewRuler(pixels, orientation, RulerUnit::Pixels, {Zoom{}, 0, viewLength, 300, 96});
        drawPixelRuler(expectedPixels, orientation, viewLength);
        EXPECT_EQ(pixels.image(), expectedPixels.image());
        Surface mm(size.width(), size.height()), expectedMm(size.width(), size.height());
        drawViewRuler(mm, orientation, RulerUnit::Millimetres, {Zoom{}, 0, viewLength, 300, 96});
        drawMillimetreRuler(expectedMm, orientation, 96);
        EXPECT_EQ(mm.image(), expectedMm.image());
    }
}

// The places along the strip of the red label marks, and the runs of label ink (separated by
// ground) in the band where the labels stand.
std::vector<int> labelMarks(const Surface& strip, Qt::Orientation orientation) {
    const bool across = orientation == Qt::Horizontal;
    std::vector<int> marks;
    for (int at = 0; at < (across ? strip.width() : strip.height()); ++at) {
        if (markLength(strip, orientation, at, kRed) >= 9) marks.push_back(at);
    }
    return marks;
}
std::vector<std::pair<int, int>> labelRuns(const Surface& strip, Qt::Orientation orientation) {
    const bool across = orientation == Qt::Horizontal;
    std::vector<std::pair<int, int>> runs;
    bool inRun = false;
    for (int at = 0; at < (across ? strip.width() : strip.height()); ++at) {
        const bool ink = across ? hasInk(strip, QRect(at, 11, 1, strip.height() - 11))
                                : hasInk(strip, QRect(11, at, strip.width() - 11, 1));
        if (ink && !inRun) runs.push_back({at, at});
        if (ink) runs.back().second = at;
        inRun = ink;
    }
    return runs;
}

TEST(ViewRuler, LabelsStayClearOfEachOtherAtAnEighthAndAtEight) {
    for (const Zoom zoom : {Zoom{1, 8}, Zoom{8, 1}}) {
        for (const auto unit : {RulerUnit::Pixels, RulerUnit::Millimetres}) {
            for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
                const bool across = orientation == Qt::Horizontal;
                Surface strip(across ? 1217 : 40, across ? 40 : 907);
                // Scrolled far in, where the labels have four or five digits.
                drawViewRuler(strip, orientation, unit, {zoom, 4000, across ? 1200 : 900, -1, 96});
                const std::vector<int> marks = labelMarks(strip, orientation);
                const std::vector<std::pair<int, int>> runs = labelRuns(strip, orientation);
                SCOPED_TRACE(testing::Message()
                             << zoom.num << "/" << zoom.den << " " << (across ? "across" : "down"));
                ASSERT_GE(marks.size(), 5u);
                // One run of ink per label: none has run into the next one.
                EXPECT_GE(runs.size() + 1, marks.size());
                for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
                    EXPECT_LT(runs[i].second - runs[i].first, marks[1] - marks[0]);
                }
            }
        }
    }
    // Eight times, in pixels: labels every 5 picture pixels, 40 view pixels apart, on the
    // pixels' first view columns (5 * 8 = 40).
    Surface strip(1217, 40);
    drawViewRuler(strip, Qt::Horizontal, RulerUnit::Pixels, {Zoom{8, 1}, 0, 1200, -1, 96});
    const std::vector<int> marks = labelMarks(strip, Qt::Horizontal);
    ASSERT_GE(marks.size(), 3u);
    EXPECT_EQ(marks[0], 0);
    EXPECT_EQ(marks[1], 40);
    EXPECT_EQ(marks[2], 80);
}

// The view pixel just past a picture of `length` pixels at the zoom, scrolled by `scroll`: the
// picture covers ceil(length * zoom) view pixels, a last one only partly covered included.
long long pictureEndInView(int length, Zoom zoom, int scroll) {
    return ((long long)length * zoom.num + zoom.den - 1) / zoom.den - scroll;
}

// Every label whole inside the strip, beyond the marks across it, before the picture's end along
// it, clear of the next label, and standing by a red mark of its own.
void expectLabelsWhole(const Surface& strip, Qt::Orientation orientation, const RulerLabels& labels,
                       long long end, int markDepth) {
    const bool across = orientation == Qt::Horizontal;
    const QRect whole(0, 0, strip.width(), strip.height());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const QRect& box = labels[i].box;
        SCOPED_TRACE(labels[i].text.toStdString());
        EXPECT_FALSE(box.isEmpty());
        EXPECT_TRUE(whole.contains(box));
        EXPECT_LE(across ? box.right() : box.bottom(), end - 1);
        EXPECT_GE(across ? box.top() : box.left(), markDepth);
        if (i + 1 < labels.size()) {
            EXPECT_FALSE(box.intersects(labels[i + 1].box));
        }
        // The box is as large as the whole text in the strip's font.
        EXPECT_EQ(box.size(), strip.measure(labels[i].text));
        // A red mark at most one pixel beyond either end of the box.
        bool marked = false;
        const int from = across ? box.left() : box.top();
        const int to = across ? box.right() : box.bottom();
        for (int at = std::max(0, from - 1);
             at <= std::min(to + 1, (across ? strip.width() : strip.height()) - 1); ++at) {
            marked = marked || markLength(strip, orientation, at, kRed) >= 9;
        }
        EXPECT_TRUE(marked);
    }
}

// Nothing but the ground along the strip from `from` on.
bool groundFrom(const Surface& strip, Qt::Orientation orientation, long long from) {
    const bool across = orientation == Qt::Horizontal;
    const int length = across ? strip.width() : strip.height();
    if (from >= length) return true;
    const int start = int(std::max(0LL, from));
    return !hasInk(strip, across ? QRect(start, 0, length - start, strip.height())
                                 : QRect(0, start, strip.width(), length - start));
}

TEST(ViewRuler, EndsWithThePictureAndPrintsEveryLabelWhole) {
    // The strips of a window at its start size and of one of 800 x 600 (its client 578 high
    // under the menu bar): the across strip is the view's width plus 17, the down strip the
    // view's height plus 7.
    for (const QSize client : {kStartClientSize, QSize(800, 578)}) {
        const ControlPlaces places = controlPlaces(client);
        for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
            const bool across = orientation == Qt::Horizontal;
            const QSize size = across ? places.acrossRuler.size() : places.downRuler.size();
            const int viewLength = across ? places.view.width() : places.view.height();
            // Pictures of 1 and 2 pixels, one shorter than the view, the long sides of
            // photographs, one with five-digit lengths and the longest side allowed.
            for (const int picture : {1, 2, 700, 4000, 6936, 16000, 99999, 67108864}) {
                // The zoom that fits the picture into the view, the ends of the zoom ladder
                // and actual size.
                const Zoom fit = Zoom::of(std::min(viewLength, picture), picture);
                for (const Zoom zoom : {fit, Zoom{1, 16}, Zoom{1, 1}, Zoom{8, 1}}) {
                    const long long content = pictureEndInView(picture, zoom, 0);
                    // Scrolled home, half way and to the far end.
                    for (const long long scroll :
                         {0LL, content / 2, std::max(0LL, content - viewLength)}) {
                        for (const auto unit : {RulerUnit::Pixels, RulerUnit::Millimetres}) {
                            SCOPED_TRACE(testing::Message()
                                         << client.width() << (across ? " across " : " down ")
                                         << picture << " at " << zoom.num << "/" << zoom.den
                                         << " scrolled " << scroll
                                         << (unit == RulerUnit::Pixels ? " px" : " mm"));
                            Surface strip(size.width(), size.height());
                            RulerSpan span{zoom, int(scroll), viewLength, -1, 96};
                            span.pictureLength = picture;
                            const RulerLabels labels =
                                drawViewRuler(strip, orientation, unit, span);
                            const long long end = pictureEndInView(picture, zoom, int(scroll));
                            expectLabelsWhole(strip, orientation, labels, end,
                                              unit == RulerUnit::Pixels ? 10 : 9);
                            // A mark may stand on the picture's end, nothing beyond it.
                            EXPECT_TRUE(groundFrom(strip, orientation, end + 1));
                        }
                    }
                }
            }
        }
    }
}

TEST(ViewRuler, FiveDigitLabelsFitTheDownStrip) {
    // 16000 pixels down, fitted into a view 900 high (9/160): labels every 1000 pixels, the
    // five-digit ones included, the last standing on the picture's end; on an ordinary screen
    // and on one of pixel ratio 2, where the strip has twice the pixels each way.
    for (const int ratio : {1, 2}) {
        SCOPED_TRACE(ratio);
        Surface strip(40 * ratio, 907 * ratio);
        RulerSpan span{Zoom{9, 160}, 0, 900, -1, 96};
        span.pictureLength = 16000;
        span.scale = ratio;
        const RulerLabels labels = drawViewRuler(strip, Qt::Vertical, RulerUnit::Pixels, span);
        std::vector<std::string> texts;
        for (const RulerLabel& label : labels) texts.push_back(label.text.toStdString());
        std::vector<std::string> expected;
        for (int p = 0; p <= 16000; p += 1000) expected.push_back(std::to_string(p));
        EXPECT_EQ(texts, expected);
        expectLabelsWhole(strip, Qt::Vertical, labels, 900 * ratio, 10 * ratio);
        EXPECT_TRUE(groundFrom(strip, Qt::Vertical, 900 * ratio + 1));
        // Its ink shows inside its box.
        EXPECT_TRUE(hasInk(strip, labels.back().box));
    }
}

TEST(ViewRuler, WithoutAPictureTheLastLabelsOfASmallWindowAreWhole) {
    // Around 800 x 600 the start rulers (millimetres, actual size, no picture) end near 20 cm
    // (756) across and 13 cm (491) down: the across strip is 40 longer than the client is wide,
    // the down strip 70 shorter than the client is high.
    for (const QSize client : {QSize(800, 578), QSize(796, 565), QSize(803, 560)}) {
        const ControlPlaces places = controlPlaces(client);
        ASSERT_EQ(places.acrossRuler.width(), client.width() - 40);
        ASSERT_EQ(places.downRuler.height(), client.height() - 70);
        for (const auto orientation : {Qt::Horizontal, Qt::Vertical}) {
            const bool across = orientation == Qt::Horizontal;
            const QRect place = across ? places.acrossRuler : places.downRuler;
            const int viewLength = across ? places.view.width() : places.view.height();
            for (const auto unit : {RulerUnit::Millimetres, RulerUnit::Pixels}) {
                SCOPED_TRACE(testing::Message() << client.width() << "x" << client.height()
                                                << (across ? " across" : " down"));
                Surface strip(place.width(), place.height());
                const RulerLabels labels =
                    drawViewRuler(strip, orientation, unit, {Zoom{}, 0, viewLength, 0, 96});
                ASSERT_FALSE(labels.empty());
                const bool mm = unit == RulerUnit::Millimetres;
                // The last label is that of the last labelled mark inside the strip.
                const int length = across ? place.width() : place.height();
                int last = 0;
                if (mm) {
                    for (int cm = 1; expectedMark(96, 10 * cm) < length; ++cm) last = cm;
                } else {
                    last = viewLength / 50 * 50;
                }
                EXPECT_EQ(labels.back().text, QString::number(last));
                expectLabelsWhole(strip, orientation, labels, length + 1, mm ? 9 : 10);
            }
        }
    }
}

TEST(ViewRuler, LabelsKeepOutOfThePartTheOtherStripCovers) {
    // The last 16 pixels of the across strip lie under a strip as deep as itself.
    Surface strip(1217, 40);
    RulerSpan span{Zoom{}, 0, 1200, -1, 96};
    span.covered = QRect(1201, 0, 16, 40);
    const RulerLabels labels = drawViewRuler(strip, Qt::Horizontal, RulerUnit::Pixels, span);
    ASSERT_FALSE(labels.empty());
    for (const RulerLabel& label : labels) EXPECT_FALSE(label.box.intersects(span.covered));
    // "1200" moved in to end where the covered part begins.
    EXPECT_EQ(labels.back().text, QStringLiteral("1200"));
    EXPECT_EQ(labels.back().box.right(), 1200);
}

TEST(ViewRuler, AtPixelRatioTwoTheStripIsDrawnAtTheScreensResolution) {
    // Twice the pixels each way: the marks of 50, 100 ... stand at 100, 200 ... device pixels,
    // 20 long, and the labels' ink is about twice as tall as on an ordinary screen.
    // The rows below the marks (10 pixels long, times the ratio) with label ink.
    const auto inkRows = [](const Surface& strip, int ratio, int from, int to) {
        int first = -1, last = -1;
        for (int y = 10 * ratio + 1; y < strip.height(); ++y) {
            if (hasInk(strip, QRect(from, y, to - from, 1))) {
                if (first < 0) first = y;
                last = y;
            }
        }
        return last - first + 1;
    };
    Surface sharp(2 * 1217, 2 * 40);
    drawViewRuler(sharp, Qt::Horizontal, RulerUnit::Pixels, {Zoom{}, 0, 1200, -1, 96, 0, 2});
    EXPECT_EQ(markLength(sharp, Qt::Horizontal, 100, kRed), 20);
    EXPECT_EQ(markLength(sharp, Qt::Horizontal, 200, kRed), 20);
    EXPECT_EQ(markLength(sharp, Qt::Horizontal, 10, kBlack), 10);
    Surface plain(1217, 40);
    drawPixelRuler(plain, Qt::Horizontal, 1200);
    const int plainHeight = inkRows(plain, 1, 95, 120);
    EXPECT_GE(plainHeight, 5);
    EXPECT_GE(inkRows(sharp, 2, 190, 240), 2 * plainHeight - 2);
}

}  // namespace
}  // namespace tessel
