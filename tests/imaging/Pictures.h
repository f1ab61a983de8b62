#pragma once
// Pictures and file helpers shared by the imaging tests.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "support/FileBytes.h"

namespace tessel::testing {

// The picture written by Qt's writer for `format` (quality -1: the writer's default); a failure
// fails the test and gives nothing.
inline QByteArray qtEncoded(const QImage& picture, const char* format, int quality = -1) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    const bool done = writer.write(picture);
    EXPECT_TRUE(done) << format;
    return done ? bytes : QByteArray();
}

// CRC-32 as PNG chunks carry it.
inline quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline QByteArray bigEndian32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A PNG chunk: its length, its type and data, and their CRC.
inline QByteArray pngChunk(const char* type, const QByteArray& data) {
    const QByteArray body = QByteArray(type) + data;
    return bigEndian32(quint32(data.size())) + body + bigEndian32(crc32(body));
}

// A photograph-like picture: smooth gradients, a soft disc, fine stripes and noise.
inline QImage photoLike(int width, int height, unsigned seed = 7) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 6.0);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const double v = double(y) / height;
            const double dx = u - 0.6;
            const double dy = v - 0.4;
            const double disc = std::exp(-(dx * dx + dy * dy) * 18.0);
            const double stripes = (x / 3 + y / 5) % 7 == 0 ? 25.0 : 0.0;
            const double r = 40 + 150 * u + 60 * disc + stripes + noise(random);
            const double g = 70 + 110 * v + 40 * std::sin(u * 9.0) + noise(random);
            const double b = 180 - 120 * u * v + 50 * disc + noise(random);
            const auto clampByte = [](double c) {
                return int(std::lround(std::clamp(c, 0.0, 255.0)));
            };
            row[x] = qRgb(clampByte(r), clampByte(g), clampByte(b));
        }
    }
    return image;
}

// The mean absolute difference per colour channel of two pictures of the same size.
inline double meanError(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size() || x.isNull()) return 1e9;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            sum += std::abs(qRed(p[col]) - qRed(q[col])) +
                   std::abs(qGreen(p[col]) - qGreen(q[col])) +
                   std::abs(qBlue(p[col]) - qBlue(q[col]));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

}  // namespace tessel::testing
