#include "surface/FloodFill.h"

#include <cstdint>

#include "surface/Surface.h"

namespace tessel {

namespace {

class RegionSearch {
  public:
    RegionSearch(const QImage& image, QRgb boundary, FloodMode mode)
        : image_(image),
          width_(image.width()),
          height_(image.height()),
          boundary_(boundary & 0xFFFFFFu),
          inside_(mode == FloodMode::Surface),
          visited_(std::size_t(width_) * std::size_t(height_), 0) {}

    std::vector<FloodSpan> run(QPoint start) {
        std::vector<FloodSpan> spans;
        if (!open(start.x(), start.y())) return spans;
        std::vector<QPoint> seeds{start};
        while (!seeds.empty()) {
            const QPoint seed = seeds.back();
            seeds.pop_back();
            const int y = seed.y();
            if (!open(seed.x(), y)) continue;
            int first = seed.x();
            while (first > 0 && open(first - 1, y)) --first;
            int last = seed.x();
            while (last < width_ - 1 && open(last + 1, y)) ++last;
            std::uint8_t* row = &visited_[std::size_t(y) * std::size_t(width_)];
            for (int x = first; x <= last; ++x) row[x] = 1;
            spans.push_back({y, first, last});
            if (y > 0) addSeeds(seeds, y - 1, first, last);
            if (y < height_ - 1) addSeeds(seeds, y + 1, first, last);
        }
        return spans;
    }

  private:
    // A pixel the fill may still take: in the region and not yet taken.
    bool open(int x, int y) const {
        if (visited_[std::size_t(y) * std::size_t(width_) + std::size_t(x)]) return false;
        const QRgb colour = reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x] & 0xFFFFFFu;
        return (colour == boundary_) == inside_;
    }

    // One seed for every run of open pixels of row y between first and last.
    void addSeeds(std::vector<QPoint>& seeds, int y, int first, int last) const {
        bool inRun = false;
        for (int x = first; x <= last; ++x) {
            const bool isOpen = open(x, y);
            if (isOpen && !inRun) seeds.emplace_back(x, y);
            inRun = isOpen;
        }
    }

    const QImage& image_;
    int width_;
    int height_;
    QRgb boundary_;
    bool inside_;
    std::vector<std::uint8_t> visited_;
};

}  // namespace

std::vector<FloodSpan> floodRegion(const QImage& image, QPoint start, QRgb boundary,
                                   FloodMode mode) {
    if (image.isNull() || image.format() != QImage::Format_RGB32) return {};
    if (!image.rect().contains(start)) return {};
    return RegionSearch(image, boundary, mode).run(start);
}

}  // namespace tessel
