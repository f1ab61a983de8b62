#pragma once
// The ink mask of one line of text: the line printed black on white onto a scratch strip, the
// exactly black pixels collected into a grid, and the outline of the glyphs marked in that grid.
// Hollow, textured and three-colour text are copied from the mask onto the canvas pixel by pixel.

#include <QString>
#include <cstdint>
#include <vector>

#include "surface/FontRequest.h"

namespace tessel {

class InkMask {
  public:
    // The scratch strip the line is printed on.
    static constexpr int kStripWidth = 1500;
    static constexpr int kStripHeight = 130;

    static constexpr std::int32_t kPaper = 0;
    static constexpr std::int32_t kInk = 1;
    static constexpr std::int32_t kOutline = -2;

    // A grid of paper cells; columns 1..columns and rows 1..rows (strip pixel (x, y) is cell
    // (x, y)).
    explicit InkMask(int columns = kStripWidth, int rows = kStripHeight);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    // Outside 1..columns x 1..rows a cell reads as paper and cannot be written.
    std::int32_t at(int x, int y) const;
    void set(int x, int y, std::int32_t value);

    // The first row, counting from 1, that holds an ink cell; 0 when there is none.
    int firstInkRow() const;

  private:
    int columns_;
    int rows_;
    std::vector<std::int32_t> cells_;  // row by row
};

// Prints the text at (1, 1) of a white 1500 x 130 strip, in black with an opaque white
// background and without antialiasing (every pixel of a glyph is exactly black), and collects
// the black pixels. Line breaks print as blanks. Text beyond the strip is cut.
InkMask buildInkMask(const QString& text, const FontRequest& font);

// Marks the outline: one inside-a-run flag, not reset at the end of a row; for every cell, row
// by row and left to right, four tests in order (left end of a run, top edge, bottom edge, right
// end of the run, whose cell may be the last one of the row before). Outline cells become
// kOutline and count as ink for the cells after them.
void markOutline(InkMask& mask);

}  // namespace tessel
