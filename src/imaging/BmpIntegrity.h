#pragma once
// A structural check of BMP files that follows Qt's BMP reader step by step: where the reader
// finds the pixel data (after the header, the colour masks and a palette of as many entries as
// the header declares; at the declared offset only when that lies further on) and whether the
// file holds every row from there. The reader leaves the rows of a file that ends too early
// unwritten, so the loader refuses such a file. Run-length files are read twice into pictures
// filled with different values: the pixels no run sets show the paper.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

struct BmpCheck {
    bool complete = false;   // the data holds every pixel the header declares
    bool runLength = false;  // 4- or 8-bit run-length coding
    int width = 0;
    int height = 0;
};

BmpCheck checkBmp(const QByteArray& bytes);

// A complete run-length BMP as a picture whose pixels that no run sets are transparent; nothing
// when the reader fails.
std::optional<QImage> readRunLengthBmp(const QByteArray& bytes, const BmpCheck& check);

}  // namespace tessel
