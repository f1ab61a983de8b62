// The tiles of the undo history and the stored levels made of them.

#include <QtGlobal>
#include <algorithm>
#include <cstring>
#include <utility>

#include "history/UndoHistory.h"

namespace tessel {

namespace {

constexpr int kSide = UndoHistory::kTileSize;
constexpr std::size_t kPixelBytes = 4;

}  // namespace

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
    return QRect(x, y, std::min(kSide, current_.width() - x),
                 std::min(kSide, current_.height() - y));
}

// A copy of the current picture's tile; not yet counted as stored.
UndoHistory::TilePtr UndoHistory::copyTile(int index) {
    const QRect r = tilePixels(index);
    const QImage& image = std::as_const(current_).image();
    Tile* tile = pool_.take();
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        std::memcpy(tile->pixels + row * kSide,
                    image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes, rowBytes);
    }
    return TilePtr(tile, &pool_);
}

// Row `row` of the tile's pixels, of level 0's where the tile is null.
const void* UndoHistory::tileRow(int index, const Tile* tile, int row) const {
    if (tile) return tile->pixels + row * kSide;
    const int x = (index % across_) * kSide;
    const int y = (index / across_) * kSide;
    return base_.constScanLine(y + row) + std::size_t(x) * kPixelBytes;
}

bool UndoHistory::sameAsTile(int index, const Tile* tile) const {
    const QRect r = tilePixels(index);
    const QImage& image = std::as_const(current_).image();
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        if (std::memcmp(tileRow(index, tile, row),
                        image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        rowBytes) != 0) {
            return false;
        }
    }
    return true;
}

void UndoHistory::writeTile(QImage& image, int index, const Tile* tile) const {
    const QRect r = tilePixels(index);
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        std::memcpy(image.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                    tileRow(index, tile, row), rowBytes);
    }
}

QRect UndoHistory::tilePixels(int index, int across, QSize size) {
    const int x = (index % across) * kSide;
    const int y = (index / across) * kSide;
    return QRect(x, y, std::min(kSide, size.width() - x), std::min(kSide, size.height() - y));
}

// The tile written into `image` (of the base's size), from the base where it is null.
void UndoHistory::writeTile(QImage& image, const QImage& base, int across, int index,
                            const Tile* tile) {
    const QRect r = tilePixels(index, across, base.size());
    const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
    for (int row = 0; row < r.height(); ++row) {
        const void* from = tile
                               ? static_cast<const void*>(tile->pixels + row * kSide)
                               : base.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes;
        std::memcpy(image.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes, from, rowBytes);
    }
}

// The picture `stepsDown` levels below the newest level of a segment (whose tiles are `top`).
QImage UndoHistory::segmentPicture(const QImage& base, const std::vector<TilePtr>& top,
                                   const std::deque<Level>& levels, int across, int stepsDown) {
    QImage picture = base.copy();
    if (stepsDown >= int(levels.size())) return picture;
    std::vector<const Tile*> tiles(top.size());
    for (std::size_t i = 0; i < top.size(); ++i) tiles[i] = top[i].get();
    for (int j = int(levels.size()) - 1; j >= int(levels.size()) - stepsDown; --j) {
        for (const Change& change : levels[std::size_t(j)].changes) {
            tiles[std::size_t(change.index)] = change.previous.get();
        }
    }
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i]) writeTile(picture, base, across, int(i), tiles[i]);
    }
    return picture;
}

void UndoHistory::releaseTile(TilePtr& tile) {
    if (tile.get() && tile.useCount() - tile.get()->pins == 1) storedBytes_ -= kTileCost;
    tile.reset();
}

std::size_t UndoHistory::levelCost(const Level& level) {
    return sizeof(Level) + level.changes.capacity() * sizeof(Change);
}

// Level 0 and the table of the stored level below the current one.
std::size_t UndoHistory::topBytes() const {
    return std::size_t(base_.sizeInBytes()) + top_.capacity() * sizeof(TilePtr);
}

// ---- levels ----------------------------------------------------------------------------

// What tells the current picture from top_ (from level 0 at level 0): the pending changes that
// drawing has not touched since, as they are, and copies of the dirty tiles that differ. top_
// stays as it is; the pending changes are taken once everything is found. When memory runs out
// on the way, nothing but the search's own tables has changed.
std::vector<UndoHistory::Change> UndoHistory::changesAboveTop() {
    const std::vector<int>& dirty = dirtyTiles();
    std::vector<Change> changes;
    changes.reserve(pending_.size());
    for (const Change& change : pending_) {
        if (seen_[std::size_t(change.index)] == search_) continue;  // looked at again below
        changes.push_back(change);
    }
    const std::size_t kept = changes.size();
    for (const int index : dirty) {
        const TilePtr below = top_.empty() ? TilePtr() : top_[std::size_t(index)];
        if (sameAsTile(index, below.get())) continue;
        changes.push_back(Change{index, copyTile(index), below});
    }
    if (kept > 0 && kept < changes.size()) {
        std::inplace_merge(changes.begin(), changes.begin() + std::ptrdiff_t(kept), changes.end(),
                           [](const Change& a, const Change& b) { return a.index < b.index; });
    }
    pending_.clear();
    return changes;
}

// Whether the dirty tiles hold anything but the current level as stored (top_ with the pending
// changes): drawing without a push.
bool UndoHistory::drawnSinceStored() {
    for (const int index : dirtyTiles()) {
        const auto pending =
            std::lower_bound(pending_.begin(), pending_.end(), index,
                             [](const Change& change, int i) { return change.index < i; });
        const Tile* stored = pending != pending_.end() && pending->index == index
                                 ? pending->tile.get()
                             : top_.empty() ? nullptr
                                            : top_[std::size_t(index)].get();
        if (!sameAsTile(index, stored)) return true;
    }
    return false;
}

// Anything drawn on the picture at the first level of its segment without a push belongs to
// that level: it goes into the base.
void UndoHistory::keepDrawingInBase() {
    const std::vector<int>& dirty = dirtyTiles();
    if (dirty.empty()) return;
    QImage& base = base_;
    const QImage& image = std::as_const(current_).image();
    for (const int index : dirty) {
        const QRect r = tilePixels(index);
        for (int row = 0; row < r.height(); ++row) {
            std::memcpy(base.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        std::size_t(r.width()) * kPixelBytes);
        }
    }
}

// The segment's first level becomes the stored level below: it is base_, so top_ starts with no
// tile of its own.
void UndoHistory::commitLevelZero() {
    if (spareTop_.size() != std::size_t(across_) * std::size_t(down_)) {
        spareTop_ = std::vector<TilePtr>(std::size_t(across_) * std::size_t(down_));
    }
    keepDrawingInBase();
    top_.swap(spareTop_);
    storedBytes_ += topBytes();
}

// A new level: the changes above top_, which top_ then takes. When memory runs out, the levels
// are as they were.
void UndoHistory::commit() {
    Level level;
    level.changes = changesAboveTop();
    level.changes.shrink_to_fit();
    levels_.push_back(std::move(level));
    const Level& stored = levels_.back();
    for (const Change& change : stored.changes) {
        top_[std::size_t(change.index)] = change.tile;
        storedBytes_ += kTileCost;
    }
    storedBytes_ += levelCost(stored);
    levelBytes_ += levelCost(stored);
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
        storedBytes_ -= topBytes();
        // The emptied table waits for the next change above level 0.
        spareTop_.swap(top_);
        top_.clear();
        top_.shrink_to_fit();
        pending_.clear();
        return;
    }
    Level& level = levels_.back();
    storedBytes_ -= levelCost(level);
    levelBytes_ -= levelCost(level);
    setPending(std::move(level.changes));
    levels_.pop_back();
}

// Level 1 goes: level 2 takes its changes where it has none of its own, and the tiles of
// level 0 as the ones it replaced.
void UndoHistory::dropLevelOne() {
    if (levels_.size() == 1) {
        // Level 1 was the newest: the current picture now lies right above level 0.
        Level one = std::move(levels_.front());
        levels_.pop_front();
        storedBytes_ -= levelCost(one);
        levelBytes_ -= levelCost(one);
        setPending(std::move(one.changes));
    } else {
        mergeLevelOne(levels_);
    }
    marks_.erase(marks_.begin() + 1);
    --level_;
    ++droppedLevels_;
}

// The first of `levels` (two or more, of the current segment or one below) goes into the second.
void UndoHistory::mergeLevelOne(std::deque<Level>& levels) {
    // The one step that needs memory comes first: without it, nothing changes.
    std::vector<Change> merged;
    merged.reserve(levels[0].changes.size() + levels[1].changes.size());
    Level one = std::move(levels.front());
    levels.pop_front();
    storedBytes_ -= levelCost(one);
    levelBytes_ -= levelCost(one);
    Level& two = levels.front();
    storedBytes_ -= levelCost(two);
    levelBytes_ -= levelCost(two);
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
    levelBytes_ += levelCost(two);
    for (Change& change : one.changes) {
        releaseTile(change.tile);
        releaseTile(change.previous);
    }
}

}  // namespace tessel
