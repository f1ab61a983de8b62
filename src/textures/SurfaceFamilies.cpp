// Finishes and patterns: terrazzo, stucco, brushed metal, rust, camouflage, gradients, plasma
// and mosaic. Sizes are in pixels.

#include <algorithm>
#include <cmath>

#include "textures/Families.h"
#include "textures/Noise.h"

namespace tessel::textures {

namespace {

inline float unitOf(std::uint32_t h) {
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// Terrazzo: chips of the palette's colours (from the third on) in a speckled ground of the
// first two, in three sizes.
class Terrazzo : public Generator {
  public:
    explicit Terrazzo(const Recipe& r)
        : Generator(r), chip_(r.value("scale", 34.0f)), density_(r.value("density", 0.7f)) {}

    float at(float x, float y) const override {
        const float wx = x + 0.25f * chip_ * fbm(x / chip_, y / chip_, 2, seed_ + 1u);
        const float wy = y + 0.25f * chip_ * fbm(x / chip_ + 4.0f, y / chip_, 2, seed_ + 2u);
        const float sizes[3] = {chip_, chip_ * 0.5f, chip_ * 0.22f};
        const int chips = colourCount() - 2;
        for (int layer = 0; layer < 3 && chips > 0; ++layer) {
            const Cells c = worley(wx / sizes[layer], wy / sizes[layer], seed_ + 10u * layer);
            if (unitOf(c.id) > density_) continue;
            const float radius = 0.18f + 0.22f * unitOf(c.id * 2654435761u);
            if (c.f1 < radius) return stop(2 + int((c.id & 0xFFu) % std::uint32_t(chips)));
        }
        const float speckle = fbm(x / 2.0f, y / 2.0f, 2, seed_ + 3u);
        const float cloud = fbm(x / 120.0f, y / 120.0f, 3, seed_ + 4u);
        return stop(1) * (0.5f + 0.35f * speckle + 0.25f * cloud);
    }

  private:
    float chip_, density_;
};

// Stucco: a rough plaster face, billowy lumps and fine sand (best with relief).
class Stucco : public Generator {
  public:
    explicit Stucco(const Recipe& r) : Generator(r), scale_(r.value("scale", 30.0f)) {}

    float at(float x, float y) const override {
        const float lumps = turbulence(x / scale_, y / scale_, 4, seed_);
        const float fine = fbm(x / 2.5f, y / 2.5f, 2, seed_ + 1u);
        const float cloud = fbm(x / 300.0f, y / 300.0f, 3, seed_ + 2u);
        return 0.35f + 0.6f * lumps + 0.08f * fine + 0.12f * cloud;
    }

  private:
    float scale_;
};

// Brushed metal: long fine streaks along x under a broad soft sheen.
class Metal : public Generator {
  public:
    explicit Metal(const Recipe& r)
        : Generator(r), streak_(r.value("scale", 240.0f)), sheen_(r.value("sheen", 0.35f)) {}

    float at(float x, float y) const override {
        const float streaks = fbm(x / streak_, y / 1.3f, 3, seed_);
        const float hair = fbm(x / (streak_ * 0.3f), y / 0.7f, 2, seed_ + 1u);
        const float sheen = wave(0.8f * x / width_ + 0.35f * y / height_ + 0.2f);
        const float cloud = fbm(x / 400.0f, y / 400.0f, 2, seed_ + 2u);
        return 0.42f + 0.12f * streaks + 0.06f * hair + sheen_ * (sheen - 0.5f) + 0.08f * cloud;
    }

  private:
    float streak_, sheen_;
};

// Rusted steel: grey metal eaten by patches of rust with pits and streaks.
class Rust : public Generator {
  public:
    explicit Rust(const Recipe& r)
        : Generator(r), scale_(r.value("scale", 260.0f)), amount_(r.value("amount", 0.0f)) {}

    float at(float x, float y) const override {
        const float px = x / scale_;
        const float py = y / scale_;
        const float patch =
            fbm(px, py, 6, seed_) + 0.35f * fbm(px * 5.0f, py * 5.0f, 3, seed_ + 1u);
        const float rust = smoothstep(-0.05f - amount_, 0.2f - amount_, patch);
        const float metal = 0.1f + 0.1f * fbm(x / 200.0f, y / 3.0f, 3, seed_ + 2u);
        const float crust = 0.45f + 0.5f * (0.5f + 0.5f * fbm(px * 9.0f, py * 9.0f, 4, seed_ + 3u));
        const Cells pits = worley(x / 9.0f, y / 9.0f, seed_ + 4u);
        const float pit = (pits.id & 3u) == 0u ? 1.0f - smoothstep(0.05f, 0.3f, pits.f1) : 0.0f;
        return lerp(metal, crust - 0.35f * pit, rust);
    }

  private:
    float scale_, amount_;
};

// Camouflage: overlapping blobs, each layer one whole colour of the palette.
class Camo : public Generator {
  public:
    explicit Camo(const Recipe& r)
        : Generator(r), scale_(r.value("scale", 160.0f)), level_(r.value("level", 0.12f)) {}

    float at(float x, float y) const override {
        const float px = x / scale_;
        const float py = y / scale_;
        const float wx = 0.4f * fbm(px * 2.0f, py * 2.0f, 2, seed_ + 100u);
        const float wy = 0.4f * fbm(px * 2.0f + 5.0f, py * 2.0f, 2, seed_ + 101u);
        float v = stop(0);
        for (int k = 1; k < colourCount(); ++k) {
            const float n = fbm(px + wx, py + wy, 4, seed_ + std::uint32_t(k) * 31u);
            if (n > level_) v = stop(k);
        }
        return v;
    }

  private:
    float scale_, level_;
};

// A smooth gradient along a direction (or from the centre) with a faint cloudiness.
class Gradient : public Generator {
  public:
    explicit Gradient(const Recipe& r)
        : Generator(r),
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
    }

    float at(float x, float y) const override {
        float t;
        if (radial_) {
            const float dx = (x - 0.5f * width_) / (0.5f * width_);
            const float dy = (y - 0.5f * height_) / (0.5f * height_);
            t = std::sqrt((dx * dx + dy * dy) * 0.5f);
        } else {
            t = (directionX_ * x + directionY_ * y - start_) / span_;
        }
        return t + cloud_ * fbm(x / 350.0f, y / 350.0f, 4, seed_);
    }

  private:
    float directionX_, directionY_;
    bool radial_;
    float cloud_;
    float span_ = 1.0f, start_ = 0.0f;
};

// Plasma: interfering waves over a warped plane, cycling smoothly through the palette.
class Plasma : public Generator {
  public:
    explicit Plasma(const Recipe& r)
        : Generator(r), scale_(r.value("scale", 300.0f)), cycles_(r.value("cycles", 1.5f)) {}

    float at(float x, float y) const override {
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

  private:
    float scale_, cycles_;
};

// Mosaic: irregular tiles, each one of the palette's colours after the first, in grout of the
// first colour.
class Mosaic : public Generator {
  public:
    explicit Mosaic(const Recipe& r)
        : Generator(r), tile_(r.value("scale", 30.0f)), grout_(r.value("grout", 0.08f)) {}

    float at(float x, float y) const override {
        const Cells c = worley(x / tile_, y / tile_, seed_, 0.75f);
        if (c.f2 - c.f1 < grout_) return stop(0);
        const int tiles = colourCount() - 1;
        const int k = 1 + int((c.id & 0xFFFFu) % std::uint32_t(tiles));
        const float next = k + 1 < colourCount() ? stop(k + 1) : 1.0f;
        // A little variation within the colour's own band of the palette.
        return stop(k) + 0.15f * (next - stop(k)) * unitOf(c.id * 747796405u);
    }

  private:
    float tile_, grout_;
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
