#include "imaging/GifWriter.h"

#include <gif_lib.h>
#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
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

// The palette libimagequant chooses for the picture (at most 256 colours), or nothing.
std::optional<std::vector<GifColorType>> choosePalette(const QImage& rgba) {
    std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr) return std::nullopt;
    // A fast setting: the palette is nearly as good as at the slowest one, and the dithering
    // below makes up the difference.
    liq_set_speed(attr.get(), 8);
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

    // libimagequant runs its work in OpenMP threads, which spin while they wait: on a busy
    // two-core machine they cost more processor time than they save. At this speed the
    // palette takes a small share of the time, so it is made on this thread alone. The number
    // of threads is this thread's setting (libimagequant has none of its own): it is set back
    // at once, so that nothing else this thread runs later is held to one.
    liq_result* rawResult = nullptr;
    const int threads = omp_get_max_threads();
    omp_set_num_threads(1);
    const liq_error quantized = liq_image_quantize(image.get(), attr.get(), &rawResult);
    omp_set_num_threads(threads);
    if (quantized != LIQ_OK || !rawResult) return std::nullopt;
    std::unique_ptr<liq_result, ResultDeleter> result(rawResult);
    const liq_palette* palette = liq_get_palette(result.get());
    if (!palette || palette->count == 0 || palette->count > 256) return std::nullopt;
    std::vector<GifColorType> colours;
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        colours.push_back(GifColorType{c.r, c.g, c.b});
    }
    return colours;
}

// The palette entry nearest to a colour. Colours that are palette entries map to themselves
// exactly; the others through a table of 64 levels a channel, filled as it is needed.
class NearestColour {
  public:
    explicit NearestColour(const std::vector<GifColorType>& palette)
        : palette_(palette), cells_(size_t(1) << 18, kUnknown) {
        for (size_t i = 0; i < palette.size(); ++i) {
            const GifColorType& c = palette[i];
            exact_.emplace(key(c.Red, c.Green, c.Blue), static_cast<unsigned char>(i));
        }
    }

    unsigned char operator()(int r, int g, int b) {
        if (const auto found = exact_.find(key(r, g, b)); found != exact_.end()) {
            return found->second;
        }
        const size_t cell = size_t(r >> 2) << 12 | size_t(g >> 2) << 6 | size_t(b >> 2);
        if (cells_[cell] == kUnknown) {
            cells_[cell] = search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2);
        }
        return static_cast<unsigned char>(cells_[cell]);
    }

  private:
    static constexpr std::uint16_t kUnknown = 0xFFFF;
    static std::uint32_t key(int r, int g, int b) { return std::uint32_t(r << 16 | g << 8 | b); }

    std::uint16_t search(int r, int g, int b) const {
        std::uint16_t best = 0;
        int bestDistance = INT_MAX;
        for (size_t i = 0; i < palette_.size(); ++i) {
            const int dr = palette_[i].Red - r;
            const int dg = palette_[i].Green - g;
            const int db = palette_[i].Blue - b;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = std::uint16_t(i);
            }
        }
        return best;
    }

    const std::vector<GifColorType>& palette_;
    std::vector<std::uint16_t> cells_;
    std::unordered_map<std::uint32_t, unsigned char> exact_;
};

// Floyd-Steinberg error diffusion onto the palette, running left to right and right to left on
// alternate rows. A picture whose colours are all in the palette comes out exact.
std::vector<unsigned char> dither(const QImage& rgba, const std::vector<GifColorType>& palette) {
    const int width = rgba.width();
    const int height = rgba.height();
    std::vector<unsigned char> indices(size_t(width) * size_t(height));
    NearestColour nearest(palette);
    // Errors of this row and the next, in sixteenths, with one spare pixel at each end.
    std::vector<int> current(size_t(width + 2) * 3, 0);
    std::vector<int> next(size_t(width + 2) * 3, 0);
    for (int y = 0; y < height; ++y) {
        const uchar* row = rgba.constScanLine(y);
        unsigned char* out = indices.data() + size_t(y) * size_t(width);
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < width; ++i) {
            const int x = forward ? i : width - 1 - i;
            const size_t e = size_t(x + 1) * 3;
            int wanted[3];
            for (int c = 0; c < 3; ++c) {
                wanted[c] = std::clamp(int(row[x * 4 + c]) + (current[e + c] + 8) / 16, 0, 255);
            }
            const unsigned char index = nearest(wanted[0], wanted[1], wanted[2]);
            out[x] = index;
            const GifColorType& got = palette[index];
            const int error[3] = {wanted[0] - got.Red, wanted[1] - got.Green, wanted[2] - got.Blue};
            const size_t ahead = size_t(int(e) + 3 * step);
            const size_t behind = size_t(int(e) - 3 * step);
            for (int c = 0; c < 3; ++c) {
                current[ahead + c] += error[c] * 7;
                next[behind + c] += error[c] * 3;
                next[e + c] += error[c] * 5;
                next[ahead + c] += error[c];
            }
        }
        std::swap(current, next);
    }
    return indices;
}

// The colours of a picture that has at most 256 of them, in the order they first appear; nothing
// for a picture with more.
std::optional<std::vector<GifColorType>> fewColours(const QImage& rgba) {
    std::unordered_set<std::uint32_t> seen;
    std::vector<GifColorType> colours;
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar* row = rgba.constScanLine(y);
        for (int x = 0; x < rgba.width(); ++x) {
            const uchar* p = row + x * 4;
            if (!seen.insert(std::uint32_t(p[0] << 16 | p[1] << 8 | p[2])).second) continue;
            if (colours.size() == 256) return std::nullopt;
            colours.push_back(GifColorType{p[0], p[1], p[2]});
        }
    }
    return colours;
}

std::optional<IndexedPicture> quantize(const QImage& rgba) {
    std::optional<std::vector<GifColorType>> palette = fewColours(rgba);
    if (!palette) palette = choosePalette(rgba);
    if (!palette) return std::nullopt;
    IndexedPicture out;
    out.indices = dither(rgba, *palette);
    out.palette = std::move(*palette);
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
