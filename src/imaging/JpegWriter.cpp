#include "imaging/JpegWriter.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "imaging/JpegErrors.h"
// jerror.h comes after jpeglib.h (through JpegErrors.h).
#include <jerror.h>

namespace tessel {

namespace {

void silence(j_common_ptr, int) {}

// The destination: the bytes go straight into a QByteArray this writer owns, which grows by
// doubling up to the limit. An error that jumps back out of libjpeg leaves it whole, with
// nothing for libjpeg to free.
struct ByteArrayDestination {
    jpeg_destination_mgr manager;  // first, so that libjpeg's pointer is this object's
    QByteArray* bytes;
    std::size_t limit;
};

constexpr qsizetype kFirstSize = 64 * 1024;

ByteArrayDestination* destinationOf(j_compress_ptr info) {
    return reinterpret_cast<ByteArrayDestination*>(info->dest);
}

// Grows the array (to kFirstSize, then to twice its size) and points libjpeg at the bytes beyond
// the ones it holds; false when memory runs out or the limit is reached. libjpeg asks for more
// room as soon as the room it has is full, whether or not more bytes follow, so the array may
// take one byte beyond the limit: a file that fills it has gone over.
bool grow(ByteArrayDestination* destination) {
    const qsizetype used = destination->bytes->size();
    constexpr auto kMost = std::numeric_limits<qsizetype>::max();
    const qsizetype room =
        destination->limit >= std::size_t(kMost) ? kMost : qsizetype(destination->limit) + 1;
    const qsizetype size = used >= room - used ? room : std::max(kFirstSize, used * 2);
    if (size <= used) return false;
    try {
        destination->bytes->resize(std::min(size, room));
    } catch (const std::bad_alloc&) {
        return false;
    }
    destination->manager.next_output_byte =
        reinterpret_cast<JOCTET*>(destination->bytes->data()) + used;
    destination->manager.free_in_buffer = std::size_t(destination->bytes->size() - used);
    return true;
}

void startDestination(j_compress_ptr info) {
    ByteArrayDestination* destination = destinationOf(info);
    destination->bytes->clear();
    if (!grow(destination)) ERREXIT(info, JERR_OUT_OF_MEMORY);
}

// libjpeg filled the whole array.
boolean emptyDestination(j_compress_ptr info) {
    if (!grow(destinationOf(info))) {
        ERREXIT(info, JERR_OUT_OF_MEMORY);  // jumps back; the array stays the writer's
    }
    return TRUE;
}

void finishDestination(j_compress_ptr info) {
    ByteArrayDestination* destination = destinationOf(info);
    destination->bytes->resize(destination->bytes->size() -
                               qsizetype(destination->manager.free_in_buffer));
}

// Compresses the BGRX rows; holds no C++ objects with destructors, since an error jumps back.
bool compress(jpeg_compress_struct* info, JpegErrorJump* error, const QImage& picture,
              ByteArrayDestination* destination) {
    if (setjmp(error->jump)) return false;
    jpeg_create_compress(info);
    destination->manager.init_destination = startDestination;
    destination->manager.empty_output_buffer = emptyDestination;
    destination->manager.term_destination = finishDestination;
    info->dest = &destination->manager;
    info->image_width = JDIMENSION(picture.width());
    info->image_height = JDIMENSION(picture.height());
    info->input_components = 4;
    info->in_color_space = JCS_EXT_BGRX;  // Format_RGB32 memory order on little-endian
    jpeg_set_defaults(info);
    jpeg_set_quality(info, 100, TRUE);
    for (int c = 0; c < info->num_components; ++c) {
        info->comp_info[c].h_samp_factor = 1;
        info->comp_info[c].v_samp_factor = 1;
    }
    info->optimize_coding = TRUE;
    info->dct_method = JDCT_ISLOW;
    info->density_unit = 1;  // dots per inch
    const int dpi = int(std::lround(picture.dotsPerMeterX() * 0.0254));
    info->X_density = UINT16(dpi > 0 ? dpi : 96);
    info->Y_density = info->X_density;
    jpeg_start_compress(info, TRUE);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(info->next_scanline)));
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

std::optional<QByteArray> encodeJpegFullColour(const QImage& source, std::size_t byteLimit) {
    if (source.isNull()) return std::nullopt;
    const QImage picture = source.format() == QImage::Format_RGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) return std::nullopt;
    jpeg_compress_struct info{};
    JpegErrorJump error{};
    info.err = installJpegErrors(error, silence);
    QByteArray bytes;
    ByteArrayDestination destination{{}, &bytes, byteLimit};
    const bool ok = compress(&info, &error, picture, &destination);
    // The destination is the writer's own: libjpeg frees only its own memory here.
    jpeg_destroy_compress(&info);
    if (!ok || bytes.isEmpty()) return std::nullopt;
    return bytes;
}

}  // namespace tessel
