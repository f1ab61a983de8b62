#include "imaging/TiffWriter.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace tessel {

namespace {

// A growing memory file for libtiff's client interface.
struct MemoryFile {
    QByteArray bytes;
    toff_t position = 0;
};

tsize_t readNothing(thandle_t, tdata_t, tsize_t) { return 0; }

tsize_t writeMemory(thandle_t handle, tdata_t data, tsize_t size) {
    auto* file = static_cast<MemoryFile*>(handle);
    const toff_t end = file->position + toff_t(size);
    if (end > toff_t(file->bytes.size())) file->bytes.resize(qsizetype(end));
    std::memcpy(file->bytes.data() + file->position, data, size_t(size));
    file->position = end;
    return size;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    switch (whence) {
        case SEEK_SET: file->position = offset; break;
        case SEEK_CUR: file->position += offset; break;
        case SEEK_END: file->position = toff_t(file->bytes.size()) + offset; break;
        default: return toff_t(-1);
    }
    return file->position;
}

int closeMemory(thandle_t) { return 0; }
toff_t sizeOfMemory(thandle_t handle) { return toff_t(static_cast<MemoryFile*>(handle)->bytes.size()); }
int mapNothing(thandle_t, tdata_t*, toff_t*) { return 0; }
void unmapNothing(thandle_t, tdata_t, toff_t) {}

// libtiff's messages would go to the terminal; failures are reported by the return values. The
// handlers belong to this file's handle alone: libtiff's own ones are the whole process's.
int quietHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// Strips of about a megabyte: each strip starts its compression afresh, so small strips cost
// size, and a megabyte is still a small share of memory.
uint32_t rowsPerStrip(int width) {
    const qint64 rowBytes = qint64(width) * 3;
    return uint32_t(std::max<qint64>(1, (qint64(1) << 20) / rowBytes));
}

bool writeStrips(TIFF* tiff, const QImage& picture) {
    const int width = picture.width();
    const int height = picture.height();
    const double dpi = std::max(1.0, picture.dotsPerMeterX() * 0.0254);
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(width)) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(height)) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(3)) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(8)) &&
              TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, uint16_t(PHOTOMETRIC_RGB)) &&
              TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG)) &&
              TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT)) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_LZW)) &&
              TIFFSetField(tiff, TIFFTAG_PREDICTOR, uint16_t(PREDICTOR_HORIZONTAL)) &&
              TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, uint16_t(RESUNIT_INCH)) &&
              TIFFSetField(tiff, TIFFTAG_XRESOLUTION, float(dpi)) &&
              TIFFSetField(tiff, TIFFTAG_YRESOLUTION, float(dpi)) &&
              TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip(width));
    std::vector<unsigned char> row(size_t(width) * 3);
    for (int y = 0; ok && y < height; ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = uchar(qRed(pixels[x]));
            row[size_t(x) * 3 + 1] = uchar(qGreen(pixels[x]));
            row[size_t(x) * 3 + 2] = uchar(qBlue(pixels[x]));
        }
        ok = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    return ok;
}

}  // namespace

std::optional<QByteArray> encodeTiff(const QImage& source) {
    if (source.isNull()) return std::nullopt;
    const QImage picture = source.format() == QImage::Format_RGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) return std::nullopt;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quietHandler, nullptr);
    MemoryFile file;
    TIFF* tiff =
        TIFFClientOpenExt("memory", "w", &file, readNothing, writeMemory, seekMemory, closeMemory,
                          sizeOfMemory, mapNothing, unmapNothing, options.get());
    if (!tiff) return std::nullopt;
    const bool written = writeStrips(tiff, picture) && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    if (!written) return std::nullopt;
    return file.bytes;
}

}  // namespace tessel
