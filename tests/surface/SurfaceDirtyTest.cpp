// The rectangle the surface records as touched: after any operation every changed pixel lies
// inside it, found by comparing the whole surface before and after.

#include <gtest/gtest.h>

#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <functional>

#include "SurfaceTestHelpers.h"

using namespace tessel;

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

// Random colours everywhere, so that any write shows.
Surface noisySurface(quint32 seed) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < kWidth; ++x) row[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return Surface(picture);
}

QRect changedPixels(const QImage& before, const QImage& after) {
    QRect bounds;
    for (int y = 0; y < before.height(); ++y) {
        const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
        for (int x = 0; x < before.width(); ++x)
            if (a[x] != b[x]) bounds |= QRect(x, y, 1, 1);
    }
    return bounds;
}

// Runs the operation on a clean surface and checks the recorded rectangle against the pixels
// that changed; returns that rectangle.
QRect checkOperation(Surface& surface, const char* what, const std::function<void(Surface&)>& op) {
    surface.clearDirty();
    const QImage before = std::as_const(surface).image().copy();
    op(surface);
    const QRect changed = changedPixels(before, std::as_const(surface).image());
    const QRect dirty = surface.dirtyRect();
    EXPECT_TRUE(changed.isEmpty() || dirty.contains(changed))
        << what << ": changed " << changed.x() << "," << changed.y() << " " << changed.width()
        << "x" << changed.height() << " outside the recorded " << dirty.x() << "," << dirty.y()
        << " " << dirty.width() << "x" << dirty.height();
    EXPECT_TRUE(std::as_const(surface).image().rect().contains(dirty) || dirty.isEmpty()) << what;
    // The smaller parts hold every changed pixel too, and lie inside the dirty rectangle.
    const QImage& after = std::as_const(surface).image();
    for (int y = changed.top(); y <= changed.bottom() && !changed.isEmpty(); ++y) {
        for (int x = changed.left(); x <= changed.right(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y)) continue;
            const auto& parts = surface.dirtyParts();
            const bool covered = std::any_of(parts.begin(), parts.end(),
                                             [&](const QRect& r) { return r.contains(x, y); });
            if (!covered) {
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " outside every part";
                return dirty;
            }
        }
    }
    for (const QRect& part : surface.dirtyParts()) EXPECT_TRUE(dirty.contains(part)) << what;
    return dirty;
}

}  // namespace

TEST(SurfaceDirty, ANewSurfaceIsTouchedEverywhereAndClearingForgetsIt) {
    Surface surface(30, 20);
    EXPECT_EQ(surface.dirtyRect(), QRect(0, 0, 30, 20));
    surface.clearDirty();
    EXPECT_TRUE(surface.dirtyRect().isEmpty());
    // Reading does not count as writing.
    (void)surface.pixel(3, 3);
    (void)std::as_const(surface).image();
    surface.measure(QStringLiteral("abc"));
    EXPECT_TRUE(surface.dirtyRect().isEmpty());
    // Writable access to the picture counts as touching all of it, or the area asked for.
    surface.imageFor(QRect(25, 15, 20, 20));
    EXPECT_EQ(surface.dirtyRect(), QRect(25, 15, 5, 5));
    surface.image();
    EXPECT_EQ(surface.dirtyRect(), QRect(0, 0, 30, 20));
}

TEST(SurfaceDirty, SmallOperationsRecordSmallRectangles) {
    Surface surface = noisySurface(3);
    const int quarter = kWidth * kHeight / 4;
    auto area = [](const QRect& r) { return r.width() * r.height(); };
    EXPECT_EQ(checkOperation(surface, "pixel", [](Surface& s) { s.setPixel(7, 9, 0x123456); }),
              QRect(7, 9, 1, 1));
    EXPECT_LT(area(checkOperation(surface, "line",
                                  [](Surface& s) { s.line(100, 100, 130, 90, 0x0000FF); })),
              quarter);
    // A long diagonal comes in pieces that hug it: together far less than its bounding box.
    checkOperation(surface, "long line", [](Surface& s) { s.line(0, 0, 239, 179, 0xFF00FF); });
    int pieces = 0;
    for (const QRect& part : surface.dirtyParts()) pieces += area(part);
    EXPECT_LT(pieces, 240 * 180 / 3);
    EXPECT_LT(area(checkOperation(surface, "box",
                                  [](Surface& s) { s.box(20, 20, 50, 40, 30, 0, 0xFF, 0); })),
              quarter);
    surface.selectFont(ResolvedFont{QFont(QStringLiteral("Liberation Sans"), 12), 0});
    EXPECT_LT(area(checkOperation(surface, "text",
                                  [](Surface& s) {
                                      s.moveTo(60, 60);
                                      s.print(QStringLiteral("Año"));
                                  })),
              quarter);
    // Nothing drawn, nothing recorded.
    EXPECT_TRUE(checkOperation(surface, "outside",
                               [](Surface& s) { s.line(-50, -50, -10, -20, 0); })
                    .isEmpty());
    EXPECT_TRUE(
        checkOperation(surface, "no fill", [](Surface& s) { s.box(5, 5, 9, 9, 0, -2, -2, 0); })
            .isEmpty());
}

// Many operations of every kind, with random places, pens, fills, fonts and turns.
TEST(SurfaceDirty, EveryOperationStaysInsideItsRectangle) {
    QImage icon(24, 24, QImage::Format_ARGB32);
    icon.fill(qRgba(200, 30, 90, 160));
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(qRgba(10, 200, 40, 128));
    const Surface other = noisySurface(99);
    const QString faces[] = {QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Sans"),
                             QStringLiteral("DejaVu Sans"), QStringLiteral("Z003")};
    // Plain text, and text whose ink lies far outside its cell: ten diaereses stacked on Z,
    // eight dots below a, ideographs and an emoji that fallback faces draw.
    const QString texts[] = {
        QStringLiteral("fÁgjy ¡Wq! ÑÇ"),
        QStringLiteral("Z") + QString(10, QChar(0x0308)) + QStringLiteral(" a") +
            QString(8, QChar(0x0323)) + QStringLiteral(" ") + QString(QChar(0x6F22)) +
            QString(QChar(0x5B57)) + QStringLiteral(" ") + QString::fromUcs4(U"\U0001F600")};

    Surface surface = noisySurface(5);
    QRandomGenerator random(11);
    auto coordinate = [&random](int extent) { return int(random.bounded(extent + 80)) - 40; };
    for (int step = 0; step < 1200; ++step) {
        const int x1 = coordinate(kWidth), y1 = coordinate(kHeight);
        const int x2 = coordinate(kWidth), y2 = coordinate(kHeight);
        const Colour colour = Colour(random.bounded(0x1000000));
        surface.setPenWidth(1 + int(random.bounded(12)));
        surface.setPenStyle(int(random.bounded(5)));
        surface.setBackground(random.bounded(3) == 0 ? kTransparent : Colour(random.bounded(0x1000000)));
        surface.setForeground(colour);
        const int fill = int(random.bounded(8));
        switch (step % 12) {
            case 0:
                checkOperation(surface, "line", [&](Surface& s) { s.line(x1, y1, x2, y2, colour); });
                break;
            case 1:
                checkOperation(surface, "box", [&](Surface& s) {
                    s.box(x1, y1, x2, y2, int(random.bounded(101)), colour,
                          random.bounded(3) == 0 ? kTransparent : colour ^ 0xFFFFFF, fill);
                });
                break;
            case 2:
                checkOperation(surface, "ellipse", [&](Surface& s) {
                    s.ellipse(x1, y1, x2, y2, random.bounded(4) == 0 ? kTransparent : colour,
                              colour ^ 0x00FF00, fill);
                });
                break;
            case 3: {
                QFont font(faces[random.bounded(4)]);
                font.setPixelSize(6 + int(random.bounded(50)));
                font.setItalic(random.bounded(2) == 0);
                font.setBold(random.bounded(2) == 0);
                font.setUnderline(random.bounded(3) == 0);
                const int turns[] = {0, 0, 450, 900, 1800, 2700, 3150, 123};
                surface.selectFont(ResolvedFont{font, turns[random.bounded(8)]});
                checkOperation(surface, "text", [&](Surface& s) {
                    s.moveTo(x1, y1);
                    s.print(texts[step % 24 == 3 ? 0 : 1]);
                });
                break;
            }
            case 4:
                checkOperation(surface, "flood", [&](Surface& s) {
                    s.floodFill(x1, y1, colour, -1, fill,
                                random.bounded(2) ? FloodMode::Border : FloodMode::Surface);
                });
                break;
            case 5:
                checkOperation(surface, "copy", [&](Surface& s) {
                    s.copyFrom(other, QRect(x1, y1, x2 - x1, y2 - y1), QPoint(y2, x2));
                });
                break;
            case 6:
                checkOperation(surface, "copy onto itself", [&](Surface& s) {
                    s.copyFrom(s, QRect(x1, y1, 50, 40), QPoint(x2, y2));
                });
                break;
            case 7:
                checkOperation(surface, "stretch", [&](Surface& s) {
                    s.stretchFrom(other, QRect(x1, y1, x2 - x1, y2 - y1),
                                  QRect(y1, x1, int(random.bounded(120)) - 60, x2 - y1));
                });
                break;
            case 8:
                checkOperation(surface, "picture", [&](Surface& s) {
                    s.drawPicture(picture, QRect(x1, y1, int(random.bounded(90)), y2 % 70));
                });
                break;
            case 9:
                checkOperation(surface, "icon at its own size", [&](Surface& s) {
                    s.drawPicture(icon, QRect(QPoint(x1, y1), icon.size()));
                });
                break;
            case 10:
                checkOperation(surface, "pixels", [&](Surface& s) {
                    for (int i = 0; i < 5; ++i) s.setPixel(x1 + i, y2 - i, colour + i);
                });
                break;
            default:
                checkOperation(surface, "styled line from the position", [&](Surface& s) {
                    s.moveTo(x2, y1);
                    s.lineTo(x1, y2, -1);
                });
                break;
        }
        if (::testing::Test::HasFailure()) break;
    }
    checkOperation(surface, "clear", [](Surface& s) { s.clear(0x808080, 3); });
    const QByteArray block = other.pixelBlock();
    checkOperation(surface, "pixel block", [&](Surface& s) { EXPECT_TRUE(s.setPixelBlock(block)); });
}
