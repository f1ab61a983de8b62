#include "imaging/PictureMetadata.h"

#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

#include "imaging/Orientation.h"

namespace tessel {

namespace {

struct PngInput {
    const QByteArray* bytes;
    qsizetype offset = 0;
};

void readPngBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
    if (qsizetype(length) > input->bytes->size() - input->offset) png_error(png, "end of data");
    std::memcpy(out, input->bytes->constData() + input->offset, length);
    input->offset += qsizetype(length);
}

void pngFails(png_structp png, png_const_charp) {
    longjmp(png_jmpbuf(png), 1);
}
void pngQuiet(png_structp, png_const_charp) {}

// Holds no C++ objects with destructors, since a libpng error jumps back.
bool readPngInfo(png_structp png, png_infop info, PngInput* input) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, input, readPngBytes);
    png_read_info(png, info);
    return true;
}

// A TIFF file in memory, for libtiff's client interface (read only).
struct TiffInput {
    const QByteArray* bytes;
    toff_t position = 0;
};

tsize_t readTiffBytes(thandle_t handle, tdata_t data, tsize_t size) {
    auto* input = static_cast<TiffInput*>(handle);
    const toff_t length = toff_t(input->bytes->size());
    if (input->position >= length) return 0;
    const toff_t count = std::min<toff_t>(toff_t(size), length - input->position);
    std::memcpy(data, input->bytes->constData() + input->position, size_t(count));
    input->position += count;
    return tsize_t(count);
}

tsize_t writeNoTiffBytes(thandle_t, tdata_t, tsize_t) {
    return 0;
}

toff_t seekTiff(thandle_t handle, toff_t offset, int whence) {
    auto* input = static_cast<TiffInput*>(handle);
    switch (whence) {
        case SEEK_SET:
            input->position = offset;
            break;
        case SEEK_CUR:
            input->position += offset;
            break;
        case SEEK_END:
            input->position = toff_t(input->bytes->size()) + offset;
            break;
        default:
            return toff_t(-1);
    }
    return input->position;
}

int closeTiff(thandle_t) {
    return 0;
}
toff_t sizeOfTiff(thandle_t handle) {
    return toff_t(static_cast<TiffInput*>(handle)->bytes->size());
}
int mapNoTiff(thandle_t, tdata_t*, toff_t*) {
    return 0;
}
void unmapNoTiff(thandle_t, tdata_t, toff_t) {}
void tiffQuiet(const char*, const char*, va_list) {}

}  // namespace

void readPngMetadata(const QByteArray& bytes, DecodedPicture& picture) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFails, pngQuiet);
    if (!png) return;
    png_infop info = png_create_info_struct(png);
    PngInput input{&bytes};
    if (info && readPngInfo(png, info, &input)) {
        png_charp name = nullptr;
        int compression = 0;
        png_bytep profile = nullptr;
        png_uint_32 profileLength = 0;
        if (png_get_iCCP(png, info, &name, &compression, &profile, &profileLength) && profile) {
            picture.iccProfile =
                QByteArray(reinterpret_cast<const char*>(profile), qsizetype(profileLength));
        }
        png_uint_32 exifLength = 0;
        png_bytep exif = nullptr;
        if (png_get_eXIf_1(png, info, &exifLength, &exif) && exif) {
            picture.orientation = exifOrientation(
                QByteArray(reinterpret_cast<const char*>(exif), qsizetype(exifLength)));
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
}

void readTiffMetadata(const QByteArray& bytes, DecodedPicture& picture) {
    TIFFSetErrorHandler(tiffQuiet);
    TIFFSetWarningHandler(tiffQuiet);
    TiffInput input{&bytes};
    TIFF* tiff = TIFFClientOpen("memory", "rm", &input, readTiffBytes, writeNoTiffBytes, seekTiff,
                                closeTiff, sizeOfTiff, mapNoTiff, unmapNoTiff);
    if (!tiff) return;
    uint16_t orientation = 0;
    if (TIFFGetField(tiff, TIFFTAG_ORIENTATION, &orientation) && orientation >= 1 &&
        orientation <= 8) {
        picture.orientation = orientation;
    }
    uint32_t profileLength = 0;
    void* profile = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_ICCPROFILE, &profileLength, &profile) && profile) {
        picture.iccProfile =
            QByteArray(static_cast<const char*>(profile), qsizetype(profileLength));
    }
    TIFFClose(tiff);
}

}  // namespace tessel
