#include "text/InkMask.h"

#include "platform/Fonts.h"
#include "surface/Surface.h"
#include "text/LineText.h"

namespace tessel {
namespace {
constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
}  // namespace

InkMask::InkMask(int columns, int rows)
    : columns_(std::max(0, columns)),
      rows_(std::max(0, rows)),
      cells_(std::size_t(columns_) * std::size_t(rows_), kPaper) {}

std::int32_t InkMask::at(int x, int y) const {
    if (x < 1 || y < 1 || x > columns_ || y > rows_) return kPaper;
    return cells_[std::size_t(y - 1) * columns_ + std::size_t(x - 1)];
}

void InkMask::set(int x, int y, std::int32_t value) {
    if (x < 1 || y < 1 || x > columns_ || y > rows_) return;
    cells_[std::size_t(y - 1) * columns_ + std::size_t(x - 1)] = value;
}

int InkMask::firstInkRow() const {
    for (int y = 1; y <= rows_; ++y) {
        for (int x = 1; x <= columns_; ++x) {
            if (at(x, y) == kInk) return y;
        }
    }
    return 0;
}

InkMask buildInkMask(const QString& text, const FontRequest& font) {
    Surface strip(InkMask::kStripWidth, InkMask::kStripHeight);
    strip.clear(kWhite);
    ResolvedFont resolved = platform::resolveFont(font);
    // Two-tone glyphs: a smoothed edge would not be ink, and thin strokes would vanish.
    resolved.font.setStyleStrategy(QFont::NoAntialias);
    strip.selectFont(resolved);
    strip.moveTo(1, 1);
    strip.setForeground(kBlack);
    strip.setBackground(kWhite);
    strip.print(singleLine(text));

    // Cell (x, y) is strip pixel (x, y); the last column and row lie beyond the strip and read
    // as paper.
    InkMask mask;
    for (int y = 1; y <= mask.rows(); ++y) {
        for (int x = 1; x <= mask.columns(); ++x) {
            if (strip.pixel(x, y) == kBlack) mask.set(x, y, InkMask::kInk);
        }
    }
    return mask;
}

void markOutline(InkMask& mask) {
    auto isInk = [&mask](int x, int y) { return mask.at(x, y) != InkMask::kPaper; };
    bool inRun = false;
    for (int y = 1; y <= mask.rows(); ++y) {
        for (int x = 1; x <= mask.columns(); ++x) {
            if (mask.at(x, y) == InkMask::kInk && !inRun) {
                inRun = true;
                mask.set(x, y, InkMask::kOutline);
            }
            if (mask.at(x, y) == InkMask::kInk && inRun && !isInk(x, y - 1)) {
                mask.set(x, y, InkMask::kOutline);
            }
            if (mask.at(x, y) == InkMask::kInk && inRun && !isInk(x, y + 1)) {
                mask.set(x, y, InkMask::kOutline);
            }
            if (mask.at(x, y) == InkMask::kPaper && inRun) {
                inRun = false;
                if (x > 1) {
                    mask.set(x - 1, y, InkMask::kOutline);
                } else {
                    mask.set(mask.columns(), y - 1, InkMask::kOutline);
                }
            }
        }
    }
}

}  // namespace tessel
