// The second step of reading a picture, shared by every road into the program: the colour
// profile to sRGB, then the EXIF orientation. (The paper under transparency comes with the
// surface, in BitmapFromPicture.)

#include <QColorSpace>

#include "imaging/CodecBridge.h"
#include "imaging/ColourProfile.h"
#include "imaging/DecodedPicture.h"
#include "imaging/Orientation.h"

namespace tessel {

namespace {

QImage toSrgb(QImage picture, const QByteArray& iccProfile) {
    // What the pixels now are, so that nothing converts them again (a saved file included).
    if (convertToSrgb(picture, iccProfile)) picture.setColorSpace(QColorSpace(QColorSpace::SRgb));
    return picture;
}

}  // namespace

QImage normaliseDecoded(DecodedPicture decoded) {
    QImage picture = toSrgb(std::move(decoded.image), decoded.iccProfile);
    return orientPicture(std::move(picture), decoded.orientation);
}

QImage normalisePicture(QImage picture) {
    const QColorSpace space = picture.colorSpace();
    if (!space.isValid() || space == QColorSpace(QColorSpace::SRgb)) return picture;
    return toSrgb(std::move(picture), space.iccProfile());
}

}  // namespace tessel
