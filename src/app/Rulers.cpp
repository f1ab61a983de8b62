#include "app/Rulers.h"

#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {
namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kRed = 0x0000FF;
constexpr Colour kGrey = 0x808080;

// A mark of the given length across the strip at `at` along it, from the edge next to the view.
void mark(Surface& strip, Qt::Orientation orientation, int at, int length, Colour colour) {
    if (orientation == Qt::Horizontal) {
        strip.line(at, 0, at, length, colour);
    } else {
        strip.line(0, at, length, at, colour);
    }
}

void label(Surface& strip, int x, int y, int number) {
    strip.moveTo(x, y);
    strip.print(QString::number(number));
}

void prepare(Surface& strip) {
    strip.clear(kRulerGround);
    strip.setPenWidth(1);
    strip.setPenStyle(kPenSolid);
    strip.setForeground(kBlack);
    strip.setBackground(kTransparent);
    strip.selectFont(platform::resolveFont({QStringLiteral("Tahoma"), 6, kStyleBold, 0, 0}));
}

}  // namespace

void drawPixelRuler(Surface& strip, Qt::Orientation orientation, int length) {
    prepare(strip);
    for (int p = 0; p <= length; p += 5) {
        if (p % 10 != 0) {
            mark(strip, orientation, p, 5, kBlack);
            continue;
        }
        mark(strip, orientation, p, 10, kBlack);
        if (p % 50 == 0 && p > 0) {
            if (orientation == Qt::Horizontal) {
                label(strip, p - 5, 12, p);
            } else {
                label(strip, 14, p - 5, p);
            }
            mark(strip, orientation, p, 10, kRed);
        }
    }
}

int millimetreMark(int pixelsPerInch, int millimetre) {
    const long double inch = 25.4f;
    return int(roundToInt((long double)pixelsPerInch * millimetre / inch));
}

void drawMillimetreRuler(Surface& strip, Qt::Orientation orientation, int pixelsPerInch) {
    prepare(strip);
    const int length = orientation == Qt::Horizontal ? strip.width() : strip.height();
    for (int i = 0;; ++i) {
        const int pos = millimetreMark(pixelsPerInch, i);
        if (i % 10 == 0) {
            mark(strip, orientation, pos, 9, kRed);
            if (i > 0) {
                if (orientation == Qt::Horizontal) {
                    label(strip, pos - 3, 11, i / 10);
                } else {
                    label(strip, 11, pos - 3, i / 10);
                }
            }
        } else if (i % 5 == 0) {
            mark(strip, orientation, pos, 6, kBlack);
        } else {
            mark(strip, orientation, pos, 4, kGrey);
        }
        if (pos >= length || pixelsPerInch <= 0) break;
    }
}

}  // namespace tessel
