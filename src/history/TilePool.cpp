#include "history/TilePool.h"

#include <algorithm>
#include <new>

namespace tessel {

struct TilePool::Slab {
    static constexpr std::align_val_t kAlignment{64};

    Slab() : pixels(static_cast<std::uint32_t*>(
                 ::operator new(kPixelBytes * kTilesPerSlab, kAlignment))) {
        for (int i = 0; i < kTilesPerSlab; ++i) {
            tiles[i] = Tile{0, i, this, pixels + std::size_t(i) * kSide * kSide};
            free[i] = kTilesPerSlab - 1 - i;
        }
    }
    ~Slab() { ::operator delete(pixels, kAlignment); }
    Slab(const Slab&) = delete;
    Slab& operator=(const Slab&) = delete;

    std::uint32_t* pixels;
    Tile tiles[kTilesPerSlab];
    int free[kTilesPerSlab];  // a stack of free slots
    int freeCount = kTilesPerSlab;
};

namespace {

std::function<bool()>& takeFault() {
    static std::function<bool()> installed;
    return installed;
}

}  // namespace

void TilePool::setTakeFault(std::function<bool()> fault) {
    takeFault() = std::move(fault);
}

TilePool::TilePool() = default;
TilePool::~TilePool() = default;

TilePool::Tile* TilePool::take() {
    if (const auto& fault = takeFault(); fault && fault()) throw std::bad_alloc();
    if (open_.empty()) {
        slabs_.push_back(std::make_unique<Slab>());
        try {
            open_.push_back(slabs_.back().get());
        } catch (...) {
            slabs_.pop_back();
            throw;
        }
        spare_ += kTilesPerSlab;
    }
    Slab* slab = open_.back();
    Tile* tile = &slab->tiles[slab->free[--slab->freeCount]];
    if (slab->freeCount == 0) open_.pop_back();
    tile->references = 1;
    ++inUse_;
    --spare_;
    return tile;
}

void TilePool::give(Tile* tile) {
    Slab* slab = tile->slab;
    if (slab->freeCount == 0) open_.push_back(slab);
    slab->free[slab->freeCount++] = tile->slot;
    --inUse_;
    ++spare_;
    if (slab->freeCount == kTilesPerSlab && spare_ > spareLimit_ + kTilesPerSlab) release(slab);
}

void TilePool::unpin(Tile* tile) {
    const bool pinnedOnly = tile->references == tile->pins;
    --tile->pins;
    if (--tile->references > 0) return;
    if (pinnedOnly) --pinnedOnly_;
    give(tile);
}

void TilePool::releaseSpare() {
    std::vector<Slab*> empty;
    for (Slab* slab : open_) {
        if (slab->freeCount == kTilesPerSlab) empty.push_back(slab);
    }
    for (Slab* slab : empty) release(slab);
}

void TilePool::release(Slab* slab) {
    open_.erase(std::find(open_.begin(), open_.end(), slab));
    spare_ -= kTilesPerSlab;
    const auto owner = std::find_if(slabs_.begin(), slabs_.end(),
                                    [slab](const auto& s) { return s.get() == slab; });
    slabs_.erase(owner);
}

}  // namespace tessel
