// The view that zooms and scrolls: where a click lands, the zero position's range, how the picture
// is drawn zoomed out and in, and the reduced copies kept beside the undo history.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <random>

#include "app/MainWindow.h"
#include "view/Mipmap.h"
#include "view/ViewCache.h"
#include "support/ScriptedServices.h"

namespace tessel {
namespace {

constexpr Colour kRed = 0x0000FF;

// A picture whose every pixel tells where it stands: red and green the low bits of x and y,
// blue the high bits of both.
QImage coordinatePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, ((x >> 8) & 0xF) | ((y >> 8) << 4)));
        }
    }
    return picture;
}

class ViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(window.initialise());
    }

    void open(const QImage& picture) {
        const QString path = folder.filePath(QStringLiteral("foto%1.png").arg(++files));
        ASSERT_TRUE(picture.save(path));
        services.fileAnswers.push_back(path);
        window.command(command::ReadPicture);
        ASSERT_TRUE(window.state().history.hasPicture());
        // A picture larger than the view opens fitted; these cases start from its own size,
        // at its top-left corner.
        window.command(command::ActualSize);
        window.canvasControl()->scrollTo(QPoint(0, 0));
    }
    void click(QPoint at) { QTest::mouseClick(window.canvasControl(), Qt::LeftButton, {}, at); }
    QPoint zero() const { return window.state().zero; }
    const Surface& view() const { return window.canvasControl()->surface(); }
    QPoint scroll() const { return window.canvasControl()->transform().scroll(); }
    // How much of the view a scroll bar covers.
    int barThickness() const {
        return window.canvasControl()->findChildren<QScrollBar*>().front()->height() == 0
                   ? 0
                   : std::min(window.canvasControl()->findChildren<QScrollBar*>().front()->height(),
                              window.canvasControl()->findChildren<QScrollBar*>().front()->width());
    }
    Colour pictureAt(QPoint p) const {
        return window.state().history.current().pixel(p.x(), p.y());
    }

    QTemporaryDir folder;
    int files = 0;
    testing::ScriptedServices services;
    MainWindow window;
};

TEST_F(ViewTest, AClickLandsOnThePixelUnderThePointerAtEveryZoomAndScroll) {
    open(coordinatePicture(4032, 3024));

    click(QPoint(10, 20));
    EXPECT_EQ(zero(), QPoint(10, 20));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 10 y : 20"));

    // The whole photograph in 1200 x 900: 1200 / 4032 of a pixel per pixel. View pixel v shows
    // the picture pixel under its centre, (v + 1/2) * 4032 / 1200.
    window.command(command::FitToWindow);
    EXPECT_EQ(window.menu()->state(command::FitToWindow), ItemState::Checked);
    click(QPoint(600, 450));
    const QPoint centre(int(600.5 * 4032 / 1200), int(450.5 * 3024 / 900));
    EXPECT_EQ(centre, QPoint(2017, 1513));
    EXPECT_EQ(zero(), centre);
    EXPECT_EQ(window.horizontalTrackbar()->value(), 2018);
    EXPECT_EQ(window.verticalTrackbar()->value(), 1514);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 2017 y : 1513"));
    // The axes cross where the click was, dotted 3 on and 3 off from the picture's edge.
    EXPECT_EQ(view().pixel(600, 1), kRed);
    EXPECT_NE(view().pixel(600, 4), kRed);
    EXPECT_EQ(view().pixel(13, 450), kRed);
    for (const QScrollBar* bar : window.canvasControl()->findChildren<QScrollBar*>()) {
        EXPECT_FALSE(bar->isVisibleTo(window.canvasControl()));
    }

    // Three times: 1 -> 2 -> 3 on the ladder, then scrolled.
    window.command(command::ActualSize);
    window.command(command::ZoomIn);
    window.command(command::ZoomIn);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{3, 1}));
    window.canvasControl()->scrollTo(QPoint(300, 150));
    ASSERT_EQ(scroll(), QPoint(300, 150));
    // (Points clear of the scroll bars over the view's right and bottom edges; a click at (0, 0)
    // would mean the widget's centre to the test library.)
    for (const QPoint v : {QPoint(31, 47), QPoint(1180, 880), QPoint(0, 1), QPoint(517, 2)}) {
        const QPoint expected((v.x() + 300) / 3, (v.y() + 150) / 3);
        const QPoint axes = window.canvasControl()->transform().viewAt(zero());
        const Colour shown = view().pixel(v.x(), v.y());
        click(v);
        EXPECT_EQ(zero(), expected) << v.x() << "," << v.y();
        // What the view drew under the pointer is that pixel.
        if (v.x() != axes.x() && v.y() != axes.y()) {
            EXPECT_EQ(shown, pictureAt(expected)) << v.x() << "," << v.y();
        }
    }

    // Half size, scrolled as far as it goes: view pixel v shows picture pixel 2 (v + s) + 1.
    window.command(command::ZoomOut);
    window.command(command::ZoomOut);
    window.command(command::ZoomOut);
    window.command(command::ZoomOut);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{1, 2}));
    window.canvasControl()->scrollTo(QPoint(100000, 100000));
    const int bar = barThickness();
    ASSERT_GT(bar, 0);
    const QPoint farEnd(2016 - (1200 - bar), 1512 - (900 - bar));
    EXPECT_EQ(scroll(), farEnd);
    click(QPoint(7, 870));
    EXPECT_EQ(zero(), QPoint(2 * (7 + farEnd.x()) + 1, 2 * (870 + farEnd.y()) + 1));
}

TEST_F(ViewTest, CtrlWheelZoomsAboutThePointerAndShiftWheelScrollsSideways) {
    open(coordinatePicture(4032, 3024));
    const auto wheel = [this](QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(at), QPointF(window.canvasControl()->mapToGlobal(at)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.canvasControl(), &event);
    };
    // Twice as large about (400, 300): picture pixel (400, 300) stays under the pointer, so a
    // click there still lands on it.
    wheel(QPoint(400, 300), 120, Qt::ControlModifier);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{2, 1}));
    click(QPoint(400, 300));
    EXPECT_EQ(zero(), QPoint(400, 300));
    // One notch down with Shift: three lines of 20 pixels to the right.
    const QPoint before = scroll();
    wheel(QPoint(400, 300), -120, Qt::ShiftModifier);
    EXPECT_EQ(scroll(), before + QPoint(QApplication::wheelScrollLines() * 20, 0));
    wheel(QPoint(400, 300), -120, Qt::NoModifier);
    EXPECT_EQ(scroll(), before + QPoint(1, 1) * QApplication::wheelScrollLines() * 20);
}

TEST_F(ViewTest, ATouchpadScrollsByItsPixelsAndZoomsOnlyForWholeNotches) {
    open(coordinatePicture(4032, 3024));
    const auto wheel = [this](QPoint pixels, QPoint angle, Qt::KeyboardModifiers modifiers) {
        const QPoint at(400, 300);
        QWheelEvent event(QPointF(at), QPointF(window.canvasControl()->mapToGlobal(at)), pixels,
                          angle, Qt::NoButton, modifiers, Qt::ScrollUpdate, false);
        QApplication::sendEvent(window.canvasControl(), &event);
    };
    window.canvasControl()->scrollTo(QPoint(500, 500));
    // A touchpad's pixels, not its made-up angle.
    wheel(QPoint(-7, -11), QPoint(-21, -33), Qt::NoModifier);
    EXPECT_EQ(scroll(), QPoint(507, 511));
    // Three thirds of a notch with Ctrl: one step of the ladder, at the third.
    for (int part = 0; part < 2; ++part) wheel(QPoint(), QPoint(0, 40), Qt::ControlModifier);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{1, 1}));
    wheel(QPoint(), QPoint(0, 40), Qt::ControlModifier);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{2, 1}));
    // A part turned back the other way starts counting again.
    wheel(QPoint(), QPoint(0, 80), Qt::ControlModifier);
    wheel(QPoint(), QPoint(0, -80), Qt::ControlModifier);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{2, 1}));
    wheel(QPoint(), QPoint(0, -40), Qt::ControlModifier);
    EXPECT_EQ(window.canvasControl()->transform().zoom(), (Zoom{1, 1}));
}

TEST_F(ViewTest, TheZeroPositionRangeFollowsThePictureSize) {
    open(coordinatePicture(4032, 3024));
    EXPECT_EQ(window.horizontalTrackbar()->maximum(), 4032);
    EXPECT_EQ(window.verticalTrackbar()->maximum(), 3024);
    QTest::keyClick(window.horizontalTrackbar(), Qt::Key_End);
    QTest::keyClick(window.verticalTrackbar(), Qt::Key_End);
    EXPECT_EQ(zero(), QPoint(4031, 3023));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 4031 y : 3023"));
    // The view followed the zero position to the picture's far corner, which now shows in the
    // last column and row not covered by the scroll bars.
    const int bar = barThickness();
    const QPoint farEnd(4032 - (1200 - bar), 3024 - (900 - bar));
    EXPECT_EQ(scroll(), farEnd);
    // The vertical axis is dotted 3 on, 3 off from the picture's top edge.
    for (int y = 0; y < 12; ++y) {
        EXPECT_EQ(view().pixel(1199 - bar, y) == kRed, (y + farEnd.y()) % 6 < 3) << y;
    }
    QTest::keyClick(window.horizontalTrackbar(), Qt::Key_Left);
    EXPECT_EQ(zero().x(), 4030);

    // Without a picture, 0..1199 and 0..899 as at start: the zero position comes inside.
    window.command(command::New);
    EXPECT_EQ(window.horizontalTrackbar()->maximum(), 1200);
    EXPECT_EQ(window.verticalTrackbar()->maximum(), 900);
    EXPECT_EQ(zero(), QPoint(1199, 899));
    EXPECT_EQ(window.horizontalTrackbar()->value(), 1200);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("x : 1199 y : 899"));

    // A paper of 20 x 20 mm is round(20 * 3.779527559) = 76 pixels square.
    window.state().paper.widthMm = 20;
    window.state().paper.heightMm = 20;
    window.createPaper();
    EXPECT_EQ(window.horizontalTrackbar()->maximum(), 76);
    EXPECT_EQ(window.verticalTrackbar()->maximum(), 76);
    EXPECT_EQ(zero(), QPoint(75, 75));
    EXPECT_EQ(view().pixel(75, 0), kRed);
    EXPECT_NE(view().pixel(75, 3), kRed);
}

TEST_F(ViewTest, FittedTheAxesOnThePicturesLastColumnAndRowAreDrawnWhereThatPixelLies) {
    // 4032 x 3024 fitted into 1200 x 900 is 25/84 of a pixel per pixel, and picture column
    // 4031 has its centre in view column floor(4031.5 * 25 / 84) = 1199 (row 3023: 899), a
    // column that shows column 4028 (floor(1199.5 * 84 / 25)).
    open(coordinatePicture(4032, 3024));
    window.command(command::FitToWindow);
    ASSERT_EQ(window.canvasControl()->transform().zoom(), (Zoom{25, 84}));
    QTest::keyClick(window.horizontalTrackbar(), Qt::Key_End);
    QTest::keyClick(window.verticalTrackbar(), Qt::Key_End);
    ASSERT_EQ(zero(), QPoint(4031, 3023));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(view().pixel(1199, i) == kRed, i % 6 < 3) << i;
        EXPECT_EQ(view().pixel(i, 899) == kRed, i % 6 < 3) << i;
    }
    // The first column and row stay where they were: on view column and row 0.
    window.command(command::ZeroPosition);
    EXPECT_EQ(view().pixel(0, 450), kRed);
    EXPECT_EQ(view().pixel(600, 0), kRed);
    EXPECT_NE(view().pixel(1199, 450), kRed);
}

// What reaches the screen: the widget painted, whole and in a part that starts mid-way, at
// "Tamaño real" scrolled (view pixel v shows picture pixel v + scroll) and three times larger
// (picture pixel (v + scroll) / 3).
TEST_F(ViewTest, ThePaintedViewShowsThePictureUnderEveryPixel) {
    const QImage picture = coordinatePicture(1500, 1100);
    open(picture);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (const int zoom : {1, 3}) {
        window.command(command::ActualSize);
        if (zoom == 3) {
            window.command(command::ZoomIn);
            window.command(command::ZoomIn);
        }
        window.canvasControl()->scrollTo(QPoint(37, 91));
        ASSERT_EQ(scroll(), QPoint(37, 91));
        const QPoint axes = window.canvasControl()->transform().viewAt(zero());
        const QSize port = window.canvasControl()->viewport();
        for (const QRect& area : {QRect(QPoint(0, 0), port), QRect(13, 301, 777, 555)}) {
            // The view alone, without the scroll bars over its edges.
            QImage shown(area.size(), QImage::Format_RGB32);
            shown.fill(Qt::magenta);
            QWidget* canvas = window.canvasControl();
            canvas->render(&shown, QPoint(), QRegion(area), {});
            int wrong = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (x == axes.x() || y == axes.y()) continue;
                    const QRgb expected = picture.pixel((x + 37) / zoom, (y + 91) / zoom);
                    if (shown.pixel(x - area.left(), y - area.top()) != expected) ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0) << "zoom " << zoom << ", area at " << area.y();
        }
    }
}

TEST_F(ViewTest, TheCornerBetweenTheScrollBarsShowsTheWindowNotThePicture) {
    QImage red(3000, 2000, QImage::Format_RGB32);
    red.fill(Qt::red);
    open(red);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget* canvas = window.canvasControl();
    const QSize port = window.canvasControl()->viewport();
    ASSERT_LT(port.width(), canvas->width());
    ASSERT_LT(port.height(), canvas->height());
    QImage shown(canvas->size(), QImage::Format_RGB32);
    shown.fill(Qt::magenta);
    canvas->render(&shown);
    EXPECT_EQ(shown.pixel(canvas->width() - 2, canvas->height() - 2),
              canvas->palette().window().color().rgb());
    EXPECT_EQ(shown.pixel(port.width() - 1, port.height() - 1), qRgb(255, 0, 0));
}

TEST_F(ViewTest, ZoomedOutThePictureIsAveragedZoomedInItIsSharpBlocks) {
    // Black and white pixels in a chessboard: any sampling of single pixels shows black or
    // white, an average shows grey.
    QImage board(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) board.setPixel(x, y, (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000);
    }
    open(board);
    window.horizontalTrackbar()->setValue(400);
    window.verticalTrackbar()->setValue(300);
    for (int step = 1; step <= 6; ++step) {  // 2/3, 1/2, 1/3, 1/4, 1/6, 1/8
        window.command(command::ZoomOut);
        const Zoom zoom = window.canvasControl()->transform().zoom();
        const int inside = int(300 * zoom.factor()) - 2;
        for (const QPoint v : {QPoint(1, 1), QPoint(inside / 2, inside / 3), QPoint(inside, 0)}) {
            const int grey = view().pixel(v.x(), v.y()) & 0xFF;
            EXPECT_NEAR(grey, 128, 30) << zoom.num << "/" << zoom.den << " " << v.x();
            EXPECT_EQ(view().pixel(v.x(), v.y()), rgb(grey, grey, grey));
        }
    }
    window.command(command::ActualSize);
    for (int step = 0; step < 3; ++step) window.command(command::ZoomIn);  // 2, 3, 4
    ASSERT_EQ(window.canvasControl()->transform().zoom(), (Zoom{4, 1}));
    window.canvasControl()->scrollTo(QPoint(0, 0));
    for (int x = 40; x < 48; ++x) {
        for (int y = 20; y < 28; ++y) {
            EXPECT_EQ(view().pixel(x, y), (x / 4 + y / 4) % 2 ? 0xFFFFFF : 0x000000) << x << y;
        }
    }
}

TEST(ViewCache, MipmapAndReducedPictureFollowInsertionsUndosAndRedosLikeAFreshReduction) {
    // A 3 x 3 picture by hand: the half level's first pixel averages the four top-left pixels,
    // the last one repeats the corner pixel (the odd edge counts twice).
    QImage tiny(3, 3, QImage::Format_RGB32);
    tiny.fill(0xFF000000);
    tiny.setPixel(0, 0, qRgb(200, 10, 0));
    tiny.setPixel(1, 1, qRgb(100, 20, 3));
    tiny.setPixel(2, 2, qRgb(7, 8, 9));
    Mipmap small;
    small.rebuild(tiny);
    EXPECT_EQ(small.level(1).size(), QSize(2, 2));
    EXPECT_EQ(small.level(1).pixel(0, 0), qRgb((300 + 2) / 4, (30 + 2) / 4, (3 + 2) / 4));
    EXPECT_EQ(small.level(1).pixel(1, 1), qRgb(7, 8, 9));

    std::mt19937 random(19);
    QImage start(301, 203, QImage::Format_RGB32);
    for (int y = 0; y < start.height(); ++y) {
        for (int x = 0; x < start.width(); ++x) start.setPixel(x, y, random() | 0xFF000000u);
    }
    UndoHistory history;
    history.start(start);
    ViewCache cache;
    cache.sync(history);
    const Zoom third{1, 3};
    cache.reduced(history.current().image(), third);
    for (int step = 0; step < 120; ++step) {
        const unsigned roll = random() % 4;
        if (roll == 3 && history.redo()) {
            // back to a level seen before, the way "Rehacer" goes
        } else if (roll != 2 || history.level() == 0) {
            history.push();
            Surface& canvas = history.current();
            const int x = int(random() % 300), y = int(random() % 200);
            const int w = 1 + int(random() % 60), h = 1 + int(random() % 40);
            canvas.box(x, y, x + w, y + h, 0, Colour(random() & 0xFFFFFF),
                       Colour(random() & 0xFFFFFF), 0);
        } else {
            history.undo();
        }
        cache.sync(history);
        const QImage& picture = history.current().image();
        Mipmap fresh;
        fresh.rebuild(picture);
        for (int k = 1; k <= Mipmap::kLevels; ++k) {
            ASSERT_EQ(cache.mipmap().level(k), fresh.level(k)) << "step " << step << " level " << k;
        }
        // A third averages three by three pixels of the picture itself.
        QImage reduced(ViewTransform(third, QPoint()).contentSize(picture.size()),
                       QImage::Format_RGB32);
        reduceArea(picture, 3.0, reduced, reduced.rect());
        ASSERT_EQ(cache.reduced(picture, third), reduced) << "step " << step;
    }
}

TEST(ViewCache, FollowsARedrawOfTheSamePlaceAndLevelsNumberedAgainWithoutStartingOver) {
    std::mt19937 random(5);
    QImage start(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < start.height(); ++y) {
        for (int x = 0; x < start.width(); ++x) start.setPixel(x, y, random() | 0xFF000000u);
    }
    // A budget of a few tiles: every change drops the oldest levels, and the rest are numbered
    // again from 1.
    UndoHistory history(4 * std::size_t(UndoHistory::kTileSize) * UndoHistory::kTileSize * 4);
    history.start(start);
    ViewCache cache;
    cache.sync(history);
    const auto matchesAFreshMipmap = [&] {
        Mipmap fresh;
        fresh.rebuild(history.current().image());
        for (int k = 1; k <= Mipmap::kLevels; ++k) {
            if (cache.mipmap().level(k) != fresh.level(k)) return false;
        }
        return true;
    };
    for (int step = 0; step < 40; ++step) {
        history.push();
        const QRect box(int(random() % 250), int(random() % 150), 40, 30);
        history.current().box(box.left(), box.top(), box.right(), box.bottom(), 0,
                              Colour(random() & 0xFFFFFF), Colour(random() & 0xFFFFFF), 0);
        // Only what the change touched is redone, however the levels are numbered now.
        const QRect changed = cache.sync(history);
        EXPECT_TRUE(changed.contains(box)) << step;
        EXPECT_LT(changed.width() * changed.height(), 300 * 200 / 4) << step;
        // The same box drawn again in another colour, with no push in between.
        history.current().box(box.left(), box.top(), box.right(), box.bottom(), 0,
                              Colour(random() & 0xFFFFFF), Colour(random() & 0xFFFFFF), 0);
        cache.sync(history);
        ASSERT_TRUE(matchesAFreshMipmap()) << step;
    }
    EXPECT_GT(history.droppedLevels(), 0);
}

// The picture averaged over the area of each view pixel, computed directly: view pixel t covers
// the picture from t / zoom to (t + 1) / zoom along each axis, cut at the picture's edge.
std::vector<long double> boxReduction(const QImage& picture, Zoom zoom, QSize size, int channel) {
    const long double shrink = (long double)zoom.den / zoom.num;
    const auto coverage = [&](int t, int length) {
        std::vector<std::pair<int, long double>> parts;
        const long double from = t * shrink, to = std::min((t + 1) * shrink, (long double)length);
        for (int s = int(std::floor(from)); s < to; ++s) {
            parts.push_back({s, std::min(to, s + 1.0L) - std::max(from, (long double)s)});
        }
        return parts;
    };
    std::vector<long double> out(std::size_t(size.width()) * size.height());
    for (int ty = 0; ty < size.height(); ++ty) {
        const auto rows = coverage(ty, picture.height());
        for (int tx = 0; tx < size.width(); ++tx) {
            long double sum = 0, weight = 0;
            for (const auto& [x, wx] : coverage(tx, picture.width())) {
                for (const auto& [y, wy] : rows) {
                    sum += wx * wy * ((picture.pixel(x, y) >> (8 * channel)) & 0xFF);
                    weight += wx * wy;
                }
            }
            out[std::size_t(ty) * size.width() + tx] = sum / weight;
        }
    }
    return out;
}

TEST(ViewCache, ZoomedOutAtAnyZoomTheViewIsAsSharpAsAnAverageOfThePicture) {
    // A picture with the detail of a photograph: soft shading, fine texture near the pixel
    // scale, and hard edges.
    QImage photo(1203, 901, QImage::Format_RGB32);
    std::mt19937 random(7);
    std::normal_distribution<double> grain(0, 6);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            double v = 120 + 70 * std::sin(x / 41.0) * std::cos(y / 57.0) +
                       25 * std::sin((x + 2 * y) / 4.3) + grain(random);
            if ((x / 97 + y / 71) % 3 == 0) v = 255 - v;
            const int g = std::clamp(int(v), 0, 255);
            photo.setPixel(x, y, qRgb(g, std::clamp(g + 30, 0, 255), 255 - g));
        }
    }
    UndoHistory history;
    history.start(photo);
    ViewCache cache;
    cache.sync(history);
    // Zooms between the ladder's steps (the fit of a 9248-pixel-wide photograph is 25/193) and
    // on them.
    for (const Zoom zoom :
         {Zoom{25, 193}, Zoom{2, 5}, Zoom{1, 3}, Zoom{3, 23}, Zoom{1, 16}, Zoom{7, 12}}) {
        const QImage& reduced = cache.reduced(history.current().image(), zoom);
        long double squares = 0;
        long long count = 0;
        for (int channel = 0; channel < 3; ++channel) {
            const std::vector<long double> box = boxReduction(photo, zoom, reduced.size(), channel);
            for (int y = 0; y < reduced.height(); ++y) {
                for (int x = 0; x < reduced.width(); ++x) {
                    const long double d = ((reduced.pixel(x, y) >> (8 * channel)) & 0xFF) -
                                          box[std::size_t(y) * reduced.width() + x];
                    squares += d * d;
                    ++count;
                }
            }
        }
        const double psnr = double(10 * std::log10(255.0L * 255.0L * count / squares));
        EXPECT_GE(psnr, 45.0) << zoom.num << "/" << zoom.den;
    }
}

}  // namespace
}  // namespace tessel
