// Made things: paper, cloth, leather, walls, floors, metal. Sizes are in pixels.

#include <algorithm>
#include <cmath>

#include "textures/Families.h"
#include "textures/Noise.h"

namespace tessel::textures {

namespace {

// The cross-section of a round thread: 0 at its edges, 1 along its middle.
inline float threadProfile(float f) {
    const float c = 2.0f * f - 1.0f;
    return 1.0f - c * c;
}

inline float unitOf(std::uint32_t h) {
    return float(h >> 8) * (1.0f / 16777216.0f);
}

// a / b rounded towards zero, as the integer division gives it, for |a| < 2^24 and b > 0: the
// exact quotient lies at least 1 / b from the next whole number, farther than the rounding of
// the float division can move it. (Processors have no vector integer division.)
inline std::int32_t quotient(std::int32_t a, std::int32_t b) {
    return std::int32_t(float(a) / float(b));
}

// Paper: soft cloudy density, curly fibres and, for recycled paper, small flecks.
class Paper final : public Family<Paper> {
  public:
    explicit Paper(const Recipe& r)
        : Family(r),
          scale_(r.value("scale", 380.0f)),
          cloud_(r.value("cloud", 0.25f)),
          fibres_(r.value("fibres", 0.2f)),
          flecks_(r.value("flecks", 0.0f)) {
        cloud_grid_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.55f + cloud_ * fbm(x / scale_, y / scale_, 5, seed_);
        });
        bend_ = warp(2, 6.0f, 30.0f, 4.0f);
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        // Fibres are the thin lines where a curled noise crosses zero.
        const float wx = x + bend_.dx.at(x, y);
        const float wy = y + bend_.dy.at(x, y);
        const float strand = gradientNoise(wx / 14.0f, wy / 14.0f, seed_ + 3u);
        const float line = 1.0f - std::fabs(strand);
        const float l2 = line * line;
        const float l8 = l2 * l2 * l2 * l2;
        const float fibre = l8 * l8;
        const float felt = gradientNoise(x / 2.0f, y / 2.0f, seed_ + 4u);
        float v = cloud_grid_.at(x, y) - fibres_ * fibre + 0.05f * felt;
        // Without flecks, fleck() is 0 everywhere, and v - 0 is v.
        return v - fleck(x / 22.0f, y / 22.0f);
    }

  private:
    // Some cells of a coarse lattice hold one small dark fleck, kept away from the cell's edges
    // so that only the pixel's own cell needs looking at.
    float fleck(float u, float v) const {
        const std::int32_t i = floorToInt(u);
        const std::int32_t j = floorToInt(v);
        const std::uint32_t h = hash(i, j, seed_ + 5u);
        const bool hasFleck = unitOf(hash(i, j, seed_ + 6u)) < flecks_;
        const float dx = float(i) + 0.15f + 0.7f * float(h & 0xFFFFu) / 65536.0f - u;
        const float dy = float(j) + 0.15f + 0.7f * float(h >> 16) / 65536.0f - v;
        const float dark = 0.5f * (1.0f - smoothstep(0.04f, 0.1f, std::sqrt(dx * dx + dy * dy)));
        return hasFleck ? dark : 0.0f;
    }

    float scale_, cloud_, fibres_, flecks_;
    Grid cloud_grid_;
    Warp bend_;
};

// Plain weave (canvas, linen): warp and weft over and under, uneven slubby threads.
class Weave final : public Family<Weave> {
  public:
    explicit Weave(const Recipe& r)
        : Family(r),
          thread_(r.value("scale", 6.0f)),
          slub_(r.value("slub", 0.35f)),
          group_(std::max(1, int(r.value("group", 1.0f)))) {
        bend_ = warp(4, 1.2f, 45.0f, 9.0f);
        stain_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.08f * fbm(x / 300.0f, y / 300.0f, 3, seed_ + 6u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x + bend_.dx.at(x, y);
        const float wy = y + bend_.dy.at(x, y);
        const float tx = wx / thread_;
        const float ty = wy / thread_;
        const auto i = floorToInt(tx);
        const auto j = floorToInt(ty);
        const float fx = tx - float(i);
        const float fy = ty - float(j);
        const bool warpOnTop = ((quotient(i, group_) + quotient(j, group_)) & 1) == 0;
        // Both threads' values are worked out and one is chosen, without branches, so that a
        // row of them vectorises.
        const float across = threadProfile(fx);
        const float along = threadProfile(fy);
        const float height =
            warpOnTop ? across * (0.75f + 0.25f * along) : along * (0.75f + 0.25f * across);
        const float tone = gradientNoise(warpOnTop ? float(i) * 3.7f : wx / 40.0f,
                                         warpOnTop ? wy / 40.0f : float(j) * 3.7f,
                                         warpOnTop ? seed_ + 3u : seed_ + 4u);
        const float fuzz = gradientNoise(x / 1.2f, y / 1.2f, seed_ + 5u);
        return 0.2f + 0.55f * height + slub_ * 0.5f * tone + 0.05f * fuzz + stain_.at(x, y);
    }

  private:
    float thread_, slub_;
    int group_;
    Grid stain_;
    Warp bend_;
};

// Twill (denim): the dyed warp shows in diagonal ribs over the white weft, faded in patches.
class Twill final : public Family<Twill> {
  public:
    explicit Twill(const Recipe& r)
        : Family(r), thread_(r.value("scale", 3.0f)), fade_(r.value("fade", 0.25f)) {
        faded_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            const float f = 0.5f + 0.5f * fbm(x / 220.0f, y / 320.0f, 4, seed_);
            return fade_ * f * f;
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float tx = x / thread_;
        const float ty = y / thread_;
        const auto i = floorToInt(tx);
        const auto j = floorToInt(ty);
        const float fx = tx - float(i);
        const float fy = ty - float(j);
        const bool warpOnTop = ((i - j) & 3) != 0;
        const float weft = 0.78f + 0.18f * threadProfile(fy);
        const float slub = gradientNoise(float(i) * 2.3f, y / 90.0f, seed_ + 1u);
        const float dye = 0.18f + 0.1f * slub + faded_.at(x, y);
        const float warp = dye + 0.22f * threadProfile(fx) * (0.8f + 0.2f * threadProfile(fy));
        return warpOnTop ? warp : weft;
    }

  private:
    float thread_, fade_;
    Grid faded_;
};

// Knitted wool: columns of V-shaped stitches.
class Knit final : public Family<Knit> {
  public:
    explicit Knit(const Recipe& r)
        : Family(r), stitch_(r.value("scale", 18.0f)), fuzz_(r.value("fuzz", 0.12f)) {}

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float w = stitch_;
        const float h = stitch_ * 0.8f;
        const float tx = x / w;
        const float ty = y / h;
        const auto i = floorToInt(tx);
        const auto j = floorToInt(ty);
        const float fx = tx - float(i);
        const float fy = ty - float(j);
        // Each half of the stitch is one leg of the V, slanting towards the middle.
        const float side = fx < 0.5f ? fx * 2.0f : (1.0f - fx) * 2.0f;  // 0 outer, 1 middle
        const float across = side - 0.15f - 0.7f * fy;
        const float leg = std::max(0.0f, 1.0f - 4.0f * across * across);
        const float along = 1.0f - 0.6f * (fy - 0.5f) * (fy - 0.5f) * 4.0f;
        const float tone = gradientNoise(float(i) * 1.7f, float(j) * 0.7f, seed_ + 1u);
        const float fuzz = fbm(x / 1.5f, y / 1.5f, 2, seed_ + 2u);
        return 0.15f + 0.7f * leg * along + 0.06f * tone + fuzz_ * fuzz;
    }

  private:
    float stitch_, fuzz_;
};

// Pebbled leather: rounded grains parted by fine creases.
class Leather final : public Family<Leather> {
  public:
    explicit Leather(const Recipe& r)
        : Family(r), grain_(r.value("scale", 14.0f)), crease_(r.value("crease", 0.35f)) {
        bend_ = warp(4, 0.5f * grain_, 60.0f, 5.0f);
        // The bend moves a point less than 0.5 grain x 2 (|fbm| < 2).
        grains_ = cells(grain_, seed_, 1.0f, grain_);
        patches_ = sampled(8, 8, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.45f + 0.15f * fbm(x / 200.0f, y / 200.0f, 4, seed_ + 3u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x + bend_.dx.at(x, y);
        const float wy = y + bend_.dy.at(x, y);
        const Cells c = grains_.at(wx / grain_, wy / grain_);
        const float crease = 1.0f - smoothstep(0.0f, 0.18f, c.f2 - c.f1);
        const float dome = 1.0f - 0.7f * c.f1;
        const float fine = gradientNoise(x / 2.0f, y / 2.0f, seed_ + 4u);
        return patches_.at(x, y) + 0.2f * dome - crease_ * crease + 0.05f * fine;
    }

  private:
    float grain_, crease_;
    WorleyField grains_;
    Grid patches_;
    Warp bend_;
};

// Brick wall in running bond: bricks of varying tone and rough face, recessed mortar.
class Brick final : public Family<Brick> {
  public:
    explicit Brick(const Recipe& r)
        : Family(r),
          brickWidth_(r.value("width", 128.0f)),
          brickHeight_(r.value("height", 44.0f)),
          mortar_(r.value("mortar", 7.0f)),
          mortarLevel_(r.value("mortarlevel", 0.1f)),
          lowest_(r.value("lowest", 0.35f)) {
        bend_ = warp(2, 1.5f, 18.0f, 3.0f);
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x + bend_.dx.at(x, y);
        const float wy = y + bend_.dy.at(x, y);
        const auto row = floorToInt(wy / brickHeight_);
        const float shift = (row & 1) ? brickWidth_ * 0.5f : 0.0f;
        const auto col = floorToInt((wx + shift) / brickWidth_);
        const float fx = wx + shift - float(col) * brickWidth_;
        const float fy = wy - float(row) * brickHeight_;
        const float half = mortar_ * 0.5f;
        const float edge = std::min(std::min(fx - half, brickWidth_ - half - fx),
                                    std::min(fy - half, brickHeight_ - half - fy));
        const float grit = gradientNoise(x / 2.0f, y / 2.0f, seed_ + 3u);
        const float mortar = mortarLevel_ + 0.06f * grit;
        const float tone = lowest_ + (1.0f - lowest_) * unitOf(hash(col, row, seed_ + 4u));
        const float face = 0.1f * fbm(x / 10.0f, y / 10.0f, 2, seed_ + 5u) + 0.05f * grit;
        const float bevel = smoothstep(0.0f, 3.0f, edge);
        const float brick = lowest_ + (tone - lowest_) * (0.6f + 0.4f * bevel) + face;
        return edge < 0.0f ? mortar : brick;
    }

  private:
    float brickWidth_, brickHeight_, mortar_, mortarLevel_, lowest_;
    Warp bend_;
};

// Cobblestones: rounded irregular stones set in dark joints.
class Cobble final : public Family<Cobble> {
  public:
    explicit Cobble(const Recipe& r)
        : Family(r), stone_(r.value("scale", 48.0f)), joint_(r.value("joint", 0.07f)) {
        // The bends move a point less than 0.18 x 2 stones.
        stones_ = cells(stone_, seed_, 0.85f, 0.36f * stone_);
        bendX_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.18f * fbm(x * 1.7f / stone_, y * 1.7f / stone_, 3, seed_ + 1u);
        });
        bendY_ = sampled(4, 4, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.18f * fbm(x * 1.7f / stone_ + 6.0f, y * 1.7f / stone_, 3, seed_ + 2u);
        });
        face_ = sampled(2, 2, [this](float x, float y) TESSEL_ROW_INLINE {
            return 0.08f * fbm(x / 12.0f, y / 12.0f, 2, seed_ + 4u);
        });
    }

    [[gnu::always_inline]] float at(float x, float y) const override {
        const float wx = x / stone_ + bendX_.at(x, y);
        const float wy = y / stone_ + bendY_.at(x, y);
        const Cells c = stones_.at(wx, wy);
        const float edge = c.f2 - c.f1;
        const float grit = gradientNoise(x / 2.5f, y / 2.5f, seed_ + 3u);
        const float joint = 0.06f + 0.05f * grit;
        const float round = smoothstep(joint_, joint_ + 0.3f, edge);
        const float tone = 0.35f + 0.55f * unitOf(c.id);
        const float stone =
            0.2f + (tone - 0.2f) * (0.55f + 0.45f * round) + face_.at(x, y) + 0.04f * grit;
        return edge < joint_ ? joint : stone;
    }

  private:
    float stone_, joint_;
    WorleyField stones_;
    Grid bendX_, bendY_, face_;
};

}  // namespace

std::unique_ptr<Generator> makePaper(const Recipe& r) {
    return std::make_unique<Paper>(r);
}
std::unique_ptr<Generator> makeWeave(const Recipe& r) {
    return std::make_unique<Weave>(r);
}
std::unique_ptr<Generator> makeTwill(const Recipe& r) {
    return std::make_unique<Twill>(r);
}
std::unique_ptr<Generator> makeKnit(const Recipe& r) {
    return std::make_unique<Knit>(r);
}
std::unique_ptr<Generator> makeLeather(const Recipe& r) {
    return std::make_unique<Leather>(r);
}
std::unique_ptr<Generator> makeBrick(const Recipe& r) {
    return std::make_unique<Brick>(r);
}
std::unique_ptr<Generator> makeCobble(const Recipe& r) {
    return std::make_unique<Cobble>(r);
}

}  // namespace tessel::textures
