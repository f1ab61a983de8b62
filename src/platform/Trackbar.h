#pragma once
// A trackbar that behaves like the classic one: its first position at the left or the top, and
// the keys acting the same way whatever the orientation (Left, Up and Page Up step back; Right,
// Down and Page Down step on; Home and End go to the ends).

#include <QSlider>

namespace tessel::platform {

class Trackbar : public QSlider {
    Q_OBJECT
public:
    Trackbar(Qt::Orientation orientation, QWidget* parent, const QRect& geometry, int minimum,
             int maximum);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace tessel::platform
