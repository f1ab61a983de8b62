#pragma once
// Where the main window's controls stand for a given client size, and where the window opens on
// a screen. At the start size (1257 x 977) every control stands where it always has: the view of
// 1200 x 900 at (15, 15), the trackbars along its top and left edges, the rulers under it and to
// its right. A larger or smaller client gives the view the difference.

#include <QRect>
#include <QSize>

namespace tessel {

inline constexpr QSize kStartClientSize{1257, 977};
// The view never gets smaller than this, whatever the window's size.
inline constexpr QSize kMinimumViewSize{400, 240};

struct ControlPlaces {
    QRect acrossTrackbar;
    QRect downTrackbar;
    QRect view;
    QRect acrossRuler;
    QRect downRuler;
};

ControlPlaces controlPlaces(QSize client);
// The smallest client that keeps the view at its minimum.
QSize minimumClientSize();

// The window's frame on a screen with this work area: its start size, centred, where the work area
// holds it; otherwise the whole work area.
QRect startFrame(QSize frame, const QRect& workArea);

}  // namespace tessel
