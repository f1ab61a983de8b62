#pragma once
// JPEG files decoded with libjpeg straight into the picture's own memory: no second copy of
// the pixels at any time, the same pixels as Qt's reader gives (accurate DCT, smooth chroma
// upsampling).

#include <QByteArray>
#include <QImage>
#include <optional>

namespace tessel {

enum class JpegDecode { Decoded, Refused, NotHandled };

struct JpegResult {
    JpegDecode outcome = JpegDecode::NotHandled;
    QImage picture;  // Format_RGB32 for colour files, Format_Grayscale8 for grey ones
};

// Colour (YCbCr or RGB) and grey JPEG files are decoded here; others (CMYK) are left to Qt.
// A damaged file or one declaring more than maxPixels pixels is refused.
JpegResult readJpeg(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
