#include "surface/Surface.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "surface/FloodFill.h"
#include "surface/RasterGeometry.h"

namespace tessel {

namespace {

constexpr Colour kColourMask = 0xFFFFFF;

// The desktop's colours: those of the application palette when there is a GUI application,
// otherwise the classic black window text and light grey button face.
Colour systemColour(QPalette::ColorRole role, Colour fallback) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return fallback;
    return fromQColor(QGuiApplication::palette().color(QPalette::Active, role));
}
Colour systemWindowText() {
    return systemColour(QPalette::WindowText, 0x000000);
}
Colour systemButtonFace() {
    return systemColour(QPalette::Button, 0xF0F0F0);
}

// The dash patterns of the classic raster pens (on, off, ...), in pixels for one-pixel pens
// and in pen widths for wider ones; empty for a solid pen.
std::vector<int> dashPattern(int penStyle) {
    switch (penStyle) {
        case 1:
            return {18, 6};
        case 2:
            return {3, 3};
        case 3:
            return {9, 6, 3, 6};
        case 4:
            return {9, 3, 3, 3, 3, 3};
        default:
            return {};
    }
}

// The dotted styles at pens wider than one pixel, in pen widths: how far each dash and each
// gap reaches along the line, round caps included. A dot is as long as the pen is wide and the
// gaps keep the proportions of the one-pixel patterns ({3, 3}, {9, 6, 3, 6}, {9, 3, 3, 3, 3, 3}
// divided by three). Empty for the styles that keep Qt's scaled pattern.
std::vector<qreal> wideDots(int penStyle) {
    switch (penStyle) {
        case 2:
            return {1, 1};
        case 3:
            return {3, 2, 1, 2};
        case 4:
            return {3, 1, 1, 1, 1, 1};
        default:
            return {};
    }
}

// A polyline measured along its length: where each segment starts and ends.
struct MeasuredPolyline {
    explicit MeasuredPolyline(const QPolygonF& polyline) : points(polyline) {
        qreal start = 0;
        for (qsizetype i = 1; i < points.size(); ++i) {
            const qreal length = QLineF(points[i - 1], points[i]).length();
            starts.push_back(start);
            lengths.push_back(length);
            ends.push_back(start + length);
            start += length;
        }
        total = start;
    }

    // The point at `distance` along the line, and the segment it lies on: the first segment
    // that reaches that far, the last one beyond the end.
    QPointF pointAt(qreal distance, qsizetype& segment) const {
        const auto searched = ends.begin() + qsizetype(ends.size()) - 1;
        segment = std::lower_bound(ends.begin(), searched, distance) - ends.begin();
        const qreal start = starts[std::size_t(segment)];
        const qreal length = lengths[std::size_t(segment)];
        const qreal t = length > 0 ? std::clamp((distance - start) / length, 0.0, 1.0) : 0.0;
        return points[segment] + (points[segment + 1] - points[segment]) * t;
    }

    const QPolygonF& points;
    std::vector<qreal> starts, lengths, ends;
    qreal total = 0;
};

// Adds to `path` the stretch of the polyline between the distances `from` and `to` along it,
// as one subpath; a stretch of no length becomes a tiny one along the line, so that the round
// caps of the stroke make it a dot. A stretch that cannot come near `visible` is left out.
void addStretch(QPainterPath& path, const MeasuredPolyline& line, qreal from, qreal to,
                const QRectF& visible) {
    const QPolygonF& points = line.points;
    qsizetype first = 0, last = 0;
    const QPointF a = line.pointAt(from, first);
    // No point of the stretch lies further from its start than its length.
    const qreal reach = std::max<qreal>(0, to - from) + 1;
    if (!visible.adjusted(-reach, -reach, reach, reach).contains(a)) return;
    const QPointF b = line.pointAt(to, last);
    path.moveTo(a);
    for (qsizetype i = first + 1; i <= last; ++i) path.lineTo(points[i]);
    if (to - from < 1e-3) {
        const QLineF along(points[first], points[first + 1]);
        const QPointF unit =
            along.length() > 0 ? (along.p2() - along.p1()) / along.length() : QPointF(1, 0);
        path.lineTo(a + unit * 1e-3);
    } else {
        path.lineTo(b);
    }
}

// The stretch [from, to] of a straight segment, as fractions of its length, that lies inside
// `area`; false when none does.
bool insideStretch(const QLineF& segment, const QRectF& area, qreal& from, qreal& to) {
    from = 0;
    to = 1;
    const qreal d[2] = {segment.dx(), segment.dy()};
    const qreal start[2] = {segment.x1(), segment.y1()};
    const qreal low[2] = {area.left(), area.top()};
    const qreal high[2] = {area.right(), area.bottom()};
    for (int axis = 0; axis < 2; ++axis) {
        if (d[axis] == 0) {
            if (start[axis] < low[axis] || start[axis] > high[axis]) return false;
            continue;
        }
        qreal a = (low[axis] - start[axis]) / d[axis];
        qreal b = (high[axis] - start[axis]) / d[axis];
        if (a > b) std::swap(a, b);
        from = std::max(from, a);
        to = std::min(to, b);
    }
    return from <= to;
}

// The centre lines of the dashes of a wide dotted pen along a polyline: the first dash starts
// (centred, like a round cap) on the first point. `spacing` stretches the distances between
// the dashes, not the dashes themselves. A straight line gets dashes only where it can reach
// `visible`, so that a line running far outside the surface costs nothing.
void addDashes(QPainterPath& path, const QPolygonF& points, const std::vector<qreal>& pattern,
               qreal width, qreal spacing, const QRectF& visible) {
    if (points.size() < 2) return;
    const MeasuredPolyline line(points);
    const qreal total = line.total;
    qreal period = 0;  // how far one whole pattern reaches along the line
    for (const qreal extent : pattern) period += extent * width * spacing;
    if (!(period > 0) || !std::isfinite(period) || !std::isfinite(total)) {
        // A line of no length (the side of a box one pixel high) is only the dot on its start.
        addStretch(path, line, 0, 0, visible);
        return;
    }
    qreal at = 0;
    qreal last = total;
    if (points.size() == 2) {
        qreal from = 0, to = 1;
        if (!insideStretch(QLineF(points[0], points[1]), visible, from, to)) return;
        at = std::floor(from * total / period) * period;  // the start of a whole pattern
        last = to * total;
    }
    // Every step moves on along the line, so the dashes up to `last` come within this many.
    const long long steps =
        (static_cast<long long>(std::ceil(std::max<qreal>(0, last - at) / period)) + 2) *
        static_cast<long long>(pattern.size());
    std::size_t k = 0;
    for (long long step = 0; step < steps; ++step, k = (k + 1) % pattern.size()) {
        if (at > last + 1e-6) break;
        const qreal extent = pattern[k] * width;
        if (k % 2 == 0) {
            addStretch(path, line, at, std::min(total, at + std::max<qreal>(0, extent - width)),
                       visible);
        }
        at += extent * spacing;
    }
}

Qt::BrushStyle hatchOf(int fillStyle) {
    switch (fillStyle) {
        case 1:
            return Qt::HorPattern;
        case 2:
            return Qt::VerPattern;
        case 3:
            return Qt::FDiagPattern;
        case 4:
            return Qt::BDiagPattern;
        case 5:
            return Qt::CrossPattern;
        case 6:
            return Qt::DiagCrossPattern;
        default:
            return Qt::SolidPattern;
    }
}

}  // namespace

Surface::Surface(int width, int height) {
    if (width > 0 && height > 0) {
        image_ = QImage(width, height, QImage::Format_RGB32);
        if (!image_.isNull()) image_.fill(QColor(Qt::black));
    }
    markDirty(image_.rect());
}

Surface::Surface(const QImage& picture) {
    if (!picture.isNull()) image_ = picture.convertToFormat(QImage::Format_RGB32);
    markDirty(image_.rect());
}

void Surface::markDirty(const QRect& area) {
    if (beforeWrite_.wait) beforeWrite_.wait();
    const QRect part = area.normalized() & image_.rect();
    if (part.isEmpty()) return;
    ++writes_;
    dirty_ |= part;
    if (partsMerged_ || dirtyParts_.size() >= kMaxDirtyParts) {
        partsMerged_ = true;
        dirtyParts_.assign(1, dirty_);
    } else {
        dirtyParts_.push_back(part);
    }
}

QRect Surface::penReach(const QRect& area) const {
    // Wide pens are centred on the path with round caps; one pixel more covers the rounding of
    // the raster.
    const int margin = penWidth_ <= 1 ? 2 : penWidth_ / 2 + 2;
    return area.normalized().adjusted(-margin, -margin, margin, margin);
}

// ---- colours, pen, painter -------------------------------------------------------------

void Surface::setForeground(Colour colour) {
    if (colour == kUnchanged || colour == kTransparent) return;
    foreground_ = colour == kDefaultColour ? systemWindowText() : (colour & kColourMask);
}

void Surface::setBackground(Colour colour) {
    if (colour == kUnchanged) return;
    if (colour == kTransparent) {
        backgroundMode_ = BackgroundMode::Transparent;
        return;
    }
    background_ = colour == kDefaultColour ? systemButtonFace() : (colour & kColourMask);
    backgroundMode_ = BackgroundMode::Opaque;
}

void Surface::setPenWidth(int pixels) {
    penWidth_ = std::max(1, pixels);
}

void Surface::setPenStyle(int style) {
    penStyle_ = (style >= 0 && style <= 4) ? style : kPenSolid;
}

Colour Surface::lineColourOf(Colour colour) const {
    if (colour == kTransparent) return kTransparent;
    return colour < 0 ? foreground_ : (colour & kColourMask);
}

void Surface::preparePainter(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBackground(toQColor(background_));
    painter.setBackgroundMode(backgroundMode_ == BackgroundMode::Opaque ? Qt::OpaqueMode
                                                                        : Qt::TransparentMode);
}

QPen Surface::makePen(Colour colour) const {
    QPen pen(toQColor(colour));
    if (penWidth_ <= 1) {
        pen.setWidth(0);  // cosmetic: exactly one pixel
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
    } else {
        pen.setWidth(penWidth_);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    const std::vector<int> dashes = dashPattern(penStyle_);
    if (dashes.empty()) {
        pen.setStyle(Qt::SolidLine);
    } else {
        pen.setDashPattern(QList<qreal>(dashes.begin(), dashes.end()));
    }
    return pen;
}

QBrush Surface::makeBrush(Colour colour, int fillStyle) {
    return QBrush(toQColor(colour), hatchOf(fillStyle));
}

// ---- whole surface ---------------------------------------------------------------------

void Surface::clear(Colour colour, int fillStyle) {
    position_ = QPoint(0, 0);
    if (image_.isNull()) return;
    // A sentinel clears with the current background colour, whatever the background mode.
    const Colour fill = colour < 0 ? background_ : colour & kColourMask;
    markDirty(image_.rect());
    QPainter painter(&image_);
    preparePainter(painter);
    painter.fillRect(image_.rect(), makeBrush(fill, fillStyle));
}

// ---- lines and shapes ------------------------------------------------------------------

void Surface::lineTo(int x, int y, Colour colour) {
    const QPoint from = position_;
    position_ = QPoint(x, y);
    const Colour ink = lineColourOf(colour);
    if (image_.isNull() || ink == kTransparent) return;
    // A long line in pieces along its length, so that its rectangles hug it.
    {
        const double dx = double(position_.x()) - from.x();
        const double dy = double(position_.y()) - from.y();
        const double length = std::max(std::fabs(dx), std::fabs(dy));
        const int pieces = int(std::clamp(std::ceil(length / 32.0), 1.0, 64.0));
        auto at = [&](int k) {
            const double t = double(k) / pieces;
            return QPoint(int(std::clamp(std::floor(from.x() + dx * t), -1e9, 1e9)),
                          int(std::clamp(std::floor(from.y() + dy * t), -1e9, 1e9)));
        };
        for (int k = 0; k < pieces; ++k) markDirty(penReach(QRect(at(k), at(k + 1))));
    }
    if (penWidth_ > 1) {
        QPainter painter(&image_);
        preparePainter(painter);
        if (!wideDots(penStyle_).empty()) {
            strokeWideDots(painter, QPolygonF({QPointF(from), QPointF(position_)}), false, ink);
            return;
        }
        painter.setPen(makePen(ink));
        painter.drawLine(from, position_);
        return;
    }
    // One-pixel lines are set pixel by pixel: the start pixel is painted and the end pixel is
    // not, whichever way the line runs, and the dash pattern starts at the start point.
    const std::vector<int> dashes = dashPattern(penStyle_);
    long long period = 0;
    for (int d : dashes) period += d;
    const QRgb inkRgb = toQRgb(ink);
    const bool opaque = backgroundMode_ == BackgroundMode::Opaque;
    const QRgb gapRgb = toQRgb(background_);
    forEachLinePixel(from, position_, image_.rect(), [&](int px, int py, long long index) {
        bool on = true;
        if (period > 0) {
            long long phase = index % period;
            for (std::size_t k = 0; k < dashes.size(); ++k) {
                if (phase < dashes[k]) {
                    on = k % 2 == 0;
                    break;
                }
                phase -= dashes[k];
            }
        }
        if (on || opaque) reinterpret_cast<QRgb*>(image_.scanLine(py))[px] = on ? inkRgb : gapRgb;
    });
}

void Surface::line(int x1, int y1, int x2, int y2, Colour colour) {
    position_ = QPoint(x1, y1);
    lineTo(x2, y2, colour);
}

void Surface::box(int x1, int y1, int x2, int y2, int cornerPercent, Colour lineColour,
                  Colour fillColour, int fillStyle) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    const long long width = (long long)x2 - x1;
    const long long height = (long long)y2 - y1;
    const long long percent = std::clamp(cornerPercent, 0, 100);
    const int diameter = int(std::min(width, height) * percent / 100);
    drawRoundedShape(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), diameter, diameter, lineColour,
                     fillColour, fillStyle);
}

void Surface::ellipse(int x1, int y1, int x2, int y2, Colour lineColour, Colour fillColour,
                      int fillStyle) {
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    if (x1 == x2 || y1 == y2) return;
    const QRect box(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1));
    drawRoundedShape(box, box.width(), box.height(), lineColour, fillColour, fillStyle);
}

void Surface::drawRoundedShape(const QRect& box, int arcWidth, int arcHeight, Colour lineColour,
                               Colour fillColour, int fillStyle) {
    if (image_.isNull() || box.width() <= 0 || box.height() <= 0) return;
    const Colour ink = lineColourOf(lineColour);
    Colour fill = fillColour;
    if (fill != kTransparent) fill = fill < 0 ? (ink < 0 ? foreground_ : ink) : fill & kColourMask;
    if (ink == kTransparent && fill == kTransparent) return;

    // Qt's aliased raster puts pixel centres on integer coordinates: the outline runs through
    // the centres of the box's outer pixels, so it covers exactly the box.
    const QPolygon outline = roundedOutline(box, arcWidth, arcHeight);
    markDirty(ink == kTransparent ? box : penReach(box));

    QPainter painter(&image_);
    preparePainter(painter);
    if (ink != kTransparent && penWidth_ > 1 && !wideDots(penStyle_).empty()) {
        if (fill != kTransparent) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(makeBrush(fill, fillStyle));
            painter.drawPolygon(outline);
        }
        // A plain box: each side on its own, so that every corner gets a dot.
        strokeWideDots(painter, QPolygonF(outline), true, ink, outline.size() == 4);
        return;
    }
    painter.setPen(ink == kTransparent ? QPen(Qt::NoPen) : makePen(ink));
    painter.setBrush(fill == kTransparent ? QBrush(Qt::NoBrush) : makeBrush(fill, fillStyle));
    painter.drawPolygon(outline);
}

void Surface::strokeWideDots(QPainter& painter, QPolygonF points, bool closed, Colour ink,
                             bool sideBySide) const {
    const std::vector<qreal> pattern = wideDots(penStyle_);
    const qreal width = penWidth_;
    QPen pen(toQColor(ink), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (closed && !points.isEmpty()) points << points.first();
    // An opaque background first fills the whole stroke, and the gaps keep its colour.
    if (backgroundMode_ == BackgroundMode::Opaque) {
        QPainterPath whole;
        whole.addPolygon(points);
        QPen gaps = pen;
        gaps.setColor(toQColor(background_));
        painter.strokePath(whole, gaps);
    }
    QPainterPath dashes;
    const QRectF visible = QRectF(image_.rect()).adjusted(-width, -width, width, width);
    if (sideBySide) {
        // Each side from its corner, its gaps stretched a little so that a whole number of
        // patterns fits and the last one ends on the next corner.
        qreal period = 0;
        for (const qreal extent : pattern) period += extent * width;
        for (qsizetype i = 1; i < points.size(); ++i) {
            const QPolygonF side({points[i - 1], points[i]});
            const qreal length = QLineF(side[0], side[1]).length();
            const qreal count = std::max<qreal>(1, std::round(length / period));
            addDashes(dashes, side, pattern, width, length / (count * period) * (1 - 1e-9),
                      visible);
        }
    } else {
        addDashes(dashes, points, pattern, width, 1, visible);
    }
    painter.strokePath(dashes, pen);
}

// ---- pixels ----------------------------------------------------------------------------

Colour Surface::pixel(int x, int y) const {
    if (image_.isNull() || !image_.rect().contains(x, y)) return -1;
    return fromQRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, Colour colour) {
    if (image_.isNull() || !image_.rect().contains(x, y)) return;
    if (colour == kDefaultColour) colour = foreground_;
    if (colour < 0) return;
    markDirty(QRect(x, y, 1, 1));
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = toQRgb(colour);
}

void Surface::floodFill(int x, int y, Colour fill, Colour boundary, int fillStyle, FloodMode mode) {
    if (image_.isNull() || fill == kTransparent) return;
    fill = fill < 0 ? foreground_ : fill & kColourMask;
    boundary = boundary < 0 ? fill : boundary & kColourMask;
    const std::vector<FloodSpan> spans = floodRegion(image_, QPoint(x, y), toQRgb(boundary), mode);
    if (spans.empty()) return;
    for (const FloodSpan& span : spans) {
        markDirty(QRect(QPoint(span.first, span.y), QPoint(span.last, span.y)));
    }

    if (hatchOf(fillStyle) == Qt::SolidPattern) {
        const QRgb ink = toQRgb(fill);
        for (const FloodSpan& span : spans) {
            QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(span.y));
            std::fill(row + span.first, row + span.last + 1, ink);
        }
        return;
    }

    // A hatched fill: the pattern, aligned to the surface's origin, is painted on a
    // transparent layer of the region's bounding box and copied where it has colour.
    QRect bounds;
    for (const FloodSpan& span : spans) {
        bounds |= QRect(span.first, span.y, span.last - span.first + 1, 1);
    }
    QImage layer(bounds.size(), QImage::Format_ARGB32);
    if (layer.isNull()) return;
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        preparePainter(painter);
        painter.setBrushOrigin(-bounds.topLeft());
        painter.fillRect(layer.rect(), makeBrush(fill, fillStyle));
    }
    for (const FloodSpan& span : spans) {
        QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(span.y));
        const QRgb* pattern =
            reinterpret_cast<const QRgb*>(layer.constScanLine(span.y - bounds.y()));
        for (int px = span.first; px <= span.last; ++px) {
            const QRgb p = pattern[px - bounds.x()];
            if (qAlpha(p) != 0) row[px] = p | 0xFF000000u;
        }
    }
}

}  // namespace tessel
