#include "imaging/BmpIntegrity.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "imaging/CodecBridge.h"

namespace tessel {

namespace {

constexpr qint64 kFileHeader = 14;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr qint64 kOs2Header = 64;
constexpr qint64 kV4Header = 108;
constexpr qint64 kV5Header = 124;

std::uint32_t u16(const QByteArray& b, qint64 at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}
std::uint32_t u32(const QByteArray& b, qint64 at) {
    return u16(b, at) | u16(b, at + 2) << 16;
}

// Follows the runs from `at`. False when the data ends before the picture does (neither its
// end marker nor its last row reached).
bool followRuns(const QByteArray& b, qint64 at, bool fourBits, int height) {
    const qint64 size = b.size();
    qint64 y = 0;  // rows count from the bottom
    while (y < height) {
        if (at + 1 >= size) return false;
        const int first = std::uint8_t(b[at]);
        const int second = std::uint8_t(b[at + 1]);
        at += 2;
        if (first > 0) continue;  // a run of one value (two alternating nibbles for four bits)
        switch (second) {
            case 0:  // end of line
                ++y;
                break;
            case 1:  // end of picture
                return true;
            case 2:  // move right and up
                if (at + 1 >= size) return false;
                y += std::uint8_t(b[at + 1]);
                at += 2;
                break;
            default: {  // literal pixels, padded to a whole word
                const qint64 dataBytes = fourBits ? (second + 1) / 2 : second;
                if (at + dataBytes > size) return false;
                at += (dataBytes + 1) & ~qint64(1);
                break;
            }
        }
    }
    return true;
}

}  // namespace

BmpCheck checkBmp(const QByteArray& b) {
    BmpCheck check;
    const qint64 size = b.size();
    if (size < kFileHeader + 4 || b[0] != 'B' || b[1] != 'M') return check;
    // Both are signed numbers to the reader.
    const qint64 offset = std::int32_t(u32(b, 10));
    const qint64 headerSize = std::int32_t(u32(b, 14));
    // The reader reads the full fields of these four header sizes only; any other size is read
    // as the old core header (16-bit sides, no compression, no colour count).
    const bool full = headerSize == 40 || headerSize == kOs2Header || headerSize == kV4Header ||
                      headerSize == kV5Header;
    if (kFileHeader + (full ? 40 : 12) > size) return check;
    // It goes to the end of the declared header for the masks or the palette.
    if (headerSize < 0 || kFileHeader + headerSize > size) return check;

    qint64 width = 0;
    qint64 height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = kRgb;
    qint64 coloursUsed = 0;
    if (full) {
        width = std::int32_t(u32(b, 18));
        height = std::int32_t(u32(b, 22));
        planes = u16(b, 26);
        bits = u16(b, 28);
        compression = u32(b, 30);
        coloursUsed = std::int32_t(u32(b, 46));
    } else {
        width = std::int16_t(u16(b, 18));
        height = std::int16_t(u16(b, 20));
        planes = u16(b, 22);
        bits = u16(b, 24);
    }
    if (planes != 1) return check;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return check;
    }
    const bool known = compression == kRgb || (compression == kRle4 && bits == 4) ||
                       (compression == kRle8 && bits == 8) ||
                       (compression == kBitFields && (bits == 16 || bits == 32));
    if (!known) return check;
    const bool topDown = height < 0;
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return check;
    // No picture beyond the bound is read, whatever the reader would make of it.
    if (width * height > kMaxPicturePixels) return check;
    check.width = int(width);
    check.height = int(height);

    // Where the reader stands after the header: the colour masks of a short header with bit
    // fields, then a palette of as many entries as the header declares (three bytes each after
    // the old core header, four otherwise), which must leave data behind it.
    qint64 position = kFileHeader + headerSize;
    if (headerSize < kV4Header && compression == kBitFields) position += 12;
    if (bits <= 8) {
        const qint64 entries = coloursUsed != 0 ? coloursUsed : qint64(1) << bits;
        if (entries < 1 || entries > 256) return check;
        position += entries * (headerSize == 12 ? 3 : 4);
        if (position >= size) return check;
    }
    // The pixel data starts at the declared offset only when that lies further on: the reader
    // never goes back.
    const qint64 start = offset > position ? offset : position;
    if (start > size) return check;

    if (compression == kRle8 || compression == kRle4) {
        if (topDown) return check;
        check.runLength = true;
        check.complete = followRuns(b, start, compression == kRle4, check.height);
        return check;
    }
    const qint64 stride = ((width * bits + 31) / 32) * 4;
    check.complete = start + stride * height <= size;
    return check;
}

std::optional<QImage> readRunLengthBmp(const QByteArray& bytes, const BmpCheck& check) {
    if (!check.complete || !check.runLength) return std::nullopt;
    if (qint64(check.width) * check.height > kMaxPicturePixels) return std::nullopt;
    // The reader writes into a picture of its size and format it is given, so two readings
    // into pictures filled with different values differ exactly where no run sets a pixel.
    QImage readings[2];
    const uchar fills[2] = {0x00, 0xFF};
    for (int i = 0; i < 2; ++i) {
        QImage& picture = readings[i];
        picture = QImage(check.width, check.height, QImage::Format_Indexed8);
        if (picture.isNull()) return std::nullopt;
        picture.setColorCount(256);
        picture.fill(fills[i]);
        const uchar* memory = picture.constBits();
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "bmp");
        reader.setAllocationLimit(0);  // the picture is given; its size was bounded before
        if (!reader.read(&picture) || picture.constBits() != memory ||
            picture.size() != QSize(check.width, check.height)) {
            return std::nullopt;  // the reader took memory of its own: nothing can be told
        }
    }
    QImage result = readings[0].convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < check.height; ++y) {
        const uchar* first = readings[0].constScanLine(y);
        const uchar* second = readings[1].constScanLine(y);
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < check.width; ++x) {
            if (first[x] != second[x]) row[x] = 0;  // transparent: the paper shows
        }
    }
    return result;
}

}  // namespace tessel
