#include "app/GreyScale.h"

#include <array>
#include <cstdint>

#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr float kRedWeight = 0.3f;
constexpr float kGreenWeight = 0.59f;
constexpr float kBlueWeight = 0.11f;

// The three rounding steps as two tables of 256 x 256 bytes: the first maps (red, green) to the
// grey after the second step, the second maps (that grey, blue) to the final grey. Each entry is
// computed with the exact steps of greyOf, so the tables give the same result.
struct GreyTables {
    std::array<std::uint8_t, 256 * 256> redGreen{};
    std::array<std::uint8_t, 256 * 256> withBlue{};

    GreyTables() {
        for (int red = 0; red < 256; ++red) {
            const long first = roundToInt((long double)kRedWeight * red);
            for (int green = 0; green < 256; ++green) {
                redGreen[red * 256 + green] =
                    std::uint8_t(roundToInt((long double)kGreenWeight * green + first));
            }
        }
        for (int partial = 0; partial < 256; ++partial) {
            for (int blue = 0; blue < 256; ++blue) {
                const long grey = roundToInt((long double)kBlueWeight * blue + partial);
                withBlue[partial * 256 + blue] = std::uint8_t(grey > 255 ? 255 : grey);
            }
        }
    }
};

const GreyTables& greyTables() {
    static const GreyTables tables;
    return tables;
}

}  // namespace

int greyOf(int red, int green, int blue) {
    long grey = roundToInt((long double)kRedWeight * red);
    grey = roundToInt((long double)kGreenWeight * green + grey);
    grey = roundToInt((long double)kBlueWeight * blue + grey);
    return int(grey);
}

void toGreyScale(QImage& picture) {
    if (picture.isNull()) {
        return;
    }
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        picture.convertTo(QImage::Format_RGB32);
    }
    const GreyTables& tables = greyTables();
    const std::uint8_t* redGreen = tables.redGreen.data();
    const std::uint8_t* withBlue = tables.withBlue.data();
    const int width = picture.width();
    const int height = picture.height();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = row[x];
            const std::uint32_t partial = redGreen[(pixel >> 8) & 0xFFFF];
            const std::uint32_t grey = withBlue[(partial << 8) | (pixel & 0xFF)];
            row[x] = (pixel & 0xFF000000u) | grey * 0x010101u;
        }
    }
}

void toGreyScale(Surface& surface) {
    toGreyScale(surface.image());
}

}  // namespace tessel
