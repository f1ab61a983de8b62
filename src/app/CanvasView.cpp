#include "app/CanvasView.h"

namespace tessel {

void renderView(Surface& buffer, const Surface* picture, QPoint zero, const CutSettings& axes) {
    buffer.clear(kViewGround);
    if (picture && !picture->isNull()) {
        buffer.copyFrom(*picture, QRect(QPoint(0, 0), picture->size()), QPoint(0, 0));
    }
    buffer.setPenWidth(1);
    buffer.setPenStyle(kPenDot);
    buffer.setBackground(kTransparent);
    buffer.line(zero.x(), 0, zero.x(), kViewHeight, axes.verticalAxisColour);
    buffer.line(0, zero.y(), kViewWidth, zero.y(), axes.horizontalAxisColour);
    buffer.setPenStyle(kPenSolid);
}

QString zeroPositionCaption(QPoint zero) {
    return QStringLiteral("x : %1 y : %2").arg(zero.x()).arg(zero.y());
}

}  // namespace tessel
