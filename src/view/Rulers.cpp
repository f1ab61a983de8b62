#include "view/Rulers.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// `scale`: device pixels per view pixel; the labels' font grows with it.
void prepare(Surface& strip, int scale = 1) {
    strip.clear(kRulerGround);
    strip.setPenWidth(1);
    strip.setPenStyle(kPenSolid);
    strip.setForeground(kBlack);
    strip.setBackground(kTransparent);
    strip.selectFont(
        platform::resolveFont({QStringLiteral("Tahoma"), 6 * scale, kStyleBold, 0, 0}));
}

}  // namespace

RulerLabels drawPixelRuler(Surface& strip, Qt::Orientation orientation, int length,
                           const RulerRoom& room) {
    prepare(strip);
    LabelPlacer labels(strip, orientation, room, 10);
    for (int p = 0; p <= length && p <= room.end; p += 5) {
        if (p < room.begin) continue;
        if (p % 10 != 0) {
            mark(strip, orientation, p, 5, kBlack);
            continue;
        }
        mark(strip, orientation, p, 10, kBlack);
        if (p % 50 == 0 && p > 0) {
            const QPoint at = orientation == Qt::Horizontal ? QPoint(p - 5, 12) : QPoint(14, p - 5);
            labels.print(at, p, QString::number(p));
            mark(strip, orientation, p, 10, kRed);
        }
    }
    return labels.labels();
}

int millimetreMark(int pixelsPerInch, int millimetre) {
    const long double inch = 25.4f;
    return int(roundToInt((long double)pixelsPerInch * millimetre / inch));
}

RulerLabels drawMillimetreRuler(Surface& strip, Qt::Orientation orientation, int pixelsPerInch,
                                const RulerRoom& room) {
    prepare(strip);
    LabelPlacer labels(strip, orientation, room, 9);
    const int length = orientation == Qt::Horizontal ? strip.width() : strip.height();
    for (int i = 0;; ++i) {
        const int pos = millimetreMark(pixelsPerInch, i);
        if (pos > room.end) break;
        if (i % 10 == 0) {
            mark(strip, orientation, pos, 9, kRed);
            if (i > 0) {
                const QPoint at =
                    orientation == Qt::Horizontal ? QPoint(pos - 3, 11) : QPoint(11, pos - 3);
                labels.print(at, pos, QString::number(i / 10));
            }
        } else if (i % 5 == 0) {
            mark(strip, orientation, pos, 6, kBlack);
        } else {
            mark(strip, orientation, pos, 4, kGrey);
        }
        if (pos >= length || pixelsPerInch <= 0) break;
    }
    return labels.labels();
}

namespace {

// The label of a mark: pixels as they are, millimetres as centimetres ("0,5" below one).
QString labelText(RulerUnit unit, long long value) {
    if (unit == RulerUnit::Pixels) return QString::number(value);
    if (value % 10 == 0) return QString::number(value / 10);
    return QString::number(value / 10.0, 'f', 1).replace(u'.', u',');
}

// Picture pixels per unit of the ruler.
long double pixelsPerUnit(RulerUnit unit, int pixelsPerInch) {
    if (unit == RulerUnit::Pixels) return 1;
    const long double inch = 25.4f;
    return (long double)pixelsPerInch / inch;
}

// Where the view shows the unit mark `value`.
int viewOf(RulerUnit unit, long long value, const RulerSpan& span) {
    if (unit == RulerUnit::Pixels) {
        return ViewTransform(span.zoom, QPoint(span.scroll, 0)).viewX(int(value));
    }
    const long double at =
        value * pixelsPerUnit(unit, span.pixelsPerInch) * span.zoom.num / span.zoom.den;
    return int(roundToInt(at)) - span.scroll;
}

void zeroMarker(Surface& strip, Qt::Orientation orientation, int at, int size, Colour colour) {
    const int far = (orientation == Qt::Horizontal ? strip.height() : strip.width()) - 1;
    for (int k = 0; k <= size; ++k) {
        if (orientation == Qt::Horizontal) {
            strip.line(at - k, far - size + k, at + k + 1, far - size + k, colour);
        } else {
            strip.line(far - size + k, at - k, far - size + k, at + k + 1, colour);
        }
    }
}

}  // namespace

RulerLabels drawViewRuler(Surface& strip, Qt::Orientation orientation, RulerUnit unit,
                          const RulerSpan& span) {
    const bool pixels = unit == RulerUnit::Pixels;
    const int scale = std::max(1, span.scale);
    // The picture's far edge in view pixels: nothing is drawn beyond it.
    const long long pictureEnd =
        span.pictureLength > 0
            ? ViewTransform(span.zoom, QPoint()).contentSize(QSize(span.pictureLength, 1)).width() -
                  (long long)span.scroll
            : std::numeric_limits<int>::max() / 4;
    const long long roomEnd = std::max(0LL, pictureEnd) * scale;
    const RulerRoom room{0, int(std::min<long long>(roomEnd, std::numeric_limits<int>::max())),
                         QRect(span.covered.topLeft() * scale, span.covered.size() * scale)};
    if (span.zoom.isActualSize() && span.scroll == 0 && scale == 1) {
        if (pixels) return drawPixelRuler(strip, orientation, span.viewLength, room);
        return drawMillimetreRuler(strip, orientation, span.pixelsPerInch, room);
    }
    prepare(strip, scale);
    const bool across = orientation == Qt::Horizontal;
    // In view pixels; the strip itself has `scale` device pixels for each.
    const int length = (across ? strip.width() : strip.height()) / scale;
    const long double viewPerUnit =
        pixelsPerUnit(unit, span.pixelsPerInch) * span.zoom.num / span.zoom.den;
    if (viewPerUnit <= 0) return {};
    const long long end = std::min<long long>(length, pictureEnd);
    const long long last = (long long)std::ceil((span.scroll + end) / viewPerUnit);

    // The label step: the labels' own extent along the strip, with room between them.
    const QSize widest = strip.measure(labelText(unit, last) + QStringLiteral("0"));
    const int needed = std::max(30, (across ? widest.width() : widest.height()) / scale + 6);
    long long step = 1;
    for (long long power = 1;; power *= 10) {
        const long long candidates[] = {power, 2 * power, 5 * power};
        const auto fits = std::find_if(std::begin(candidates), std::end(candidates),
                                       [&](long long c) { return c * viewPerUnit >= needed; });
        if (fits != std::end(candidates)) {
            step = *fits;
            break;
        }
    }
    // The finest marks: a tenth, a fifth or half the step, at least 5 view pixels apart.
    long long minor = step;
    for (const long long part : {10LL, 5LL, 2LL}) {
        if (step % part == 0 && step / part * viewPerUnit >= 5) {
            minor = step / part;
            break;
        }
    }
    const Colour minorColour = pixels ? kBlack : kGrey;
    const int minorLength = pixels ? 5 : 4;
    const int labelLength = pixels ? 10 : 9;
    LabelPlacer labels(strip, orientation, room, labelLength * scale);
    const long long first = (long long)std::floor(span.scroll / viewPerUnit) / minor * minor;
    for (long long value = first; value <= last; value += minor) {
        const int view = viewOf(unit, value, span);
        if (view < 0 || view > end) continue;
        const int at = view * scale;
        if (value % step == 0) {
            mark(strip, orientation, at, labelLength * scale, kRed);
            const int offset = (pixels ? 5 : 3) * scale;
            const int depth = (pixels ? (across ? 12 : 14) : 11) * scale;
            labels.print(across ? QPoint(at - offset, depth) : QPoint(depth, at - offset), at,
                         labelText(unit, value));
        } else if (step % 2 == 0 && value % (step / 2) == 0) {
            mark(strip, orientation, at, 6 * scale, kBlack);
        } else {
            mark(strip, orientation, at, minorLength * scale, minorColour);
        }
    }
    const int zeroAt = ViewTransform(span.zoom, QPoint(span.scroll, span.scroll)).viewX(span.zero);
    if (zeroAt >= 0 && zeroAt < span.viewLength) {
        zeroMarker(strip, orientation, zeroAt * scale, 5 * scale, span.zeroColour);
    }
    return labels.labels();
}

}  // namespace tessel
