#pragma once
// A picture of random colours, the same for the same seed, so that no two tiles or pixels of it
// are alike and any change to it shows.

#include <QImage>
#include <QRandomGenerator>

namespace tessel::testing {

inline QImage noisePicture(int width, int height, quint32 seed = 7) {
    QImage picture(width, height, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
    }
    return picture;
}

}  // namespace tessel::testing
