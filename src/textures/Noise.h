#pragma once
// Deterministic noise for the generated textures: an integer hash, gradient noise, fractal sums,
// ridged sums, Worley cells and a smooth periodic wave. Everything is integer hashing and plain
// float arithmetic (no library transcendental functions), so a number always gives the same
// pixels.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

// The noise functions are forced inline: a row of them then compiles to straight-line code that
// the compiler vectorises (see textures/Rows.h).
#define TESSEL_NOISE_INLINE [[gnu::always_inline]] inline

namespace tessel::textures {

// A well-mixed 32-bit hash of a lattice point and a seed.
TESSEL_NOISE_INLINE std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = (seed * 0x9E3779B9u) ^ (std::uint32_t(x) * 0x85EBCA6Bu);
    h = (h ^ (h >> 15)) * 0x2C1B3C6Du;
    h ^= std::uint32_t(y) * 0xC2B2AE35u;
    h = (h ^ (h >> 13)) * 0x297A2D39u;
    h ^= h >> 16;
    return h;
}

// The largest whole number not above v, as an integer and without a library call (for the
// values textures use, well inside the int range).
TESSEL_NOISE_INLINE std::int32_t floorToInt(float v) {
    const auto i = std::int32_t(v);
    return i - std::int32_t(float(i) > v);
}

// The hash as a number in [0, 1).
TESSEL_NOISE_INLINE float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return float(hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

TESSEL_NOISE_INLINE float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}
TESSEL_NOISE_INLINE float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
TESSEL_NOISE_INLINE float smoothstep(float edge0, float edge1, float v) {
    const float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}
TESSEL_NOISE_INLINE float fract(float v) {
    return v - float(floorToInt(v));
}

// A smooth wave of period 1 between 0 and 1 (0 at whole numbers, 1 half-way), close to a
// raised cosine.
TESSEL_NOISE_INLINE float wave(float v) {
    const float f = fract(v);
    const float tri = 1.0f - std::fabs(2.0f * f - 1.0f);
    return tri * tri * (3.0f - 2.0f * tri);
}

namespace detail {

// Sixteen unit gradients, 22.5 degrees apart.
inline constexpr float kGradients[16][2] = {
    {1.0f, 0.0f},
    {0.9238795f, 0.3826834f},
    {0.7071068f, 0.7071068f},
    {0.3826834f, 0.9238795f},
    {0.0f, 1.0f},
    {-0.3826834f, 0.9238795f},
    {-0.7071068f, 0.7071068f},
    {-0.9238795f, 0.3826834f},
    {-1.0f, 0.0f},
    {-0.9238795f, -0.3826834f},
    {-0.7071068f, -0.7071068f},
    {-0.3826834f, -0.9238795f},
    {0.0f, -1.0f},
    {0.3826834f, -0.9238795f},
    {0.7071068f, -0.7071068f},
    {0.9238795f, -0.3826834f},
};

TESSEL_NOISE_INLINE float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// Each octave turns the plane by about 37 degrees and shifts it, so that lattice lines and the
// zero at the origin do not coincide from one octave to the next.
inline constexpr float kTurnCos = 0.8f;
inline constexpr float kTurnSin = 0.6f;

}  // namespace detail

// Gradient (Perlin) noise with lattice spacing 1, roughly in [-1, 1] and never beyond +-2 (each
// corner's term is at most sqrt(2), times 1.4), 0 on the lattice. (Inline,
// like the sums below: the textures call it millions of times with constant seeds and octaves.)
TESSEL_NOISE_INLINE float gradientNoise(float x, float y, std::uint32_t seed) {
    using detail::kGradients;
    const std::int32_t ix = floorToInt(x);
    const std::int32_t iy = floorToInt(y);
    const float dx = x - float(ix);
    const float dy = y - float(iy);
    // The four corner hashes, worked out as hash() does, sharing the half that depends on x
    // only and the y terms.
    const std::uint32_t s = seed * 0x9E3779B9u;
    const std::uint32_t mx0 = std::uint32_t(ix) * 0x85EBCA6Bu;
    const std::uint32_t mx1 = mx0 + 0x85EBCA6Bu;
    std::uint32_t a0 = s ^ mx0;
    std::uint32_t a1 = s ^ mx1;
    a0 = (a0 ^ (a0 >> 15)) * 0x2C1B3C6Du;
    a1 = (a1 ^ (a1 >> 15)) * 0x2C1B3C6Du;
    const std::uint32_t my0 = std::uint32_t(iy) * 0xC2B2AE35u;
    const std::uint32_t my1 = my0 + 0xC2B2AE35u;
    const auto finish = [](std::uint32_t h) {
        h = (h ^ (h >> 13)) * 0x297A2D39u;
        return (h ^ (h >> 16)) & 15u;
    };
    const std::uint32_t h00 = finish(a0 ^ my0);
    const std::uint32_t h10 = finish(a1 ^ my0);
    const std::uint32_t h01 = finish(a0 ^ my1);
    const std::uint32_t h11 = finish(a1 ^ my1);
    const float dx1 = dx - 1.0f;
    const float dy1 = dy - 1.0f;
    const float n00 = kGradients[h00][0] * dx + kGradients[h00][1] * dy;
    const float n10 = kGradients[h10][0] * dx1 + kGradients[h10][1] * dy;
    const float n01 = kGradients[h01][0] * dx + kGradients[h01][1] * dy1;
    const float n11 = kGradients[h11][0] * dx1 + kGradients[h11][1] * dy1;
    const float u = detail::fade(dx);
    const float v = detail::fade(dy);
    // Unit gradients reach at most about 0.7; stretch to about [-1, 1].
    return 1.4f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

namespace detail {

template <typename Shape>
TESSEL_NOISE_INLINE float fractal(float x, float y, int octaves, std::uint32_t seed, float gain,
                                  Shape shape) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
    // Unrolled, so that a row of these becomes straight-line code the compiler can vectorise.
#pragma GCC unroll 8
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * shape(gradientNoise(x, y, seed + std::uint32_t(i) * 1013u));
        total += amplitude;
        amplitude *= gain;
        const float nx = 2.0f * (kTurnCos * x - kTurnSin * y) + 17.31f;
        const float ny = 2.0f * (kTurnSin * x + kTurnCos * y) + 9.73f;
        x = nx;
        y = ny;
    }
    return sum / total;
}

}  // namespace detail

// A fractal sum of gradient noise: each octave doubles the frequency, multiplies the amplitude
// by gain and turns the plane, so that no lattice lines line up. Normalised to about [-1, 1].
TESSEL_NOISE_INLINE float fbm(float x, float y, int octaves, std::uint32_t seed,
                              float gain = 0.5f) {
    return detail::fractal(x, y, octaves, seed, gain, [](float n) { return n; });
}
// The fractal sum of |noise|, in [0, 1]: billowy shapes.
TESSEL_NOISE_INLINE float turbulence(float x, float y, int octaves, std::uint32_t seed,
                                     float gain = 0.5f) {
    return detail::fractal(x, y, octaves, seed, gain, [](float n) { return std::fabs(n); });
}
// The fractal sum of (1 - |noise|)^2, in [0, 1]: sharp ridges.
TESSEL_NOISE_INLINE float ridged(float x, float y, int octaves, std::uint32_t seed,
                                 float gain = 0.5f) {
    return detail::fractal(x, y, octaves, seed, gain, [](float n) {
        const float r = 1.0f - std::fabs(n);
        return r * r;
    });
}

// Worley cells with one jittered feature point per unit cell.
struct Cells {
    float f1;            // distance to the nearest feature point
    float f2;            // distance to the second nearest
    std::uint32_t id;    // a hash that names the nearest cell
    float nearX, nearY;  // the nearest feature point
};

namespace detail {

// The Worley search around the cell (ix, iy) that holds (x, y): offsets(k) gives the jittered
// feature point of neighbour k (k = 3 * (dy + 1) + (dx + 1), dx, dy in -1..1) as an (x, y)
// pair inside its cell. Written without branches (the nearest point is a coin toss for the
// processor, and a row of searches vectorises); keeps the first of equally near points, as a
// plain search in this order would.
template <typename Offsets>
TESSEL_NOISE_INLINE Cells nearestFeature(float x, float y, std::int32_t ix, std::int32_t iy,
                                         std::uint32_t seed, float jitter, const Offsets& offsets) {
    const float offset = 0.5f * (1.0f - jitter);
    const float dx0 = float(ix) - x + offset;
    const float dy0 = float(iy) - y + offset;
    float best = 1e30f;
    float second = 1e30f;
    int bestK = 4;
    float bestX = 0.0f, bestY = 0.0f;
#pragma GCC unroll 3
    for (int j = -1, k = 0; j <= 1; ++j) {
        const float dy = dy0 + float(j);
#pragma GCC unroll 3
        for (int i = -1; i <= 1; ++i, ++k) {
            const auto [ox, oy] = offsets(k);
            const float px = dx0 + float(i) + ox;
            const float py = dy + oy;
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

}  // namespace detail

// Worley cells, hashing the nine feature points around the point (the reference WorleyField
// is checked against).
Cells worley(float x, float y, std::uint32_t seed, float jitter = 1.0f);

// worley() for a field that is read all over one region, as a texture reads it: the feature
// points of every cell of the region are worked out once, when the field is made, instead of
// nine hashes for each cell a point falls in. Every point of the region gets the answer worley()
// gives. There is no slow path for points outside it, so that a row of lookups compiles to
// vector code: the region's border cells stand in for the cells beyond, which gives a plausible
// answer but not worley()'s. The textures make their regions cover every point they can ask for.
class WorleyField {
  public:
    // A field of seed 0 and jitter 1 over the single cell at the origin.
    WorleyField() : WorleyField(0u, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f) {}
    // The region is [firstX, lastX] x [firstY, lastY] in cell units (lastX >= firstX,
    // lastY >= firstY).
    WorleyField(std::uint32_t seed, float jitter, float firstX, float firstY, float lastX,
                float lastY);

    [[gnu::always_inline]] Cells at(float x, float y) const {
        const std::int32_t ix = floorToInt(x);
        const std::int32_t iy = floorToInt(y);
        // The top-left of the 3 x 3 cells around the point, kept inside the table.
        const std::int32_t ti = std::clamp(ix - 1 - i0_, 0, columns_ - 3);
        const std::int32_t tj = std::clamp(iy - 1 - j0_, 0, rows_ - 3);
        // 32-bit indices into separate tables, so that a vectorised row gathers them.
        const float* offsetX = offsetX_.data();
        const float* offsetY = offsetY_.data();
        const int p = tj * columns_ + ti;
        const int columns = columns_;
        return detail::nearestFeature(x, y, ix, iy, seed_, jitter_, [&](int k) {
            const int cell = p + (k / 3) * columns + k % 3;
            return std::pair<float, float>(offsetX[cell], offsetY[cell]);
        });
    }

  private:
    std::uint32_t seed_ = 0;
    float jitter_ = 1.0f;
    std::int32_t i0_ = 0, j0_ = 0;
    std::int32_t columns_ = 0, rows_ = 0;
    std::vector<float> offsetX_, offsetY_;  // each cell's feature point, row by row
};

}  // namespace tessel::textures
