#pragma once
// A structural check of BMP files: the decoder leaves the rows of a file that ends too early
// unset, so the loader measures the pixel data against what the header declares first. For
// run-length coded files it follows the runs and notes the pixels they never reach.

#include <QByteArray>
#include <vector>

namespace tessel {

struct BmpCheck {
    bool complete = false;  // the data holds every pixel the header declares
    int width = 0;
    int height = 0;
    // For run-length files whose runs skip pixels (moves, early line or picture ends): true for
    // each pixel no run sets, row by row from the top; empty when every pixel is set.
    std::vector<bool> unset;
};

BmpCheck checkBmp(const QByteArray& bytes);

}  // namespace tessel
