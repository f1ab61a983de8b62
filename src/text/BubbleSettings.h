#pragma once
// The settings of the speech-bubble tool: shape, colour, size, shadow and the colour chooser's
// own custom colours. One instance lives for the whole run.

#include <QString>
#include <cstdint>

#include "platform/Services.h"
#include "surface/Colour.h"

namespace tessel {

inline constexpr int kMinBubbleSize = 6;
inline constexpr int kMaxBubbleSize = 450;

struct BubbleSettings {
    QString glyph = QStringLiteral("(");  // the key of the shape
    Colour colour = rgb(250, 250, 156);   // 0x9CFAFA
    std::int16_t size = 200;              // points, kMinBubbleSize..kMaxBubbleSize
    int shadow = 0;                       // "Poner sombra"
    int accepted = 0;
    // Kept apart from the program-wide custom colours.
    platform::CustomColours colourSlots{};
};

}  // namespace tessel
