#include "app/UndoHistory.h"

#include <unistd.h>

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <utility>

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
    if (hasPicture_) ids_.push_back(++lastId_);
}

void UndoHistory::clear() {
    // No spare tiles are kept for a picture that is gone.
    pool_.setSpareLimit(0);
    levels_.clear();
    ids_.clear();
    top_ = {};
    pending_.clear();
    storedBytes_ = 0;
    droppedLevels_ = 0;
    level_ = 0;
    hasPicture_ = false;
    across_ = down_ = 0;
    size_ = QSize();
    current_ = Surface(QImage());
}

// ---- tiles -----------------------------------------------------------------------------

QRect UndoHistory::tileArea(const QRect& pixels) const {
    const QRect clipped = pixels & std::as_const(current_).image().rect();
    if (clipped.isEmpty()) return QRect();
    return QRect(QPoint(clipped.left() / kSide, clipped.top() / kSide),
                 QPoint(clipped.right() / kSide, clipped.bottom() / kSide));
}

const std::vector<int>& UndoHistory::dirtyTiles() {
    dirtyTiles_.clear();
    if (seen_.size() != std::size_t(across_) * std::size_t(down_)) {
        seen_.assign(std::size_t(across_) * std::size_t(down_), 0);
        search_ = 0;
    }
    if (++search_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        search_ = 1;
    }
    const std::vector<QRect>& parts = current_.dirtyParts();
    for (const QRect& part : parts) {
        const QRect area = tileArea(part);
        if (area.isEmpty()) continue;
        for (int ty = area.top(); ty <= area.bottom(); ++ty) {
            for (int tx = area.left(); tx <= area.right(); ++tx) {
                const int index = ty * across_ + tx;
                if (seen_[std::size_t(index)] == search_) continue;
                seen_[std::size_t(index)] = search_;
                dirtyTiles_.push_back(index);
            }
        }
    }
    if (parts.size() > 1) std::sort(dirtyTiles_.begin(), dirtyTiles_.end());
    return dirtyTiles_;
}

QRect UndoHistory::tilePixels(int index) const {
    const int x = (index % across_) * kSide;
    const int y = (index / across_) * kSide;
    return QRect(x, y, std::min(kSide, current_.width() - x), std::min(kSide, current_.height() - y));
}

UndoHistory::TilePtr UndoHistory::copyTile(int index) {
    const QRect r = tilePixels(index);
    const QImage& image = std::as_const(current_).image();
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
    const QImage& image = std::as_const(current_).image();
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

void UndoHistory::writeTile(QImage& image, int index, const Tile& tile) {
    const QRect r = tilePixels(index);
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

// A new level: the pending changes that drawing has not touched since, as they are, and the dirty
// tiles that differ from the level below.
void UndoHistory::commit() {
    const std::vector<int>& dirty = dirtyTiles();
    Level level;
    level.changes.reserve(pending_.size());
    for (Change& change : pending_) {
        if (seen_[std::size_t(change.index)] == search_) continue;  // looked at again below
        top_[std::size_t(change.index)] = change.tile;
        storedBytes_ += kTileCost;
        level.changes.push_back(std::move(change));
    }
    pending_.clear();
    const std::size_t kept = level.changes.size();
    for (const int index : dirty) {
        if (sameAsTile(index, *top_[std::size_t(index)].get())) continue;
        TilePtr tile = copyTile(index);
        level.changes.push_back(Change{index, tile, std::move(top_[std::size_t(index)])});
        top_[std::size_t(index)] = std::move(tile);
    }
    if (kept > 0 && kept < level.changes.size()) {
        std::inplace_merge(level.changes.begin(), level.changes.begin() + std::ptrdiff_t(kept),
                           level.changes.end(),
                           [](const Change& a, const Change& b) { return a.index < b.index; });
    }
    level.changes.shrink_to_fit();
    storedBytes_ += levelCost(level);
    levels_.push_back(std::move(level));
}

// Writes back from top_ the dirty tiles and those of the pending changes.
void UndoHistory::restore() {
    const std::vector<int>& dirty = dirtyTiles();
    // The surface's record is cleared right after, so the writes need not widen it.
    QImage& image = current_.imageFor(QRect());
    for (const Change& change : pending_) {
        writeTile(image, change.index, *top_[std::size_t(change.index)].get());
    }
    pending_.clear();
    for (const int index : dirty) writeTile(image, index, *top_[std::size_t(index)].get());
}

// The changes of a level that left the stored ones: top_ goes back to the tiles they replaced,
// and they wait as pending for the next push (their tiles no longer count as stored).
void UndoHistory::setPending(std::vector<Change>&& changes) {
    pending_ = std::move(changes);
    for (Change& change : pending_) {
        top_[std::size_t(change.index)] = change.previous;
        storedBytes_ -= kTileCost;
    }
}

// Takes the newest stored level away; the current picture may then differ from top_ where that
// level's change was looked for.
void UndoHistory::popTop() {
    if (levels_.empty()) {
        for (TilePtr& tile : top_) releaseTile(tile);
        storedBytes_ -= top_.capacity() * sizeof(TilePtr);
        top_ = {};
        pending_.clear();
        return;
    }
    Level& level = levels_.back();
    storedBytes_ -= levelCost(level);
    setPending(std::move(level.changes));
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
        setPending(std::move(one.changes));
        one.changes.clear();
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
        storedBytes_ += levelCost(two);
    }
    for (Change& change : one.changes) {
        releaseTile(change.tile);
        releaseTile(change.previous);
    }
    ids_.erase(ids_.begin() + 1);
    --level_;
    ++droppedLevels_;
}

// The oldest levels above level 0 go first; level 0 and the current picture always stay.
void UndoHistory::fitInBudget() {
    while (storedBytes_ > budget_ && !levels_.empty()) dropLevelOne();
}

void UndoHistory::push() {
    if (!hasPicture_) return;
    if (std::as_const(current_).image().format() != QImage::Format_RGB32) {
        current_.image().convertTo(QImage::Format_RGB32);
    }
    if (current_.size() != size_) {
        // Not a picture this history can hold levels of: it starts again from this one.
        qWarning("UndoHistory: the picture changed its size; the history starts again");
        start(std::as_const(current_).image().copy());
    }
    if (top_.empty()) {
        commitAll();
    } else {
        commit();
    }
    current_.clearDirty();
    ++level_;
    ids_.push_back(++lastId_);
    if (level_ > kMaxLevel) dropLevelOne();
    fitInBudget();
}

bool UndoHistory::undo() {
    if (!hasPicture_ || level_ == 0) return false;
    restore();
    popTop();
    current_.clearDirty();
    --level_;
    ids_.pop_back();
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
