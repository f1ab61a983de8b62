#include "textures/Noise.h"

#include <algorithm>

namespace tessel::textures {

namespace {

// The jittered feature points around one lattice cell. Neighbouring pixels mostly fall in the
// same cell, so each thread keeps the last few neighbourhoods it worked out; the arithmetic is
// the same either way, so the cache never changes a result.
struct Neighbourhood {
    std::int32_t ix = 0, iy = 0;
    std::uint32_t seed = 0;
    float jitter = -1.0f;
    float offsetX[9], offsetY[9];
};

const Neighbourhood& neighbourhood(std::int32_t ix, std::int32_t iy, std::uint32_t seed,
                                   float jitter) {
    constexpr int kSlots = 4;
    thread_local Neighbourhood slots[kSlots];
    thread_local int next = 0;
    for (const Neighbourhood& n : slots)
        if (n.ix == ix && n.iy == iy && n.seed == seed && n.jitter == jitter) return n;
    Neighbourhood& n = slots[next];
    next = (next + 1) % kSlots;
    n.ix = ix;
    n.iy = iy;
    n.seed = seed;
    n.jitter = jitter;
    const float scale = jitter / 65536.0f;
    for (int j = -1, k = 0; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i, ++k) {
            const std::uint32_t h = hash(ix + i, iy + j, seed);
            n.offsetX[k] = scale * float(h & 0xFFFFu);
            n.offsetY[k] = scale * float(h >> 16);
        }
    }
    return n;
}

}  // namespace

Cells worley(float x, float y, std::uint32_t seed, float jitter) {
    const std::int32_t ix = floorToInt(x);
    const std::int32_t iy = floorToInt(y);
    const Neighbourhood& n = neighbourhood(ix, iy, seed, jitter);
    const float offset = 0.5f * (1.0f - jitter);
    const float dx0 = float(ix) - x + offset;
    const float dy0 = float(iy) - y + offset;
    float best = 1e30f;
    float second = 1e30f;
    int bestK = 4;
    float bestX = 0.0f, bestY = 0.0f;
    // Written without branches (the nearest point is a coin toss for the processor); keeps
    // the first of equally near points, as a plain search in this order would.
#pragma GCC unroll 3
    for (int j = -1, k = 0; j <= 1; ++j) {
        const float dy = dy0 + float(j);
#pragma GCC unroll 3
        for (int i = -1; i <= 1; ++i, ++k) {
            const float px = dx0 + float(i) + n.offsetX[k];
            const float py = dy + n.offsetY[k];
            const float d = px * px + py * py;
            const bool nearer = d < best;
            second = std::min(second, std::max(best, d));
            best = nearer ? d : best;
            bestK = nearer ? k : bestK;
            bestX = nearer ? px : bestX;
            bestY = nearer ? py : bestY;
        }
    }
    Cells cells;
    cells.f1 = std::sqrt(best);
    cells.f2 = std::sqrt(second);
    cells.id = hash(ix + bestK % 3 - 1, iy + bestK / 3 - 1, seed ^ 0x5BD1E995u);
    cells.nearX = x + bestX;
    cells.nearY = y + bestY;
    return cells;
}

WorleyField::WorleyField(std::uint32_t seed, float jitter, float firstX, float firstY, float lastX,
                         float lastY)
    : seed_(seed), jitter_(jitter) {
    // The cells the region's points fall in, and one more on every side for their neighbours.
    i0_ = floorToInt(firstX) - 1;
    j0_ = floorToInt(firstY) - 1;
    columns_ = std::max(3, floorToInt(lastX) + 2 - i0_);
    rows_ = std::max(3, floorToInt(lastY) + 2 - j0_);
    offsetX_.resize(std::size_t(columns_) * std::size_t(rows_));
    offsetY_.resize(offsetX_.size());
    const float scale = jitter / 65536.0f;
    for (std::int32_t j = 0; j < rows_; ++j) {
        for (std::int32_t i = 0; i < columns_; ++i) {
            const std::uint32_t h = hash(i0_ + i, j0_ + j, seed);
            const std::size_t k = std::size_t(j) * std::size_t(columns_) + std::size_t(i);
            offsetX_[k] = scale * float(h & 0xFFFFu);
            offsetY_[k] = scale * float(h >> 16);
        }
    }
}

}  // namespace tessel::textures
