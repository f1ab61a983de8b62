#pragma once
// TIFF files written with libtiff for the tests: any depth, sample count and sample layout.

#include <tiffio.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <functional>
#include <vector>

#include "support/FileBytes.h"

namespace tessel::testing {

// An uncompressed RGB (three samples) or grey (one sample) file of width x height at 8 or 16
// bits, interleaved or planar, one strip; sample(x, y, channel) gives each value. Empty when
// libtiff fails.
inline QByteArray tiffFile(const QString& path, int width, int height, int bits, int samples,
                           bool planar, const std::function<unsigned(int, int, int)>& sample) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr) return {};
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(bits));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(samples));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 uint16_t(samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG,
                 uint16_t(planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, uint32_t(height));
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_NONE));
    const int perRow = planar ? 1 : samples;
    const int bytes = bits / 8;
    bool ok = true;
    for (int plane = 0; plane < (planar ? samples : 1); ++plane) {
        for (int y = 0; y < height; ++y) {
            std::vector<unsigned char> row(size_t(width * perRow * bytes));
            for (int x = 0; x < width; ++x) {
                for (int s = 0; s < perRow; ++s) {
                    const unsigned v = sample(x, y, planar ? plane : s);
                    unsigned char* at = row.data() + (x * perRow + s) * bytes;
                    if (bits == 16) {
                        const uint16_t v16 = uint16_t(v);
                        std::memcpy(at, &v16, 2);  // libtiff writes in the host's byte order
                    } else {
                        *at = static_cast<unsigned char>(v);
                    }
                }
            }
            ok = ok && TIFFWriteScanline(tiff, row.data(), uint32_t(y), uint16_t(plane)) == 1;
        }
    }
    TIFFClose(tiff);
    return ok ? readBytes(path) : QByteArray();
}

// Sets the value of a short or long tag in the first directory of a little-endian classic
// TIFF; false when the tag is not there.
inline bool setTiffTag(QByteArray& file, int tag, quint32 value) {
    const auto u16 = [&](qsizetype at) {
        return quint32(quint8(file[at])) | quint32(quint8(file[at + 1])) << 8;
    };
    const auto u32 = [&](qsizetype at) { return u16(at) | u16(at + 2) << 16; };
    if (!file.startsWith(QByteArray("II*\0", 4))) return false;
    const qsizetype directory = qsizetype(u32(4));
    const quint32 entries = u16(directory);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype entry = directory + 2 + qsizetype(i) * 12;
        if (int(u16(entry)) != tag) continue;
        const int width = u16(entry + 2) == 3 ? 2 : 4;  // SHORT or LONG
        for (int k = 0; k < width; ++k) file[entry + 8 + k] = char((value >> (8 * k)) & 0xFF);
        return true;
    }
    return false;
}

}  // namespace tessel::testing
