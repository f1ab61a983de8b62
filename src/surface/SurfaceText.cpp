// Text on the surface: the selected font, printing and measuring.

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>
#include <algorithm>

#include "surface/Surface.h"

namespace tessel {

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
    // What the text can paint: its cell and its ink, with room for overhangs (italics, accents
    // above the ascent) and the antialiased fringe, turned like the text.
    const int slackX = metrics.height() / 6 + 2;
    const int slackY = metrics.height() / 12 + 2;
    const QRect ink = QRect(QPoint(0, 0), measure(text)) |
                      metrics.boundingRect(text).translated(0, metrics.ascent());
    markDirty(placement.mapRect(QRectF(ink.adjusted(-slackX, -slackY, slackX, slackY)))
                  .toAlignedRect()
                  .adjusted(-1, -1, 1, 1));

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
