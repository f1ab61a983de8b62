#include "textures/Noise.h"

namespace tessel::textures {

namespace {

// Sixteen unit gradients, 22.5 degrees apart.
constexpr float kGradients[16][2] = {
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

inline float corner(std::int32_t cx, std::int32_t cy, float dx, float dy, std::uint32_t seed) {
    const float* g = kGradients[hash(cx, cy, seed) & 15u];
    return g[0] * dx + g[1] * dy;
}

inline float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

// Each octave turns the plane by about 37 degrees and shifts it, so that lattice lines and the
// zero at the origin do not coincide from one octave to the next.
constexpr float kTurnCos = 0.8f;
constexpr float kTurnSin = 0.6f;

template <typename Shape>
float fractal(float x, float y, int octaves, std::uint32_t seed, float gain, Shape shape) {
    float sum = 0.0f;
    float amplitude = 1.0f;
    float total = 0.0f;
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

}  // namespace

float gradientNoise(float x, float y, std::uint32_t seed) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = std::int32_t(fx);
    const auto iy = std::int32_t(fy);
    const float dx = x - fx;
    const float dy = y - fy;
    const float n00 = corner(ix, iy, dx, dy, seed);
    const float n10 = corner(ix + 1, iy, dx - 1.0f, dy, seed);
    const float n01 = corner(ix, iy + 1, dx, dy - 1.0f, seed);
    const float n11 = corner(ix + 1, iy + 1, dx - 1.0f, dy - 1.0f, seed);
    const float u = fade(dx);
    const float v = fade(dy);
    // Unit gradients reach at most about 0.7; stretch to about [-1, 1].
    return 1.4f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float fbm(float x, float y, int octaves, std::uint32_t seed, float gain) {
    return fractal(x, y, octaves, seed, gain, [](float n) { return n; });
}

float turbulence(float x, float y, int octaves, std::uint32_t seed, float gain) {
    return fractal(x, y, octaves, seed, gain, [](float n) { return std::fabs(n); });
}

float ridged(float x, float y, int octaves, std::uint32_t seed, float gain) {
    return fractal(x, y, octaves, seed, gain, [](float n) {
        const float r = 1.0f - std::fabs(n);
        return r * r;
    });
}

Cells worley(float x, float y, std::uint32_t seed, float jitter) {
    const float fx = std::floor(x);
    const float fy = std::floor(y);
    const auto ix = std::int32_t(fx);
    const auto iy = std::int32_t(fy);
    float best = 1e30f;
    float second = 1e30f;
    Cells cells{0.0f, 0.0f, 0u, 0.0f, 0.0f};
    const float offset = 0.5f * (1.0f - jitter);
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const std::uint32_t h = hash(ix + i, iy + j, seed);
            const float px = fx + float(i) + offset + jitter * float(h & 0xFFFFu) / 65536.0f;
            const float py = fy + float(j) + offset + jitter * float(h >> 16) / 65536.0f;
            const float d = (px - x) * (px - x) + (py - y) * (py - y);
            if (d < best) {
                second = best;
                best = d;
                cells.id = hash(ix + i, iy + j, seed ^ 0x5BD1E995u);
                cells.nearX = px;
                cells.nearY = py;
            } else if (d < second) {
                second = d;
            }
        }
    }
    cells.f1 = std::sqrt(best);
    cells.f2 = std::sqrt(second);
    return cells;
}

}  // namespace tessel::textures
