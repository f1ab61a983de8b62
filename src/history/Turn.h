#pragma once
// Turning and mirroring the whole picture: "Girar 90° a la derecha", "Girar 90° a la izquierda",
// "Girar 180°", "Voltear horizontalmente" and "Voltear verticalmente". Every pixel keeps its
// colour and moves; a point of the picture (the zero position) moves with the pixel under it.
//
// For a picture of W x H, the pixel (x, y) moves to
//   Right (clockwise)       (H-1-y, x)       the picture becomes H x W
//   Left (anticlockwise)    (y, W-1-x)       the picture becomes H x W
//   Half                    (W-1-x, H-1-y)
//   Horizontal (mirror)     (W-1-x, y)       left and right change places
//   Vertical (mirror)       (x, H-1-y)       top and bottom change places

#include <QImage>
#include <QPoint>
#include <QSize>

namespace tessel {

enum class Turn { None, Right, Left, Half, Horizontal, Vertical };

// Right and Left: the width and height change places.
inline bool isQuarterTurn(Turn turn) {
    return turn == Turn::Right || turn == Turn::Left;
}
// The turn that takes the picture back.
Turn inverse(Turn turn);
QSize turnedSize(Turn turn, QSize size);
// Where the pixel `point` of a picture of `size` lands.
QPoint turnedPoint(Turn turn, QPoint point, QSize size);

// A quarter turn of `source` (Format_RGB32) written into `target`, which has the turned size.
// Blocked, with the rows of the target shared between the cores.
void quarterTurn(const QImage& source, Turn turn, QImage& target);
// Half, Horizontal or Vertical in place (Format_RGB32); nothing for the other turns.
void turnInPlace(QImage& picture, Turn turn);

}  // namespace tessel
