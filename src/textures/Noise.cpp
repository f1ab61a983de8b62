#include "textures/Noise.h"

#include <algorithm>

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

namespace {

// The jittered feature points around one lattice cell. Neighbouring pixels mostly fall in the
// same cell, so each thread keeps the last few neighbourhoods it worked out; the arithmetic is
// the same either way, so the cache never changes a result.
struct Neighbourhood {
    std::int32_t ix = 0, iy = 0;
    std::uint32_t seed = 0;
    float jitter = -1.0f;
    float offsetX[9], offsetY[9];
};

const Neighbourhood& neighbourhood(std::int32_t ix, std::int32_t iy, std::uint32_t seed,
                                   float jitter) {
    constexpr int kSlots = 4;
    thread_local Neighbourhood slots[kSlots];
    thread_local int next = 0;
    for (const Neighbourhood& n : slots)
        if (n.ix == ix && n.iy == iy && n.seed == seed && n.jitter == jitter) return n;
    Neighbourhood& n = slots[next];
    next = (next + 1) % kSlots;
    n.ix = ix;
    n.iy = iy;
    n.seed = seed;
    n.jitter = jitter;
    const float scale = jitter / 65536.0f;
    for (int j = -1, k = 0; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i, ++k) {
            const std::uint32_t h = hash(ix + i, iy + j, seed);
            n.offsetX[k] = scale * float(h & 0xFFFFu);
            n.offsetY[k] = scale * float(h >> 16);
        }
    }
    return n;
}

}  // namespace

Cells worley(float x, float y, std::uint32_t seed, float jitter) {
    const std::int32_t ix = floorToInt(x);
    const std::int32_t iy = floorToInt(y);
    const Neighbourhood& n = neighbourhood(ix, iy, seed, jitter);
    const float offset = 0.5f * (1.0f - jitter);
    const float dx0 = float(ix) - x + offset;
    const float dy0 = float(iy) - y + offset;
    float best = 1e30f;
    float second = 1e30f;
    int bestK = 4;
    float bestX = 0.0f, bestY = 0.0f;
    // Written without branches (the nearest point is a coin toss for the processor); keeps
    // the first of equally near points, as a plain search in this order would.
#pragma GCC unroll 3
    for (int j = -1, k = 0; j <= 1; ++j) {
        const float dy = dy0 + float(j);
#pragma GCC unroll 3
        for (int i = -1; i <= 1; ++i, ++k) {
            const float px = dx0 + float(i) + n.offsetX[k];
            const float py = dy + n.offsetY[k];
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

}  // namespace tessel::textures
