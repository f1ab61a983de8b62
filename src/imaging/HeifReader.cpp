#include "imaging/HeifReader.h"

#include "imaging/ClearedAlignedMemory.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>

namespace tessel {

namespace {

struct ContextRelease {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsRelease {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

QByteArray iccProfileOf(const heif_image_handle* handle) {
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
    QByteArray profile(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), '\0');
    if (profile.isEmpty()) return {};
    if (heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok) {
        return {};
    }
    return profile;
}

// The decoded RGB(A) rows in the memory order of Format_RGB32 or Format_ARGB32.
QImage copyPixels(const heif_image* image, bool alpha, bool premultiplied) {
    const int width = heif_image_get_width(image, heif_channel_interleaved);
    const int height = heif_image_get_height(image, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* rows = heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride);
    if (!rows || width <= 0 || height <= 0) return {};
    const QImage::Format format = !alpha          ? QImage::Format_RGB32
                                  : premultiplied ? QImage::Format_ARGB32_Premultiplied
                                                  : QImage::Format_ARGB32;
    QImage picture(width, height, format);
    if (picture.isNull()) return {};
    const int samples = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = rows + qsizetype(y) * stride;
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x, in += samples) {
            out[x] = qRgba(in[0], in[1], in[2], alpha ? in[3] : 255);
        }
    }
    if (premultiplied) picture = picture.convertToFormat(QImage::Format_ARGB32);
    return picture;
}

}  // namespace

bool looksLikeHeif(const QByteArray& bytes) {
    const int length = int(std::min<qsizetype>(bytes.size(), 64));
    const heif_filetype_result type =
        heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()), length);
    return type == heif_filetype_yes_supported || type == heif_filetype_yes_unsupported;
}

std::optional<DecodedPicture> decodeHeif(const QByteArray& bytes, qint64 maxPixels) {
    static const bool started = heif_init(nullptr).code == heif_error_Ok;
    if (!started) return std::nullopt;
    const std::unique_ptr<heif_context, ContextRelease> context(heif_context_alloc());
    if (!context) return std::nullopt;
    // The bytes outlive the context, so libheif reads them where they are.
    if (heif_context_read_from_memory_without_copy(context.get(), bytes.constData(),
                                                   size_t(bytes.size()), nullptr)
            .code != heif_error_Ok) {
        return std::nullopt;
    }
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok) {
        return std::nullopt;
    }
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
    // The size after the file's own rotation and cropping, as the picture is shown.
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || qint64(width) * height > maxPixels) return std::nullopt;
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    const bool premultiplied = alpha && heif_image_handle_is_premultiplied_alpha(handle.get());

    const std::unique_ptr<heif_decoding_options, OptionsRelease> options(
        heif_decoding_options_alloc());
    if (!options) return std::nullopt;
    options->convert_hdr_to_8bit = 1;
    options->strict_decoding = 1;  // a damaged stream is an error, not a picture with gaps
    heif_image* decodedImage = nullptr;
    const ClearedAlignedMemory cleared;  // what a damaged stream leaves undecoded is black
    const heif_error decodeError = heif_decode_image(
        handle.get(), &decodedImage, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    if (decodeError.code != heif_error_Ok) {
        return std::nullopt;
    }
    const std::unique_ptr<heif_image, ImageRelease> image(decodedImage);
    if (heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        return std::nullopt;
    }
    DecodedPicture decoded;
    decoded.image = copyPixels(image.get(), alpha, premultiplied);
    if (decoded.image.isNull() ||
        qint64(decoded.image.width()) * decoded.image.height() > maxPixels) {
        return std::nullopt;
    }
    decoded.iccProfile = iccProfileOf(handle.get());
    return decoded;
}

}  // namespace tessel
