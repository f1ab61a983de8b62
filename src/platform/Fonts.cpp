#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include "surface/Numbers.h"

namespace tessel::platform {
namespace {

int screenDpi(bool horizontal) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 96;
    const qreal dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? int(roundToInt(dpi)) : 96;
}

QFont::StyleStrategy textStrategy() {
    return QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias);
}

int cellHeight(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.ascent() + metrics.descent();
}

}  // namespace

int logicalDpiX() { return screenDpi(true); }
int logicalDpiY() { return screenDpi(false); }

QString substituteFace(const QString& face) {
    static const QHash<QString, QString> faces = {
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("tahoma"), QStringLiteral("DejaVu Sans")},
    };
    return faces.value(face.toLower(), face);
}

ResolvedFont resolveFont(const FontRequest& request) {
    const int points = request.points == 0 ? 8 : request.points;
    const int height = std::abs(int(roundToInt(points * (long double)logicalDpiY() / 72.0L)));

    QFont font(substituteFace(request.face.left(31)));
    font.setStyleStrategy(textStrategy());
    font.setWeight((request.style & kStyleBold) ? QFont::Bold : QFont::Normal);
    font.setItalic(request.style & kStyleItalic);
    font.setUnderline(request.style & kStyleUnderline);
    font.setStrikeOut(request.style & kStyleStrikeOut);
    font.setPixelSize(std::max(1, height));

    if ((request.style & kStyleLeading) && height > 0) {
        // The requested height is the whole cell: shrink the em until ascent + descent fit it.
        const int cell = cellHeight(font);
        int pixels = std::max(1, int(roundToInt((long double)height * height / std::max(1, cell))));
        font.setPixelSize(pixels);
        while (pixels > 1 && cellHeight(font) > height) font.setPixelSize(--pixels);
        while (cellHeight(font) < height) {
            font.setPixelSize(pixels + 1);
            if (cellHeight(font) > height) {
                font.setPixelSize(pixels);
                break;
            }
            ++pixels;
        }
    }
    return ResolvedFont{font, request.escapement};
}

QFont dialogFont(int points, bool underline) {
    QFont font(substituteFace(QStringLiteral("MS Sans Serif")));
    font.setPixelSize(std::max(1, points * logicalDpiY() / 72));
    font.setWeight(QFont::Bold);
    font.setUnderline(underline);
    font.setStyleStrategy(textStrategy());
    return font;
}

}  // namespace tessel::platform
