#pragma once
// The paper settings: the size of a new blank paper, its colour and its texture.

#include <cstdint>

#include "surface/Colour.h"

namespace tessel {

struct PaperSettings {
    std::int16_t widthMm = 0;
    std::int16_t heightMm = 0;
    Colour paperColour = 0xFFFFFF;  // also the ground of every picture loaded from a file
    int useTexture = 0;
    std::int16_t textureNumber = 24;  // 1 to 100
    int accepted = 0;
};

}  // namespace tessel
