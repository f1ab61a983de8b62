#pragma once
// The undo history: level 0 is the picture as opened or created, every change adds a level on
// top, "Deshacer" steps down to the level below and "Rehacer" back up again, until a new change
// drops the levels that were undone.
//
// The levels fall into segments: runs of levels of one size, each starting with a whole bitmap
// (its base) with tile levels above it. Inside the segment, the current picture is a whole bitmap
// of its own, copied from the base once, so no change ever has to copy the whole picture. Below
// the current picture sits the newest stored level as a table of square tiles, a missing tile
// meaning "as in the base", and every stored level keeps only the tiles its change altered (with
// the tiles they replaced), so the memory grows with what each change touched. The current
// surface records the rectangle it was drawn on since the last push; a push looks only at the
// tiles under it, an undo writes back only those tiles and keeps the tiles it took away as the
// level to redo. Each level still reads back as the complete picture.
//
// A change that keeps the size takes that road whatever it touched: grey scale, a half turn and
// the two mirrors rewrite the current picture in place and are stored as the tiles that differ.
// A quarter turn changes the size: its push stores the picture it replaced as the last level of
// the segment (tiles, as any push would) and closes the segment; the turned picture starts a new
// segment as its base, the one whole picture the turn's level holds. Undoing the turn puts the
// closed segment back and rebuilds the picture below from its base and tiles; the turned base
// waits whole as the level to redo, and redoing it closes the segment again. A turn costs a
// blocked transpose and one copy of the picture; the changes after it cost what they touched.
//
// At most kMaxLevel levels sit above level 0: the change after that drops the oldest level, so
// work never stops. The levels to undo and to redo share one memory budget, whole pictures and
// tiles alike; beyond it the levels farthest from the current picture go first: at a change the
// oldest levels, at an undo the farthest levels to redo, then the oldest ones, and the level just
// undone last. The oldest level to go is the one above level 0 (its tiles merge into the next
// level), unless that one is the first of a segment or the last before a turn, which must stay
// as the picture the turn started from: then level 0 goes instead, its segment's tiles written
// into its base, or its segment whole when nothing is left above the base, and the next level
// becomes level 0. Without turns level 0 is always kept. Memory given back in bulk is returned to
// the system.

#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "history/SharedReads.h"
#include "history/TilePool.h"
#include "history/Turn.h"
#include "surface/Surface.h"

namespace tessel {

class UndoHistory {
  public:
    static constexpr int kMaxLevel = 5000;
    // Side of the square tiles the stored levels are cut into, in pixels: small enough that a
    // short stroke or line of text stores well under 1 % of a paper per level.
    static constexpr int kTileSize = TilePool::kSide;

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
    // "Nuevo": no picture, n = 0; the memory of every level goes back to the system.
    void clear();

    // The current picture (whole bitmap, Format_RGB32); changes are drawn here.
    Surface& current() { return current_; }
    const Surface& current() const { return current_; }

    // n + 1: the current picture is kept as the level below and the caller then draws the
    // change on current(). Does nothing without a picture.
    void push();
    // Back to the level below, which can then be redone; false (and nothing happens) at level 0
    // or without a picture.
    bool undo();
    // Up to the level undone last; false (and nothing happens) when there is none. A push drops
    // the levels to redo, and so does drawing on the current picture without a push.
    bool redo();
    // How many undone levels redo() can bring back.
    int redoLevels() const { return int(redo_.size()); }

    // The picture turned or mirrored, as one change: n + 1. A quarter turn changes the size.
    void turn(Turn turn);
    // A trial: a change shown on the picture before it is decided. beginTrial() makes level n + 1
    // with a new state number, as push() does, but keeps the levels to redo and drops no old
    // level; the caller draws the change on current(). reviseTrial() takes back what was drawn
    // since the trial began or was last revised, ready for the change to be drawn again (the
    // dirty record then holds the pixels taken back with the new drawing, so a viewer sees
    // both). keepTrial() makes the trial the change push() and the drawing would have made:
    // the levels to redo go, and old levels beyond the last or the budget. withdrawTrial()
    // leaves the picture, the levels, the levels to redo, the dropped-level count and the state
    // number as they were before beginTrial(). A push, undo, redo or turn keeps an open trial
    // first; start() and clear() end it with everything else.
    void beginTrial();
    void reviseTrial();
    void keepTrial();
    void withdrawTrial();
    bool inTrial() const { return trial_; }

    // The turn or mirror that made level k from the level below; Turn::None for any other change
    // and for level 0.
    Turn levelTurn(int k) const;

    // Names the picture the current level holds: a new number for every level pushed and for
    // every picture started, the level's own number again after undoing back to it; 0 without a
    // picture. A save remembers it, so "unchanged since the save" is one comparison.
    std::uint64_t stateId() const { return marks_.empty() ? 0 : marks_.back().id; }
    // The state number of the picture the current level was made from: the one that was current
    // when it was pushed (or turned), even when that level has been dropped since; 0 for a
    // picture just started. A viewer that held that state knows the current picture is it with
    // the change drawn since, however the levels were numbered again.
    std::uint64_t parentStateId() const { return marks_.empty() ? 0 : marks_.back().parent; }

    // The complete picture of level k (0..n); a null image for any other k.
    QImage levelPicture(int k) const;

    // A copy of the current picture that another thread can put together while changes go on
    // (history/UndoHistorySnapshot.h).
    class Snapshot;

    // Memory held by the stored levels below the current one (level 0 included once there is a
    // level above it, as is the base of every segment below the current one): tiles (each shared
    // tile counted once), whole pictures and bookkeeping.
    std::size_t storedBytes() const { return storedBytes_; }
    // Everything the history holds beside the current picture: the bases, every tile in use
    // (levels to undo and to redo), the turned pictures to redo, bookkeeping. The memory budget
    // applies to this.
    std::size_t heldBytes() const;
    // How many old levels were dropped to make room since the picture was started.
    int droppedLevels() const { return droppedLevels_; }

  private:
    using Tile = TilePool::Tile;
    // One shared reference to a tile. The count lives in the tile itself and is not atomic: the
    // history belongs to the one thread that handles the window.
    class TilePtr {
      public:
        TilePtr() = default;
        TilePtr(Tile* tile, TilePool* pool) : tile_(tile), pool_(pool) {}
        TilePtr(const TilePtr& other) : tile_(other.tile_), pool_(other.pool_) {
            if (tile_) ++tile_->references;
        }
        TilePtr(TilePtr&& other) noexcept : tile_(other.tile_), pool_(other.pool_) {
            other.tile_ = nullptr;
        }
        TilePtr& operator=(TilePtr other) noexcept {
            std::swap(tile_, other.tile_);
            std::swap(pool_, other.pool_);
            return *this;
        }
        ~TilePtr() { reset(); }
        void reset() {
            if (tile_ && --tile_->references == 0) {
                pool_->give(tile_);
            } else if (tile_ && tile_->references == tile_->pins) {
                pool_->leftToPins();
            }
            tile_ = nullptr;
        }
        const Tile* get() const { return tile_; }
        int useCount() const { return tile_ ? tile_->references : 0; }

      private:
        Tile* tile_ = nullptr;
        TilePool* pool_ = nullptr;
    };
    // What one change altered: the tile at `index` became `tile`; it was `previous`.
    struct Change {
        int index;
        TilePtr tile;
        TilePtr previous;
    };
    // A stored level above level 0: the changes of its tiles, by rising index.
    struct Level {
        std::vector<Change> changes;
    };
    // What names a level: its state number, and the turn that made it.
    struct Mark {
        std::uint64_t id;
        Turn turn;
        std::uint64_t parent = 0;  // the state it was made from
    };
    // A level undone: the changes from the level below it to its own picture, and its mark,
    // which it gets back when redone. A quarter turn's level is its picture, whole, instead.
    struct UndoneLevel {
        Level level;
        Mark mark;
        QImage picture;
    };
    // A segment below the current one: its base, its last level tile by tile, and its levels
    // above the base up to that one.
    struct Segment {
        QImage base;
        std::vector<TilePtr> top;
        std::deque<Level> levels;
        int across = 0;
    };

    QRect tileArea(const QRect& pixels) const;
    // Every tile under the surface's dirty parts, once each, by rising index.
    const std::vector<int>& dirtyTiles();
    QRect tilePixels(int index) const;
    static QRect tilePixels(int index, int across, QSize size);
    static void writeTile(QImage& image, const QImage& base, int across, int index,
                          const Tile* tile);
    static QImage segmentPicture(const QImage& base, const std::vector<TilePtr>& top,
                                 const std::deque<Level>& levels, int across, int stepsDown);
    TilePtr copyTile(int index);
    // A null tile stands for the tile of level 0.
    bool sameAsTile(int index, const Tile* tile) const;
    void writeTile(QImage& image, int index, const Tile* tile) const;
    const void* tileRow(int index, const Tile* tile, int row) const;
    std::vector<Change> changesAboveTop();
    bool drawnSinceStored();
    void storeCurrent();
    void afterChange();
    // The trial's pixels back as the level below holds them; returns where it wrote.
    QRect takeBackTrial();
    void commitLevelZero();
    void commit();
    void popTop();
    void setPending(std::vector<Change>&& changes);
    void dropLevelOne();
    void dropFarthestRedo();
    void dropRedo();
    void fitInBudget();
    void fitAfterUndo();
    void releaseTile(TilePtr& tile);
    void trimIfMuchWasFreed();
    // Segments (UndoHistorySegments.cpp).
    void turnQuarter(Turn turn);
    void undoTurn();
    void redoTurn(UndoneLevel&& next);
    void closeSegment(QImage&& base);
    void reopenSegment();
    void setGeometry(QSize size);
    QImage takeCurrent();
    void showBaseAndTop(QImage&& buffer);
    void keepDrawingInBase();
    bool canDropOldest() const;
    void dropOldest();
    void foldIntoBase(Segment& segment);
    void dropFirstSegment();
    void mergeLevelOne(std::deque<Level>& levels);
    static std::size_t segmentBytes(const Segment& segment);
    static std::size_t undoneCost(const UndoneLevel& undone);
    static std::size_t levelCost(const Level& level);
    std::size_t topBytes() const;
    // A tile as the budget sees it: its pixels and its share of the pool's bookkeeping.
    static constexpr std::size_t kTileCost =
        TilePool::kPixelBytes + sizeof(TilePool::Tile) + sizeof(int);

    TilePool pool_;
    std::size_t budget_;
    // Snapshots that still read the current picture's pixels on another thread: a write to
    // it waits for them (see SharedReads.h).
    std::shared_ptr<SharedReads> reads_ = std::make_shared<SharedReads>();
    Surface current_;
    // The current segment's base as a whole bitmap (level 0 from start() on, until a turn).
    QImage base_;
    bool hasPicture_ = false;
    bool trial_ = false;
    // What had been drawn since the last push when the trial began.
    std::vector<QRect> trialDirty_;
    int level_ = 0;
    // The newest stored level (n - 1), tile by tile, row after row of tiles, a null tile where it
    // is as the base; empty at the segment's first level.
    std::vector<TilePtr> top_;
    // At level 0: the table top_ takes at the next push, every tile null.
    std::vector<TilePtr> spareTop_;
    QSize size_;
    int across_ = 0;
    int down_ = 0;
    // The segment's levels above its base up to n-1 (its base is top_ with every change undone).
    std::deque<Level> levels_;
    // Where the current picture differs from top_ beyond the surface's own dirty rectangle: the
    // changes of the level last undone (or dropped), whose tiles hold the current pixels. The
    // next push takes them back as they are, unless drawing has touched them since.
    std::vector<Change> pending_;
    // For dirtyTiles(): the tiles found, and for each tile the last search that found it.
    std::vector<int> dirtyTiles_;
    std::vector<std::uint32_t> seen_;
    std::uint32_t search_ = 0;
    // The levels undone, nearest last.
    std::deque<UndoneLevel> redo_;
    std::size_t storedBytes_ = 0;
    // Bookkeeping of levels_ and of redo_.
    std::size_t levelBytes_ = 0;
    std::size_t redoLevelBytes_ = 0;
    // Tiles in use when memory was last returned to the system.
    std::size_t tilesAtTrim_ = 0;
    int droppedLevels_ = 0;
    // The segments below the current one, oldest first, and what their bases and tables take.
    std::deque<Segment> closed_;
    std::size_t closedBytes_ = 0;
    // The mark of each level 0..n, and the last state number given out.
    std::deque<Mark> marks_;
    std::uint64_t lastId_ = 0;
};

}  // namespace tessel
