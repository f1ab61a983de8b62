#pragma once
// Fonts: the Windows face names the program speaks of, mapped to installed faces, at pixel
// sizes for the screen's logical DPI.

#include <QFont>
#include <QString>

#include "surface/FontRequest.h"

namespace tessel::platform {

// The screen's logical pixels per inch (96 under the tests' virtual screen).
int logicalDpiX();
int logicalDpiY();

// The installed face that stands for a face name ("Times New Roman" -> "Liberation Serif", ...).
QString substituteFace(const QString& face);

// A font for drawing: H = points * dpi / 72 rounded; the em height is H, or with the "Leading"
// style bit the cell height (ascent + descent) is H. Bold, italic, underline and strike-out
// follow the style word; the face name is cut to 31 characters; 0 points means 8.
ResolvedFont resolveFont(const FontRequest& request);

// The font of dialog controls: "MS Sans Serif" bold at the given points, the pixel height
// -(points * dpi / 72) in integer arithmetic.
QFont dialogFont(int points, bool underline = false);

}  // namespace tessel::platform
