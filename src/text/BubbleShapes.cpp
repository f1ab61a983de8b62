#include "text/BubbleShapes.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/Fonts.h"
#include "surface/Numbers.h"
#include "surface/Surface.h"

namespace tessel {
namespace {

// The shadow is this many points larger than the bubble.
constexpr int kShadowExtraPoints = 5;
// The edge line is about this fraction of the bubble's height (at least one pixel).
constexpr qreal kEdgeFraction = 1.0 / 90.0;

// Shapes are drawn in units of about 1000 for the height; boolean operations flatten curves,
// so the units are fine enough for the largest bubble.

QPainterPath ellipsePath(const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box);
    return path;
}

// A curved tail from a point inside the body to its tip and back to another point inside.
QPainterPath curvedTail(QPointF from, QPointF bend1, QPointF tip, QPointF bend2, QPointF to) {
    QPainterPath path;
    path.moveTo(from);
    path.quadTo(bend1, tip);
    path.quadTo(bend2, to);
    path.closeSubpath();
    return path;
}

QPainterPath polygonPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath atOrigin(const QPainterPath& path) {
    const QRectF bounds = path.boundingRect();
    return path.translated(-bounds.topLeft());
}

QPainterPath mirrored(const QPainterPath& path) {
    return atOrigin(QTransform::fromScale(-1, 1).map(path));
}

QPainterPath ovalLeft() {
    return ellipsePath(QRectF(0, 0, 1300, 800))
        .united(curvedTail({380, 700}, {360, 900}, {100, 1000}, {470, 950}, {640, 770}));
}

QPainterPath roundedLeft() {
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 0, 1300, 780), 170, 170);
    return body.united(curvedTail({240, 740}, {220, 900}, {100, 1000}, {380, 930}, {520, 740}));
}

// A burst of spikes of uneven length around an ellipse, with a zigzag tail.
QPainterPath shout() {
    constexpr int kSpikes = 18;
    constexpr qreal kOuter[] = {1.00, 0.86, 0.95, 0.82, 1.00, 0.90, 0.84, 0.97, 0.88};
    constexpr qreal kInner = 0.74;
    const QPointF centre(700, 440);
    const qreal rx = 700, ry = 440;
    QPolygonF star;
    for (int k = 0; k < 2 * kSpikes; ++k) {
        const qreal angle = k * std::numbers::pi / kSpikes - std::numbers::pi / 2 + 0.09;
        const qreal factor = k % 2 == 0 ? kOuter[(k / 2) % 9] : kInner;
        star << centre + QPointF(rx * factor * std::cos(angle), ry * factor * std::sin(angle));
    }
    QPainterPath body;
    body.addPolygon(star);
    body.closeSubpath();
    return body.united(polygonPath(
        {{780, 760}, {930, 900}, {870, 915}, {1060, 1070}, {960, 890}, {1020, 880}, {900, 720}}));
}

// A flattened oval whose tail points up, edged with a dashed line.
QPainterPath whisper() {
    return ellipsePath(QRectF(0, 200, 1400, 800))
        .united(curvedTail({330, 290}, {250, 130}, {120, 0}, {420, 120}, {560, 240}));
}

// A caption box with its top-right corner cut off.
QPainterPath caption() {
    return polygonPath({{0, 0}, {1320, 0}, {1500, 180}, {1500, 800}, {0, 800}});
}

// A cloud of bumps with two small circles trailing to the lower left.
QPainterPath thoughtLeft() {
    const QPointF centre(700, 380);
    QPainterPath cloud = ellipsePath(QRectF(centre.x() - 600, centre.y() - 300, 1200, 600));
    constexpr int kBumps = 12;
    for (int i = 0; i < kBumps; ++i) {
        const qreal angle = i * 2 * std::numbers::pi / kBumps + 0.2;
        const qreal radius = i % 2 == 0 ? 175 : 150;
        const QPointF at = centre + QPointF(560 * std::cos(angle), 280 * std::sin(angle));
        cloud = cloud.united(
            ellipsePath(QRectF(at.x() - radius, at.y() - radius, 2 * radius, 2 * radius)));
    }
    cloud.addEllipse(QPointF(330, 900), 58, 58);
    cloud.addEllipse(QPointF(185, 995), 36, 36);
    return cloud;
}

// One oval, two tails: two voices at once.
QPainterPath twoVoices() {
    return ellipsePath(QRectF(0, 0, 1400, 780))
        .united(curvedTail({330, 680}, {300, 880}, {120, 1000}, {420, 900}, {520, 750}))
        .united(curvedTail({1070, 680}, {1100, 880}, {1280, 1000}, {980, 900}, {880, 750}));
}

int shapeIndex(const QString& glyph) {
    if (glyph.size() != 1) return 0;
    const auto* found =
        std::find(kBubbleGlyphs.begin(), kBubbleGlyphs.end(), glyph.at(0).toLatin1());
    return found == kBubbleGlyphs.end() ? 0 : int(found - kBubbleGlyphs.begin());
}

const std::array<QPainterPath, 10>& outlines() {
    static const std::array<QPainterPath, 10> paths = [] {
        std::array<QPainterPath, 10> made = {
            ovalLeft(),    mirrored(ovalLeft()),    shout(),
            roundedLeft(), mirrored(roundedLeft()), whisper(),
            caption(),     thoughtLeft(),           mirrored(thoughtLeft()),
            twoVoices(),
        };
        for (QPainterPath& path : made) {
            path = atOrigin(path);
            path.setFillRule(Qt::WindingFill);
        }
        return made;
    }();
    return paths;
}

constexpr int kWhisper = 5;

}  // namespace

QString bubbleName(const QString& glyph) {
    static const char16_t* const names[] = {
        u"Bocadito ovalado, cola a la izquierda",
        u"Bocadito ovalado, cola a la derecha",
        u"Grito",
        u"Bocadito rectangular, cola a la izquierda",
        u"Bocadito rectangular, cola a la derecha",
        u"Susurro",
        u"Cartela",
        u"Pensamiento, hacia la izquierda",
        u"Pensamiento, hacia la derecha",
        u"Dos voces",
    };
    return QString::fromUtf16(names[shapeIndex(glyph)]);
}

QPainterPath bubbleOutline(const QString& glyph) {
    return outlines()[shapeIndex(glyph)];
}

int bubblePixelHeight(int points) {
    return int(roundToInt(points * (long double)platform::logicalDpiY() / 72.0L));
}

namespace {

// Where a shape of the given height goes: the width of its edge line, the scale from its own
// units to pixels, and the box it paints in (empty when there is nothing to paint).
struct BubbleGeometry {
    qreal edge = 0;
    qreal scale = 0;
    QRectF box;
};

BubbleGeometry bubbleGeometry(const QPainterPath& path, QPointF topLeft, qreal height) {
    const QRectF bounds = path.boundingRect();
    if (height <= 0 || bounds.height() <= 0) return {};
    BubbleGeometry g;
    // The edge line lies inside the height: its outer side touches the bounding box.
    g.edge = std::min(height / 4, std::max<qreal>(1, height * kEdgeFraction));
    g.scale = (height - g.edge) / bounds.height();
    g.box = QRectF(topLeft, QSizeF(bounds.width() * g.scale + g.edge, height));
    return g;
}

}  // namespace

QRectF bubbleBox(const QString& glyph, QPointF topLeft, qreal height) {
    return bubbleGeometry(outlines()[shapeIndex(glyph)], topLeft, height).box;
}

void paintBubbleShape(QPainter& painter, const QString& glyph, QPointF topLeft, qreal height,
                      const QColor& fill, const QColor& outline) {
    const int index = shapeIndex(glyph);
    const QPainterPath& path = outlines()[index];
    const BubbleGeometry g = bubbleGeometry(path, topLeft, height);
    if (g.box.isEmpty()) return;
    const qreal edge = g.edge;
    const qreal scale = g.scale;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Nothing of the edge's smoothing spills out of the bubble's box.
    painter.setClipRect(g.box, Qt::IntersectClip);
    painter.translate(topLeft + QPointF(edge / 2, edge / 2));
    painter.scale(scale, scale);
    QPen pen(outline, edge / scale);
    pen.setJoinStyle(Qt::RoundJoin);
    if (index == kWhisper) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({4, 2.5});
    }
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

void drawBubbleGlyph(Surface& surface, Colour colour, const QString& glyph, int points, int x,
                     int y) {
    if (surface.isNull()) return;
    const QColor fill = toQColor(colour);
    const QPointF topLeft(x, y);
    const qreal height = bubblePixelHeight(points);
    // Only the bubble's box counts as changed, so that undo looks at no more than that.
    const QRect box = bubbleBox(glyph, topLeft, height).toAlignedRect();
    if (box.isEmpty()) return;
    QPainter painter(&surface.imageFor(box));
    paintBubbleShape(painter, glyph, topLeft, height, fill, fill.darker(200));
}

void drawBubble(Surface& surface, int x, int y, const BubbleSettings& settings) {
    if (settings.shadow) {
        drawBubbleGlyph(surface, 0x000000, settings.glyph, settings.size + kShadowExtraPoints, x,
                        y);
    }
    drawBubbleGlyph(surface, settings.colour, settings.glyph, settings.size, x, y);
}

}  // namespace tessel
