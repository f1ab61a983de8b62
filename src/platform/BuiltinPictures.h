#pragma once
// The pictures the program carries: the 100 textures ("#701" to "#800"), the picture of the four
// lettered pieces (resource 103) and the window icon ("#200").

#include <QIcon>
#include <QImage>
#include <QString>

namespace tessel::platform {

inline constexpr int kTextureCount = 100;
inline constexpr int kPiecesPictureId = 103;
inline constexpr int kWindowIconId = 200;

// Texture n (1 to 100), resource 700 + n, Format_RGB32. Made when first asked for and kept
// while it is among the most recently used.
QImage texturePicture(int number);
// The top-left corner of texture n in the given extent, exactly as in texturePicture(n): taken
// from the whole texture when that is at hand, otherwise made alone (a fraction of the work).
// The corners made last are kept.
QImage textureCorner(int number, QSize extent);
// The size of texture n without making it; empty for any other number.
QSize textureSize(int number);
// A picture by its resource name: "#724" is texture 24, "#103" the pieces picture. A null image
// for a name the program does not carry.
QImage builtinPicture(const QString& name);
// The name of texture n: "#" and the three digits of 700 + n.
QString textureResourceName(int number);
QImage piecesPicture();
QIcon windowIcon();

}  // namespace tessel::platform
