#include "imaging/WebpReader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <memory>

#include "imaging/Orientation.h"

namespace tessel {

namespace {

struct DemuxRelease {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimationRelease {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

QByteArray chunk(const WebPDemuxer* demux, const char name[4]) {
    WebPChunkIterator iterator;
    QByteArray bytes;
    if (WebPDemuxGetChunk(demux, name, 1, &iterator)) {
        bytes = QByteArray(reinterpret_cast<const char*>(iterator.chunk.bytes),
                           qsizetype(iterator.chunk.size));
    }
    WebPDemuxReleaseChunkIterator(&iterator);
    return bytes;
}

// The first frame of an animation composed on its canvas (transparent where it leaves it).
QImage firstFrame(const WebPData& data, int width, int height) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) return {};
    options.color_mode = MODE_BGRA;  // Format_ARGB32 memory order
    options.use_threads = 0;
    const std::unique_ptr<WebPAnimDecoder, AnimationRelease> decoder(
        WebPAnimDecoderNew(&data, &options));
    if (!decoder) return {};
    WebPAnimInfo info;
    if (!WebPAnimDecoderGetInfo(decoder.get(), &info) || int(info.canvas_width) != width ||
        int(info.canvas_height) != height) {
        return {};
    }
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas) return {};
    QImage picture(width, height, QImage::Format_ARGB32);
    if (picture.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        std::memcpy(picture.scanLine(y), canvas + qsizetype(y) * width * 4, size_t(width) * 4);
    }
    return picture;
}

QImage still(const QByteArray& bytes, int width, int height, bool alpha) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) return {};
    QImage picture(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (picture.isNull()) return {};
    config.output.colorspace = MODE_BGRA;  // opaque pictures get 0xFF in the fourth byte
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = picture.bits();
    config.output.u.RGBA.stride = int(picture.bytesPerLine());
    config.output.u.RGBA.size = size_t(picture.sizeInBytes());
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    const VP8StatusCode status = WebPDecode(data, size_t(bytes.size()), &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK || config.output.width != width || config.output.height != height) {
        return {};
    }
    return picture;
}

}  // namespace

bool looksLikeWebp(const QByteArray& bytes) {
    return bytes.size() >= 12 && std::memcmp(bytes.constData(), "RIFF", 4) == 0 &&
           std::memcmp(bytes.constData() + 8, "WEBP", 4) == 0;
}

std::optional<DecodedPicture> decodeWebp(const QByteArray& bytes, qint64 maxPixels) {
    const WebPData data{reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
    // Without the partial flag the demuxer takes only a complete file.
    const std::unique_ptr<WebPDemuxer, DemuxRelease> demux(WebPDemux(&data));
    if (!demux) return std::nullopt;
    const int width = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int height = int(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    if (width <= 0 || height <= 0 || qint64(width) * height > maxPixels) return std::nullopt;
    const uint32_t flags = WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS);

    DecodedPicture decoded;
    if (flags & ANIMATION_FLAG) {
        decoded.image = firstFrame(data, width, height);
    } else {
        WebPBitstreamFeatures features;
        if (WebPGetFeatures(data.bytes, data.size, &features) != VP8_STATUS_OK) return std::nullopt;
        decoded.image = still(bytes, width, height, features.has_alpha);
    }
    if (decoded.image.isNull()) return std::nullopt;
    if (flags & ICCP_FLAG) decoded.iccProfile = chunk(demux.get(), "ICCP");
    if (flags & EXIF_FLAG) decoded.orientation = exifOrientation(chunk(demux.get(), "EXIF"));
    return decoded;
}

}  // namespace tessel
