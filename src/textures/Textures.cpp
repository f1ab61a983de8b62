#include "textures/Textures.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "textures/Generators.h"
#include "textures/Noise.h"
#include "textures/Parallel.h"

namespace tessel::textures {

namespace {

// The palette as a table of 1024 colours, channels as floats.
class ColourTable {
  public:
    explicit ColourTable(const Recipe& recipe) {
        const int n = int(recipe.palette.size());
        for (int i = 0; i < kEntries; ++i) {
            const float t = float(i) / float(kEntries - 1);
            int k = 0;
            while (k + 1 < n && recipe.stops[k + 1] < t) ++k;
            const int k2 = std::min(k + 1, n - 1);
            const float span = recipe.stops[k2] - recipe.stops[k];
            const float f = span > 0.0f ? clamp01((t - recipe.stops[k]) / span) : 0.0f;
            const QRgb a = recipe.palette[k];
            const QRgb b = recipe.palette[k2];
            entries_[i] = {lerp(float(qRed(a)), float(qRed(b)), f),
                           lerp(float(qGreen(a)), float(qGreen(b)), f),
                           lerp(float(qBlue(a)), float(qBlue(b)), f)};
        }
    }
    const std::array<float, 3>& at(float t) const {
        return entries_[std::size_t(clamp01(t) * float(kEntries - 1) + 0.5f)];
    }

  private:
    static constexpr int kEntries = 1024;
    std::array<std::array<float, 3>, kEntries> entries_;
};

inline int toByte(float v) {
    return v <= 0.0f ? 0 : (v >= 255.0f ? 255 : int(v + 0.5f));
}

}  // namespace

QImage renderRecipe(const Recipe& recipe) {
    const int w = recipe.size.width();
    const int h = recipe.size.height();
    const auto generator = makeGenerator(recipe);
    if (!generator || w <= 0 || h <= 0 || recipe.palette.size() < 2) return QImage();
    // The part to make, and the field under it with the row and column beyond that the relief
    // reads.
    const int ew = recipe.extent.isEmpty() ? w : std::min(w, recipe.extent.width());
    const int eh = recipe.extent.isEmpty() ? h : std::min(h, recipe.extent.height());
    const int fw = std::min(w, ew + 1);
    const int fh = std::min(h, eh + 1);

    std::vector<float> field(std::size_t(fw) * std::size_t(fh));
    forEachBand(fh, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            generator->row(float(y) + 0.5f, fw, field.data() + std::size_t(y) * std::size_t(fw));
        }
    });

    const ColourTable colours(recipe);
    const float relief = recipe.value(QStringLiteral("relief"), 0.0f);
    const float noise = recipe.value(QStringLiteral("noise"), 0.0f);
    const float vignette = recipe.value(QStringLiteral("vignette"), 0.0f);
    const std::uint32_t seed = recipe.seed ^ 0xA511E9B3u;
    QImage picture(ew, eh, QImage::Format_RGB32);
    if (picture.isNull()) return picture;
    // The rows are found from the pixels' address, taken here: a QImage's own row access counts
    // and may copy, which must happen on one thread only.
    uchar* const pixels = picture.bits();
    const qsizetype rowBytes = picture.bytesPerLine();
    forEachBand(eh, [&](int first, int end) {
        for (int y = first; y < end; ++y) {
            const float* row = field.data() + std::size_t(y) * std::size_t(fw);
            const float* above = field.data() + std::size_t(std::max(0, y - 1)) * std::size_t(fw);
            const float* below =
                field.data() + std::size_t(std::min(h - 1, y + 1)) * std::size_t(fw);
            auto* out = reinterpret_cast<QRgb*>(pixels + y * rowBytes);
            const float vy = 2.0f * float(y) / float(h) - 1.0f;
            for (int x = 0; x < ew; ++x) {
                float t = row[x];
                if (noise != 0.0f) t += noise * (hashUnit(x, y, seed) - 0.5f);
                float shade = 1.0f;
                if (relief != 0.0f) {
                    // Light from the top left: a rise towards it is lit, a fall shaded.
                    const float slope = above[std::max(0, x - 1)] - below[std::min(w - 1, x + 1)];
                    shade += relief * slope;
                }
                if (vignette != 0.0f) {
                    const float vx = 2.0f * float(x) / float(w) - 1.0f;
                    const float r = vx * vx + vy * vy;
                    shade *= 1.0f - vignette * r * r * 0.25f;
                }
                const auto& c = colours.at(t);
                // Triangular dither of half a step keeps smooth gradients free of bands.
                const float dither = hashUnit(x, y, seed + 1u) + hashUnit(x, y, seed + 2u) - 1.0f;
                out[x] = qRgb(toByte(c[0] * shade + dither), toByte(c[1] * shade + dither),
                              toByte(c[2] * shade + dither));
            }
        }
    });
    return picture;
}

QImage makeTexture(int number) {
    const Recipe* recipe = builtinRecipe(number);
    return recipe ? renderRecipe(*recipe) : QImage();
}

QImage makeTextureCorner(int number, QSize extent) {
    const Recipe* recipe = builtinRecipe(number);
    if (!recipe || extent.isEmpty()) return QImage();
    Recipe corner = *recipe;
    corner.extent = extent;
    return renderRecipe(corner);
}

QSize textureSize(int number) {
    const Recipe* recipe = builtinRecipe(number);
    return recipe ? recipe->size : QSize();
}

QString textureFamily(int number) {
    const Recipe* recipe = builtinRecipe(number);
    return recipe ? recipe->family : QString();
}

}  // namespace tessel::textures
