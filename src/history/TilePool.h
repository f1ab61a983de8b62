#pragma once
// Memory for the square tiles of the undo history. Tiles come in slabs of many, so a change of a
// whole picture asks the system for a few large blocks rather than thousands of small ones, and
// the tiles a dropped level gives back are handed out again before any new memory is taken.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tessel {

class TilePool {
  public:
    // Side of a tile in pixels; every tile holds kSide x kSide pixels whatever part of it a
    // picture's edge leaves in use, rows kSide pixels apart.
    static constexpr int kSide = 32;
    static constexpr std::size_t kPixelBytes = std::size_t(kSide) * kSide * 4;
    static constexpr int kTilesPerSlab = 64;

    struct Slab;
    struct Tile {
        int references = 0;
        int slot = 0;
        Slab* slab = nullptr;
        std::uint32_t* pixels = nullptr;
        // How many of the references are pins: held by readers outside the undo history (a
        // snapshot of the picture) through pin() and unpin(). The history's own count is
        // references - pins.
        int pins = 0;
    };

    TilePool();
    ~TilePool();
    TilePool(const TilePool&) = delete;
    TilePool& operator=(const TilePool&) = delete;

    // A tile with one reference and undefined pixels; throws std::bad_alloc when memory is out,
    // and then the pool is as it was.
    Tile* take();
    // Gives the tile back (its last reference went).
    void give(Tile* tile);
    // Empty slabs beyond this many spare tiles go back to the system.
    void setSpareLimit(std::size_t tiles) { spareLimit_ = tiles; }
    // Every slab with no tile in use goes back to the system now, whatever the limit.
    void releaseSpare();
    std::size_t tilesInUse() const { return inUse_; }

    // A reference that is also a pin; the tile must be in use.
    void pin(Tile* tile) {
        ++tile->references;
        ++tile->pins;
    }
    // Lets go of a pin: the tile is given back when that was its last reference.
    void unpin(Tile* tile);
    // The holder of a reference that was no pin let go of it and left only pins.
    void leftToPins() { ++pinnedOnly_; }
    // Tiles in use only through pins: no longer part of what the history holds.
    std::size_t pinnedOnlyTiles() const { return pinnedOnly_; }
    std::size_t spareTiles() const { return spare_; }

    // A fault seam for tests: while installed, a take() for which it answers true throws
    // std::bad_alloc as if memory were out. An empty function removes it. The pools belong to
    // the window's thread, and so does the seam.
    static void setTakeFault(std::function<bool()> fault);

  private:
    void release(Slab* slab);

    std::vector<std::unique_ptr<Slab>> slabs_;
    std::vector<Slab*> open_;  // slabs with a free tile
    std::size_t inUse_ = 0;
    std::size_t spare_ = 0;
    std::size_t spareLimit_ = 0;
    std::size_t pinnedOnly_ = 0;
};

}  // namespace tessel
