#pragma once
// The texture generators: each family turns a pixel position into a value from 0 to 1 that the
// recipe's palette colours. A generator reads its parameters from the recipe once, when it is
// made, and is then used from several threads at once (at() is const and keeps no state).

#include <QStringList>
#include <cstdint>
#include <memory>

#include "textures/Grid.h"
#include "textures/Noise.h"
#include "textures/Recipe.h"

namespace tessel::textures {

class Generator {
  public:
    explicit Generator(const Recipe& recipe);
    virtual ~Generator() = default;
    // The value at the pixel centre (x, y); the caller clamps it to 0..1.
    virtual float at(float x, float y) const = 0;
    // at() for the first `count` pixel centres of the row whose centre is at y.
    virtual void row(float y, int count, float* out) const {
        for (int x = 0; x < count; ++x) out[x] = at(float(x) + 0.5f, y);
    }

  protected:
    // A smooth part of the texture, sampled every stepX / stepY pixels (see Grid).
    template <typename F>
    Grid sampled(int stepX, int stepY, F f) const {
        return Grid(int(width_), int(height_), stepX, stepY, f, neededWidth_, neededHeight_);
    }
    // A smooth displacement of every pixel (a domain warp), sampled every `step` pixels: each
    // component is amplitude * fbm(x / scale, y / scale) of two octaves, the vertical one
    // shifted by `offset` in noise space. (The octaves are fixed, so that the compiler unrolls
    // and vectorises them.)
    struct Warp {
        Grid dx, dy;
    };
    Warp warp(int step, float amplitude, float scale, float offset) const {
        const std::uint32_t seed = seed_;
        return {sampled(step, step,
                        [=](float x, float y) TESSEL_ROW_INLINE {
                            return amplitude * fbm(x / scale, y / scale, 2, seed + 1u);
                        }),
                sampled(step, step, [=](float x, float y) TESSEL_ROW_INLINE {
                    return amplitude * fbm(x / scale + offset, y / scale, 2, seed + 2u);
                })};
    }
    // Worley cells of size `size` pixels for the part of the picture that will be asked for and
    // `reach` pixels beyond it on every side: a generator that displaces its points passes how
    // far they can move (plus room for sampled grids, which read a few pixels past the edge).
    WorleyField cells(float size, std::uint32_t seed, float jitter = 1.0f,
                      float reach = 0.0f) const {
        const float margin = reach + 16.0f;
        return WorleyField(seed, jitter, -margin / size, -margin / size,
                           (float(neededWidth_) + margin) / size,
                           (float(neededHeight_) + margin) / size);
    }
    // The place of palette colour k (for generators that pick whole colours).
    float stop(int k) const { return stops_[k]; }
    int colourCount() const { return int(stops_.size()); }

    std::uint32_t seed_;
    float width_;
    float height_;
    // The top-left part of the picture that will be asked for (the recipe's extent).
    int neededWidth_;
    int neededHeight_;

  private:
    QList<float> stops_;
};

// The base of a family: its rows call its own at() directly, so that the compiler can inline
// and vectorise the whole row (see textures/Rows.h).
template <typename Self>
class Family : public Generator {
  public:
    using Generator::Generator;
    void row(float y, int count, float* out) const final {
        const Self& self = static_cast<const Self&>(*this);
        fillRow(out, count, 1, y,
                [&self](float x, float y) TESSEL_ROW_INLINE { return self.Self::at(x, y); });
    }
};

// The names of every family, in the order of the factory table.
const QStringList& knownFamilies();
// The generator of the recipe's family (null for a family the program does not know).
std::unique_ptr<Generator> makeGenerator(const Recipe& recipe);

}  // namespace tessel::textures
