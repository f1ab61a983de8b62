#pragma once
// The settings every text tool draws with: font, size, styles, colours, background mode and
// slant. One committed record lives for the whole run; the properties dialog edits a working
// copy of some of its fields and commits them on "Aceptar".

#include <QString>
#include <cstdint>

#include "surface/Colour.h"
#include "surface/FontRequest.h"

namespace tessel {

struct TextStyleFlags {
    int bold = 0;  // each flag counts only when it is exactly 1
    int italic = 0;
    int underline = 0;
    int strikeout = 0;
    int leading = 0;
};

// The fields the dialog edits before committing them.
struct TextPropertiesWorking {
    QString fontName = QStringLiteral("Times New Roman");
    std::int16_t pointSize = 10;
    TextStyleFlags styles;
    Colour foreColour = 0x000000;
    Colour backColour = 0xFFFFFF;  // or kTransparent
};

struct TextProperties {
    QString fontName = QStringLiteral("Times New Roman");
    std::int16_t pointSize = 10;
    TextStyleFlags styles;
    Colour foreColour = 0x000000;
    Colour backColour = 0xFFFFFF;  // or kTransparent: no background is painted
    Colour savedBackColour = 0x000000;  // the last real background while it is transparent
    int transparentBackground = 0;
    int angled = 0;
    std::int16_t angleDegrees = 0;  // counter-clockwise, whole degrees

    // The committed record also holds the working copy the dialog edits; it is loaded from the
    // committed fields each time the dialog opens.
    TextPropertiesWorking working;
};

// The style word of five flags: bold 1, italic 2, underline 4, strike-out 8, leading 16.
int styleBits(const TextStyleFlags& flags);

// The level font of the committed record: its face, size and style word, character set 0,
// escapement 0.
FontRequest levelFont(const TextProperties& properties);

}  // namespace tessel
