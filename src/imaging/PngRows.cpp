#include "imaging/PngRows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace tessel {

namespace {

// The RGB bytes of a Format_RGB32 row of `width` pixels (blue, green, red, unused in memory).
void toRgb(const uchar* line, int width, std::uint8_t* __restrict rgb) {
    const auto* __restrict pixels = reinterpret_cast<const QRgb*>(line);
    for (int x = 0; x < width; ++x) {
        const QRgb pixel = pixels[x];
        rgb[3 * x] = std::uint8_t(pixel >> 16);
        rgb[3 * x + 1] = std::uint8_t(pixel >> 8);
        rgb[3 * x + 2] = std::uint8_t(pixel);
    }
}

// The magnitude of a filtered byte read as a signed number: the measure libpng sums.
std::uint32_t magnitudeSum(const std::uint8_t* __restrict bytes, std::size_t count) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += std::uint32_t(std::abs(int(std::int8_t(bytes[i]))));
    return sum;
}

// The Paeth predictor of the PNG format: of left, above and upper left, the one
// nearest to left + above - upper left, ties in that order. In 16-bit steps, so the compiler
// turns the row loop into vector code.
inline std::uint8_t paeth(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    const auto pa = std::int16_t(std::abs(std::int16_t(b) - std::int16_t(c)));
    const auto pb = std::int16_t(std::abs(std::int16_t(a) - std::int16_t(c)));
    const auto pc = std::int16_t(std::abs(std::int16_t(a) + std::int16_t(b) - 2 * std::int16_t(c)));
    std::uint8_t result = c;
    result = pb <= pc ? b : result;
    result = pa <= pb && pa <= pc ? a : result;
    return result;
}

// Bytes predicted at a time while the filters are compared, so that the trial rows stay in the
// processor's nearest cache however wide the picture is.
constexpr std::size_t kTrialBytes = 4096;

// Rows of fewer bytes are compared in a plain loop.
constexpr std::size_t kShortRow = 48;

enum Filter : std::uint8_t { kNone, kSub, kUp, kAverage, kPaeth };

// The four predicted versions of n <= kTrialBytes bytes, each kTrialBytes apart in `trial`.
void predict(const std::uint8_t* __restrict row, const std::uint8_t* __restrict above,
             std::size_t n, std::uint8_t* __restrict trial) {
    std::uint8_t* __restrict sub = trial;
    std::uint8_t* __restrict up = trial + kTrialBytes;
    std::uint8_t* __restrict average = trial + 2 * kTrialBytes;
    std::uint8_t* __restrict paethRow = trial + 3 * kTrialBytes;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t a = row[i - 3], b = above[i], c = above[i - 3], x = row[i];
        sub[i] = std::uint8_t(x - a);
        up[i] = std::uint8_t(x - b);
        average[i] = std::uint8_t(x - std::uint8_t((a & b) + ((a ^ b) >> 1)));  // (a + b) / 2
        paethRow[i] = std::uint8_t(x - paeth(a, b, c));
    }
}

// The filter whose row has the smallest sum of magnitudes; the first of equals.
Filter bestFilter(const std::uint8_t* row, const std::uint8_t* above, std::size_t n,
                  std::uint8_t* trial) {
    std::uint64_t sums[5] = {0, 0, 0, 0, 0};
    const auto magnitude = [](int byte) { return std::uint64_t(std::abs(int(std::int8_t(byte)))); };
    if (n < kShortRow) {  // too short for vector code to pay: one pass, no trial rows
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t a = row[i - 3], b = above[i], c = above[i - 3], x = row[i];
            sums[kNone] += magnitude(x);
            sums[kSub] += magnitude(x - a);
            sums[kUp] += magnitude(x - b);
            sums[kAverage] += magnitude(x - ((a + b) >> 1));
            sums[kPaeth] += magnitude(x - paeth(a, b, c));
        }
    }
    for (std::size_t start = 0; n >= kShortRow && start < n; start += kTrialBytes) {
        const std::size_t count = std::min(kTrialBytes, n - start);
        predict(row + start, above + start, count, trial);
        sums[kNone] += magnitudeSum(row + start, count);
        for (int type = kSub; type <= kPaeth; ++type) {
            sums[type] += magnitudeSum(trial + (type - 1) * kTrialBytes, count);
        }
    }
    int best = kNone;
    for (int type = kSub; type <= kPaeth; ++type) {
        if (sums[type] < sums[best]) best = type;
    }
    return Filter(best);
}

// Writes the row filtered with `type` to out[1 .. n], its type to out[0].
void writeFiltered(Filter type, const std::uint8_t* __restrict row,
                   const std::uint8_t* __restrict above, std::size_t n,
                   std::uint8_t* __restrict out) {
    *out++ = type;
    switch (type) {
        case kNone:
            std::memcpy(out, row, n);
            break;
        case kSub:
            for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(row[i] - row[i - 3]);
            break;
        case kUp:
            for (std::size_t i = 0; i < n; ++i) out[i] = std::uint8_t(row[i] - above[i]);
            break;
        case kAverage:
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint8_t a = row[i - 3], b = above[i];
                out[i] = std::uint8_t(row[i] - std::uint8_t((a & b) + ((a ^ b) >> 1)));
            }
            break;
        case kPaeth:
            for (std::size_t i = 0; i < n; ++i) {
                out[i] = std::uint8_t(row[i] - paeth(row[i - 3], above[i], above[i - 3]));
            }
            break;
    }
}

}  // namespace

bool filterPngRows(const QImage& picture, int first, int last, std::uint8_t* out) {
    const std::size_t n = std::size_t(picture.width()) * 3;
    constexpr std::size_t kLeft = 3;  // the zero pixel left of each row
    std::vector<std::uint8_t> work;
    try {
        work.assign(2 * (kLeft + n) + 4 * kTrialBytes, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::uint8_t* row = work.data() + kLeft;
    std::uint8_t* above = row + n + kLeft;
    std::uint8_t* trial = above + n;
    const uchar* bits = picture.constBits();
    const auto stride = std::size_t(picture.bytesPerLine());
    const int width = picture.width();
    if (first > 0) toRgb(bits + std::size_t(first - 1) * stride, width, above);
    for (int y = first; y < last; ++y) {
        toRgb(bits + std::size_t(y) * stride, width, row);
        writeFiltered(bestFilter(row, above, n, trial), row, above, n, out);
        out += 1 + n;
        std::swap(row, above);
    }
    return true;
}

}  // namespace tessel
