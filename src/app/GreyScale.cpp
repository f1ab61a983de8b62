#include "app/GreyScale.h"

#include <array>
#include <cstdint>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TESSEL_WIDE_GREY 1
#endif

#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr float kRedWeight = 0.3f;
constexpr float kGreenWeight = 0.59f;
constexpr float kBlueWeight = 0.11f;

// The three rounding steps as two tables of 256 x 256 bytes: the first maps (red, green) to the
// grey after the second step, the second maps (that grey, blue) to the final grey. Each entry is
// computed with the exact steps of greyOf, so the tables give the same result.
struct GreyTables {
    std::array<std::uint8_t, 256 * 256> redGreen{};
    std::array<std::uint8_t, 256 * 256> withBlue{};

    GreyTables() {
        for (int red = 0; red < 256; ++red) {
            const long first = roundToInt((long double)kRedWeight * red);
            for (int green = 0; green < 256; ++green) {
                redGreen[red * 256 + green] =
                    std::uint8_t(roundToInt((long double)kGreenWeight * green + first));
            }
        }
        for (int partial = 0; partial < 256; ++partial) {
            for (int blue = 0; blue < 256; ++blue) {
                const long grey = roundToInt((long double)kBlueWeight * blue + partial);
                withBlue[partial * 256 + blue] = std::uint8_t(grey > 255 ? 255 : grey);
            }
        }
    }
};

const GreyTables& greyTables() {
    static const GreyTables tables;
    return tables;
}

void greyRowByTables(std::uint32_t* row, int count) {
    const GreyTables& tables = greyTables();
    const std::uint8_t* redGreen = tables.redGreen.data();
    const std::uint8_t* withBlue = tables.withBlue.data();
    for (int x = 0; x < count; ++x) {
        const std::uint32_t pixel = row[x];
        const std::uint32_t partial = redGreen[(pixel >> 8) & 0xFFFF];
        const std::uint32_t grey = withBlue[(partial << 8) | (pixel & 0xFF)];
        row[x] = (pixel & 0xFF000000u) | grey * 0x010101u;
    }
}

#ifdef TESSEL_WIDE_GREY

// The same steps in exact integer arithmetic, eight pixels at a time. Each weight is a float,
// that is an odd integer over a power of two, and a channel has 8 bits, so every product and sum
// of greyOf is exact in long double; here they are formed as integers scaled by that power of
// two. An odd factor times a channel below 2^(shift - 1) is never an odd multiple of
// 2^(shift - 1), so no step ever meets an exact tie and adding a half before the shift rounds
// exactly as greyOf does (the exhaustive test checks every colour).
constexpr int kRedShift = 24;    // 0.3f  = 5033165 / 2^24
constexpr int kGreenShift = 24;  // 0.59f = 9898557 / 2^24
constexpr int kBlueShift = 26;   // 0.11f = 7381975 / 2^26
constexpr std::uint32_t kRedFactor = std::uint32_t(kRedWeight * float(1u << kRedShift));
constexpr std::uint32_t kGreenFactor = std::uint32_t(kGreenWeight * float(1u << kGreenShift));
constexpr std::uint32_t kBlueFactor = std::uint32_t(kBlueWeight * float(1u << kBlueShift));
static_assert(float(kRedFactor) == kRedWeight * float(1u << kRedShift) && kRedFactor % 2 == 1);
static_assert(float(kGreenFactor) == kGreenWeight * float(1u << kGreenShift) &&
              kGreenFactor % 2 == 1);
static_assert(float(kBlueFactor) == kBlueWeight * float(1u << kBlueShift) && kBlueFactor % 2 == 1);
// Nothing overflows 32 bits: the largest sum is that of the green step.
static_assert(255ull * kGreenFactor + (77ull << kGreenShift) + (1u << (kGreenShift - 1)) <
              (1ull << 32));

__attribute__((target("avx2"))) void greyRowWide(std::uint32_t* row, int count) {
    const __m256i byte = _mm256_set1_epi32(0xFF);
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u));
    const __m256i spread = _mm256_set1_epi32(0x010101);
    const __m256i redFactor = _mm256_set1_epi32(int(kRedFactor));
    const __m256i greenFactor = _mm256_set1_epi32(int(kGreenFactor));
    const __m256i blueFactor = _mm256_set1_epi32(int(kBlueFactor));
    const __m256i redHalf = _mm256_set1_epi32(1 << (kRedShift - 1));
    const __m256i greenHalf = _mm256_set1_epi32(1 << (kGreenShift - 1));
    const __m256i blueHalf = _mm256_set1_epi32(1 << (kBlueShift - 1));
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        auto* at = reinterpret_cast<__m256i*>(row + x);
        const __m256i pixels = _mm256_loadu_si256(at);
        const __m256i red = _mm256_and_si256(_mm256_srli_epi32(pixels, 16), byte);
        const __m256i green = _mm256_and_si256(_mm256_srli_epi32(pixels, 8), byte);
        const __m256i blue = _mm256_and_si256(pixels, byte);

        __m256i grey = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_mullo_epi32(red, redFactor), redHalf), kRedShift);
        grey = _mm256_srli_epi32(
            _mm256_add_epi32(_mm256_add_epi32(_mm256_mullo_epi32(green, greenFactor),
                                              _mm256_slli_epi32(grey, kGreenShift)),
                             greenHalf),
            kGreenShift);
        grey = _mm256_add_epi32(
            grey,
            _mm256_srli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(blue, blueFactor), blueHalf),
                              kBlueShift));

        const __m256i result =
            _mm256_or_si256(_mm256_and_si256(pixels, alpha), _mm256_mullo_epi32(grey, spread));
        _mm256_storeu_si256(at, result);
    }
    greyRowByTables(row + x, count - x);
}

bool hasAvx2() {
    static const bool present = __builtin_cpu_supports("avx2");
    return present;
}

#endif

using RowPass = void (*)(std::uint32_t*, int);

void greyPicture(QImage& picture, RowPass pass) {
    if (picture.isNull()) {
        return;
    }
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        picture.convertTo(QImage::Format_RGB32);
    }
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        pass(reinterpret_cast<std::uint32_t*>(picture.scanLine(y)), width);
    }
}

}  // namespace

int greyOf(int red, int green, int blue) {
    long grey = roundToInt((long double)kRedWeight * red);
    grey = roundToInt((long double)kGreenWeight * green + grey);
    grey = roundToInt((long double)kBlueWeight * blue + grey);
    return int(grey);
}

void toGreyScale(QImage& picture) {
#ifdef TESSEL_WIDE_GREY
    if (hasAvx2()) {
        greyPicture(picture, greyRowWide);
        return;
    }
#endif
    greyPicture(picture, greyRowByTables);
}

void toGreyScaleByTables(QImage& picture) {
    greyPicture(picture, greyRowByTables);
}

void toGreyScale(Surface& surface) {
    toGreyScale(surface.image());
}

}  // namespace tessel
