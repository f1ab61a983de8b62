#include "text/TextProperties.h"

namespace tessel {

int styleBits(const TextStyleFlags& flags) {
    int word = 0;
    if (flags.bold == 1) word |= kStyleBold;
    if (flags.italic == 1) word |= kStyleItalic;
    if (flags.underline == 1) word |= kStyleUnderline;
    if (flags.strikeout == 1) word |= kStyleStrikeOut;
    if (flags.leading == 1) word |= kStyleLeading;
    return word;
}

FontRequest levelFont(const TextProperties& properties) {
    FontRequest request;
    request.face = properties.fontName;
    request.points = properties.pointSize;
    request.style = styleBits(properties.styles);
    request.charset = 0;
    request.escapement = 0;
    return request;
}

}  // namespace tessel
