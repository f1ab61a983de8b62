// Text on the surface: the selected font, printing and measuring.

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <unordered_map>

#include "surface/Surface.h"

namespace tessel {

namespace {

// What tells one face at one size from another: its names, its measures and, for a face with
// one, the checksum and dates of its header table (two files may give a family the same name).
QByteArray faceKey(const QRawFont& face) {
    QByteArray key = face.familyName().toUtf8() + '\0' + face.styleName().toUtf8() + '\0';
    const qreal measures[] = {face.pixelSize(),    qreal(face.weight()),
                              qreal(face.style()), qreal(face.hintingPreference()),
                              face.unitsPerEm(),   face.ascent(),
                              face.descent(),      face.xHeight(),
                              face.maxCharWidth()};
    key.append(reinterpret_cast<const char*>(measures), sizeof measures);
    return key + face.fontTable("head");
}

// A glyph's box in its face: its metrics and its outline together. Drawing an outline runs the
// face's hinting program, so each glyph of each face is bounded once per thread and kept (a
// ruler alone prints its ten digits dozens of times at every redraw).
QRectF glyphBox(const QRawFont& face, const QByteArray& key, quint32 glyph) {
    constexpr std::size_t kMostKept = 20000;
    thread_local std::unordered_map<QByteArray, QRectF> kept;
    QByteArray glyphKey = key;
    glyphKey.append(reinterpret_cast<const char*>(&glyph), sizeof glyph);
    if (const auto found = kept.find(glyphKey); found != kept.end()) return found->second;
    if (kept.size() >= kMostKept) kept.clear();
    const QRectF box = face.boundingRect(glyph) | face.pathForGlyph(glyph).boundingRect();
    kept.emplace(std::move(glyphKey), box);
    return box;
}

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
        const QByteArray face = faceKey(raw);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            QRectF box = glyphBox(raw, face, glyphs[i]);
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
    // An empty text only moves the position: its cell has no width, so nothing is painted and
    // nothing is marked (an aligned block's unused lines would mark a strip down the picture).
    if (image_.isNull() || text.isEmpty()) return;

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
