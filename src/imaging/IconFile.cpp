#include "imaging/IconFile.h"

#include <QBuffer>
#include <QImageReader>

#include "imaging/CodecBridge.h"
#include "imaging/DeclaredSize.h"
#include "platform/RegularFile.h"

namespace tessel {

namespace {

constexpr qint64 kDirectoryHeader = 6;
constexpr qint64 kEntrySize = 16;
constexpr qint64 kMaxIconBytes = 64LL * 1024 * 1024;

quint32 little(const QByteArray& b, qint64 at, int bytes) {
    quint32 value = 0;
    for (int i = 0; i < bytes; ++i) value |= quint32(quint8(b[at + i])) << (8 * i);
    return value;
}

struct Entry {
    qint64 pixels = -1;
    int bits = 0;
    qint64 offset = 0;
    qint64 size = 0;
};

// A device-independent bitmap inside an icon holds its colour rows and then its mask rows, all
// of them below its header and palette: true when the data has room for every row.
bool dibIsComplete(const QByteArray& image) {
    if (image.size() < 40) return false;
    const qint64 header = little(image, 0, 4);
    const qint64 width = qint32(little(image, 4, 4));
    const qint64 doubleHeight = qint32(little(image, 8, 4));
    const int bits = int(little(image, 14, 2));
    const qint64 coloursUsed = little(image, 32, 4);
    if (header < 40 || width <= 0 || width > 4096 || doubleHeight <= 0 || doubleHeight > 8192) {
        return false;
    }
    const qint64 height = doubleHeight / 2;
    qint64 palette = 0;
    if (bits <= 8)
        palette = 4 * (coloursUsed != 0 ? std::min<qint64>(coloursUsed, 1 << bits) : 1 << bits);
    const qint64 colourRow = ((width * bits + 31) / 32) * 4;
    const qint64 maskRow = ((width + 31) / 32) * 4;
    return header + palette + (colourRow + maskRow) * height <= image.size();
}

// Decodes one image of the file on its own, as a directory of one entry.
std::optional<QImage> decodeEntry(const QByteArray& file, const Entry& entry,
                                  const QByteArray& rawEntry) {
    const QByteArray image = file.mid(entry.offset, entry.size);
    const bool png = image.startsWith("\x89PNG\r\n\x1a\n");
    if (!png && !dibIsComplete(image)) return std::nullopt;
    if (png && declaredPixels(image) > kMaxPicturePixels) return std::nullopt;

    QByteArray single = file.left(4) + QByteArray("\x01\x00", 2) + rawEntry.left(12);
    single += QByteArray("\x16\x00\x00\x00", 4);  // the image follows at offset 22
    single += image;
    QBuffer buffer(&single);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)));
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kMaxPicturePixels) {
        return std::nullopt;
    }
    const QImage decoded = reader.read();
    if (decoded.isNull()) return std::nullopt;
    return decoded.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

std::optional<QImage> readIconFile(const QString& fileName) {
    const std::optional<QByteArray> bytes = platform::readRegularFile(fileName, kMaxIconBytes);
    if (!bytes) return std::nullopt;
    const QByteArray& file = *bytes;
    if (file.size() < kDirectoryHeader || little(file, 0, 2) != 0 || little(file, 2, 2) != 1) {
        return std::nullopt;
    }
    const qint64 listed = std::min<qint64>(little(file, 4, 2), kMaxIconEntries);
    const qint64 present = std::min<qint64>(listed, (file.size() - kDirectoryHeader) / kEntrySize);

    Entry best;
    QByteArray bestRaw;
    for (qint64 i = 0; i < present; ++i) {
        const qint64 at = kDirectoryHeader + i * kEntrySize;
        Entry entry;
        const qint64 width = quint8(file[at]) == 0 ? 256 : quint8(file[at]);
        const qint64 height = quint8(file[at + 1]) == 0 ? 256 : quint8(file[at + 1]);
        entry.pixels = width * height;
        entry.bits = int(little(file, at + 6, 2));
        entry.size = little(file, at + 8, 4);
        entry.offset = little(file, at + 12, 4);
        if (entry.size <= 0 || entry.offset < kDirectoryHeader ||
            entry.offset + entry.size > file.size()) {
            continue;  // an entry whose image the file does not hold
        }
        if (entry.pixels > best.pixels || (entry.pixels == best.pixels && entry.bits > best.bits)) {
            best = entry;
            bestRaw = file.mid(at, kEntrySize);
        }
    }
    if (best.pixels < 0) return std::nullopt;
    return decodeEntry(file, best, bestRaw);
}

}  // namespace tessel
