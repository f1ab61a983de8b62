// The noise functions the textures are made of, and the sampled grid.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <thread>
#include <vector>

#include "textures/Grid.h"
#include "textures/Noise.h"
#include "textures/Parallel.h"

namespace tessel::textures {
namespace {

TEST(NoiseTest, FloorHandlesNegativesAndWholeNumbers) {
    EXPECT_EQ(floorToInt(2.7f), 2);
    EXPECT_EQ(floorToInt(-2.2f), -3);
    EXPECT_EQ(floorToInt(-3.0f), -3);
    EXPECT_EQ(floorToInt(0.0f), 0);
    EXPECT_FLOAT_EQ(fract(-0.25f), 0.75f);
}

TEST(NoiseTest, GradientNoiseIsZeroOnTheLatticeAndBoundedBetween) {
    float low = 0, high = 0;
    for (int j = -40; j < 40; ++j) {
        for (int i = -40; i < 40; ++i) {
            EXPECT_EQ(gradientNoise(float(i), float(j), 7u), 0.0f);
            const float n = gradientNoise(i * 0.37f + 0.11f, j * 0.29f + 0.05f, 7u);
            low = std::min(low, n);
            high = std::max(high, n);
        }
    }
    EXPECT_GE(low, -1.0f);
    EXPECT_LE(high, 1.0f);
    EXPECT_LT(low, -0.4f);  // it does swing both ways
    EXPECT_GT(high, 0.4f);
}

TEST(NoiseTest, SeedsGiveDifferentNoiseAndSumsStayInRange) {
    int differing = 0;
    for (int i = 0; i < 100; ++i) {
        const float x = i * 0.73f + 0.3f, y = i * 0.41f + 0.2f;
        differing += gradientNoise(x, y, 1u) != gradientNoise(x, y, 2u);
        const float f = fbm(x, y, 6, 3u);
        const float t = turbulence(x, y, 5, 3u);
        const float r = ridged(x, y, 4, 3u);
        EXPECT_TRUE(f >= -1.0f && f <= 1.0f) << f;
        EXPECT_TRUE(t >= 0.0f && t <= 1.0f) << t;
        EXPECT_TRUE(r >= 0.0f && r <= 1.0f) << r;
    }
    EXPECT_GT(differing, 90);
}

TEST(NoiseTest, WorleyDistancesAreOrderedAndNameTheNearestCell) {
    for (int i = 0; i < 200; ++i) {
        const float x = i * 0.173f - 7.0f, y = i * 0.091f - 3.0f;
        const Cells c = worley(x, y, 11u);
        EXPECT_LE(c.f1, c.f2);
        EXPECT_NEAR(std::hypot(c.nearX - x, c.nearY - y), c.f1, 1e-4f);
        // A point a hair away lies in the same cell with almost the same distance.
        const Cells d = worley(x + 1e-4f, y, 11u);
        if (c.f2 - c.f1 > 1e-2f) {
            EXPECT_EQ(c.id, d.id);
        }
    }
}

TEST(NoiseTest, WorleyFieldAnswersExactlyAsWorleyInsideItsRegion) {
    // The region covers cells -2..30 x -1..20; points run through negative coordinates, across
    // cell borders and out beyond the region on every side, for three jitters.
    for (const float jitter : {1.0f, 0.85f, 0.5f}) {
        const WorleyField field(23u, jitter, -2.0f, -1.0f, 30.0f, 20.0f);
        int inside = 0;
        for (int j = 0; j < 90; ++j) {
            for (int i = 0; i < 120; ++i) {
                const float x = -6.0f + i * 0.3137f;
                const float y = -4.0f + j * 0.2891f;
                const Cells a = field.at(x, y);
                ASSERT_LE(a.f1, a.f2);
                if (x < -2.0f || x >= 31.0f || y < -1.0f || y >= 21.0f) {
                    // Beyond the region: the border cells stand in, so some feature point
                    // still lies within reach.
                    ASSERT_TRUE(std::isfinite(a.f1) && std::isfinite(a.f2));
                    continue;
                }
                ++inside;
                const Cells b = worley(x, y, 23u, jitter);
                ASSERT_EQ(a.f1, b.f1) << x << "," << y;
                ASSERT_EQ(a.f2, b.f2) << x << "," << y;
                ASSERT_EQ(a.id, b.id) << x << "," << y;
                ASSERT_EQ(a.nearX, b.nearX) << x << "," << y;
                ASSERT_EQ(a.nearY, b.nearY) << x << "," << y;
            }
        }
        EXPECT_GT(inside, 5000);
    }
    // A field made without a region covers the cell at the origin.
    const WorleyField origin;
    EXPECT_EQ(origin.at(0.25f, 0.75f).f1, worley(0.25f, 0.75f, 0u).f1);
    EXPECT_EQ(origin.at(0.25f, 0.75f).id, worley(0.25f, 0.75f, 0u).id);
}

TEST(NoiseTest, WaveRunsFromZeroToOneAndBack) {
    EXPECT_FLOAT_EQ(wave(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(wave(0.5f), 1.0f);
    EXPECT_FLOAT_EQ(wave(3.0f), 0.0f);
    EXPECT_NEAR(wave(0.25f), 0.5f, 1e-6f);
    EXPECT_NEAR(wave(-0.25f), wave(0.25f), 1e-6f);
}

TEST(GridTest, MatchesItsSamplesAndInterpolatesLinearlyBetween) {
    // A plane is reproduced exactly everywhere, the samples included.
    const Grid plane(100, 60, 8, 4, [](float x, float y) { return 2.0f * x - 3.0f * y + 1.0f; });
    for (int y = 0; y < 60; y += 7)
        for (int x = 0; x < 100; x += 9)
            EXPECT_NEAR(plane.at(x + 0.5f, y + 0.5f), 2.0f * (x + 0.5f) - 3.0f * (y + 0.5f) + 1.0f,
                        1e-3f);
    // The last pixels of a size that is not a multiple of the step still lie between samples.
    const Grid edge(101, 61, 8, 8, [](float x, float) { return x; });
    EXPECT_NEAR(edge.at(100.5f, 60.5f), 100.5f, 1e-3f);
}

TEST(ParallelTest, EveryRowIsWorkedOnceWhateverTheBandSize) {
    EXPECT_GE(usableCores(), 1);
    for (const int rows : {1, 15, 16, 17, 1000}) {
        for (const int band : {1, 4, 16, 2000}) {
            std::vector<std::atomic<int>> visits(static_cast<std::size_t>(rows));
            forEachBand(
                rows,
                [&](int first, int end) {
                    EXPECT_LE(end - first, band);
                    for (int y = first; y < end; ++y) ++visits[std::size_t(y)];
                },
                band);
            for (int y = 0; y < rows; ++y)
                ASSERT_EQ(visits[std::size_t(y)].load(), 1) << rows << " rows, band " << band;
        }
    }
    forEachBand(0, [](int, int) { ADD_FAILURE() << "no rows, no work"; });
}

// A band that throws: every thread is joined, then the caller gets the exception of a band that
// threw (whichever thread ran it), and no band is still running once it has arrived.
TEST(ParallelTest, AThrowingBandReachesTheCallerAfterEveryThreadHasEnded) {
    for (const int throwingBand : {0, 3, 62, -1}) {  // -1: every band throws
        std::atomic<int> running{0};
        std::atomic<int> started{0};
        bool caught = false;
        try {
            forEachBand(
                1000,
                [&](int first, int) {
                    ++running;
                    ++started;
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    --running;
                    if (throwingBand < 0 || first / 16 == throwingBand) {
                        throw std::runtime_error("band " + std::to_string(first / 16));
                    }
                },
                16);
        } catch (const std::runtime_error& error) {
            caught = true;
            EXPECT_EQ(running.load(), 0);
            if (throwingBand >= 0) {
                EXPECT_EQ(std::string(error.what()), "band " + std::to_string(throwingBand));
            }
        }
        EXPECT_TRUE(caught) << "band " << throwingBand;
        const int afterwards = started.load();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(started.load(), afterwards) << "a band started after the exception arrived";
    }
}

}  // namespace
}  // namespace tessel::textures
