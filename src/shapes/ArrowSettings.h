#pragma once
// The settings of the arrows, kept for the whole run. The member initialisers are the start-up
// values.

#include <cstdint>

#include "surface/Colour.h"

namespace tessel {

struct ArrowSettings {
    Colour arrowColour = 0x000000;
    std::int16_t arrowWidth = 1;      // pen width, 1..30
    std::uint8_t arrowHeads = 1;      // 0, 1 (at the tip) or 2 (tip and tail)
    std::int16_t arrowDirection = 1;  // 1..8: 0 degrees (up) and then every 45 degrees clockwise
    int arrowClosed = 0;              // each head closed into a triangle
    std::int16_t arrowHeadSize = 10;  // H, in pixels
    std::int16_t arrowLength = 0;     // L, in pixels, as drawn on the canvas
    int arrowAccepted = 0;
};

}  // namespace tessel
