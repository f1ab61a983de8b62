#pragma once
// The settings of the progress bars, kept for the whole run. The member initialisers are the
// values they start with.

#include <cstdint>

#include "surface/Colour.h"

namespace tessel {

// Text alignment codes of a bar.
inline constexpr int kBarTextLeft = 131;
inline constexpr int kBarTextRight = 132;
inline constexpr int kBarTextCentre = 133;

struct ProgressSettings {
    std::int16_t barHeight = 35;      // H
    std::int16_t barWidth = 256;      // W
    std::int16_t barBorderWidth = 2;  // BW, pen width of every outline, 1..4
    Colour barBorderColour = 0x000000;
    Colour barFillColour = 0x00FF00;  // green
    float barPercent = 88.89f;        // P
    std::int16_t barGap = 5;          // G, between frame and fill
    std::int16_t barTextAlign = kBarTextCentre;
    int barAccepted = 0;  // 1 after "Crear", 0 after "Salir"
};

}  // namespace tessel
