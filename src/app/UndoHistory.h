#pragma once
// The undo history: level 0 is the picture as opened or created, every change adds a level on
// top, "Deshacer" drops the newest one.
//
// Only the current picture is kept as a whole bitmap. Every level below it is stored as a grid of
// square tiles; a tile that did not change from the level below is shared with it rather than
// copied, so the memory grows with what each change touched, not with the size of the picture.
// Each level still reads back as the complete picture.
//
// At most kMaxLevel levels sit above level 0: the change after that drops the oldest level above
// level 0, so work never stops. The stored levels also stay within a memory budget; beyond it the
// oldest levels above level 0 go first. Level 0 is always kept.

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "surface/Surface.h"

namespace tessel {

class UndoHistory {
  public:
    static constexpr int kMaxLevel = 5000;
    // Side of the square tiles the stored levels are cut into, in pixels: small enough that a
    // short stroke or line of text stores well under 1 % of a paper per level.
    static constexpr int kTileSize = 32;

    // memoryBudget: bytes the stored levels may use; default a quarter of physical memory.
    explicit UndoHistory(std::size_t memoryBudget = defaultMemoryBudget());
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    static std::size_t defaultMemoryBudget();

    bool hasPicture() const { return hasPicture_; }  // false at start and after clear()
    int level() const { return level_; }             // current level n, 0 at start

    // The picture becomes level 0; any earlier levels are dropped; n = 0.
    void start(const QImage& picture);
    // "Nuevo": no picture, n = 0.
    void clear();

    // The current picture (whole bitmap, Format_RGB32); changes are drawn here.
    Surface& current() { return current_; }
    const Surface& current() const { return current_; }

    // n + 1: the current picture is kept as the level below and the caller then draws the
    // change on current(). Does nothing without a picture.
    void push();
    // Back to the level below; false (and nothing happens) at level 0 or without a picture.
    bool undo();

    // The complete picture of level k (0..n); a null image for any other k.
    QImage levelPicture(int k) const;

    // Memory held by the stored levels: tiles (each shared tile counted once) and bookkeeping.
    std::size_t storedBytes() const { return storedBytes_; }
    // How many old levels were dropped to make room since the picture was started.
    int droppedLevels() const { return droppedLevels_; }

  private:
    struct Tile;
    // Shares one tile between levels. The count lives in the tile itself and is not atomic: the
    // history belongs to the one thread that handles the window.
    class TilePtr {
      public:
        TilePtr() = default;
        explicit TilePtr(Tile* tile) : tile_(tile) {}
        TilePtr(const TilePtr& other);
        TilePtr(TilePtr&& other) noexcept : tile_(other.tile_) { other.tile_ = nullptr; }
        TilePtr& operator=(TilePtr other) noexcept {
            std::swap(tile_, other.tile_);
            return *this;
        }
        ~TilePtr() { reset(); }
        void reset();
        const Tile* get() const { return tile_; }
        const Tile& operator*() const { return *tile_; }
        const Tile* operator->() const { return tile_; }
        int useCount() const;

      private:
        Tile* tile_ = nullptr;
    };
    // A stored level: the picture's size and its tiles, row after row of tiles.
    struct Level {
        QSize size;
        std::vector<TilePtr> tiles;
    };

    Level commitCurrent(const Level* below);
    void restoreCurrent(const Level& level);
    void dropStoredLevel(std::size_t index);
    void releaseLevel(Level& level);
    void fitInBudget();
    static QRect tileRect(int index, QSize size);
    static std::size_t tileCost(const Tile& tile);
    static std::size_t levelCost(const Level& level);

    std::size_t budget_;
    Surface current_;
    bool hasPicture_ = false;
    int level_ = 0;
    // The levels 0..n-1; the current level n is current_.
    std::deque<Level> stored_;
    std::size_t storedBytes_ = 0;
    int droppedLevels_ = 0;
};

}  // namespace tessel
