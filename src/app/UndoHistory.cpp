#include "app/UndoHistory.h"

#include <unistd.h>

#include <QtGlobal>
#include <algorithm>
#include <cstring>

namespace tessel {

namespace {

constexpr int kSide = UndoHistory::kTileSize;
constexpr std::size_t kPixelBytes = 4;
// A tile as the budget sees it: its pixels and its share of the pool's bookkeeping.
constexpr std::size_t kTileCost = TilePool::kPixelBytes + sizeof(TilePool::Tile) + sizeof(int);

int tilesIn(int pixels) {
    return (pixels + kSide - 1) / kSide;
}

}  // namespace

UndoHistory::UndoHistory(std::size_t memoryBudget) : budget_(memoryBudget), current_(QImage()) {}

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
    clear();
    current_ = Surface(picture);
    hasPicture_ = !current_.isNull();
    size_ = current_.size();
    across_ = tilesIn(current_.width());
    down_ = tilesIn(current_.height());
    // Spare tiles for one change of the whole picture: undoing and redoing such a change takes
    // no new memory.
    pool_.setSpareLimit(std::size_t(across_) * std::size_t(down_));
}

void UndoHistory::clear() {
    levels_.clear();
    top_ = {};
    pending_ = QRect();
    storedBytes_ = 0;
    droppedLevels_ = 0;
    level_ = 0;
    hasPicture_ = false;
    across_ = down_ = 0;
    size_ = QSize();
    current_ = Surface(QImage());
    pool_.setSpareLimit(0);
}

// ---- tiles -----------------------------------------------------------------------------

QRect UndoHistory::tileArea(const QRect& pixels) const {
    const QRect clipped = pixels & current_.image().rect();
    if (clipped.isEmpty()) return QRect();
    return QRect(QPoint(clipped.left() / kSide, clipped.top() / kSide),
                 QPoint(clipped.right() / kSide, clipped.bottom() / kSide));
}

QRect UndoHistory::tilePixels(int index) const {
    const int x = (index % across_) * kSide;
    const int y = (index / across_) * kSide;
    return QRect(x, y, std::min(kSide, current_.width() - x), std::min(kSide, current_.height() - y));
}

UndoHistory::TilePtr UndoHistory::copyTile(int index) {
    const QRect r = tilePixels(index);
    const QImage& image = current_.image();
    Tile* tile = pool_.take();
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        std::memcpy(tile->pixels + row * kSide,
                    image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes, rowBytes);
    }
    storedBytes_ += kTileCost;
    return TilePtr(tile, &pool_);
}

bool UndoHistory::sameAsTile(int index, const Tile& tile) const {
    const QRect r = tilePixels(index);
    const QImage& image = current_.image();
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        if (std::memcmp(tile.pixels + row * kSide,
                        image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

void UndoHistory::writeTile(int index, const Tile& tile) {
    const QRect r = tilePixels(index);
    QImage& image = current_.imageFor(r);
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        std::memcpy(image.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                    tile.pixels + row * kSide, rowBytes);
    }
}

void UndoHistory::releaseTile(TilePtr& tile) {
    if (tile.useCount() == 1) storedBytes_ -= kTileCost;
    tile.reset();
}

std::size_t UndoHistory::levelCost(const Level& level) {
    return sizeof(Level) + level.changes.capacity() * sizeof(Change);
}

// ---- levels ----------------------------------------------------------------------------

// Level 0: every tile of the picture.
void UndoHistory::commitAll() {
    top_.clear();
    top_.reserve(std::size_t(across_) * std::size_t(down_));
    for (int i = 0; i < across_ * down_; ++i) top_.push_back(copyTile(i));
    storedBytes_ += top_.capacity() * sizeof(TilePtr);
}

// A new level from the tiles of `area` that differ from the level below.
void UndoHistory::commit(const QRect& area) {
    Level level{area, {}};
    if (!area.isEmpty()) {
        for (int ty = area.top(); ty <= area.bottom(); ++ty) {
            for (int tx = area.left(); tx <= area.right(); ++tx) {
                const int index = ty * across_ + tx;
                if (sameAsTile(index, *top_[std::size_t(index)].get())) continue;
                TilePtr tile = copyTile(index);
                level.changes.push_back(Change{index, tile, std::move(top_[std::size_t(index)])});
                top_[std::size_t(index)] = std::move(tile);
            }
        }
    }
    level.changes.shrink_to_fit();
    storedBytes_ += levelCost(level);
    levels_.push_back(std::move(level));
}

// Writes the tiles of `area` back from top_.
void UndoHistory::restore(const QRect& area) {
    if (area.isEmpty()) return;
    for (int ty = area.top(); ty <= area.bottom(); ++ty) {
        for (int tx = area.left(); tx <= area.right(); ++tx) {
            const int index = ty * across_ + tx;
            writeTile(index, *top_[std::size_t(index)].get());
        }
    }
}

// Takes the newest stored level away; the current picture may then differ from top_ where that
// level's change was looked for.
void UndoHistory::popTop() {
    if (levels_.empty()) {
        for (TilePtr& tile : top_) releaseTile(tile);
        storedBytes_ -= top_.capacity() * sizeof(TilePtr);
        top_ = {};
        pending_ = QRect();
        return;
    }
    Level& level = levels_.back();
    for (Change& change : level.changes) {
        top_[std::size_t(change.index)] = std::move(change.previous);
        releaseTile(change.tile);
    }
    pending_ |= level.area;
    storedBytes_ -= levelCost(level);
    levels_.pop_back();
}

// Level 1 goes: level 2 takes its changes where it has none of its own, and the tiles of
// level 0 as the ones it replaced.
void UndoHistory::dropLevelOne() {
    Level one = std::move(levels_.front());
    levels_.pop_front();
    storedBytes_ -= levelCost(one);
    if (levels_.empty()) {
        // Level 1 was the newest: the current picture now lies right above level 0.
        for (Change& change : one.changes) {
            top_[std::size_t(change.index)] = std::move(change.previous);
            releaseTile(change.tile);
        }
        pending_ |= one.area;
    } else {
        Level& two = levels_.front();
        storedBytes_ -= levelCost(two);
        std::vector<Change> merged;
        merged.reserve(one.changes.size() + two.changes.size());
        auto a = one.changes.begin();
        auto b = two.changes.begin();
        while (a != one.changes.end() || b != two.changes.end()) {
            if (b == two.changes.end() || (a != one.changes.end() && a->index < b->index)) {
                merged.push_back(std::move(*a++));
            } else if (a == one.changes.end() || b->index < a->index) {
                merged.push_back(std::move(*b++));
            } else {
                // b's old previous is a's tile: a keeps a reference until it is released.
                b->previous = std::move(a->previous);
                releaseTile(a->tile);
                ++a;
                merged.push_back(std::move(*b++));
            }
        }
        two.changes = std::move(merged);
        two.area |= one.area;
        storedBytes_ += levelCost(two);
    }
    for (Change& change : one.changes) {
        releaseTile(change.tile);
        releaseTile(change.previous);
    }
    --level_;
    ++droppedLevels_;
}

// The oldest levels above level 0 go first; level 0 and the current picture always stay.
void UndoHistory::fitInBudget() {
    while (storedBytes_ > budget_ && !levels_.empty()) dropLevelOne();
}

void UndoHistory::push() {
    if (!hasPicture_) return;
    if (current_.image().format() != QImage::Format_RGB32) {
        current_.image().convertTo(QImage::Format_RGB32);
    }
    if (current_.size() != size_) {
        // Not a picture this history can hold levels of: it starts again from this one.
        qWarning("UndoHistory: the picture changed its size; the history starts again");
        start(current_.image().copy());
    }
    if (top_.empty()) {
        commitAll();
    } else {
        commit(pending_ | tileArea(current_.dirtyRect()));
    }
    pending_ = QRect();
    current_.clearDirty();
    ++level_;
    if (level_ > kMaxLevel) dropLevelOne();
    fitInBudget();
}

bool UndoHistory::undo() {
    if (!hasPicture_ || level_ == 0) return false;
    restore(pending_ | tileArea(current_.dirtyRect()));
    pending_ = QRect();
    popTop();
    current_.clearDirty();
    --level_;
    return true;
}

QImage UndoHistory::levelPicture(int k) const {
    if (!hasPicture_ || k < 0 || k > level_) return QImage();
    if (k == level_) return current_.image().copy();
    std::vector<const Tile*> tiles(top_.size());
    for (std::size_t i = 0; i < top_.size(); ++i) tiles[i] = top_[i].get();
    for (int j = level_ - 1; j > k; --j) {
        for (const Change& change : levels_[std::size_t(j - 1)].changes) {
            tiles[std::size_t(change.index)] = change.previous.get();
        }
    }
    QImage picture(current_.size(), QImage::Format_RGB32);
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const QRect r = tilePixels(int(i));
        for (int row = 0; row < r.height(); ++row) {
            std::memcpy(picture.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        tiles[i]->pixels + row * kSide, std::size_t(r.width()) * kPixelBytes);
        }
    }
    return picture;
}

}  // namespace tessel
