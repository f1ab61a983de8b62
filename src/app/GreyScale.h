#pragma once
// "Escala de Gris": every pixel becomes the grey of fixed weights of its red, green and blue.

#include <QImage>

#include "surface/Surface.h"

namespace tessel {

// The grey of one colour: the single-precision weights 0.3, 0.59 and 0.11 in extended precision,
// rounded to nearest (ties to even) after each of the three steps
//   g = round(0.3 r);  g = round(0.59 green + g);  g = round(0.11 blue + g).
int greyOf(int red, int green, int blue);

// Turns every pixel of the picture into its grey (red = green = blue = greyOf); the reserved
// byte stays. Runs at memory speed: eight pixels at a time in exact integer arithmetic where the
// processor has AVX2, otherwise through tables built once from greyOf.
void toGreyScale(QImage& picture);
void toGreyScale(Surface& surface);

// The table pass alone, the one every processor can run; toGreyScale gives the same result.
void toGreyScaleByTables(QImage& picture);

}  // namespace tessel
