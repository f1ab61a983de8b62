#pragma once
// Drawing of a progress bar: a white frame, a fill as long as the percentage with a black
// shadow one pixel to the right and below, and the percentage written over it.

#include <QString>
#include <optional>

#include "progress/ProgressSettings.h"
#include "surface/Surface.h"
#include "text/TextProperties.h"

namespace tessel {

// The percentage as the bar writes it: a blank, the shortest decimal form of the
// single-precision value, then "% " (88.89 gives " 88.89% ").
QString barText(float percent);

// The percentage typed in the dialog: only the characters "1234567890." are allowed; the value
// is the leading decimal number ("12.5.3" reads 12.5, "" and "." read 0). Nothing for any other
// text.
std::optional<float> parseBarPercent(const QString& text);

// Prints the text in the surface's selected font, aligned by the code (131 left, 133 centre,
// 132 right) within the bar's width, relative to (x', y'); any other code prints nothing.
void printBarText(Surface& surface, const ProgressSettings& settings, const QString& text, int code,
                  int xText, int yText);

// The whole bar with its frame's top-left corner at (x, y). The text is printed in the font and
// foreColour of the text properties on a transparent background. A percentage above 100 fills
// the frame and no further.
void drawProgressBar(Surface& surface, int x, int y, const QString& text,
                     const ProgressSettings& settings, const TextProperties& textProperties);

}  // namespace tessel
