#include "imaging/DeclaredSize.h"

#include <cstdint>
#include <cstdlib>

namespace tessel {

namespace {

quint32 byteAt(const QByteArray& b, qsizetype at) {
    return quint32(quint8(b[at]));
}
quint32 big16(const QByteArray& b, qsizetype at) {
    return byteAt(b, at) << 8 | byteAt(b, at + 1);
}
quint32 big32(const QByteArray& b, qsizetype at) {
    return big16(b, at) << 16 | big16(b, at + 2);
}
quint32 little16(const QByteArray& b, qsizetype at) {
    return byteAt(b, at) | byteAt(b, at + 1) << 8;
}
quint32 little32(const QByteArray& b, qsizetype at) {
    return little16(b, at) | little16(b, at + 2) << 16;
}

qint64 pngPixels(const QByteArray& b) {
    // Signature, then the header chunk: length, "IHDR", width, height.
    if (b.size() < 24 || b.mid(12, 4) != "IHDR") return 0;
    return qint64(big32(b, 16)) * qint64(big32(b, 20));
}

qint64 gifPixels(const QByteArray& b) {
    if (b.size() < 10) return 0;
    return qint64(little16(b, 6)) * qint64(little16(b, 8));
}

qint64 bmpPixels(const QByteArray& b) {
    if (b.size() < 26) return 0;
    const quint32 header = little32(b, 14);
    if (header == 12) return qint64(little16(b, 18)) * qint64(little16(b, 20));
    // Both sides are signed; a negative height stands for rows stored from the top.
    const qint64 width = std::int32_t(little32(b, 18));
    const qint64 height = std::int32_t(little32(b, 22));
    return std::llabs(width) * std::llabs(height);
}

// The first start-of-frame marker's sides; every step moves on, so the walk ends.
qint64 jpegPixels(const QByteArray& b) {
    qsizetype at = 2;
    while (at + 3 < b.size()) {
        if (byteAt(b, at) != 0xFF) return 0;
        const quint32 marker = byteAt(b, at + 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {  // no length field
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return 0;  // end of image, start of scan
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size()) return 0;
            return qint64(big16(b, at + 5)) * qint64(big16(b, at + 7));
        }
        at += 2 + qsizetype(big16(b, at + 2));
    }
    return 0;
}

}  // namespace

qint64 declaredPixels(const QByteArray& bytes) {
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) return pngPixels(bytes);
    if (bytes.startsWith("GIF8")) return gifPixels(bytes);
    if (bytes.startsWith("BM")) return bmpPixels(bytes);
    if (bytes.startsWith("\xff\xd8")) return jpegPixels(bytes);
    return 0;
}

}  // namespace tessel
