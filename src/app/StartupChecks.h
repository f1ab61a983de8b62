#pragma once
// What the program checks before it shows its window: the image codecs and the screen size.

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

namespace tessel {

// Below this a window with a useful view does not fit; the window takes the room it is given.
inline constexpr int kMinimumScreenWidth = 800;
inline constexpr int kMinimumScreenHeight = 600;

// The message for a screen smaller than 800 x 600, or nothing when the screen is large enough.
std::optional<QString> screenSizeMessage(QSize screen);

// The formats (of PNG, JPEG, GIF, TIFF, BMP) that cannot be read or written here. GIF files are
// written by the program itself, so only reading is asked of the installed codecs for GIF.
QStringList missingImageFormats();
QString codecFailureMessage(const QStringList& missing);

}  // namespace tessel
