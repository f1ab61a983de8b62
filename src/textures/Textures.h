#pragma once
// The program's 100 textures, made from the recipe table on demand. The same number always
// gives the same pixels.

#include <QImage>
#include <QSize>
#include <QString>

#include "textures/Recipe.h"

namespace tessel::textures {

inline constexpr int kTextureCount = 100;

// Texture n (1 to 100) in Format_RGB32; a null image for any other number.
QImage makeTexture(int number);
// The top-left corner of texture n, of the given extent (or less where the texture is smaller):
// the same pixels as that corner of makeTexture(n), made for a fraction of the cost.
QImage makeTextureCorner(int number, QSize extent);
// The size of texture n, without making it (an empty size for any other number).
QSize textureSize(int number);
// The family of texture n ("wood", "paper", ...), empty for any other number.
QString textureFamily(int number);

// The picture of any recipe (the table's or another), or of its extent when it has one, using
// every core.
QImage renderRecipe(const Recipe& recipe);

}  // namespace tessel::textures
