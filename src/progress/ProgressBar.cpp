#include "progress/ProgressBar.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

int pixelOf(long double coordinate) {
    return int(roundToInt(coordinate));
}

}  // namespace

QString barText(float percent) {
    char digits[64];
    // The shortest digits that give the number back, always in plain decimal notation
    // (999999999999 prints as 1000000000000, never as 1e+12).
    const auto result =
        std::to_chars(digits, digits + sizeof digits, percent, std::chars_format::fixed);
    const QString number = QString::fromLatin1(digits, int(result.ptr - digits));
    return (percent >= 0 ? QStringLiteral(" ") : QString()) + number + QStringLiteral("% ");
}

std::optional<float> parseBarPercent(const QString& text) {
    static const QString allowed = QStringLiteral("1234567890.");
    for (QChar c : text) {
        if (!allowed.contains(c)) return std::nullopt;
    }
    // The leading number: digits, then a point and more digits.
    std::string number = "0";
    bool point = false;
    for (QChar c : text) {
        if (c == u'.') {
            if (point) break;
            point = true;
        }
        number += char(c.unicode());
    }
    float value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) return std::nullopt;
    return value;
}

void printBarText(Surface& surface, const ProgressSettings& s, const QString& text, int code,
                  int xText, int yText) {
    const QSize size = surface.measure(text);
    const long double y = yText + s.barGap + s.barHeight / 2.0L - size.height();
    long double x = 0;
    switch (code) {
        case kBarTextLeft:
            x = xText;
            break;
        case kBarTextRight:
            x = (long double)xText + s.barWidth - size.width() - 3;
            break;
        case kBarTextCentre:
            x = xText + (s.barWidth - size.width()) / 2.0L;
            break;
        default:
            return;
    }
    surface.moveTo(pixelOf(x), pixelOf(y));
    surface.print(text);
}

void drawProgressBar(Surface& surface, int x, int y, const QString& text, const ProgressSettings& s,
                     const TextProperties& textProperties) {
    const int previousPen = surface.penWidth();
    const Colour previousForeground = surface.foreground();
    const Colour previousBackground =
        surface.backgroundMode() == BackgroundMode::Opaque ? surface.background() : kTransparent;
    const int W = s.barWidth;
    const int H = s.barHeight;
    const int G = s.barGap;
    surface.setPenWidth(s.barBorderWidth);
    surface.box(x, y, x + W, y + H, 0, s.barBorderColour, kWhite, kFillSolid);

    // The fill never runs past the frame, whatever the percentage.
    const long double percent = std::min<long double>(s.barPercent, 100.0L);
    const long double p = percent / 100.0L * W;
    const long double right = s.barPercent > G ? x + p - G : x + p;
    surface.box(x + G + 1, y + G + 1, pixelOf(right + 1), y + H - G + 1, 0, kBlack, kBlack,
                kFillSolid);
    surface.box(x + G, y + G, pixelOf(right), y + H - G, 0, s.barFillColour, s.barFillColour,
                kFillSolid);

    surface.selectFont(platform::resolveFont(levelFont(textProperties)));
    surface.setForeground(textProperties.foreColour);
    surface.setBackground(kTransparent);
    printBarText(surface, s, text, s.barTextAlign, x + G + s.barBorderWidth,
                 y + 5 + s.barBorderWidth);

    surface.setPenWidth(previousPen);
    surface.setForeground(previousForeground);
    surface.setBackground(previousBackground);
}

}  // namespace tessel
