#pragma once
// A structural check of JPEG files: the decoder fills a file that ends too early with grey and
// reports success, so the loader checks that the file reaches its end-of-image marker.

#include <QByteArray>

namespace tessel {

// True when the bytes hold a JPEG stream whose marker segments and scans run, one after the
// other, up to the end-of-image marker; false when the stream is cut short or is no JPEG.
bool jpegIsComplete(const QByteArray& bytes);

}  // namespace tessel
