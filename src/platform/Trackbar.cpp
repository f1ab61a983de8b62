#include "platform/Trackbar.h"

#include <QKeyEvent>

namespace tessel::platform {

Trackbar::Trackbar(Qt::Orientation orientation, QWidget* parent, const QRect& geometry,
                   int minimum, int maximum)
    : QSlider(orientation, parent) {
    setGeometry(geometry);
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(std::max(1, (maximum - minimum) / 20));
    setInvertedAppearance(orientation == Qt::Vertical);
    setInvertedControls(orientation == Qt::Vertical);
}

void Trackbar::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
        case Qt::Key_Right:
        case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
        case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
        case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
        case Qt::Key_Home: triggerAction(SliderToMinimum); break;
        case Qt::Key_End: triggerAction(SliderToMaximum); break;
        default: QSlider::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace tessel::platform
