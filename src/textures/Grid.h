#pragma once
// A smooth part of a texture sampled every few pixels and interpolated in between: a noise whose
// finest detail spans many pixels looks the same and costs a fraction of the evaluations.

#include <algorithm>
#include <cmath>
#include <vector>

#include "textures/Parallel.h"
#include "textures/Rows.h"

namespace tessel::textures {

class Grid {
  public:
    Grid() = default;
    // Samples f(x, y) at the pixel centres of every stepX-th column and stepY-th row of a
    // width x height picture (and one beyond, so every pixel lies between samples). Only the
    // samples that the top-left neededWidth x neededHeight pixels read are made; those pixels
    // read the same values as in a grid made in full.
    template <typename F>
    Grid(int width, int height, int stepX, int stepY, F f, int neededWidth = -1,
         int neededHeight = -1)
        : stepX_(std::max(1, stepX)),
          stepY_(std::max(1, stepY)),
          columns_(width / stepX_ + 2),
          rows_(height / stepY_ + 2),
          inverseX_(1.0f / float(stepX_)),
          inverseY_(1.0f / float(stepY_)),
          values_(std::size_t(columns_) * std::size_t(rows_)) {
        // A pixel centre at most (needed - 0.5) reads the samples up to one past
        // (needed - 1) / step; one more leaves room for the rounding of the float steps.
        // (A negative extent stands for the whole picture.)
        const int rows =
            neededHeight < 0 ? rows_ : std::min(rows_, std::max(0, neededHeight - 1) / stepY_ + 3);
        const int columns = neededWidth < 0
                                ? columns_
                                : std::min(columns_, std::max(0, neededWidth - 1) / stepX_ + 3);
        forEachBand(
            rows,
            [&](int first, int end) {
                for (int j = first; j < end; ++j)
                    fillRow(values_.data() + std::size_t(j) * std::size_t(columns_), columns,
                            stepX_, float(j * stepY_) + 0.5f, f);
            },
            4);
    }

    // The value at a pixel centre inside the picture, interpolated bilinearly.
    [[gnu::always_inline]] float at(float x, float y) const {
        const float gx = std::max(0.0f, (x - 0.5f) * inverseX_);
        const float gy = std::max(0.0f, (y - 0.5f) * inverseY_);
        const int i = std::min(int(gx), columns_ - 2);
        const int j = std::min(int(gy), rows_ - 2);
        const float fx = gx - float(i);
        const float fy = gy - float(j);
        // 32-bit indices, so that a vectorised row reads its samples with one gather each.
        const float* v = values_.data();
        const int k = j * columns_ + i;
        const float top = v[k] + (v[k + 1] - v[k]) * fx;
        const float bottom = v[k + columns_] + (v[k + columns_ + 1] - v[k + columns_]) * fx;
        return top + (bottom - top) * fy;
    }

  private:
    int stepX_ = 1, stepY_ = 1, columns_ = 0, rows_ = 0;
    float inverseX_ = 1.0f, inverseY_ = 1.0f;
    std::vector<float> values_;
};

}  // namespace tessel::textures
