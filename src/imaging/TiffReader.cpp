#include "imaging/TiffReader.h"

#include <tiffio.h>

#include <QColorSpace>
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstring>
#include <memory>

namespace tessel {

namespace {

// The file held in memory, read through libtiff's client interface.
struct MemorySource {
    const QByteArray* bytes = nullptr;
    toff_t position = 0;
    bool dataEndedEarly = false;  // a warning said the pixel data ends before the picture does
};

tsize_t readMemory(thandle_t handle, tdata_t data, tsize_t size) {
    auto* source = static_cast<MemorySource*>(handle);
    const toff_t length = toff_t(source->bytes->size());
    if (size <= 0 || source->position >= length) return 0;
    const toff_t count = std::min<toff_t>(toff_t(size), length - source->position);
    std::memcpy(data, source->bytes->constData() + source->position, size_t(count));
    source->position += count;
    return tsize_t(count);
}

tsize_t writeNothing(thandle_t, tdata_t, tsize_t) {
    return 0;
}

toff_t seekMemory(thandle_t handle, toff_t offset, int whence) {
    auto* source = static_cast<MemorySource*>(handle);
    switch (whence) {
        case SEEK_SET:
            source->position = offset;
            break;
        case SEEK_CUR:
            source->position += offset;
            break;
        case SEEK_END:
            source->position = toff_t(source->bytes->size()) + offset;
            break;
        default:
            return toff_t(-1);
    }
    return source->position;
}

int closeNothing(thandle_t) {
    return 0;
}
toff_t sizeOfMemory(thandle_t handle) {
    return toff_t(static_cast<MemorySource*>(handle)->bytes->size());
}
int mapNothing(thandle_t, tdata_t*, toff_t*) {
    return 0;
}
void unmapNothing(thandle_t, tdata_t, toff_t) {}

// Errors are told by the return values; messages stay quiet.
int quietError(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

// libjpeg, inside libtiff, only warns when a compressed strip ends early and fills the rest
// with grey: that picture is not complete.
int noteEarlyEnd(TIFF*, void* user, const char* module, const char* format, va_list arguments) {
    char text[256];
    std::vsnprintf(text, sizeof text, format, arguments);
    if (std::strstr(text, "Premature end") != nullptr ||
        (module != nullptr && std::strstr(module, "JPEG") != nullptr &&
         std::strstr(text, "ended early") != nullptr)) {
        static_cast<MemorySource*>(user)->dataEndedEarly = true;
    }
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

// The requested orientation of libtiff's raster: the file's own, so that the rows come in the
// order the file stores them, as Qt's reader gives them.
uint16_t storedOrientation(TIFF* tiff) {
    uint16_t orientation = ORIENTATION_TOPLEFT;
    if (!TIFFGetField(tiff, TIFFTAG_ORIENTATION, &orientation)) return ORIENTATION_TOPLEFT;
    return orientation >= ORIENTATION_TOPLEFT && orientation <= ORIENTATION_LEFTBOT
               ? orientation
               : ORIENTATION_TOPLEFT;
}

// The format of the picture for libtiff's kind of alpha: none, premultiplied (associated, and
// unassociated, which libtiff multiplies out), or an extra sample the file does not explain,
// taken as it is.
QImage::Format formatFor(TIFF* tiff, int alpha) {
    if (alpha == 0) return QImage::Format_RGB32;
    uint16_t count = 0;
    uint16_t* kinds = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &count, &kinds) || count == 0 ||
        kinds[0] == EXTRASAMPLE_UNSPECIFIED) {
        return QImage::Format_ARGB32;
    }
    return QImage::Format_ARGB32_Premultiplied;
}

void setResolution(TIFF* tiff, QImage& picture) {
    uint16_t unit = RESUNIT_INCH;
    if (!TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &unit)) unit = RESUNIT_INCH;
    float x = 0;
    float y = 0;
    if (!TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) ||
        !TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y))
        return;
    const double perMetre = unit == RESUNIT_CENTIMETER ? 100
                            : unit == RESUNIT_INCH     ? 100 / 2.54
                                                       : 0;
    const double limit = 1e9;
    if (perMetre == 0 || !(x > 0) || !(y > 0) || x * perMetre > limit || y * perMetre > limit)
        return;
    picture.setDotsPerMeterX(int(std::lround(x * perMetre)));
    picture.setDotsPerMeterY(int(std::lround(y * perMetre)));
}

void setColourProfile(TIFF* tiff, QImage& picture) {
    uint32_t count = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &count, &profile) && profile != nullptr) {
        picture.setColorSpace(QColorSpace::fromIccProfile(
            QByteArray(static_cast<const char*>(profile), qsizetype(count))));
    }
}

}  // namespace

bool looksLikeTiff(const QByteArray& bytes) {
    return bytes.startsWith(QByteArray("II*\0", 4)) || bytes.startsWith(QByteArray("MM\0*", 4)) ||
           bytes.startsWith(QByteArray("II+\0", 4)) || bytes.startsWith(QByteArray("MM\0+", 4));
}

std::optional<QImage> decodeTiff(const QByteArray& bytes, qint64 maxPixels) {
    if (!looksLikeTiff(bytes)) return std::nullopt;
    MemorySource source{&bytes};
    const std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
    if (!options) return std::nullopt;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quietError, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), noteEarlyEnd, &source);
    // No single block libtiff takes for itself may exceed what the largest picture's samples
    // need at 16 bits and four samples a pixel.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(maxPixels) * 8);
    // "m": no memory mapping, the bytes are read through the procedures above.
    const std::unique_ptr<TIFF, TiffCloser> tiff(
        TIFFClientOpenExt("picture", "rm", &source, readMemory, writeNothing, seekMemory,
                          closeNothing, sizeOfMemory, mapNothing, unmapNothing, options.get()));
    if (!tiff) return std::nullopt;

    uint32_t width = 0;
    uint32_t height = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width) ||
        !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height)) {
        return std::nullopt;
    }
    // The declared size is bounded before any pixel memory is taken.
    if (width == 0 || height == 0 || qint64(width) * qint64(height) > maxPixels) {
        return std::nullopt;
    }
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message)) return std::nullopt;
    TIFFRGBAImage reader{};
    if (!TIFFRGBAImageBegin(&reader, tiff.get(), 1, message)) return std::nullopt;
    reader.req_orientation = storedOrientation(tiff.get());
    QImage picture(int(width), int(height), formatFor(tiff.get(), reader.alpha));
    bool whole = !picture.isNull() && picture.bytesPerLine() == qsizetype(width) * 4;
    if (whole) {
        // With stop-on-error, libtiff fails on the first strip or tile it cannot read whole,
        // and otherwise sets every pixel of the raster.
        whole = TIFFRGBAImageGet(&reader, reinterpret_cast<uint32_t*>(picture.bits()), width,
                                 height) == 1;
    }
    TIFFRGBAImageEnd(&reader);
    if (!whole || source.dataEndedEarly) return std::nullopt;

    // libtiff's pixels hold red in the low byte (A B G R); the picture's hold blue there.
    for (uint32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(picture.scanLine(int(y)));
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            row[x] = (p & 0xFF00FF00u) | ((p & 0xFFu) << 16) | ((p >> 16) & 0xFFu);
        }
    }
    setResolution(tiff.get(), picture);
    setColourProfile(tiff.get(), picture);
    return picture;
}

}  // namespace tessel
