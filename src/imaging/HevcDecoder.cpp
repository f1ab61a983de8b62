#include "imaging/HevcDecoder.h"

#include <libde265/de265.h>
#include <libheif/heif.h>
#include <libheif/heif_plugin.h>

#include <cstring>

namespace tessel {

namespace {

heif_error failure(const char* message) {
    return heif_error{heif_error_Decoder_plugin_error, heif_suberror_Unspecified, message};
}

heif_error success() {
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, "Success"};
}

// libde265's own buffers, each plane cleared once it is taken.
int clearedBuffer(de265_decoder_context* context, de265_image_spec* spec, de265_image* image,
                  void*) {
    const de265_image_allocation* standard = de265_get_default_image_allocation_functions();
    if (!standard->get_buffer(context, spec, image, nullptr)) return 0;
    const de265_chroma chroma = de265_get_chroma_format(image);
    const int planes = chroma == de265_chroma_mono ? 1 : 3;
    for (int c = 0; c < planes; ++c) {
        int stride = 0;  // bytes per line
        auto* rows = const_cast<uint8_t*>(de265_get_image_plane(image, c, &stride));
        if (!rows) continue;
        int height = spec->height;
        if (c > 0 && chroma == de265_chroma_420) height = (height + 1) / 2;
        std::memset(rows, 0, size_t(stride) * size_t(height));
    }
    return 1;
}

void releaseBuffer(de265_decoder_context* context, de265_image* image, void*) {
    de265_get_default_image_allocation_functions()->release_buffer(context, image, nullptr);
}

de265_image_allocation kAllocation{clearedBuffer, releaseBuffer};

const char* pluginName() {
    return "libde265, cleared buffers";
}
void initPlugin() {}
void deinitPlugin() {}
int supports(heif_compression_format format) {
    return format == heif_compression_HEVC ? 200 : 0;
}

heif_error newDecoder(void** decoder) {
    de265_decoder_context* context = de265_new_decoder();
    if (!context) return failure("no HEVC decoder");
    de265_set_image_allocation_functions(context, &kAllocation, nullptr);
    *decoder = context;
    return success();
}

void freeDecoder(void* decoder) {
    de265_free_decoder(static_cast<de265_decoder_context*>(decoder));
}

void setStrict(void*, int) {}

// libheif hands over the NAL units each behind its length in four bytes.
heif_error pushData(void* decoder, const void* data, size_t size) {
    auto* context = static_cast<de265_decoder_context*>(decoder);
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t at = 0;
    while (at + 4 <= size) {
        const size_t length = (size_t(bytes[at]) << 24) | (size_t(bytes[at + 1]) << 16) |
                              (size_t(bytes[at + 2]) << 8) | size_t(bytes[at + 3]);
        at += 4;
        if (length > size - at) return failure("HEVC data ends too early");
        if (!de265_isOK(de265_push_NAL(context, bytes + at, int(length), 0, nullptr))) {
            return failure("HEVC data refused");
        }
        at += length;
    }
    return at == size ? success() : failure("HEVC data ends too early");
}

heif_error copyPicture(const de265_image* picture, heif_image** out) {
    const de265_chroma chroma = de265_get_chroma_format(picture);
    const heif_chroma heifChroma = chroma == de265_chroma_mono  ? heif_chroma_monochrome
                                   : chroma == de265_chroma_420 ? heif_chroma_420
                                   : chroma == de265_chroma_422 ? heif_chroma_422
                                                                : heif_chroma_444;
    heif_image* image = nullptr;
    heif_error error = heif_image_create(
        de265_get_image_width(picture, 0), de265_get_image_height(picture, 0),
        chroma == de265_chroma_mono ? heif_colorspace_monochrome : heif_colorspace_YCbCr,
        heifChroma, &image);
    if (error.code != heif_error_Ok) return error;
    const heif_channel channels[] = {heif_channel_Y, heif_channel_Cb, heif_channel_Cr};
    // The colour planes must cover the picture as the chroma format says, since the colour
    // conversion reads them by that rule.
    const int lumaWidth = de265_get_image_width(picture, 0);
    const int lumaHeight = de265_get_image_height(picture, 0);
    const int across = chroma == de265_chroma_444 ? 1 : 2;
    const int down = chroma == de265_chroma_420 ? 2 : 1;
    for (int c = 0; c < (chroma == de265_chroma_mono ? 1 : 3); ++c) {
        const int width = de265_get_image_width(picture, c);
        const int height = de265_get_image_height(picture, c);
        if (c > 0 && (width != (lumaWidth + across - 1) / across ||
                      height != (lumaHeight + down - 1) / down)) {
            heif_image_release(image);
            return failure("HEVC colour planes of the wrong size");
        }
        const int bits = de265_get_bits_per_pixel(picture, c);
        int stride = 0;
        const uint8_t* rows = de265_get_image_plane(picture, c, &stride);
        error = heif_image_add_plane(image, channels[c], width, height, bits);
        int outStride = 0;
        uint8_t* out = error.code == heif_error_Ok
                           ? heif_image_get_plane(image, channels[c], &outStride)
                           : nullptr;
        if (!rows || !out || width <= 0 || height <= 0) {
            heif_image_release(image);
            return failure("HEVC picture without its planes");
        }
        const size_t rowBytes = size_t(width) * size_t((bits + 7) / 8);
        for (int y = 0; y < height; ++y) {
            std::memcpy(out + size_t(y) * size_t(outStride), rows + size_t(y) * size_t(stride),
                        rowBytes);
        }
    }
    *out = image;
    return success();
}

heif_error decodeImage(void* decoder, heif_image** out) {
    auto* context = static_cast<de265_decoder_context*>(decoder);
    if (!de265_isOK(de265_flush_data(context))) return failure("HEVC data refused");
    int more = 1;
    const de265_image* picture = nullptr;
    while (more && !picture) {
        more = 0;
        const de265_error status = de265_decode(context, &more);
        if (status != DE265_OK && status != DE265_ERROR_WAITING_FOR_INPUT_DATA) {
            return failure("HEVC data damaged");
        }
        picture = de265_get_next_picture(context);
    }
    if (!picture) return failure("no HEVC picture");
    // A warning means that some of the picture could not be decoded as coded.
    if (de265_get_warning(context) != DE265_OK) return failure("HEVC data damaged");
    return copyPicture(picture, out);
}

const heif_decoder_plugin kPlugin{
    2,           pluginName, initPlugin,  deinitPlugin, supports, newDecoder,
    freeDecoder, pushData,   decodeImage, setStrict,    nullptr,
};

}  // namespace

const heif_decoder_plugin& clearedHevcDecoder() {
    return kPlugin;
}

}  // namespace tessel
