#include "history/UndoHistory.h"

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <QtGlobal>
#include <cstring>
#include <new>
#include <utility>

#include "history/PictureMemory.h"

namespace tessel {

namespace {

constexpr int kSide = UndoHistory::kTileSize;
// Freed memory goes back to the system once this many tiles (32 MB) have been given back: the
// walk over the heap that returns it is not worth it for less.
constexpr std::size_t kTrimTiles = (std::size_t(32) << 20) / TilePool::kPixelBytes;

int tilesIn(int pixels) {
    return (pixels + kSide - 1) / kSide;
}

// Hands the memory the heap holds free back to the system.
void returnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

UndoHistory::UndoHistory(std::size_t memoryBudget) : budget_(memoryBudget), current_(QImage()) {
    current_.setBeforeWrite([reads = reads_.get()] { reads->waitForReaders(); });
}

UndoHistory::~UndoHistory() = default;

std::size_t UndoHistory::defaultMemoryBudget() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::size_t(1) << 30;
    }
    return std::size_t(pages) * std::size_t(pageSize) / 4;
}

void UndoHistory::start(const QImage& picture) {
    const QImage given = picture;  // the caller's picture may be the current one
    clear();
    if (given.isNull()) return;
    // Level 0 keeps the pixels given; the current picture gets pixels of its own now, so that no
    // change has to copy the whole picture later.
    base_ = given.convertToFormat(QImage::Format_RGB32);
    QImage own = pictureMemory::copyOf(base_);
    current_ = Surface(own.isNull() ? base_ : own);
    current_.clearDirty();
    hasPicture_ = !current_.isNull();
    if (!hasPicture_) {
        base_ = QImage();
        return;
    }
    size_ = current_.size();
    across_ = tilesIn(current_.width());
    down_ = tilesIn(current_.height());
    // Spare tiles for one change of the whole picture: undoing and redoing such a change takes
    // no new memory.
    const std::size_t tiles = std::size_t(across_) * std::size_t(down_);
    pool_.setSpareLimit(tiles);
    // The tables the first change needs are made now, with the picture, not at the change.
    spareTop_ = std::vector<TilePtr>(tiles);
    seen_.assign(tiles, 0);
    search_ = 0;
    marks_.push_back({++lastId_, Turn::None});
}

void UndoHistory::clear() {
    // No spare tiles are kept for a picture that is gone.
    pool_.setSpareLimit(0);
    levels_.clear();
    redo_.clear();
    closed_.clear();
    closedBytes_ = 0;
    marks_.clear();
    top_ = {};
    spareTop_ = {};
    pending_ = {};
    dirtyTiles_ = {};
    seen_ = {};
    storedBytes_ = 0;
    levelBytes_ = 0;
    redoLevelBytes_ = 0;
    droppedLevels_ = 0;
    level_ = 0;
    hasPicture_ = false;
    trial_ = false;
    across_ = down_ = 0;
    size_ = QSize();
    current_ = Surface(QImage());
    base_ = QImage();
    pool_.releaseSpare();
    returnFreeMemory();
    tilesAtTrim_ = 0;
}

std::size_t UndoHistory::heldBytes() const {
    if (!hasPicture_) return 0;
    return (pool_.tilesInUse() - pool_.pinnedOnlyTiles()) * kTileCost +
           std::size_t(base_.sizeInBytes()) +
           (top_.capacity() + spareTop_.capacity()) * sizeof(TilePtr) +
           pending_.capacity() * sizeof(Change) + levelBytes_ + redoLevelBytes_ + closedBytes_;
}

void UndoHistory::push() {
    if (!hasPicture_) return;
    if (trial_) keepTrial();
    storeCurrent();
    dropRedo();  // a new change: what was undone cannot come back
    afterChange();
}

// The current picture becomes the stored level below a new current level: n + 1, with a new
// state number.
void UndoHistory::storeCurrent() {
    if (std::as_const(current_).image().format() != QImage::Format_RGB32) {
        current_.image().convertTo(QImage::Format_RGB32);
    }
    if (current_.size() != size_) {
        // Not a picture this history can hold levels of: it starts again from this one.
        qWarning("UndoHistory: the picture changed its size; the history starts again");
        QImage picture = std::as_const(current_).image().copy();
        if (picture.isNull()) throw std::bad_alloc();
        start(picture);
    }
    // What needs memory comes first, and leaves everything as it was when there is none: the
    // new level's mark, then the copies of the tiles it keeps.
    marks_.push_back({lastId_ + 1, Turn::None, stateId()});
    try {
        if (top_.empty()) {
            commitLevelZero();
        } else {
            commit();
        }
    } catch (...) {
        marks_.pop_back();
        throw;
    }
    current_.clearDirty();
    ++level_;
    ++lastId_;
}

// What follows every new level: the levels beyond the last and beyond the budget go.
void UndoHistory::afterChange() {
    try {
        if (level_ > kMaxLevel) dropOldest();
        fitInBudget();
    } catch (const std::bad_alloc&) {
        // Merging the oldest levels found no memory: the change is kept all the same, and the
        // old levels go at a later change.
    }
    trimIfMuchWasFreed();
}

bool UndoHistory::undo() {
    if (trial_) keepTrial();
    if (!hasPicture_ || level_ == 0) return false;
    // Drawn on since it was stored or redone: the levels to redo continued another picture.
    if (!redo_.empty() && drawnSinceStored()) dropRedo();
    if (top_.empty()) {
        // The first level of a segment above level 0: a quarter turn.
        undoTurn();
        return true;
    }
    // The tiles that tell the current picture from the level below become the level to redo;
    // the level below's tiles go back in their place.
    Level undone;
    undone.changes = changesAboveTop();
    undone.changes.shrink_to_fit();
    // The surface's record is cleared right after, so the writes need not widen it.
    QImage& image = current_.imageFor(QRect());
    for (const Change& change : undone.changes) {
        writeTile(image, change.index, change.previous.get());
    }
    current_.clearDirty();
    popTop();
    --level_;
    redoLevelBytes_ += levelCost(undone);
    redo_.push_back({std::move(undone), marks_.back(), QImage()});
    marks_.pop_back();
    fitAfterUndo();
    trimIfMuchWasFreed();
    return true;
}

bool UndoHistory::redo() {
    if (trial_) keepTrial();
    if (!hasPicture_ || redo_.empty()) return false;
    if (drawnSinceStored()) {
        // The picture is no longer the one the undone levels continue.
        dropRedo();
        trimIfMuchWasFreed();
        return false;
    }
    // What was marked as drawn holds the pixels of the level as stored.
    current_.clearDirty();
    if (top_.empty()) {
        commitLevelZero();
    } else {
        commit();
    }
    UndoneLevel next = std::move(redo_.back());
    redo_.pop_back();
    redoLevelBytes_ -= undoneCost(next);
    if (!next.picture.isNull()) {
        redoTurn(std::move(next));
        fitAfterUndo();
        return true;
    }
    // The redone level's tiles go into the picture and wait as pending, as after an undo.
    QImage& image = current_.imageFor(QRect());
    for (const Change& change : next.level.changes) {
        writeTile(image, change.index, change.tile.get());
    }
    pending_ = std::move(next.level.changes);
    ++level_;
    marks_.push_back(next.mark);
    fitAfterUndo();
    return true;
}

void UndoHistory::dropFarthestRedo() {
    redoLevelBytes_ -= undoneCost(redo_.front());
    redo_.pop_front();
}

void UndoHistory::dropRedo() {
    redo_.clear();
    redoLevelBytes_ = 0;
}

// At a change: the oldest levels go first (dropOldest); the current segment's base and the
// current picture always stay.
void UndoHistory::fitInBudget() {
    while (heldBytes() > budget_ && canDropOldest()) dropOldest();
}

// At an undo, which takes memory only for the level it undoes (and at a redo, which takes none):
// the levels to redo go, the farthest first; neither ever shortens what can be undone.
void UndoHistory::fitAfterUndo() {
    while (heldBytes() > budget_ && !redo_.empty()) dropFarthestRedo();
}

void UndoHistory::trimIfMuchWasFreed() {
    const std::size_t inUse = pool_.tilesInUse();
    if (inUse + kTrimTiles <= tilesAtTrim_) {
        returnFreeMemory();
        tilesAtTrim_ = inUse;
    } else {
        tilesAtTrim_ = std::max(tilesAtTrim_, inUse);
    }
}

QImage UndoHistory::levelPicture(int k) const {
    if (!hasPicture_ || k < 0 || k > level_) return QImage();
    if (k == level_) return current_.image().copy();
    int first = 0;  // the level of a segment's base
    for (const Segment& segment : closed_) {
        const int last = first + int(segment.levels.size());
        if (k <= last) {
            return segmentPicture(segment.base, segment.top, segment.levels, segment.across,
                                  last - k);
        }
        first = last + 1;
    }
    return segmentPicture(base_, top_, levels_, across_, level_ - 1 - k);
}

Turn UndoHistory::levelTurn(int k) const {
    if (k <= 0 || k >= int(marks_.size())) return Turn::None;
    return marks_[std::size_t(k)].turn;
}

}  // namespace tessel
