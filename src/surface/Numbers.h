#pragma once
// The program's number conventions: rounding to nearest with ties to even in extended
// precision, millimetres to pixels, and numbers read from text.

#include <QString>
#include <cmath>

namespace tessel {

// Nearest integer, ties to even (the default rounding mode), computed in long double.
inline long roundToInt(long double value) { return std::lrint(value); }

// The millimetre factor, held to nine decimals.
inline constexpr long double kPixelsPerMillimetre = 3.779527559L;
inline int millimetresToPixels(long double mm) { return int(roundToInt(mm * kPixelsPerMillimetre)); }

// The leading number of a text: optional blanks, an optional sign, then digits. "01 - Enero"
// reads 1; an empty text or one without leading digits reads 0. Saturates at the int range.
int leadingNumber(const QString& text);

}  // namespace tessel
