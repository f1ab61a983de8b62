#include "view/Mipmap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tessel {
namespace {

QSize halved(QSize size) {
    return {(size.width() + 1) / 2, (size.height() + 1) / 2};
}

// The pixels of `target` inside `area` as the 2 x 2 averages of `source`.
void halve(const QImage& source, QImage& target, const QRect& area) {
    const int lastX = source.width() - 1;
    const int lastY = source.height() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* top = reinterpret_cast<const std::uint32_t*>(source.constScanLine(2 * y));
        const auto* bottom = reinterpret_cast<const std::uint32_t*>(
            source.constScanLine(std::min(2 * y + 1, lastY)));
        auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            const int a = 2 * x;
            const int b = std::min(a + 1, lastX);
            const std::uint32_t p[4] = {top[a], top[b], bottom[a], bottom[b]};
            std::uint32_t pixel = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                std::uint32_t sum = 2;
                for (const std::uint32_t q : p) sum += (q >> shift) & 0xFF;
                pixel |= (sum >> 2) << shift;
            }
            out[x] = pixel;
        }
    }
}

struct Tap {
    int index;
    std::uint32_t weight;  // out of kOne
};
constexpr std::uint32_t kOne = 1024;

// The source pixels under target pixel t and how much of each it covers, the weights adding up
// to kOne.
std::vector<Tap> tapsFor(int t, double scale, int sourceLength) {
    const double from = t * scale;
    const double to = std::min((t + 1) * scale, double(sourceLength));
    std::vector<Tap> taps;
    if (to <= from) {
        taps.push_back({std::clamp(int(from), 0, sourceLength - 1), kOne});
        return taps;
    }
    const double span = to - from;
    std::uint32_t given = 0;
    for (int s = int(std::floor(from)); s < to; ++s) {
        const double cover = std::min(to, s + 1.0) - std::max(from, double(s));
        const auto w = std::uint32_t(std::lround(cover / span * kOne));
        if (w == 0) continue;
        taps.push_back({s, w});
        given += w;
    }
    // Rounding may leave the sum off by a little: the largest tap takes the difference.
    auto largest = std::max_element(taps.begin(), taps.end(),
                                    [](const Tap& a, const Tap& b) { return a.weight < b.weight; });
    largest->weight = largest->weight + kOne - given;
    return taps;
}

}  // namespace

void Mipmap::rebuild(const QImage& picture) {
    levels_.clear();
    if (picture.isNull()) return;
    const QImage* above = &picture;
    for (int k = 1; k <= kLevels; ++k) {
        QImage level(halved(above->size()), QImage::Format_RGB32);
        halve(*above, level, level.rect());
        levels_.push_back(std::move(level));
        above = &levels_.back();
    }
}

void Mipmap::update(const QImage& picture, const QRect& area) {
    if (levels_.empty() || levels_[0].size() != halved(picture.size())) {
        rebuild(picture);
        return;
    }
    QRect changed = area & picture.rect();
    const QImage* above = &picture;
    for (QImage& level : levels_) {
        if (changed.isEmpty()) return;
        changed = QRect(QPoint(changed.left() / 2, changed.top() / 2),
                        QPoint(changed.right() / 2, changed.bottom() / 2)) &
                  level.rect();
        halve(*above, level, changed);
        above = &level;
    }
}

void reduceArea(const QImage& source, double scale, QImage& target, const QRect& area) {
    const QRect out = area & target.rect();
    if (out.isEmpty() || source.isNull()) return;
    std::vector<std::vector<Tap>> columns;
    columns.reserve(std::size_t(out.width()));
    for (int x = out.left(); x <= out.right(); ++x) {
        columns.push_back(tapsFor(x, scale, source.width()));
    }
    std::vector<std::uint32_t> sums(std::size_t(out.width()) * 3);
    for (int y = out.top(); y <= out.bottom(); ++y) {
        std::fill(sums.begin(), sums.end(), 0u);
        for (const Tap& row : tapsFor(y, scale, source.height())) {
            const auto* line =
                reinterpret_cast<const std::uint32_t*>(source.constScanLine(row.index));
            for (std::size_t i = 0; i < columns.size(); ++i) {
                std::uint32_t b = 0, g = 0, r = 0;
                for (const Tap& column : columns[i]) {
                    const std::uint32_t p = line[column.index];
                    b += (p & 0xFF) * column.weight;
                    g += ((p >> 8) & 0xFF) * column.weight;
                    r += ((p >> 16) & 0xFF) * column.weight;
                }
                // Each sum stays below 255 * kOne * kOne < 2^32.
                sums[3 * i] += b * row.weight / kOne;
                sums[3 * i + 1] += g * row.weight / kOne;
                sums[3 * i + 2] += r * row.weight / kOne;
            }
        }
        auto* line = reinterpret_cast<std::uint32_t*>(target.scanLine(y)) + out.left();
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const auto channel = [&](std::size_t c) {
                return std::min<std::uint32_t>(255, (sums[3 * i + c] + kOne / 2) / kOne);
            };
            line[i] = 0xFF000000u | channel(0) | (channel(1) << 8) | (channel(2) << 16);
        }
    }
}

}  // namespace tessel
