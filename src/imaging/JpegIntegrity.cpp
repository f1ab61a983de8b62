#include "imaging/JpegIntegrity.h"

namespace tessel {

namespace {

constexpr unsigned char kMarkerPrefix = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;

unsigned char byteAt(const QByteArray& bytes, qsizetype i) {
    return uchar(bytes[i]);
}

// Markers without a length field: restart markers and TEM.
bool isStandalone(unsigned char marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// Skips entropy-coded data from `i`: stuffed bytes (FF 00) and restart markers belong to it.
// Returns the index of the next marker's FF, or -1 when the data runs to the end.
qsizetype skipScanData(const QByteArray& bytes, qsizetype i) {
    const qsizetype size = bytes.size();
    for (; i + 1 < size; ++i) {
        if (byteAt(bytes, i) != kMarkerPrefix) continue;
        const unsigned char next = byteAt(bytes, i + 1);
        if (next == 0x00 || next == kMarkerPrefix || (next >= 0xD0 && next <= 0xD7)) continue;
        return i;
    }
    return -1;
}

}  // namespace

bool jpegIsComplete(const QByteArray& bytes) {
    const qsizetype size = bytes.size();
    if (size < 4 || byteAt(bytes, 0) != kMarkerPrefix || byteAt(bytes, 1) != kStartOfImage) {
        return false;
    }
    qsizetype i = 2;
    while (i + 1 < size) {
        if (byteAt(bytes, i) != kMarkerPrefix) return false;
        const unsigned char marker = byteAt(bytes, i + 1);
        if (marker == kMarkerPrefix) {  // fill byte before a marker
            ++i;
            continue;
        }
        if (marker == kEndOfImage) return true;
        if (isStandalone(marker)) {
            i += 2;
            continue;
        }
        if (i + 3 >= size) return false;
        const qsizetype length = (qsizetype(byteAt(bytes, i + 2)) << 8) | byteAt(bytes, i + 3);
        if (length < 2) return false;
        i += 2 + length;
        if (marker == kStartOfScan) {
            if (i > size) return false;
            i = skipScanData(bytes, i);
            if (i < 0) return false;
        }
    }
    return false;
}

}  // namespace tessel
