// The segments of the undo history: a quarter turn closes the current segment and starts a new
// one on the turned picture; undoing it puts the closed segment back; the oldest levels go
// across segments.

#include <QtGlobal>
#include <cstring>
#include <utility>

#include "history/PictureMemory.h"
#include "history/UndoHistory.h"
#include "textures/Parallel.h"

namespace tessel {
namespace {

int tilesIn(int pixels) {
    return (pixels + UndoHistory::kTileSize - 1) / UndoHistory::kTileSize;
}

// The pixels of `from` into `to` (as large), the rows shared between the cores.
void copyPixels(const QImage& from, QImage& to) {
    const uchar* source = from.constBits();
    uchar* target = to.bits();
    const qsizetype sourceLine = from.bytesPerLine();
    const qsizetype targetLine = to.bytesPerLine();
    const std::size_t rowBytes = std::size_t(from.width()) * 4;
    textures::forEachBand(
        from.height(),
        [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y) {
                std::memcpy(target + y * targetLine, source + y * sourceLine, rowBytes);
            }
        },
        64);
}

}  // namespace

void UndoHistory::turn(Turn turn) {
    if (!hasPicture_ || turn == Turn::None) return;
    if (trial_) keepTrial();
    if (isQuarterTurn(turn)) {
        turnQuarter(turn);
        return;
    }
    // The size stays: the picture is rewritten in place, and the next push stores the tiles
    // that differ, as for any change of the whole picture.
    push();
    turnInPlace(current_.image(), turn);
    marks_.back().turn = turn;
}

void UndoHistory::turnQuarter(Turn turn) {
    if (std::as_const(current_).image().format() != QImage::Format_RGB32) {
        current_.image().convertTo(QImage::Format_RGB32);
    }
    if (current_.size() != size_) {
        qWarning("UndoHistory: the picture changed its size; the history starts again");
        start(std::as_const(current_).image().copy());
    }
    dropRedo();
    // The picture before the turn becomes the last level of its segment, as at any push.
    if (top_.empty()) {
        commitLevelZero();
    } else {
        commit();
    }
    current_.clearDirty();
    QImage before = takeCurrent();
    const QSize size = turnedSize(turn, before.size());
    QImage turned = pictureMemory::blank(size);
    quarterTurn(before, turn, turned);
    QImage picture = pictureMemory::reuse(std::move(before), size);
    copyPixels(turned, picture);
    closeSegment(std::move(turned));
    current_.imageFor(QRect()) = std::move(picture);
    current_.clearDirty();
    ++level_;
    marks_.push_back({lastId_ + 1, turn, stateId()});
    ++lastId_;
    if (level_ > kMaxLevel) dropOldest();
    fitInBudget();
    trimIfMuchWasFreed();
}

// At the first level of a segment above level 0: back to the last level of the segment below.
void UndoHistory::undoTurn() {
    // Anything drawn on the turned picture without a push belongs to the turn's level.
    keepDrawingInBase();
    UndoneLevel undone{Level{}, marks_.back(), std::move(base_)};
    marks_.pop_back();
    QImage spent = takeCurrent();
    reopenSegment();
    showBaseAndTop(pictureMemory::reuse(std::move(spent), size_));
    // The level below becomes the current one, as after any undo.
    popTop();
    --level_;
    redoLevelBytes_ += undoneCost(undone);
    redo_.push_back(std::move(undone));
    fitAfterUndo();
    trimIfMuchWasFreed();
}

// The current level is stored (redo() committed it): the turned picture starts its segment again.
void UndoHistory::redoTurn(UndoneLevel&& next) {
    QImage spent = takeCurrent();
    closeSegment(std::move(next.picture));
    QImage picture = pictureMemory::reuse(std::move(spent), size_);
    copyPixels(base_, picture);
    current_.imageFor(QRect()) = std::move(picture);
    current_.clearDirty();
    ++level_;
    marks_.push_back(next.mark);
}

// The current segment, its last level stored in top_, goes below; `base` starts the next one.
void UndoHistory::closeSegment(QImage&& base) {
    Segment segment{std::move(base_), std::move(top_), std::move(levels_), across_};
    top_ = {};
    levels_.clear();
    closedBytes_ += segmentBytes(segment);
    closed_.push_back(std::move(segment));
    base_ = std::move(base);
    setGeometry(base_.size());
}

// The newest closed segment becomes the current one again, its last level in top_.
void UndoHistory::reopenSegment() {
    Segment segment = std::move(closed_.back());
    closed_.pop_back();
    closedBytes_ -= segmentBytes(segment);
    base_ = std::move(segment.base);
    top_ = std::move(segment.top);
    levels_ = std::move(segment.levels);
    setGeometry(base_.size());
}

void UndoHistory::setGeometry(QSize size) {
    size_ = size;
    across_ = tilesIn(size.width());
    down_ = tilesIn(size.height());
    const std::size_t tiles = std::size_t(across_) * std::size_t(down_);
    pool_.setSpareLimit(tiles);
    if (spareTop_.size() != tiles) spareTop_ = std::vector<TilePtr>(tiles);
    seen_.assign(tiles, 0);
    search_ = 0;
}

QImage UndoHistory::takeCurrent() {
    QImage& image = current_.imageFor(QRect());
    QImage taken = std::move(image);
    image = QImage();
    return taken;
}

// The current picture made from the base and the tiles of top_, in `buffer` (of the base's size).
void UndoHistory::showBaseAndTop(QImage&& buffer) {
    copyPixels(base_, buffer);
    for (std::size_t i = 0; i < top_.size(); ++i) {
        if (top_[i].get()) writeTile(buffer, base_, across_, int(i), top_[i].get());
    }
    current_.imageFor(QRect()) = std::move(buffer);
    current_.clearDirty();
}

bool UndoHistory::canDropOldest() const {
    return !closed_.empty() || !levels_.empty();
}

// The oldest level that can go: level 1 where it and level 2 lie in one segment; otherwise
// level 0, since level 1 is the first of a segment or the last before a turn.
void UndoHistory::dropOldest() {
    if (closed_.empty()) {
        dropLevelOne();
        return;
    }
    Segment& first = closed_.front();
    if (first.levels.size() >= 2) {
        mergeLevelOne(first.levels);
        marks_.erase(marks_.begin() + 1);
    } else {
        if (first.levels.empty()) {
            dropFirstSegment();
        } else {
            foldIntoBase(first);
        }
        marks_.erase(marks_.begin());
    }
    --level_;
    ++droppedLevels_;
}

// A segment with one level above its base: that level's tiles are written into the base, which
// becomes its picture.
void UndoHistory::foldIntoBase(Segment& segment) {
    for (std::size_t i = 0; i < segment.top.size(); ++i) {
        TilePtr& tile = segment.top[i];
        if (!tile.get()) continue;
        writeTile(segment.base, segment.base, segment.across, int(i), tile.get());
        releaseTile(tile);
    }
    Level one = std::move(segment.levels.front());
    segment.levels.clear();
    storedBytes_ -= levelCost(one);
    levelBytes_ -= levelCost(one);
    for (Change& change : one.changes) {
        releaseTile(change.tile);
        releaseTile(change.previous);
    }
}

// The oldest segment, its base alone, goes whole.
void UndoHistory::dropFirstSegment() {
    Segment& first = closed_.front();
    for (TilePtr& tile : first.top) releaseTile(tile);
    storedBytes_ -= segmentBytes(first);
    closedBytes_ -= segmentBytes(first);
    closed_.pop_front();
}

std::size_t UndoHistory::segmentBytes(const Segment& segment) {
    return std::size_t(segment.base.sizeInBytes()) + segment.top.capacity() * sizeof(TilePtr);
}

std::size_t UndoHistory::undoneCost(const UndoneLevel& undone) {
    return levelCost(undone.level) + std::size_t(undone.picture.sizeInBytes());
}

}  // namespace tessel
