#include "surface/Colour.h"

namespace tessel {

QRgb toQRgb(Colour c) {
    if (c < 0) c = 0;
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

QColor toQColor(Colour c) { return QColor(toQRgb(c)); }

Colour fromQRgb(QRgb rgb) { return tessel::rgb(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

}  // namespace tessel
