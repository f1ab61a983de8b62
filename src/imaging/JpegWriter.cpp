#include "imaging/JpegWriter.h"

#include <cmath>
#include <cstdlib>

#include "imaging/JpegErrors.h"

namespace tessel {

namespace {

void silence(j_common_ptr, int) {}

// Compresses the BGRX rows; holds no C++ objects with destructors, since an error jumps back.
bool compress(jpeg_compress_struct* info, JpegErrorJump* error, const QImage& picture,
              unsigned char** out, unsigned long* size) {
    if (setjmp(error->jump)) return false;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, out, size);
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

std::optional<QByteArray> encodeJpegFullColour(const QImage& source) {
    if (source.isNull()) return std::nullopt;
    const QImage picture = source.format() == QImage::Format_RGB32
                               ? source
                               : source.convertToFormat(QImage::Format_RGB32);
    jpeg_compress_struct info{};
    JpegErrorJump error{};
    info.err = installJpegErrors(error, silence);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool ok = compress(&info, &error, picture, &out, &size);
    jpeg_destroy_compress(&info);
    std::optional<QByteArray> bytes;
    if (ok && out && size > 0) bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return bytes;
}

}  // namespace tessel
