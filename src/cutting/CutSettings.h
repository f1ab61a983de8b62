#pragma once
// The cutting settings: axis colours, the pieces to save and the one image format used for the
// pieces and for saving the canvas.

#include <QString>

#include "surface/Colour.h"

namespace tessel {

inline constexpr int kFormatPng = 1030;
inline constexpr int kFormatJpg = 1031;
inline constexpr int kFormatGif = 1032;
inline constexpr int kFormatTif = 1033;
inline constexpr int kFormatBmp = 1034;

struct CutSettings {
    Colour horizontalAxisColour = 0x0000FF;
    Colour verticalAxisColour = 0x0000FF;
    int savePieceA = 0;
    int savePieceB = 0;
    int savePieceC = 0;
    int savePieceD = 0;
    int formatChoice = kFormatJpg;
};

// ".png", ".jpg", ".gif", ".tif" or ".bmp" for a format choice; ".jpg" for an unknown one.
QString extensionOf(int formatChoice);

}  // namespace tessel
