// Finishes and patterns: terrazzo, stucco, brushed metal, rust, camouflage, gradients, plasma
// and mosaic. Sizes are in pixels.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "textures/Families.h"
#include "textures/Noise.h"

namespace tessel::textures {

namespace {

inline float unitOf(std::uint32_t h) {
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// The round chips of one size of terrazzo. Each lattice cell may hold one chip of radius under
// half a cell, of one of the chip colours. The chips of every cell the picture can reach are
// worked out when the layer is made, each with the value its colour has in the palette.
class ChipLayer {
  public:
    // A layer of one empty cell.
    ChipLayer() : ChipLayer(0u, 0.0f, {}, 0.0f, 0.0f, 0.0f, 0.0f) {}
    // The cells that points of [firstU, lastU] x [firstV, lastV] can meet; chip colour k has
    // the value values[k % values.size()].
    ChipLayer(std::uint32_t seed, float density, const std::vector<float>& values, float firstU,
              float firstV, float lastU, float lastV)
        : i0_(floorToInt(firstU) - 1),
          j0_(floorToInt(firstV) - 1),
          columns_(std::max(2, floorToInt(lastU) + 2 - i0_)),
          rows_(std::max(2, floorToInt(lastV) + 2 - j0_)),
          x_(std::size_t(columns_) * std::size_t(rows_)),
          y_(x_.size()),
          radius2_(x_.size()),
          value_(x_.size()) {
        for (int j = 0; j < rows_; ++j) {
            for (int i = 0; i < columns_; ++i) {
                const Chip c = make(seed, density, values, i0_ + i, j0_ + j);
                const std::size_t k = std::size_t(j) * std::size_t(columns_) + std::size_t(i);
                x_[k] = c.x;
                y_[k] = c.y;
                radius2_[k] = c.radius2;
                value_[k] = c.value;
            }
        }
    }

    // The value of the chip covering (u, v), or -1 for none. Only the 2 x 2 cells nearest the
    // point can reach it; of those, the first in reading order that covers it counts. Written
    // without branches, so that a row of lookups vectorises; a point beyond the cells the layer
    // was made for is looked up among the nearest of them.
    [[gnu::always_inline]] float at(float u, float v) const {
        const std::int32_t ti = std::clamp(floorToInt(u - 0.5f) - i0_, 0, columns_ - 2);
        const std::int32_t tj = std::clamp(floorToInt(v - 0.5f) - j0_, 0, rows_ - 2);
        const int k = tj * columns_ + ti;
        const float c0 = covers(k, u, v);
        const float c1 = covers(k + 1, u, v);
        const float c2 = covers(k + columns_, u, v);
        const float c3 = covers(k + columns_ + 1, u, v);
        return c0 >= 0.0f ? c0 : (c1 >= 0.0f ? c1 : (c2 >= 0.0f ? c2 : c3));
    }

  private:
    struct Chip {
        float x = 0.0f, y = 0.0f, radius2 = 0.0f;  // radius2 0: no chip
        float value = -1.0f;
    };

    // The value of chip k if it covers (u, v), or -1. (The chips' fields are separate tables
    // with 32-bit indices, so that a vectorised row gathers them.)
    [[gnu::always_inline]] float covers(int k, float u, float v) const {
        const float dx = x_.data()[k] - u;
        const float dy = y_.data()[k] - v;
        const float value = value_.data()[k];  // read whether or not it is used: no branch
        return dx * dx + dy * dy < radius2_.data()[k] ? value : -1.0f;
    }

    static Chip make(std::uint32_t seed, float density, const std::vector<float>& values,
                     std::int32_t i, std::int32_t j) {
        Chip c;
        const std::uint32_t look = hash(i, j, seed + 1u);
        if (unitOf(look) > density || values.empty()) return c;
        const std::uint32_t h = hash(i, j, seed);
        c.x = float(i) + float(h & 0xFFFFu) / 65536.0f;
        c.y = float(j) + float(h >> 16) / 65536.0f;
        const float radius = 0.18f + 0.3f * float(look & 0xFFu) / 255.0f;
        c.radius2 = radius * radius;
        c.value = values[std::size_t((look >> 8) & 0xFFu) % values.size()];
        return c;
    }

    std::int32_t i0_ = 0, j0_ = 0;
    int columns_ = 0, rows_ = 0;
    std::vector<float> x_, y_, radius2_, value_;
};

// Terrazzo: chips of the palette's colours (from the third on) in a speckled ground of the
// first two, in three sizes.
class Terrazzo final : public Family<Terrazzo> {
  public:
    explicit Terrazzo(const Recipe& r)
        : Family(r), chip_(r.value("scale", 34.0f)), density_(r.value("density", 0.7f)) {
        bend_ = warp(2, 0.25f * chip_, chip_, 4.0f);
        cloud_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.5f + 0.25f * fbm(x / 120.0f, y / 120.0f, 3, seed_ + 4u);
        });
        // The chip colours' places in the palette, from the third colour on.
        std::vector<float> values;
        for (int k = 2; k < colourCount(); ++k) values.push_back(stop(k));
        // The bends move a point less than 0.25 chip x 2 (|fbm| < 2).
        const float reach = 0.5f * chip_;
        const float right = float(neededWidth_) + reach;
        const float bottom = float(neededHeight_) + reach;
        for (int layer = 0; layer < 3; ++layer) {
            const float size = sizes()[layer];
            layers_[layer] = ChipLayer(seed_ + 10u * layer, density_, values, -reach / size,
                                       -reach / size, right / size, bottom / size);
        }
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x + bend_.dx.at(x, y);
        const float wy = y + bend_.dy.at(x, y);
        const std::array<float, 3> sizes = this->sizes();
        // The largest chip covering the point shows; the ground where none does.
        const float big = layers_[0].at(wx / sizes[0], wy / sizes[0]);
        const float middle = layers_[1].at(wx / sizes[1], wy / sizes[1]);
        const float small = layers_[2].at(wx / sizes[2], wy / sizes[2]);
        const float speckle = gradientNoise(x / 1.6f, y / 1.6f, seed_ + 3u);
        const float ground = stop(1) * (cloud_.at(x, y) + 0.35f * speckle);
        return big >= 0.0f ? big : (middle >= 0.0f ? middle : (small >= 0.0f ? small : ground));
    }

  private:
    std::array<float, 3> sizes() const { return {chip_, chip_ * 0.5f, chip_ * 0.22f}; }

    float chip_, density_;
    Grid cloud_;
    Warp bend_;
    ChipLayer layers_[3];
};

// Stucco: a rough plaster face, billowy lumps and fine sand (best with relief).
class Stucco final : public Family<Stucco> {
  public:
    explicit Stucco(const Recipe& r) : Family(r), scale_(r.value("scale", 30.0f)) {
        // Fine lumps lose an octave that would be finer than two pixels.
        const int step = scale_ >= 30.0f ? 2 : 1;
        // (Two lambdas, each with its octaves fixed, so that the compiler unrolls them.)
        if (scale_ >= 24.0f)
            lumps_ = sampled(step, step, [this](float x, float y) TESSEL_ROW_INLINE {
                return 0.6f * turbulence(x / scale_, y / scale_, 4, seed_);
            });
        else
            lumps_ = sampled(step, step, [this](float x, float y) TESSEL_ROW_INLINE {
                return 0.6f * turbulence(x / scale_, y / scale_, 3, seed_);
            });
        // The broad swell changes over hundreds of pixels.
        swell_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.35f + 0.12f * fbm(x / 300.0f, y / 300.0f, 3, seed_ + 2u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        return swell_.at(x, y) + lumps_.at(x, y) + 0.08f * fbm(x / 2.5f, y / 2.5f, 2, seed_ + 1u);
    }

  private:
    float scale_;
    Grid lumps_, swell_;
};

// Brushed metal: long fine streaks along x under a broad soft sheen.
class Metal final : public Family<Metal> {
  public:
    explicit Metal(const Recipe& r)
        : Family(r), streak_(r.value("scale", 240.0f)), sheen_(r.value("sheen", 0.35f)) {
        // Streaks change slowly along x and from one row to the next.
        streaks_ = sampled(8, 1, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.12f * fbm(x / streak_, y / 1.3f, 3, seed_) +
                   0.06f * fbm(x / (streak_ * 0.3f), y / 0.7f, 2, seed_ + 1u);
        });
        cloud_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            const float sheen = wave(0.8f * x / width_ + 0.35f * y / height_ + 0.2f);
            return 0.42f + sheen_ * (sheen - 0.5f) +
                   0.08f * fbm(x / 400.0f, y / 400.0f, 2, seed_ + 2u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        return streaks_.at(x, y) + cloud_.at(x, y);
    }

  private:
    float streak_, sheen_;
    Grid streaks_, cloud_;
};

// Rusted steel: grey metal eaten by patches of rust with pits and streaks.
class Rust final : public Family<Rust> {
  public:
    explicit Rust(const Recipe& r)
        : Family(r), scale_(r.value("scale", 260.0f)), amount_(r.value("amount", 0.0f)) {
        rust_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            const float patch =
                fbm(px, py, 6, seed_) + 0.35f * fbm(px * 5.0f, py * 5.0f, 3, seed_ + 1u);
            return smoothstep(-0.05f - amount_, 0.2f - amount_, patch);
        });
        metal_ = sampled(8, 1, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.1f + 0.1f * fbm(x / 200.0f, y / 3.0f, 3, seed_ + 2u);
        });
        pits_ = cells(9.0f, seed_ + 4u);
        // The crust's finest detail spans dozens of pixels, and a pit darkens only near its own
        // centre, so both are smooth and can be sampled.
        crust_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            const float crust = 0.7f + 0.25f * fbm(px * 9.0f, py * 9.0f, 2, seed_ + 3u);
            const Cells pits = pits_.at(x / 9.0f, y / 9.0f);
            const float pit =
                (pits.id & 3u) == 0u ? 0.35f * (1.0f - smoothstep(0.05f, 0.3f, pits.f1)) : 0.0f;
            return crust - pit;
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        return lerp(metal_.at(x, y), crust_.at(x, y), rust_.at(x, y));
    }

  private:
    float scale_, amount_;
    WorleyField pits_;
    Grid rust_, metal_, crust_;
};

// Camouflage: overlapping blobs, each layer one whole colour of the palette.
class Camo final : public Family<Camo> {
  public:
    explicit Camo(const Recipe& r)
        : Family(r), scale_(r.value("scale", 160.0f)), level_(r.value("level", 0.12f)) {
        warpX_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.4f * fbm(x * 2.0f / scale_, y * 2.0f / scale_, 2, seed_ + 100u);
        });
        warpY_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.4f * fbm(x * 2.0f / scale_ + 5.0f, y * 2.0f / scale_, 2, seed_ + 101u);
        });
        for (int k = 1; k < colourCount() && k < kLayers + 1; ++k) {
            layers_[k - 1] = sampled(3, 3, [this, k](float x, float y) TESSEL_ROW_INLINE {
                const float px = x / scale_ + warpX_.at(x, y);
                const float py = y / scale_ + warpY_.at(x, y);
                return fbm(px, py, 4, seed_ + std::uint32_t(k) * 31u);
            });
        }
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        float v = stop(0);
        for (int k = 1; k < colourCount() && k < kLayers + 1; ++k)
            if (layers_[k - 1].at(x, y) > level_) v = stop(k);
        return v;
    }

  private:
    static constexpr int kLayers = 5;
    float scale_, level_;
    Grid warpX_, warpY_;
    Grid layers_[kLayers];
};

// A smooth gradient along a direction (or from the centre) with a faint cloudiness.
class Gradient final : public Family<Gradient> {
  public:
    explicit Gradient(const Recipe& r)
        : Family(r),
          directionX_(r.value("dx", 0.0f)),
          directionY_(r.value("dy", 1.0f)),
          radial_(r.value("radial", 0.0f) != 0.0f),
          cloud_(r.value("cloud", 0.06f)) {
        const float length = std::sqrt(directionX_ * directionX_ + directionY_ * directionY_);
        if (length > 0.0f) {
            directionX_ /= length;
            directionY_ /= length;
        }
        span_ = std::fabs(directionX_) * width_ + std::fabs(directionY_) * height_;
        start_ = std::min(0.0f, directionX_ * width_) + std::min(0.0f, directionY_ * height_);
        clouds_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return cloud_ * fbm(x / 350.0f, y / 350.0f, 4, seed_);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        float t;
        if (radial_) {
            const float dx = (x - 0.5f * width_) / (0.5f * width_);
            const float dy = (y - 0.5f * height_) / (0.5f * height_);
            t = std::sqrt((dx * dx + dy * dy) * 0.5f);
        } else {
            t = (directionX_ * x + directionY_ * y - start_) / span_;
        }
        return t + clouds_.at(x, y);
    }

  private:
    float directionX_, directionY_;
    bool radial_;
    float cloud_;
    float span_ = 1.0f, start_ = 0.0f;
    Grid clouds_;
};

// Plasma: interfering waves over a warped plane, cycling smoothly through the palette.
class Plasma final : public Family<Plasma> {
  public:
    explicit Plasma(const Recipe& r)
        : Family(r), scale_(r.value("scale", 300.0f)), cycles_(r.value("cycles", 1.5f)) {
        values_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE { return value(x, y); });
    }

    [[gnu::always_inline]] float at(float x, float y) const override { return values_.at(x, y); }

  private:
    float value(float x, float y) const {
        const float px = x / scale_;
        const float py = y / scale_;
        const float wx = px + 0.6f * fbm(px * 0.7f, py * 0.7f, 3, seed_);
        const float wy = py + 0.6f * fbm(px * 0.7f + 8.0f, py * 0.7f, 3, seed_ + 1u);
        const float cx = wx - 1.7f;
        const float cy = wy - 1.1f;
        const float sum = wave(0.5f * wx) + wave(0.37f * wy + 0.2f) + wave(0.3f * (wx + wy)) +
                          wave(0.45f * std::sqrt(cx * cx + cy * cy));
        return wave(cycles_ * sum * 0.25f);
    }

    float scale_, cycles_;
    Grid values_;
};

// Mosaic: irregular tiles, each one of the palette's colours after the first, in grout of the
// first colour.
class Mosaic final : public Family<Mosaic> {
  public:
    explicit Mosaic(const Recipe& r)
        : Family(r),
          tile_(r.value("scale", 30.0f)),
          grout_(r.value("grout", 0.08f)),
          tiles_(cells(tile_, seed_, 0.75f)) {}

    [[gnu::always_inline]] float at(float x, float y) const override {
        const Cells c = tiles_.at(x / tile_, y / tile_);
        if (c.f2 - c.f1 < grout_) return stop(0);
        const int tiles = colourCount() - 1;
        const int k = 1 + int((c.id & 0xFFFFu) % std::uint32_t(tiles));
        const float next = k + 1 < colourCount() ? stop(k + 1) : 1.0f;
        // A little variation within the colour's own band of the palette.
        return stop(k) + 0.15f * (next - stop(k)) * unitOf(c.id * 747796405u);
    }

  private:
    float tile_, grout_;
    WorleyField tiles_;
};

}  // namespace

std::unique_ptr<Generator> makeTerrazzo(const Recipe& r) {
    return std::make_unique<Terrazzo>(r);
}
std::unique_ptr<Generator> makeStucco(const Recipe& r) {
    return std::make_unique<Stucco>(r);
}
std::unique_ptr<Generator> makeMetal(const Recipe& r) {
    return std::make_unique<Metal>(r);
}
std::unique_ptr<Generator> makeRust(const Recipe& r) {
    return std::make_unique<Rust>(r);
}
std::unique_ptr<Generator> makeCamo(const Recipe& r) {
    return std::make_unique<Camo>(r);
}
std::unique_ptr<Generator> makeGradient(const Recipe& r) {
    return std::make_unique<Gradient>(r);
}
std::unique_ptr<Generator> makePlasma(const Recipe& r) {
    return std::make_unique<Plasma>(r);
}
std::unique_ptr<Generator> makeMosaic(const Recipe& r) {
    return std::make_unique<Mosaic>(r);
}

}  // namespace tessel::textures
