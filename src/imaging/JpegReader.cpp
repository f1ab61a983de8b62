#include "imaging/JpegReader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/ColourProfile.h"
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
    jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);  // EXIF
    jpeg_save_markers(info, JPEG_APP0 + 2, 0xFFFF);  // colour profile
    return jpeg_read_header(info, TRUE) == JPEG_HEADER_OK;
}

bool startDecompress(jpeg_decompress_struct* info, JpegErrorJump* error, J_COLOR_SPACE out) {
    if (setjmp(error->jump)) return false;
    info->out_color_space = out;
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

// Reads every CMYK row into `cmyk` and turns it into the picture's row; as readRows.
bool readCmykRows(jpeg_decompress_struct* info, JpegErrorJump* error, QImage* picture, uchar* cmyk,
                  const CmykToSrgb* convert) {
    if (setjmp(error->jump)) return false;
    while (info->output_scanline < info->output_height) {
        const int y = int(info->output_scanline);
        JSAMPROW row = cmyk;
        if (jpeg_read_scanlines(info, &row, 1) != 1) return false;
        convert->convertRow(cmyk, reinterpret_cast<QRgb*>(picture->scanLine(y)), picture->width());
    }
    jpeg_finish_decompress(info);
    return error->manager.num_warnings == 0;
}

bool readIccProfile(jpeg_decompress_struct* info, JpegErrorJump* error, JOCTET** data,
                    unsigned int* length) {
    if (setjmp(error->jump)) return false;
    return jpeg_read_icc_profile(info, data, length) && *data;
}

QByteArray iccProfileOf(jpeg_decompress_struct* info, JpegErrorJump* error) {
    JOCTET* data = nullptr;
    unsigned int length = 0;
    if (!readIccProfile(info, error, &data, &length)) return {};
    QByteArray profile(reinterpret_cast<const char*>(data), qsizetype(length));
    std::free(data);
    return profile;
}

QByteArray exifOf(const jpeg_decompress_struct& info) {
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && m->data_length > 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0) {
            return QByteArray(reinterpret_cast<const char*>(m->data), qsizetype(m->data_length));
        }
    }
    return {};
}

// The colour decoders: Format_RGB32 for colour, Format_Grayscale8 for grey.
bool decodeColourOrGrey(jpeg_decompress_struct* info, JpegErrorJump* error, bool grey,
                        JpegResult* result) {
    if (!startDecompress(info, error, grey ? JCS_GRAYSCALE : JCS_EXT_BGRX)) return false;
    QImage picture(int(info->output_width), int(info->output_height),
                   grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32);
    if (picture.isNull() || !readRows(info, error, picture.bits(), picture.bytesPerLine())) {
        return false;
    }
    result->picture = std::move(picture);
    return true;
}

bool decodeCmyk(jpeg_decompress_struct* info, JpegErrorJump* error, JpegResult* result) {
    if (!startDecompress(info, error, JCS_CMYK) || info->output_components != 4) return false;
    QImage picture(int(info->output_width), int(info->output_height), QImage::Format_RGB32);
    if (picture.isNull()) return false;
    const CmykToSrgb convert(result->iccProfile, info->saw_Adobe_marker);
    std::vector<uchar> cmyk(size_t(info->output_width) * 4);
    if (!readCmykRows(info, error, &picture, cmyk.data(), &convert)) return false;
    result->iccProfile.clear();  // applied
    result->picture = std::move(picture);
    return true;
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
        const bool cmyk = space == JCS_CMYK || space == JCS_YCCK;
        const qint64 pixels = qint64(info.image_width) * qint64(info.image_height);
        if (!grey && !cmyk && space != JCS_YCbCr && space != JCS_RGB) {
            result.outcome = JpegDecode::NotHandled;
        } else if (pixels > 0 && pixels <= maxPixels) {
            result.iccProfile = iccProfileOf(&info, &error);
            result.exif = exifOf(info);
            if (cmyk ? decodeCmyk(&info, &error, &result)
                     : decodeColourOrGrey(&info, &error, grey, &result)) {
                setDensity(result.picture, info);
                result.outcome = JpegDecode::Decoded;
            }
        }
        if (result.outcome != JpegDecode::Decoded) {
            result.picture = QImage();
            result.iccProfile.clear();
            result.exif.clear();
        }
    }
    jpeg_destroy_decompress(&info);
    return result;
}

}  // namespace tessel
