#pragma once
// Deterministic noise for the generated textures: an integer hash, gradient noise, fractal sums,
// ridged sums, Worley cells and a smooth periodic wave. Everything is integer hashing and plain
// float arithmetic (no library transcendental functions), so a number always gives the same
// pixels.

#include <cmath>
#include <cstdint>

namespace tessel::textures {

// A well-mixed 32-bit hash of a lattice point and a seed.
inline std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = (seed * 0x9E3779B9u) ^ (std::uint32_t(x) * 0x85EBCA6Bu);
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= std::uint32_t(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    h ^= h >> 16;
    return h;
}

// The largest whole number not above v, as an integer and without a library call (for the
// values textures use, well inside the int range).
inline std::int32_t floorToInt(float v) {
    const auto i = std::int32_t(v);
    return float(i) > v ? i - 1 : i;
}

// The hash as a number in [0, 1).
inline float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return float(hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

inline float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}
inline float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
inline float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}
inline float fract(float v) {
    return v - float(floorToInt(v));
}

// A smooth wave of period 1 between 0 and 1 (0 at whole numbers, 1 half-way), close to a
// raised cosine.
inline float wave(float v) {
    const float f = fract(v);
    const float tri = 1.0f - std::fabs(2.0f * f - 1.0f);
    return tri * tri * (3.0f - 2.0f * tri);
}

// Gradient (Perlin) noise with lattice spacing 1, roughly in [-1, 1], 0 on the lattice.
float gradientNoise(float x, float y, std::uint32_t seed);

// A fractal sum of gradient noise: each octave doubles the frequency, multiplies the amplitude
// by gain and turns the plane, so that no lattice lines line up. Normalised to about [-1, 1].
float fbm(float x, float y, int octaves, std::uint32_t seed, float gain = 0.5f);
// The fractal sum of |noise|, in [0, 1]: billowy shapes.
float turbulence(float x, float y, int octaves, std::uint32_t seed, float gain = 0.5f);
// The fractal sum of (1 - |noise|)^2, in [0, 1]: sharp ridges.
float ridged(float x, float y, int octaves, std::uint32_t seed, float gain = 0.5f);

// Worley cells with one jittered feature point per unit cell.
struct Cells {
    float f1;            // distance to the nearest feature point
    float f2;            // distance to the second nearest
    std::uint32_t id;    // a hash that names the nearest cell
    float nearX, nearY;  // the nearest feature point
};
Cells worley(float x, float y, std::uint32_t seed, float jitter = 1.0f);

}  // namespace tessel::textures
