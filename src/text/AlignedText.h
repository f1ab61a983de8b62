#pragma once
// Aligned text blocks: the text broken word by word into lines that fit an area's width and
// each line placed left, right, centred or justified.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "surface/Colour.h"
#include "surface/FontRequest.h"

namespace tessel {

class Surface;

// The printed width of a string in pixels.
using TextWidth = std::function<int(const QString&)>;

// The most lines a block holds.
inline constexpr int kMaxAlignedLines = 100;

struct TextSplit {
    QString head;       // the longest leading run of whole words that fits
    QString remainder;  // what is left, starting with the blanks at the break
};

// Splits a string at a width. A first word wider than the width is itself broken after the
// longest run of its characters that fits (at least one character, so that the text always
// moves on).
TextSplit splitAtWidth(const QString& text, int width, const TextWidth& measure);

// The lines of a block, always kMaxAlignedLines of them (empty ones at the end): the first
// broken at areaWidth - 5, the later ones at areaWidth with their leading blanks removed. Text
// that does not fit in the last line is dropped.
QStringList breakAlignedLines(const QString& text, int areaWidth, const TextWidth& measure);

// One line as it is printed: its start relative to the block's left edge and, for a justified
// line, the extra pixels spread over its blanks.
struct PlacedLine {
    QString text;
    int startX = 0;
    int extra = 0;   // extra pixels over the blanks
    int blanks = 0;  // number of blanks that take them (0: printed as it is)
};

// Places the lines for an alignment code (131 left, 132 right, 133 centre, 134 justified;
// anything else counts as left).
std::vector<PlacedLine> placeAlignedLines(const QStringList& lines, int alignment, int areaWidth,
                                          const TextWidth& measure);

// The extra pixels that the blank with the given index (0-based) of a justified line takes:
// the extra divided evenly, the remainder one pixel each to the first blanks.
int extraForBlank(int extra, int blanks, int index);

// Draws a block with its top-left corner at (x, y) in the font and colours; background -2
// prints without a background. The block is drawn whole, however tall it is.
void drawAlignedText(Surface& surface, const QString& text, int alignment, int areaWidth, int x,
                     int y, const ResolvedFont& font, Colour foreColour, Colour backColour);

}  // namespace tessel
