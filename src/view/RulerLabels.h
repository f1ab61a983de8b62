#pragma once
// The labels of a ruler strip: each printed whole inside the part of the strip the ruler may use,
// next to its mark, clear of the marks and of the label before it; one that cannot be is left out.

#include <QRect>
#include <QString>
#include <Qt>
#include <limits>
#include <vector>

#include "surface/Surface.h"

namespace tessel {

// The part of a strip a ruler may use, in the strip's pixels. Along the strip from `begin` to
// `end`, the picture's edges there: a mark may stand on `end` itself, a label only before it.
// `covered` is a part of the strip that another control lies over.
struct RulerRoom {
    int begin = 0;
    int end = std::numeric_limits<int>::max();
    QRect covered;

    bool operator==(const RulerRoom&) const = default;
};

// A label as printed: its text and the box it takes (its advance by the font's height).
struct RulerLabel {
    QString text;
    QRect box;
};
using RulerLabels = std::vector<RulerLabel>;

class LabelPlacer {
  public:
    // `markDepth`: how far across the strip the marks reach; labels stay beyond it.
    LabelPlacer(Surface& strip, Qt::Orientation orientation, const RulerRoom& room, int markDepth);

    // Prints `text` with its top-left corner at `at`, or moved along or across the strip just
    // enough to lie whole inside the room, as long as the label still touches its mark at
    // `markAt` (along the strip) and keeps clear of the label before it.
    void print(QPoint at, int markAt, const QString& text);

    const RulerLabels& labels() const { return labels_; }

  private:
    Surface& strip_;
    bool across_;
    RulerRoom room_;
    int markDepth_;
    RulerLabels labels_;
};

}  // namespace tessel
