#pragma once
// The "Cortar" command: the canvas is cut along the two axes into the pieces A (top left),
// B (top right), C (bottom left) and D (bottom right), and each ticked piece is saved.

#include <QRect>
#include <QString>

#include "cutting/CutSettings.h"
#include "surface/Surface.h"

namespace tessel {

// The half-open rectangle of piece 0..3 (A..D) around (x, y) on a picture of width x height.
// The cutting point is held inside the picture, so a piece beyond its edge is empty.
QRect pieceRectangle(int piece, int width, int height, int x, int y);

// For each ticked piece in the order A, B, C, D: shows "Cortado trozo X ..." (caption
// "Programador ..."), then saves the piece as "TesselX" + the format's extension in `folder`
// (the process's current folder when empty), replacing an existing file without asking. A
// piece without area is not saved; a message says it is empty.
void CutCanvas(const Surface& canvas, int width, int height, int x, int y,
               const CutSettings& settings, const QString& folder = QString());

}  // namespace tessel
