#include "imaging/JpegReader.h"

#include <cmath>

#include "imaging/JpegErrors.h"
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace tessel {

namespace {

// Messages stay quiet; only the warning that the data ended early is counted, since libjpeg
// goes on with grey in place of the missing data. Other warnings (stray bytes between
// markers, say) leave a whole picture, as Qt's reader accepts them.
void countEarlyEnd(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) ++info->err->num_warnings;
}

// The steps that may jump back on a libjpeg error hold no C++ objects with destructors.
bool readHeader(jpeg_decompress_struct* info, JpegErrorJump* error, const QByteArray& bytes) {
    if (setjmp(error->jump)) return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

bool startColourOrGrey(jpeg_decompress_struct* info, JpegErrorJump* error, bool grey) {
    if (setjmp(error->jump)) return false;
    info->out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGRX;
    info->dct_method = JDCT_ISLOW;
    info->do_fancy_upsampling = TRUE;
    return jpeg_start_decompress(info) == TRUE;
}

// Reads every row into the picture; a file that ends early counts as a failure.
bool readRows(jpeg_decompress_struct* info, JpegErrorJump* error, uchar* bits, qsizetype stride) {
    if (setjmp(error->jump)) return false;
    while (info->output_scanline < info->output_height) {
        JSAMPROW row = bits + qsizetype(info->output_scanline) * stride;
        if (jpeg_read_scanlines(info, &row, 1) != 1) return false;
    }
    jpeg_finish_decompress(info);
    return error->manager.num_warnings == 0;
}

void setDensity(QImage& picture, const jpeg_decompress_struct& info) {
    if (info.X_density == 0 || info.Y_density == 0) return;
    const double perMetre = info.density_unit == 1 ? 1 / 0.0254 : info.density_unit == 2 ? 100 : 0;
    if (perMetre == 0) return;
    picture.setDotsPerMeterX(int(std::lround(info.X_density * perMetre)));
    picture.setDotsPerMeterY(int(std::lround(info.Y_density * perMetre)));
}

}  // namespace

JpegResult readJpeg(const QByteArray& bytes, qint64 maxPixels) {
    jpeg_decompress_struct info{};
    JpegErrorJump error{};
    info.err = installJpegErrors(error, countEarlyEnd);
    JpegResult result;
    result.outcome = JpegDecode::Refused;
    if (readHeader(&info, &error, bytes)) {
        const J_COLOR_SPACE space = info.jpeg_color_space;
        const bool grey = space == JCS_GRAYSCALE;
        const qint64 pixels = qint64(info.image_width) * qint64(info.image_height);
        if (!grey && space != JCS_YCbCr && space != JCS_RGB) {
            result.outcome = JpegDecode::NotHandled;
        } else if (pixels > 0 && pixels <= maxPixels && startColourOrGrey(&info, &error, grey)) {
            QImage picture(int(info.output_width), int(info.output_height),
                           grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
            if (!picture.isNull() &&
                readRows(&info, &error, picture.bits(), picture.bytesPerLine())) {
                setDensity(picture, info);
                result.outcome = JpegDecode::Decoded;
                result.picture = std::move(picture);
            }
        }
    }
    jpeg_destroy_decompress(&info);
    return result;
}

}  // namespace tessel
