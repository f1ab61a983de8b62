#include "text/LineText.h"

#include <QRegularExpression>

#include "platform/Fonts.h"
#include "text/InkMask.h"

namespace tessel {

QString singleLine(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QString line = text;
    line.replace(lineBreak, QStringLiteral(" "));
    return line;
}

void drawLevelText(Surface& canvas, int x, int y, Colour foreColour, Colour backColour,
                   const QString& text, const QString& fontName, int pointSize, int styleWord) {
    FontRequest request;
    request.face = fontName;
    request.points = pointSize;
    request.style = styleWord;
    request.charset = 0;
    request.escapement = 0;
    canvas.selectFont(platform::resolveFont(request));
    canvas.moveTo(x, y);
    canvas.setForeground(foreColour);
    canvas.setBackground(backColour);
    canvas.print(singleLine(text));
}

void drawSlantedText(Surface& canvas, int x, int y, Colour foreColour, Colour backColour,
                     const QString& text, const QString& fontName, int pointSize, int styleWord,
                     int angleDegrees) {
    FontRequest request;
    request.face = fontName;
    request.points = pointSize;
    request.style = styleWord;
    request.charset = 1;
    request.escapement = angleDegrees * 10;
    canvas.selectFont(platform::resolveFont(request));
    canvas.moveTo(x, y);
    canvas.setForeground(foreColour);
    canvas.setBackground(backColour);
    canvas.print(singleLine(text));
}

void drawHollowText(Surface& canvas, const QString& text, int x, int y,
                    const TextProperties& properties) {
    InkMask mask = buildInkMask(text, levelFont(properties));
    markOutline(mask);
    const Colour colour = properties.foreColour;
    for (int row = 1; row <= mask.rows(); ++row) {
        for (int column = 1; column <= mask.columns(); ++column) {
            if (mask.at(column, row) == InkMask::kOutline) {
                canvas.setPixel(x + column, y + row, colour);
            }
        }
    }
}

void drawTexturedText(Surface& canvas, const QString& text, int x, int y,
                      const TextProperties& properties, const QImage& texture) {
    if (texture.isNull()) return;
    const QImage picture = texture.convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) return;
    InkMask mask = buildInkMask(text, levelFont(properties));
    markOutline(mask);
    // The picture repeats across the text as a pattern, so that every ink cell finds a colour:
    // cell (column, row) takes pixel (column mod width, row mod height).
    const int width = picture.width();
    const int height = picture.height();
    for (int row = 1; row <= mask.rows(); ++row) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(row % height));
        for (int column = 1; column <= mask.columns(); ++column) {
            if (mask.at(column, row) != InkMask::kPaper) {
                canvas.setPixel(x + column, y + row, fromQRgb(line[column % width]));
            }
        }
    }
}

}  // namespace tessel
