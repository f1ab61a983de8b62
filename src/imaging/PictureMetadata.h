#pragma once
// What PNG and TIFF files say about showing their pixels, read with their own libraries
// (libpng, libtiff) and libexif, apart from the pixels themselves.

#include <QByteArray>

#include "imaging/DecodedPicture.h"

namespace tessel {

// The colour profile (iCCP) and the EXIF orientation (eXIf) a PNG file declares before its
// image data. Nothing for bytes that are no readable PNG header.
void readPngMetadata(const QByteArray& bytes, DecodedPicture& picture);

// The colour profile and the orientation of the first image of a TIFF file. Nothing for bytes
// that are no readable TIFF.
void readTiffMetadata(const QByteArray& bytes, DecodedPicture& picture);

}  // namespace tessel
