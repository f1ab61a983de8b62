#pragma once
// How text tools describe a font, and the Qt font that stands for it on a surface.

#include <QFont>
#include <QString>

namespace tessel {

// Bits of the style word: bold 1, italic 2, underline 4, strike-out 8, "Leading" 16.
enum StyleBit : int {
    kStyleBold = 1,
    kStyleItalic = 2,
    kStyleUnderline = 4,
    kStyleStrikeOut = 8,
    kStyleLeading = 16,
};

struct FontRequest {
    QString face = QStringLiteral("Times New Roman");
    int points = 10;      // 0 means 8 points
    int style = 0;        // the style word
    int charset = 0;      // kept for the record; every face is Unicode here
    int escapement = 0;   // tenths of a degree, counter-clockwise
};

// A font ready for a surface: the Qt font at its pixel size and the rotation of the baseline.
struct ResolvedFont {
    QFont font;
    int escapement = 0;  // tenths of a degree, counter-clockwise
};

}  // namespace tessel
