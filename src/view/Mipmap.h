#pragma once
// Reduced copies of a picture for drawing it zoomed out: level k is the picture at 1 / 2^k, each
// pixel the average of the 2 x 2 pixels under it in the level above (at an odd edge the last row
// or column counts twice). The levels are brought up to date one rectangle at a time, so a change
// costs what it touched, not the picture's size.

#include <QImage>
#include <QRect>
#include <vector>

namespace tessel {

class Mipmap {
  public:
    static constexpr int kLevels = 5;  // down to 1/32

    void clear() { levels_.clear(); }
    bool isNull() const { return levels_.empty(); }
    // Every level made again from the picture (Format_RGB32).
    void rebuild(const QImage& picture);
    // The levels redone where the picture changed inside `area` (picture pixels).
    void update(const QImage& picture, const QRect& area);
    // Level k, 1..kLevels.
    const QImage& level(int k) const { return levels_[std::size_t(k - 1)]; }

  private:
    std::vector<QImage> levels_;
};

// The pixels of `target` inside `area` made from `source`, which is `scale` (1 or more) times
// as large: each target pixel is the average of the source area under it, every source pixel
// weighted by how much of it that area covers.
void reduceArea(const QImage& source, double scale, QImage& target, const QRect& area);

}  // namespace tessel
