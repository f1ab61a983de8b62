#include "imaging/PngReader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace tessel {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

quint32 bigEndian32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
}

struct MemoryInput {
    const QByteArray* bytes;
    qsizetype offset = 0;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (qsizetype(length) > input->bytes->size() - input->offset) {
        png_error(png, "data ends too early");
    }
    std::memcpy(out, input->bytes->constData() + input->offset, length);
    input->offset += qsizetype(length);
}

void failOnError(png_structp png, png_const_charp) {
    longjmp(png_jmpbuf(png), 1);
}
void ignoreWarning(png_structp, png_const_charp) {}

}  // namespace

bool pngNeedsOwnReader(const QByteArray& bytes) {
    if (bytes.size() < 33 || std::memcmp(bytes.constData(), kSignature, 8) != 0) return false;
    if (std::memcmp(bytes.constData() + 12, "IHDR", 4) != 0) return false;
    const int bitDepth = static_cast<unsigned char>(bytes[24]);
    const int colourType = static_cast<unsigned char>(bytes[25]);
    if (bitDepth != 16 || (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB)) {
        return false;
    }
    // Walk the chunks up to the image data looking for the colour key.
    qsizetype at = 8;
    while (at + 8 <= bytes.size()) {
        const quint32 length = bigEndian32(bytes.constData() + at);
        const char* type = bytes.constData() + at + 4;
        if (std::memcmp(type, "tRNS", 4) == 0) return true;
        if (std::memcmp(type, "IDAT", 4) == 0 || std::memcmp(type, "IEND", 4) == 0) return false;
        if (length > quint32(bytes.size())) return false;
        at += 12 + qsizetype(length);
    }
    return false;
}

namespace {

// The steps that may jump back on a libpng error hold no C++ objects with destructors.
bool readHeader(png_structp png, png_infop info, MemoryInput* input, png_uint_32* width,
                png_uint_32* height) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, input, readFromMemory);
    png_read_info(png, info);
    *width = png_get_image_width(png, info);
    *height = png_get_image_height(png, info);
    return true;
}

// Asks for 8-bit BGRA rows whatever the file holds; false when that is not what libpng gives.
bool setTransforms(png_structp png, png_infop info, png_uint_32 width) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int colourType = png_get_color_type(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_scale_16(png);
    png_set_bgr(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // only where there is no alpha yet
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return png_get_rowbytes(png, info) == png_size_t(width) * 4;
}

bool readRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

}  // namespace

std::optional<QImage> readPngWithLibpng(const QByteArray& bytes, qint64 maxPixels) {
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failOnError, ignoreWarning);
    if (!png) return std::nullopt;
    png_infop info = png_create_info_struct(png);
    MemoryInput input{&bytes};
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::optional<QImage> result;
    if (info && readHeader(png, info, &input, &width, &height) && width > 0 && height > 0 &&
        qint64(width) * qint64(height) <= maxPixels && setTransforms(png, info, width)) {
        QImage picture(int(width), int(height), QImage::Format_ARGB32);
        if (!picture.isNull()) {
            picture.fill(Qt::transparent);
            std::vector<png_bytep> rows(height);
            for (png_uint_32 y = 0; y < height; ++y) rows[y] = picture.scanLine(int(y));
            if (readRows(png, rows.data())) result = std::move(picture);
        }
    }
    png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    return result;
}

}  // namespace tessel
