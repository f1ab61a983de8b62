#pragma once
// What the view keeps beside the undo history to draw zoomed out quickly: the mipmap of the
// current picture and the picture reduced to the view's zoom. Both follow the history's picture
// one change at a time: a change made since the last look is found in the picture's dirty
// record, and stepping through the history (undo, or back again) redoes the areas the changes
// in between were recorded with. Anything it cannot follow (a new picture, levels it did not
// see) makes it start again from the whole picture.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "view/Mipmap.h"
#include "view/ViewTransform.h"

namespace tessel {

class UndoHistory;

class ViewCache {
  public:
    // Brings the cache to the history's current picture; returns the picture area that changed
    // since the last call (empty when nothing did).
    QRect sync(const UndoHistory& history);
    void clear();

    const Mipmap& mipmap() const { return mipmap_; }
    // The picture reduced to `zoom` (less than 1), area-averaged; made when first asked for at
    // this zoom and kept up to date by sync() after that.
    const QImage& reduced(const QImage& picture, Zoom zoom);

  private:
    static constexpr std::size_t kNone = std::size_t(-1);
    // Beyond this many states seen, the cache starts again from the picture.
    static constexpr std::size_t kMaxSteps = 20000;
    struct Step {
        std::uint64_t state;  // the history's state number
        std::size_t parent;   // the step it was made from; kNone for the first
        QRect area;           // where it differs from that step
    };
    QRect startAgain(const QImage& picture, std::uint64_t state, const QRect& dirty,
                     std::uint64_t writes);
    std::size_t find(std::uint64_t state) const;
    QRect pathArea(std::size_t from, std::size_t to);
    void changed(const QImage& picture, const QRect& area);
    void rebuild(const QImage& picture);

    Mipmap mipmap_;
    std::vector<Step> steps_;  // the states seen, oldest first, each after the one it came from
    std::vector<std::uint32_t> onPath_;  // for pathArea(): the last walk that passed each step
    std::uint32_t walk_ = 0;
    std::size_t at_ = 0;               // the step the cache holds
    std::uint64_t appliedWrites_ = 0;  // the picture's writes() already taken in
    QSize size_;
    Zoom reducedZoom_;
    QImage reduced_;
};

}  // namespace tessel
