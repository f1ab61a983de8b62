#include "imaging/GifWriter.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <memory>
#include <vector>

namespace tessel {

namespace {

struct AttrDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct ImageDeleter {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct ResultDeleter {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
struct MapDeleter {
    void operator()(ColorMapObject* p) const { GifFreeMapObject(p); }
};

// The palette and the index of every pixel, row by row.
struct IndexedPicture {
    std::vector<GifColorType> palette;
    std::vector<unsigned char> indices;
};

std::optional<IndexedPicture> quantize(const QImage& rgba) {
    std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr) return std::nullopt;
    liq_set_speed(attr.get(), 1);  // slowest and best
    liq_set_quality(attr.get(), 0, 100);
    liq_set_max_colors(attr.get(), 256);

    const int width = rgba.width();
    const int height = rgba.height();
    // The quantizer only reads the rows.
    std::vector<void*> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) rows[size_t(y)] = const_cast<uchar*>(rgba.constScanLine(y));
    std::unique_ptr<liq_image, ImageDeleter> image(
        liq_image_create_rgba_rows(attr.get(), rows.data(), width, height, 0));
    if (!image) return std::nullopt;

    liq_result* rawResult = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &rawResult) != LIQ_OK || !rawResult) {
        return std::nullopt;
    }
    std::unique_ptr<liq_result, ResultDeleter> result(rawResult);
    liq_set_dithering_level(result.get(), 1.0f);

    IndexedPicture out;
    out.indices.resize(size_t(width) * size_t(height));
    if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(),
                                 out.indices.size()) != LIQ_OK) {
        return std::nullopt;
    }
    const liq_palette* palette = liq_get_palette(result.get());
    if (!palette || palette->count == 0 || palette->count > 256) return std::nullopt;
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        out.palette.push_back(GifColorType{c.r, c.g, c.b});
    }
    return out;
}

int appendToArray(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

// Writes the indexed picture; false on any giflib error. The file is always closed.
bool writeGif(const IndexedPicture& picture, int width, int height, QByteArray& bytes) {
    // A GIF colour table holds a power of two of at least two entries.
    int tableSize = 2;
    while (tableSize < int(picture.palette.size())) tableSize *= 2;
    std::vector<GifColorType> table(picture.palette);
    table.resize(size_t(tableSize), GifColorType{0, 0, 0});
    std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(tableSize, table.data()));
    if (!map) return false;

    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToArray, &error);
    if (!gif) return false;
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, width, height, map->BitsPerPixel, 0, map.get()) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        auto* row = const_cast<GifPixelType*>(picture.indices.data() + size_t(y) * size_t(width));
        ok = EGifPutLine(gif, row, width) == GIF_OK;
    }
    return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

}  // namespace

std::optional<QByteArray> encodeGif(const QImage& picture) {
    if (picture.isNull() || picture.width() > 65535 || picture.height() > 65535) {
        return std::nullopt;
    }
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull()) return std::nullopt;
    const auto indexed = quantize(rgba);
    if (!indexed) return std::nullopt;
    QByteArray bytes;
    if (!writeGif(*indexed, rgba.width(), rgba.height(), bytes)) return std::nullopt;
    return bytes;
}

}  // namespace tessel
