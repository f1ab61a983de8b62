#include "imaging/GifReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tessel {

namespace {

struct Source {
    const QByteArray* bytes = nullptr;
    qsizetype at = 0;
};

int readFromArray(GifFileType* gif, GifByteType* out, int length) {
    auto* source = static_cast<Source*>(gif->UserData);
    const qsizetype left = source->bytes->size() - source->at;
    const int n = int(std::min<qsizetype>(left, length));
    if (n > 0) std::memcpy(out, source->bytes->constData() + source->at, size_t(n));
    source->at += n;
    return n;
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Skips the rest of an extension's sub-blocks; false on a read error.
bool skipExtension(GifFileType* gif, GifByteType* block) {
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

// The frame's rows in file order: interlaced frames come in four passes.
std::vector<int> rowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(size_t(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    const int starts[] = {0, 4, 2, 1};
    const int steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = starts[pass]; y < height; y += steps[pass]) order.push_back(y);
    }
    return order;
}

}  // namespace

std::optional<QImage> decodeGif(const QByteArray& bytes, qint64 maxPixels) {
    Source source{&bytes, 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, readFromArray, &error));
    if (!gif) return std::nullopt;
    if (qint64(gif->SWidth) * gif->SHeight > maxPixels) return std::nullopt;

    int transparent = -1;
    while (true) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) return std::nullopt;
        if (record == TERMINATE_RECORD_TYPE) return std::nullopt;  // no picture at all
        if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) != GIF_OK) return std::nullopt;
            if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
                GraphicsControlBlock control{};
                if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                    transparent = control.TransparentColor;
                }
            }
            if (!skipExtension(gif.get(), block)) return std::nullopt;
            continue;
        }
        if (record != IMAGE_DESC_RECORD_TYPE) return std::nullopt;
        break;
    }

    if (DGifGetImageDesc(gif.get()) != GIF_OK) return std::nullopt;
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0) {
        return std::nullopt;
    }
    // A frame reaching beyond the logical screen widens it.
    const int screenWidth = std::max(gif->SWidth, frame.Left + frame.Width);
    const int screenHeight = std::max(gif->SHeight, frame.Top + frame.Height);
    if (qint64(screenWidth) * screenHeight > maxPixels) return std::nullopt;

    // The colours of the table; indices beyond it are black, as an empty table is.
    std::vector<QRgb> colours(256, qRgb(0, 0, 0));
    if (map != nullptr) {
        for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
            const GifColorType& c = map->Colors[i];
            colours[size_t(i)] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
    if (transparent >= 0 && transparent < 256) colours[size_t(transparent)] = qRgba(0, 0, 0, 0);

    // Every line is decoded before the picture is made: a file whose data runs out costs no
    // picture memory.
    const size_t width = size_t(frame.Width);
    std::vector<GifPixelType> indices(width * size_t(frame.Height));
    for (const int y : rowOrder(frame.Height, frame.Interlace)) {
        if (DGifGetLine(gif.get(), indices.data() + size_t(y) * width, frame.Width) != GIF_OK) {
            return std::nullopt;
        }
    }
    QImage picture(screenWidth, screenHeight, QImage::Format_ARGB32);
    if (picture.isNull()) return std::nullopt;
    picture.fill(Qt::transparent);
    for (int y = 0; y < frame.Height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(frame.Top + y)) + frame.Left;
        const GifPixelType* in = indices.data() + size_t(y) * width;
        for (size_t x = 0; x < width; ++x) out[x] = colours[in[x]];
    }
    return picture;
}

}  // namespace tessel
