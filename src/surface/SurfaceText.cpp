// Text on the surface: the selected font, printing and measuring.

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>

#include "surface/Surface.h"

namespace tessel {

namespace {

// Every pixel the glyphs of one printed line can paint, in the line's own coordinates (the
// cell's top-left corner at the origin, the baseline at `ascent`). The line is laid out as
// QPainter lays it out, and each glyph is bounded in the face that really draws it, so that
// fallback faces, stacked marks and overhangs all count. `slack` is added around each glyph
// for hinting, synthetic bold or slant and the antialiased fringe.
QRectF glyphInk(const QFont& font, const QString& text, qreal ascent, const QSizeF& slack) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid()) line.setLineWidth(1e9);
    layout.endLayout();
    if (!line.isValid()) return {};
    const QPointF baseline(0, ascent - line.ascent());
    QRectF ink;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            QRectF box = raw.boundingRect(glyphs[i]) | raw.pathForGlyph(glyphs[i]).boundingRect();
            // A glyph drawn from a picture (colour emoji) may give no outline: its whole cell.
            const qreal advance = i < advances.size() ? advances[i].x() : 0;
            box |= QRectF(0, -raw.ascent(), advance, raw.ascent() + raw.descent());
            box = box.normalized().adjusted(-slack.width(), -slack.height(), slack.width(),
                                            slack.height());
            ink |= box.translated(positions[i] + baseline);
        }
    }
    return ink;
}

}  // namespace

void Surface::selectFont(const ResolvedFont& font) {
    font_ = font;
}

QFont Surface::drawingFont() const {
    QFont font = font_.font;
    font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::NoSubpixelAntialias));
    return font;
}

QSize Surface::measure(const QString& text) const {
    const QFontMetrics metrics(drawingFont());
    return QSize(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent());
}

int Surface::averageCharWidth() const {
    return QFontMetrics(drawingFont()).averageCharWidth();
}

int Surface::charHeight() const {
    const QFontMetrics metrics(drawingFont());
    return metrics.ascent() + metrics.descent();
}

void Surface::print(const QString& text) {
    const QFont font = drawingFont();
    const QFontMetrics metrics(font);
    const QPoint origin = position_;
    position_.ry() += metrics.ascent() + metrics.descent() + std::max(0, metrics.leading());
    if (image_.isNull()) return;

    QTransform placement;
    placement.translate(origin.x(), origin.y());
    // The escapement turns the baseline counter-clockwise around the text's top-left corner;
    // Qt's y axis points down, so counter-clockwise is a negative angle.
    if (font_.escapement != 0) placement.rotate(-font_.escapement / 10.0);
    // What the text can paint: its cell (background, underline, strike-out) and the ink of
    // every glyph as laid out, with room for overhangs and the antialiased fringe, turned like
    // the text.
    const int slackX = metrics.height() / 6 + 2;
    const int slackY = metrics.height() / 12 + 2;
    const QRect cell = QRect(QPoint(0, 0), measure(text)) |
                       metrics.boundingRect(text).translated(0, metrics.ascent());
    const QRectF ink = QRectF(cell.adjusted(-slackX, -slackY, slackX, slackY)) |
                       glyphInk(font, text, metrics.ascent(), QSizeF(slackX, slackY));
    markDirty(placement.mapRect(ink).toAlignedRect().adjusted(-1, -1, 1, 1));

    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setTransform(placement);
    if (backgroundMode_ == BackgroundMode::Opaque) {
        painter.fillRect(QRect(QPoint(0, 0), measure(text)), toQColor(background_));
    }
    painter.setFont(font);
    painter.setPen(toQColor(foreground_));
    painter.drawText(QPoint(0, metrics.ascent()), text);
}

}  // namespace tessel
