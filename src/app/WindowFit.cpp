#include "app/WindowFit.h"

#include <algorithm>

namespace tessel {
namespace {
// What the client holds besides the view: 57 pixels across (the left trackbar, the right ruler),
// 77 down (the top trackbar, the bottom ruler and the room under it).
constexpr int kAround = 1257 - 1200;
constexpr int kAbove = 977 - 900;
}  // namespace

ControlPlaces controlPlaces(QSize client) {
    const int w = std::max(kMinimumViewSize.width(), client.width() - kAround);
    const int h = std::max(kMinimumViewSize.height(), client.height() - kAbove);
    ControlPlaces places;
    places.acrossTrackbar = QRect(9, 1, w + 10, 14);
    places.downTrackbar = QRect(1, 9, 14, h + 10);
    places.view = QRect(15, 15, w, h);
    places.acrossRuler = QRect(15, h + 16, w + 17, 40);
    places.downRuler = QRect(w + 16, 15, 40, h + 7);
    return places;
}

QSize minimumClientSize() {
    return kMinimumViewSize + QSize(kAround, kAbove);
}

QRect startFrame(QSize frame, const QRect& workArea) {
    if (frame.width() <= workArea.width() && frame.height() <= workArea.height()) {
        QRect placed(QPoint(0, 0), frame);
        placed.moveCenter(workArea.center());
        return placed;
    }
    return workArea;
}

}  // namespace tessel
