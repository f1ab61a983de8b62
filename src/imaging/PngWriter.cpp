#include "imaging/PngWriter.h"

#include <libdeflate.h>

#include <algorithm>
#include <new>
#include <thread>

#include "imaging/DeflateBands.h"
#include "imaging/PngMetadata.h"
#include "imaging/PngRows.h"

namespace tessel {

namespace {

// A band below this many bytes of filtered rows is not worth a thread of its own.
constexpr std::size_t kMinBandBytes = std::size_t(1) << 20;
// The most bands, however many cores the processor has.
constexpr int kMaxBands = 16;
// Every band but the last is walked through once more after its compression, to be joined to
// the next (DeflateBands.h): that walk costs about kJoinCost of the compression. The calling
// thread compresses the last band and then, alone, puts the file together and writes it, which
// costs about kAssemblyCost of compressing the whole picture. The bands are sized by these so
// that all threads finish together.
constexpr double kJoinCost = 0.5;
constexpr double kAssemblyCost = 0.08;
// The image data is cut into IDAT chunks of at most this many bytes.
constexpr std::size_t kIdatBytes = std::size_t(1) << 18;

int bandCount(const QImage& picture, int requested) {
    const int height = picture.height();
    if (requested > 0) return std::min(requested, height);
    const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, unsigned(kMaxBands)));
    const std::size_t bytes = std::size_t(height) * pngRowBytes(picture.width());
    const int bySize =
        int(std::clamp(bytes / kMinBandBytes, std::size_t(1), std::size_t(kMaxBands)));
    return std::min({cores, bySize, height});
}

// The first row of each band and, last, the picture's height.
std::vector<int> bandStarts(int height, int bands) {
    std::vector<int> starts(std::size_t(bands) + 1, height);
    const double share = std::min((1 + kAssemblyCost) / (bands + kJoinCost), 1.0 / bands);
    const int joined = bands > 1 ? std::max(1, int(height * share)) : 0;
    for (int i = 0; i < bands; ++i) starts[std::size_t(i)] = i * joined;
    return starts;
}

void appendUint32(QByteArray& out, std::uint32_t value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

// Appends a chunk whose type and data were appended from `start` on: length before, CRC after.
void closeChunk(QByteArray& out, qsizetype start) {
    const std::size_t length = std::size_t(out.size() - start) - 4;
    const std::uint32_t crc = libdeflate_crc32(0, out.constData() + start, length + 4);
    appendUint32(out, crc);
    const std::uint32_t field = std::uint32_t(length);
    const char bytes[4] = {char(field >> 24), char(field >> 16), char(field >> 8), char(field)};
    std::copy(bytes, bytes + 4, out.begin() + (start - 4));
}

qsizetype openChunk(QByteArray& out, const char* type) {
    appendUint32(out, 0);
    const qsizetype start = out.size();
    out.append(type, 4);
    return start;
}

}  // namespace

std::optional<QByteArray> encodePng(const QImage& source, int bands) {
    if (source.isNull()) return std::nullopt;
    const QImage picture = source.format() == QImage::Format_RGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) return std::nullopt;
    const std::optional<QByteArray> ancillary = pngAncillaryChunks(picture);
    if (!ancillary) return std::nullopt;

    const std::size_t rowBytes = pngRowBytes(picture.width());
    const auto compress = [&](int count) {
        const std::vector<int> starts = bandStarts(picture.height(), count);
        return compressPieces(count, kPngDeflateLevel, [&](int i, ByteBuffer& rows) {
            const int first = starts[std::size_t(i)], last = starts[std::size_t(i) + 1];
            rows.resize(std::size_t(last - first) * rowBytes);
            return filterPngRows(picture, first, last, rows.data());
        });
    };
    const int count = bandCount(picture, bands);
    auto stream = compress(count);
    if (!stream && count > 1) stream = compress(1);
    if (!stream) return std::nullopt;

    std::size_t streamBytes = 0;
    for (const auto& part : *stream) streamBytes += part.size();
    const std::size_t idatCount = (streamBytes + kIdatBytes - 1) / kIdatBytes;
    QByteArray file;
    try {
        file.reserve(
            qsizetype(8 + 25 + std::size_t(ancillary->size()) + streamBytes + 12 * idatCount + 12));
        file.append("\x89PNG\r\n\x1A\n", 8);
        qsizetype start = openChunk(file, "IHDR");
        appendUint32(file, std::uint32_t(picture.width()));
        appendUint32(file, std::uint32_t(picture.height()));
        // 8 bits a sample, colour type 2 (RGB), deflate, adaptive filtering, not interlaced.
        file.append("\x08\x02\x00\x00\x00", 5);
        closeChunk(file, start);
        file.append(*ancillary);
        std::size_t room = 0;  // bytes the open IDAT chunk may still take
        start = 0;
        for (const auto& part : *stream) {
            for (std::size_t done = 0; done < part.size();) {
                if (room == 0) {
                    if (start != 0) closeChunk(file, start);
                    start = openChunk(file, "IDAT");
                    room = kIdatBytes;
                }
                const std::size_t take = std::min(room, part.size() - done);
                file.append(reinterpret_cast<const char*>(part.data() + done), qsizetype(take));
                done += take;
                room -= take;
            }
        }
        closeChunk(file, start);
        closeChunk(file, openChunk(file, "IEND"));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return file;
}

}  // namespace tessel
