#pragma once
// "Escala de Gris": every pixel becomes the grey of fixed weights of its red, green and blue.

#include <QImage>

#include "surface/Surface.h"

namespace tessel {

// The grey of one colour: the single-precision weights 0.3, 0.59 and 0.11 in extended precision,
// rounded to nearest (ties to even) after each of the three steps
//   g = round(0.3 r);  g = round(0.59 green + g);  g = round(0.11 blue + g).
int greyOf(int red, int green, int blue);

// Turns every pixel of the picture into its grey (red = green = blue = greyOf). Works through
// tables built once from greyOf, so the pass runs at memory speed.
void toGreyScale(QImage& picture);
void toGreyScale(Surface& surface);

}  // namespace tessel
