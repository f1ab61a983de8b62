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
    QImage picture;         // Format_RGB32 for colour files, Format_Grayscale8 for grey ones
    QByteArray iccProfile;  // the embedded colour profile not yet applied; empty when none
    QByteArray exif;        // the EXIF block ("Exif\0\0" and its TIFF data); empty when none
};

// Colour (YCbCr or RGB), grey and CMYK (also YCCK) JPEG files are decoded here; others are
// left to Qt. CMYK pixels come out in sRGB: through the file's CMYK profile when it has one,
// taken as Adobe programs write them (0 for full ink) when the file carries Adobe's marker.
// A damaged file or one declaring more than maxPixels pixels is refused.
JpegResult readJpeg(const QByteArray& bytes, qint64 maxPixels);

}  // namespace tessel
