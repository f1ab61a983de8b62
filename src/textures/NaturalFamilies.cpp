// Natural materials: wood, marble, granite, slate, sand, bark, grass, clouds, water, cork.
// Sizes ("scale", "grain", ...) are in pixels.

#include <cmath>

#include "textures/Families.h"
#include "textures/Noise.h"

namespace tessel::textures {

namespace {

// Planks cut through the rings of a trunk: early wood light, late wood a darker band, fine
// fibres along the grain.
class Wood final : public Family<Wood> {
  public:
    explicit Wood(const Recipe& r)
        : Family(r),
          ring_(r.value("scale", 22.0f)),
          stretch_(r.value("stretch", 9.0f)),
          centreX_(r.value("cx", 0.3f) * width_),
          centreY_(r.value("cy", -0.6f) * height_),
          warp_(r.value("warp", 0.8f)),
          fibre_(r.value("fibre", 0.12f)) {
        bend_ = sampled(4, 16, [this](float x, float y) TESSEL_ROW_INLINE {
            return warp_ * fbm(x / (ring_ * 9.0f), y / (ring_ * 40.0f), 3, seed_);
        });
        fibres_ = sampled(1, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return fibre_ * fbm(x / 1.6f, y / 70.0f, 2, seed_ + 11u) +
                   0.1f * fbm(x / 300.0f, y / 900.0f, 2, seed_ + 23u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float dx = x - centreX_;
        const float dy = (y - centreY_) / stretch_;
        const float d = std::sqrt(dx * dx + dy * dy) / ring_ + bend_.at(x, y);
        const float r = fract(d);
        // Darkens slowly through the year, then falls back sharply to the next light ring.
        const float late = r * r * r * (1.0f - smoothstep(0.9f, 1.0f, r));
        return 0.72f - 0.55f * late + fibres_.at(x, y);
    }

  private:
    float ring_, stretch_, centreX_, centreY_, warp_, fibre_;
    Grid bend_, fibres_;
};

// Veined stone: a wave through a warped plane, thin dark veins on a soft cloudy ground.
class Marble final : public Family<Marble> {
  public:
    explicit Marble(const Recipe& r)
        : Family(r),
          scale_(r.value("scale", 260.0f)),
          turbulence_(r.value("turbulence", 1.6f)),
          veins_(r.value("veins", 0.75f)),
          width_fraction_(r.value("vein", 0.05f)),
          slope_(r.value("slope", 0.6f)) {
        phase_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            return 0.5f * (px + slope_ * py) + turbulence_ * fbm(px, py, 5, seed_);
        });
        finePhase_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            return 0.9f * (py - 0.4f * px) + 1.2f * fbm(px * 2.3f + 5.0f, py * 2.3f, 4, seed_ + 7u);
        });
        ground_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.82f + 0.12f * fbm(x * 1.5f / scale_, y * 1.5f / scale_, 4, seed_ + 3u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float v = wave(phase_.at(x, y));
        // A sharp vein with a soft shadow around it.
        const float vein = 1.0f - smoothstep(0.0f, width_fraction_, v);
        const float halo = 1.0f - smoothstep(0.0f, width_fraction_ * 5.0f, v);
        const float v2 = wave(finePhase_.at(x, y));
        const float fine = 1.0f - smoothstep(0.0f, width_fraction_ * 0.5f, v2);
        return ground_.at(x, y) - veins_ * (0.8f * vein + 0.2f * halo) - 0.35f * veins_ * fine;
    }

  private:
    float scale_, turbulence_, veins_, width_fraction_, slope_;
    Grid phase_, finePhase_, ground_;
};

// Crystal grains of a few minerals in two sizes over a faint cloudy ground.
class Granite final : public Family<Granite> {
  public:
    explicit Granite(const Recipe& r)
        : Family(r), grain_(r.value("grain", 6.0f)), cloud_(r.value("cloud", 0.25f)) {
        grains_ = cells(grain_, seed_, 0.9f);
        ground_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return cloud_ * (0.5f + 0.5f * fbm(x / 90.0f, y / 90.0f, 4, seed_ + 9u));
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const Cells big = grains_.at(x / grain_, y / grain_);
        const float tone = float(big.id >> 8) * (1.0f / 16777216.0f);
        const float speck = 0.5f + 0.5f * gradientNoise(x / 1.7f, y / 1.7f, seed_ + 5u);
        return (1.0f - cloud_) * (0.7f * tone + 0.3f * speck) + ground_.at(x, y);
    }

  private:
    float grain_, cloud_;
    WorleyField grains_;
    Grid ground_;
};

// Split stone in layers: stretched noise with shallow clefts.
class Slate final : public Family<Slate> {
  public:
    explicit Slate(const Recipe& r)
        : Family(r), scale_(r.value("scale", 180.0f)), layers_(r.value("layers", 3.5f)) {
        body_ = sampled(4, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / (scale_ * layers_);
            const float py = y / scale_;
            const float w = fbm(px * 0.7f, py * 0.7f, 3, seed_ + 1u);
            const float body = fbm(px + 0.4f * w, py, 6, seed_);
            const float cleft = ridged(px * 2.0f + w, py * 2.0f, 3, seed_ + 2u);
            return 0.5f + 0.32f * body - 0.25f * cleft * cleft * cleft;
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        return body_.at(x, y) + 0.06f * fbm(x / 3.0f, y / 2.0f, 2, seed_ + 3u);
    }

  private:
    float scale_, layers_;
    Grid body_;
};

// Wind ripples across fine grains.
class Sand final : public Family<Sand> {
  public:
    explicit Sand(const Recipe& r)
        : Family(r),
          wavelength_(r.value("scale", 40.0f)),
          ripple_(r.value("ripple", 0.35f)),
          slant_(r.value("slant", 0.15f)) {
        bend_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            const float span = wavelength_ * 7.0f;
            return 1.6f * fbm(x / span, y / span, 3, seed_);
        });
        patches_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.12f * fbm(x / 250.0f, y / 250.0f, 3, seed_ + 5u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float r = wave((y + slant_ * x) / wavelength_ + bend_.at(x, y));
        // Ripples are steeper on one side.
        const float shaped = r * r;
        const float speckle = gradientNoise(x / 1.3f, y / 1.3f, seed_ + 6u);
        return 0.5f + ripple_ * (shaped - 0.4f) + patches_.at(x, y) + 0.1f * speckle;
    }

  private:
    float wavelength_, ripple_, slant_;
    Grid bend_, patches_;
};

// Tree bark: long vertical ridges parted by dark cracks.
class Bark final : public Family<Bark> {
  public:
    explicit Bark(const Recipe& r)
        : Family(r), scale_(r.value("scale", 40.0f)), length_(r.value("length", 6.0f)) {
        const int step = scale_ >= 40.0f ? 2 : 1;
        body_ = sampled(step, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_;
            const float py = y / (scale_ * length_);
            const float w = fbm(px * 0.5f, py * 2.0f, 3, seed_ + 1u);
            const float crack = ridged(px + 0.6f * w, py, 4, seed_);
            const float plates = fbm(px * 1.5f, py * 3.0f, 4, seed_ + 2u);
            const float c4 = crack * crack * crack * crack;
            return 0.62f + 0.18f * plates - 0.7f * c4;
        });
        fibres_ = sampled(1, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.08f * fbm(x / 2.0f, y / 35.0f, 2, seed_ + 3u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        return body_.at(x, y) + fibres_.at(x, y);
    }

  private:
    float scale_, length_;
    Grid body_, fibres_;
};

// A lawn seen from above: thin bent blades, lighter and darker patches.
class Grass final : public Family<Grass> {
  public:
    explicit Grass(const Recipe& r) : Family(r), blade_(r.value("scale", 2.5f)) {
        bend_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 14.0f * fbm(x / 90.0f, y / 90.0f, 2, seed_ + 1u);
        });
        patches_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.5f + 0.22f * fbm(x / 160.0f, y / 160.0f, 3, seed_ + 3u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float bx = x + bend_.at(x, y);
        const float blades = fbm(bx / blade_, y / (blade_ * 18.0f), 2, seed_);
        const float tips = gradientNoise(bx / (blade_ * 0.55f), y / (blade_ * 9.0f), seed_ + 2u);
        return patches_.at(x, y) + 0.36f * blades + 0.12f * tips;
    }

  private:
    float blade_;
    Grid bend_, patches_;
};

// Sky with clouds: a gradient from the zenith to the horizon under warped cloud cover.
class Clouds final : public Family<Clouds> {
  public:
    explicit Clouds(const Recipe& r)
        : Family(r),
          scale_(r.value("scale", 420.0f)),
          cover_(r.value("cover", 0.36f)),
          softness_(r.value("softness", 0.34f)),
          sky_(r.value("sky", 0.4f)) {
        density_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_;
            const float py = y / (scale_ * 0.55f);
            const float wx = fbm(px * 0.8f, py * 0.8f, 3, seed_ + 1u);
            const float wy = fbm(px * 0.8f + 3.1f, py * 0.8f, 3, seed_ + 2u);
            return 0.5f + 0.5f * fbm(px + 0.7f * wx, py + 0.7f * wy, 6, seed_);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float density = density_.at(x, y);
        const float cloud = smoothstep(cover_, cover_ + softness_, density);
        const float sky = sky_ * y / height_;
        const float lit = 0.78f + 0.22f * smoothstep(0.3f, 0.9f, density);
        return lerp(sky, lit, cloud);
    }

  private:
    float scale_, cover_, softness_, sky_;
    Grid density_;
};

// Water seen from above: a deep ground crossed by bright caustic lines.
class Water final : public Family<Water> {
  public:
    explicit Water(const Recipe& r)
        : Family(r), scale_(r.value("scale", 150.0f)), caustic_(r.value("caustic", 0.5f)) {
        warpX_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return fbm(x * 0.6f / scale_, y * 0.6f / scale_, 3, seed_ + 1u);
        });
        warpY_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return fbm(x * 0.6f / scale_ + 7.3f, y * 0.6f / scale_, 3, seed_ + 2u);
        });
        lines_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            const float wx = warpX_.at(x, y), wy = warpY_.at(x, y);
            return gradientNoise(px + 1.2f * wx, py + 1.2f * wy, seed_);
        });
        lines2_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            const float px = x / scale_, py = y / scale_;
            const float wx = warpX_.at(x, y), wy = warpY_.at(x, y);
            return gradientNoise(2.1f * px + wy, 2.1f * py - wx, seed_ + 3u);
        });
        depth_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.5f + 0.5f * fbm(x * 0.35f / scale_, y * 0.35f / scale_, 3, seed_ + 4u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float line = 1.0f - std::fabs(lines_.at(x, y));
        const float line2 = 1.0f - std::fabs(lines2_.at(x, y));
        const float l4 = line * line * line * line;
        const float c = l4 * l4 * line * 0.7f + 0.3f * line2 * line2 * line2 * line2;
        return 0.12f + 0.35f * depth_.at(x, y) + caustic_ * c;
    }

  private:
    float scale_, caustic_;
    Grid warpX_, warpY_, lines_, lines2_, depth_;
};

// Pressed cork: granules of many tones in two sizes, dark gaps, a few holes.
class Cork final : public Family<Cork> {
  public:
    explicit Cork(const Recipe& r) : Family(r), grain_(r.value("grain", 5.0f)) {
        granules_ = cells(grain_, seed_, 1.0f, 4.0f);  // the bend: less than 2 x 2 pixels
        holeCells_ = cells(45.0f, seed_ + 2u);
        bend_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 2.0f * fbm(x / 20.0f, y / 20.0f, 2, seed_ + 9u);
        });
        tone_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.35f * (0.5f + 0.5f * gradientNoise(x / (grain_ * 2.5f), y / (grain_ * 2.5f),
                                                        seed_ + 1u));
        });
        // A hole darkens only near its own centre, so the sum is smooth and can be sampled.
        holes_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            const Cells holes = holeCells_.at(x / 45.0f, y / 45.0f);
            const float hole = 0.3f * (1.0f - smoothstep(0.08f, 0.22f, holes.f1));
            return (holes.id & 7u) == 0u ? hole : 0.0f;
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x + bend_.at(x, y);
        const Cells small = granules_.at(wx / grain_, y / grain_);
        const float tone = float(small.id >> 8) * (1.0f / 16777216.0f);
        const float gap = smoothstep(0.0f, 0.2f, small.f2 - small.f1);
        return 0.2f + (0.35f * tone + tone_.at(x, y)) * (0.5f + 0.5f * gap) - holes_.at(x, y);
    }

  private:
    float grain_;
    WorleyField granules_, holeCells_;
    Grid bend_, tone_, holes_;
};

}  // namespace

std::unique_ptr<Generator> makeWood(const Recipe& r) {
    return std::make_unique<Wood>(r);
}
std::unique_ptr<Generator> makeMarble(const Recipe& r) {
    return std::make_unique<Marble>(r);
}
std::unique_ptr<Generator> makeGranite(const Recipe& r) {
    return std::make_unique<Granite>(r);
}
std::unique_ptr<Generator> makeSlate(const Recipe& r) {
    return std::make_unique<Slate>(r);
}
std::unique_ptr<Generator> makeSand(const Recipe& r) {
    return std::make_unique<Sand>(r);
}
std::unique_ptr<Generator> makeBark(const Recipe& r) {
    return std::make_unique<Bark>(r);
}
std::unique_ptr<Generator> makeGrass(const Recipe& r) {
    return std::make_unique<Grass>(r);
}
std::unique_ptr<Generator> makeClouds(const Recipe& r) {
    return std::make_unique<Clouds>(r);
}
std::unique_ptr<Generator> makeWater(const Recipe& r) {
    return std::make_unique<Water>(r);
}
std::unique_ptr<Generator> makeCork(const Recipe& r) {
    return std::make_unique<Cork>(r);
}

}  // namespace tessel::textures
