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

  protected:
    // A smooth part of the texture, sampled every stepX / stepY pixels (see Grid).
    template <typename F>
    Grid sampled(int stepX, int stepY, F f) const {
        return Grid(int(width_), int(height_), stepX, stepY, f, neededWidth_, neededHeight_);
    }
    // A smooth displacement of every pixel (a domain warp), sampled every `step` pixels: each
    // component is amplitude * fbm(x / scale, y / scale), the vertical one shifted by `offset`
    // in noise space.
    struct Warp {
        Grid dx, dy;
    };
    Warp warp(int step, float amplitude, float scale, int octaves, float offset) const {
        return {sampled(step, step,
                        [=, this](float x, float y) {
                            return amplitude * fbm(x / scale, y / scale, octaves, seed_ + 1u);
                        }),
                sampled(step, step, [=, this](float x, float y) {
                    return amplitude * fbm(x / scale + offset, y / scale, octaves, seed_ + 2u);
                })};
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

// The names of every family, in the order of the factory table.
const QStringList& knownFamilies();
// The generator of the recipe's family (null for a family the program does not know).
std::unique_ptr<Generator> makeGenerator(const Recipe& recipe);

}  // namespace tessel::textures
