// The undo history's tile memory: tiles given back are handed out again, whole slabs go back
// to the system only beyond the spare limit.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "history/TilePool.h"

namespace tessel {
namespace {

TEST(TilePool, GivenBackTilesAreReusedBeforeNewMemory) {
    TilePool pool;
    pool.setSpareLimit(1000);
    std::vector<TilePool::Tile*> tiles;
    for (int i = 0; i < 3 * TilePool::kTilesPerSlab; ++i) tiles.push_back(pool.take());
    EXPECT_EQ(pool.tilesInUse(), std::size_t(3 * TilePool::kTilesPerSlab));
    EXPECT_EQ(pool.spareTiles(), 0u);
    // Every tile has its own pixels, all writable.
    std::set<std::uint32_t*> distinct;
    for (TilePool::Tile* tile : tiles) {
        std::memset(tile->pixels, 0xAB, TilePool::kPixelBytes);
        distinct.insert(tile->pixels);
        EXPECT_EQ(tile->references, 1);
    }
    EXPECT_EQ(distinct.size(), tiles.size());

    std::set<std::uint32_t*> given;
    for (int i = 0; i < 10; ++i) {
        given.insert(tiles[std::size_t(i) * 7]->pixels);
        pool.give(tiles[std::size_t(i) * 7]);
    }
    EXPECT_EQ(pool.spareTiles(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_TRUE(given.count(pool.take()->pixels)) << i;
    EXPECT_EQ(pool.spareTiles(), 0u);
}

TEST(TilePool, EmptySlabsBeyondTheSpareLimitAreReleased) {
    TilePool pool;
    pool.setSpareLimit(0);
    const int count = 4 * TilePool::kTilesPerSlab;
    std::vector<TilePool::Tile*> tiles;
    for (int i = 0; i < count; ++i) tiles.push_back(pool.take());
    for (TilePool::Tile* tile : tiles) pool.give(tile);
    EXPECT_EQ(pool.tilesInUse(), 0u);
    // At most one slab's worth of spare tiles beyond the limit stays.
    EXPECT_LE(pool.spareTiles(), std::size_t(2 * TilePool::kTilesPerSlab));
    // And the pool still works after releasing.
    TilePool::Tile* again = pool.take();
    std::memset(again->pixels, 1, TilePool::kPixelBytes);
    pool.give(again);
}

}  // namespace
}  // namespace tessel
