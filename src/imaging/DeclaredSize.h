#pragma once
// The size a picture file declares in its header, read from the bytes themselves before any
// decoder is asked, so that the bound on pictures holds whatever a decoder would report.

#include <QByteArray>
#include <QtGlobal>

namespace tessel {

// Width times height as the header of a PNG, JPEG (its first frame), GIF (its logical screen)
// or BMP file declares them; 0 when the bytes are none of these or their header is cut short.
qint64 declaredPixels(const QByteArray& bytes);

}  // namespace tessel
