#pragma once
// Memory for the whole pictures of the undo history. A large picture lives in memory asked for
// in huge pages where the system offers them: its first writes then take a few dozen page faults
// rather than thousands, which is most of the cost of filling a photograph on a busy machine. The
// memory of a picture no longer needed can be handed on to the next picture of as many bytes (a
// turned one), so turning, undoing and redoing a turn take no fresh memory for it.

#include <QImage>
#include <QSize>

namespace tessel::pictureMemory {

// A Format_RGB32 picture of `size` whose pixels are still to be written.
QImage blank(QSize size);
// A deep copy of the picture (Format_RGB32), in huge pages when it is large.
QImage copyOf(const QImage& picture);
// A Format_RGB32 picture of `size` over the memory of `spent` when that came from blank() or
// copyOf(), is held nowhere else and has exactly as many bytes; else blank(size). Its pixels
// are still to be written; `spent` is null afterwards.
QImage reuse(QImage&& spent, QSize size);

}  // namespace tessel::pictureMemory
