#include "textures/Noise.h"

#include <algorithm>

namespace tessel::textures {

Cells worley(float x, float y, std::uint32_t seed, float jitter) {
    const std::int32_t ix = floorToInt(x);
    const std::int32_t iy = floorToInt(y);
    const float scale = jitter / 65536.0f;
    float offsetX[9], offsetY[9];
    for (int j = -1, k = 0; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i, ++k) {
            const std::uint32_t h = hash(ix + i, iy + j, seed);
            offsetX[k] = scale * float(h & 0xFFFFu);
            offsetY[k] = scale * float(h >> 16);
        }
    }
    return detail::nearestFeature(x, y, ix, iy, seed, jitter, [&](int k) {
        return std::pair<float, float>(offsetX[k], offsetY[k]);
    });
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
