#pragma once
// Colours as the program stores them: a 24-bit 0x00BBGGRR integer (red in the low byte),
// with three negative sentinel values.

#include <QColor>
#include <cstdint>

namespace tessel {

using Colour = std::int32_t;

// The sentinels that may stand wherever a colour is passed.
inline constexpr Colour kDefaultColour = -1;  // system colour, or the current foreground
inline constexpr Colour kTransparent = -2;    // transparent background / no fill
inline constexpr Colour kUnchanged = -3;      // leave the current colour as it is

inline constexpr Colour rgb(int r, int g, int b) {
    return Colour((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int redOf(Colour c) { return c & 0xFF; }
inline constexpr int greenOf(Colour c) { return (c >> 8) & 0xFF; }
inline constexpr int blueOf(Colour c) { return (c >> 16) & 0xFF; }

// The one place where a colour becomes a Qt colour. The top byte is ignored; a sentinel must
// have been resolved before (it is treated as black).
QColor toQColor(Colour c);
QRgb toQRgb(Colour c);
Colour fromQRgb(QRgb rgb);
inline Colour fromQColor(const QColor& c) { return fromQRgb(c.rgb()); }

}  // namespace tessel
