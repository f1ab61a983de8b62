#pragma once
// A picture as its reader gives it, before it is made ready for the program: the stored pixels
// and what the file says about showing them.

#include <QByteArray>
#include <QImage>

namespace tessel {

struct DecodedPicture {
    QImage image;           // the pixels in the order they are stored
    QByteArray iccProfile;  // the embedded colour profile not yet applied; empty when none
    int orientation = 1;    // EXIF orientation (1 to 8) not yet applied; 1 when none
};

// The picture ready for the program: in sRGB and the right way up (ColourProfile.h,
// Orientation.h). A picture with neither a profile nor an orientation keeps its pixels.
QImage normaliseDecoded(DecodedPicture decoded);

}  // namespace tessel
