#include "imaging/BmpIntegrity.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tessel {

namespace {

constexpr qint64 kFileHeader = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

std::uint32_t u16(const QByteArray& b, qint64 at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}
std::uint32_t u32(const QByteArray& b, qint64 at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

// Follows the runs from `at`; marks the pixels they set. False when the data ends before the
// picture does (neither its end marker nor its last row reached).
bool followRuns(const QByteArray& b, qint64 at, bool fourBits, BmpCheck& check) {
    const qint64 size = b.size();
    const int width = check.width;
    const int height = check.height;
    std::vector<bool> set(size_t(width) * size_t(height), false);
    qint64 x = 0;
    qint64 y = 0;  // rows count from the bottom
    const auto mark = [&](qint64 count) {
        for (qint64 i = 0; i < count; ++i, ++x) {
            if (x < width) set[size_t(height - 1 - y) * size_t(width) + size_t(x)] = true;
        }
    };
    bool ended = false;
    while (!ended && y < height) {
        if (at + 1 >= size) return false;
        const int first = std::uint8_t(b[at]);
        const int second = std::uint8_t(b[at + 1]);
        at += 2;
        if (first > 0) {  // a run of one value (two alternating nibbles for four bits)
            mark(first);
            continue;
        }
        switch (second) {
            case 0:  // end of line
                x = 0;
                ++y;
                break;
            case 1:  // end of picture
                ended = true;
                break;
            case 2:  // move right and up
                if (at + 1 >= size) return false;
                x += std::uint8_t(b[at]);
                y += std::uint8_t(b[at + 1]);
                at += 2;
                break;
            default: {  // literal pixels, padded to a whole word
                const qint64 dataBytes = fourBits ? (second + 1) / 2 : second;
                const qint64 padded = (dataBytes + 1) & ~qint64(1);
                if (at + dataBytes > size) return false;
                mark(second);
                at += padded;
                break;
            }
        }
    }
    if (std::find(set.begin(), set.end(), false) != set.end()) {
        check.unset.resize(set.size());
        std::transform(set.begin(), set.end(), check.unset.begin(), [](bool s) { return !s; });
    }
    return true;
}

}  // namespace

BmpCheck checkBmp(const QByteArray& b) {
    BmpCheck check;
    const qint64 size = b.size();
    if (size < kFileHeader + 12 || b[0] != 'B' || b[1] != 'M') return check;
    const qint64 offset = u32(b, 10);
    const qint64 headerSize = u32(b, 14);
    if (headerSize < 12 || kFileHeader + headerSize > size) return check;

    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t coloursUsed = 0;
    qint64 paletteEntry = 4;
    if (headerSize == 12) {  // the old core header
        width = u16(b, 18);
        height = std::int16_t(u16(b, 20));
        bits = u16(b, 24);
        paletteEntry = 3;
    } else {
        if (headerSize < 40) return check;
        width = std::int32_t(u32(b, 18));
        height = std::int32_t(u32(b, 22));
        bits = u16(b, 28);
        compression = u32(b, 30);
        coloursUsed = u32(b, 46);
    }
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return check;
    check.width = int(width);
    check.height = int(height);

    // The header, the colour masks and the palette must all be there.
    qint64 tables = kFileHeader + headerSize;
    if (headerSize == 40 && (compression == kBitFields || compression == kAlphaBitFields)) {
        tables += compression == kBitFields ? 12 : 16;
    }
    if (bits <= 8) {
        const qint64 entries =
            coloursUsed != 0 ? std::min<qint64>(coloursUsed, 1 << bits) : 1 << bits;
        tables += entries * paletteEntry;
    }
    if (tables > size) return check;
    const qint64 start = offset >= kFileHeader + headerSize ? offset : tables;
    if (start > size) return check;

    switch (compression) {
        case kRgb:
        case kBitFields:
        case kAlphaBitFields: {
            if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
                return check;
            }
            const qint64 stride = ((width * bits + 31) / 32) * 4;
            check.complete = start + stride * height <= size;
            return check;
        }
        case kRle8:
        case kRle4:
            if (topDown || bits != (compression == kRle8 ? 8u : 4u)) return check;
            check.complete = followRuns(b, start, compression == kRle4, check);
            return check;
        default:
            return check;  // codings the decoder does not read
    }
}

}  // namespace tessel
