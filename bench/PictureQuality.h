#pragma once
// How far a decoded file lies from its original, for the codec quality programs.

#include <QImage>
#include <algorithm>
#include <cstdlib>

namespace tessel::bench {

struct Difference {
    double mean = 0;  // mean absolute difference per colour channel, 0..255
    int largest = 0;  // the largest difference of any channel of any pixel
};

inline Difference difference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    Difference d;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int dr = std::abs(qRed(p[col]) - qRed(q[col]));
            const int dg = std::abs(qGreen(p[col]) - qGreen(q[col]));
            const int db = std::abs(qBlue(p[col]) - qBlue(q[col]));
            sum += dr + dg + db;
            d.largest = std::max({d.largest, dr, dg, db});
        }
    }
    d.mean = sum / (3.0 * x.width() * x.height());
    return d;
}

}  // namespace tessel::bench
