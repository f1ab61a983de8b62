#pragma once
// A new blank paper as the canvas: the size check and the filled or textured bitmap.

#include <QString>
#include <optional>

#include "page/PaperSettings.h"
#include "surface/Surface.h"

namespace tessel {

inline constexpr int kPaperMinMm = 10;
inline constexpr int kPaperMaxWidthMm = 318;
inline constexpr int kPaperMaxHeightMm = 238;

// The message shown when a paper size is outside the limits.
QString paperSizeMessage();

// True when the size lies within 10..318 x 10..238 millimetres, both ends included.
bool paperSizeAllowed(int widthMm, int heightMm);

// The canvas for the paper: cleared to paperColour or, with useTexture, covered from its
// top-left corner by the selected texture at its own size (paperColour wherever the paper is
// larger than the texture). A size outside the limits shows the message and gives nothing.
std::optional<Surface> CreatePaper(const PaperSettings& paper);

}  // namespace tessel
