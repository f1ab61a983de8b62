#pragma once
// Text with an effect: glyphs in three horizontal colour bands, or raised and sunk relief.

#include <QString>

#include "surface/Colour.h"
#include "surface/FontRequest.h"
#include "surface/Surface.h"

namespace tessel {

enum class FxMode { ThreeColour, Raised, Sunk };

// The FX settings of the run.
struct FxTextSettings {
    FxMode mode = FxMode::ThreeColour;
    Colour colour1 = 0xFFFFFF;  // the bands, top to bottom
    Colour colour2 = 0xFFFFFF;
    Colour colour3 = 0xFFFFFF;
    QString fxText;  // the last accepted text
};

// The relief kinds.
inline constexpr int kReliefRaised = 132;
inline constexpr int kReliefSunk = 131;
inline constexpr Colour kReliefHighlight = 0xFFFFFF;
inline constexpr Colour kReliefShadow = 0x000080;  // RGB(128, 0, 0)

// The ink cells of the text's mask (font of the committed properties) land on canvas pixel
// (x + column, y + row). With top the first ink row and s = pointSize / 3 (integer division,
// points, not pixels): rows up to top + s take colour1, rows up to top + 2s colour2, the rest
// colour3.
void drawThreeColourText(Surface& canvas, const QString& text, int x, int y,
                         const FontRequest& font, Colour colour1, Colour colour2, Colour colour3);

// Three printings on a transparent background, each with the text cell's top-left at its
// position: raised (132) white at (x - 1, y - 1), shadow at (x + 1, y + 1), colour at (x, y);
// sunk (131) the shadow first and white second.
void drawReliefText(Surface& canvas, const QString& text, int kind, const FontRequest& font,
                    Colour colour, int x, int y);

}  // namespace tessel
