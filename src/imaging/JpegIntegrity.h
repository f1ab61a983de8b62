#pragma once
// A structural check of JPEG files: the decoder fills a file that ends too early with grey and
// reports success, so the loader checks that the file reaches its end-of-image marker and that
// its coded data is not too short for the size its frame header declares.

#include <QByteArray>

namespace tessel {

// True when the bytes hold a JPEG stream whose marker segments and scans run, one after the
// other, up to the end-of-image marker, with at least one coded bit for every block of the
// frame's first component (Huffman coding cannot spend less); false when the stream is cut
// short, declares more pixels than its data can hold, or is no JPEG.
bool jpegIsComplete(const QByteArray& bytes);

}  // namespace tessel
