#pragma once
// The EXIF orientation of a picture: which way its stored rows are to be turned and mirrored to
// show it the right way up.

#include <QByteArray>
#include <QImage>

namespace tessel {

// The Orientation value (1 to 8) of the first image in an EXIF block, read with libexif. The
// block may start with "Exif\0\0" or directly with its TIFF header ("II*\0" or "MM\0*"). 1 (as
// stored) when the block is empty, unreadable, has no such tag or holds any other value.
int exifOrientation(const QByteArray& exif);

// The picture turned and mirrored as the orientation value says (2: mirrored left to right,
// 3: turned half round, 4: mirrored top to bottom, 5: mirrored along its main diagonal, 6: turned
// a quarter clockwise, 7: mirrored along its other diagonal, 8: turned a quarter anticlockwise).
// Every pixel is moved, none is changed; any other value leaves the picture as it is.
QImage orientPicture(QImage picture, int orientation);

}  // namespace tessel
