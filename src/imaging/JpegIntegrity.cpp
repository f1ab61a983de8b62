#include "imaging/JpegIntegrity.h"

#include <algorithm>

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

// Start-of-frame markers: C0..CF except DHT (C4), JPG (C8) and DAC (CC).
bool isStartOfFrame(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// What the frame header declares: enough to know how many blocks its first component has.
struct Frame {
    bool seen = false;
    bool arithmetic = false;
    qint64 width = 0;
    qint64 height = 0;
    int firstH = 1, firstV = 1, maxH = 1, maxV = 1;

    // Huffman coding spends at least one bit on every block of a component's first scan.
    qint64 leastScanBits() const {
        if (!seen || arithmetic || maxH == 0 || maxV == 0) return 0;
        const qint64 columns = (width * firstH + maxH - 1) / maxH;
        const qint64 rows = (height * firstV + maxV - 1) / maxV;
        return ((columns + 7) / 8) * ((rows + 7) / 8);
    }
};

bool readFrame(const QByteArray& bytes, qsizetype at, qsizetype length, unsigned char marker,
               Frame& frame) {
    if (length < 8 || at + 2 + length > bytes.size()) return false;
    const qsizetype body = at + 4;
    frame.seen = true;
    frame.arithmetic = marker >= 0xC9;
    frame.height = (qint64(byteAt(bytes, body + 1)) << 8) | byteAt(bytes, body + 2);
    frame.width = (qint64(byteAt(bytes, body + 3)) << 8) | byteAt(bytes, body + 4);
    const int components = byteAt(bytes, body + 5);
    if (components < 1 || length < 8 + 3 * components) return false;
    frame.maxH = frame.maxV = 0;
    for (int c = 0; c < components; ++c) {
        const unsigned char sampling = byteAt(bytes, body + 6 + 3 * c + 1);
        const int h = sampling >> 4;
        const int v = sampling & 0x0F;
        if (c == 0) {
            frame.firstH = h;
            frame.firstV = v;
        }
        frame.maxH = std::max(frame.maxH, h);
        frame.maxV = std::max(frame.maxV, v);
    }
    return true;
}

}  // namespace

bool jpegIsComplete(const QByteArray& bytes) {
    const qsizetype size = bytes.size();
    if (size < 4 || byteAt(bytes, 0) != kMarkerPrefix || byteAt(bytes, 1) != kStartOfImage) {
        return false;
    }
    qsizetype i = 2;
    Frame frame;
    qint64 scanBytes = 0;
    while (i + 1 < size) {
        if (byteAt(bytes, i) != kMarkerPrefix) return false;
        const unsigned char marker = byteAt(bytes, i + 1);
        if (marker == kMarkerPrefix) {  // fill byte before a marker
            ++i;
            continue;
        }
        if (marker == kEndOfImage) return scanBytes * 8 >= frame.leastScanBits();
        if (isStandalone(marker)) {
            i += 2;
            continue;
        }
        if (i + 3 >= size) return false;
        const qsizetype length = (qsizetype(byteAt(bytes, i + 2)) << 8) | byteAt(bytes, i + 3);
        if (length < 2) return false;
        if (isStartOfFrame(marker) && !readFrame(bytes, i, length, marker, frame)) return false;
        i += 2 + length;
        if (marker == kStartOfScan) {
            if (i > size) return false;
            const qsizetype dataStart = i;
            i = skipScanData(bytes, i);
            if (i < 0) return false;
            scanBytes += i - dataStart;
        }
    }
    return false;
}

}  // namespace tessel
