#include "view/ViewCache.h"

#include <algorithm>

#include "history/UndoHistory.h"

namespace tessel {
namespace {

// The level of the mipmap to reduce from for a zoom below 1, and the scale left from there.
// A view pixel averages at least four by four pixels of that level: the level's pixels that the
// edge of a view pixel's area cuts through then weigh little, and the view stays as sharp as an
// average of the picture itself (from two by two on, it turned visibly softer).
std::pair<int, double> sourceFor(Zoom zoom) {
    const double shrink = double(zoom.den) / zoom.num;
    int k = 0;
    while (k < Mipmap::kLevels && double(8 << k) <= shrink) ++k;
    return {k, shrink / double(1 << k)};
}

}  // namespace

void ViewCache::clear() {
    mipmap_.clear();
    steps_.clear();
    onPath_.clear();
    at_ = 0;
    appliedWrites_ = 0;
    size_ = QSize();
    reduced_ = QImage();
    reducedZoom_ = Zoom{};
}

QRect ViewCache::sync(const UndoHistory& history) {
    if (!history.hasPicture()) {
        const bool had = !size_.isEmpty();
        clear();
        return had ? QRect(QPoint(0, 0), QSize(1, 1)) : QRect();
    }
    const Surface& current = history.current();
    const QImage& picture = current.image();
    const std::uint64_t state = history.stateId();
    const QRect dirty = current.dirtyRect();
    const std::uint64_t writes = current.writes();

    if (picture.size() != size_ || steps_.empty() || steps_.size() >= kMaxSteps) {
        return startAgain(picture, state, dirty, writes);
    }
    if (state == steps_[at_].state) {
        // The same level, perhaps drawn on since the last look, the same place included.
        if (writes == appliedWrites_ || dirty.isEmpty()) return QRect();
        steps_[at_].area |= dirty;
        appliedWrites_ = writes;
        changed(picture, dirty);
        return dirty;
    }
    // Another state seen before (undone, redone, a trial withdrawn): the areas of the steps
    // between the two changed.
    const std::size_t seen = find(state);
    if (seen != kNone) {
        const QRect area = pathArea(at_, seen) | dirty;
        at_ = seen;
        appliedWrites_ = writes;
        steps_[at_].area |= dirty;
        changed(picture, area);
        return area;
    }
    // A new level made from a state seen before, most often the one held: its change is the
    // dirty record, or the whole picture for a turn or a mirror (a quarter turn of a square
    // picture keeps its size). The levels are known by their state numbers, which stay when old
    // levels are dropped and the rest are numbered again. The steps it leaves behind stay, since
    // a withdrawn trial brings the levels to redo back.
    const std::size_t parent = find(history.parentStateId());
    if (parent != kNone) {
        const QRect change =
            history.levelTurn(history.level()) == Turn::None ? dirty : picture.rect();
        const QRect area = pathArea(at_, parent) | change;
        steps_.push_back({state, parent, change});
        at_ = steps_.size() - 1;
        appliedWrites_ = writes;
        changed(picture, area);
        return area;
    }
    return startAgain(picture, state, dirty, writes);
}

QRect ViewCache::startAgain(const QImage& picture, std::uint64_t state, const QRect& dirty,
                            std::uint64_t writes) {
    rebuild(picture);
    steps_.assign(1, Step{state, kNone, dirty});
    at_ = 0;
    appliedWrites_ = writes;
    return picture.rect();
}

std::size_t ViewCache::find(std::uint64_t state) const {
    if (state == 0) return kNone;
    for (std::size_t i = steps_.size(); i-- > 0;) {
        if (steps_[i].state == state) return i;
    }
    return kNone;
}

// Every step on the way from one to the other: up from each to the step both come from.
QRect ViewCache::pathArea(std::size_t from, std::size_t to) {
    ++walk_;
    if (onPath_.size() < steps_.size()) onPath_.resize(steps_.size(), 0);
    for (std::size_t i = from; i != kNone; i = steps_[i].parent) onPath_[i] = walk_;
    QRect area;
    std::size_t common = to;
    while (common != kNone && onPath_[common] != walk_) {
        area |= steps_[common].area;
        common = steps_[common].parent;
    }
    for (std::size_t i = from; i != common; i = steps_[i].parent) area |= steps_[i].area;
    return area;
}

void ViewCache::rebuild(const QImage& picture) {
    size_ = picture.size();
    steps_.clear();
    onPath_.clear();
    mipmap_.rebuild(picture);
    reduced_ = QImage();
    reducedZoom_ = Zoom{};
}

void ViewCache::changed(const QImage& picture, const QRect& area) {
    if (area.isEmpty()) return;
    mipmap_.update(picture, area);
    if (reduced_.isNull()) return;
    // The reduced pixels whose source areas meet the change, one more on each side.
    const double shrink = double(reducedZoom_.den) / reducedZoom_.num;
    const QRect target(QPoint(int(area.left() / shrink) - 1, int(area.top() / shrink) - 1),
                       QPoint(int(area.right() / shrink) + 1, int(area.bottom() / shrink) + 1));
    const auto [k, scale] = sourceFor(reducedZoom_);
    reduceArea(k == 0 ? picture : mipmap_.level(k), scale, reduced_, target);
}

const QImage& ViewCache::reduced(const QImage& picture, Zoom zoom) {
    if (zoom == reducedZoom_ && !reduced_.isNull()) return reduced_;
    if (mipmap_.isNull()) mipmap_.rebuild(picture);
    const QSize size = ViewTransform(zoom, QPoint()).contentSize(picture.size());
    reduced_ = QImage(size, QImage::Format_RGB32);
    reducedZoom_ = zoom;
    const auto [k, scale] = sourceFor(zoom);
    reduceArea(k == 0 ? picture : mipmap_.level(k), scale, reduced_, reduced_.rect());
    return reduced_;
}

}  // namespace tessel
