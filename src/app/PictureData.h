#pragma once
// Pictures that arrive as data rather than as a chosen file: what the clipboard holds and what
// is dropped on the window. Either a local picture file (copied in a file manager, dragged from
// one) or the picture itself (a screenshot, an image copied in a browser or another program).

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

class QMimeData;

namespace tessel {

// The first local file among the addresses the data holds (text/uri-list, or a file manager's
// list of copied files); empty when there is none.
QString localFileIn(const QMimeData* data);

// True when the data offers a picture: a local file, or picture data of any kind.
bool offersPicture(const QMimeData* data);

// The picture the data holds, decoded. Encoded data (PNG, JPEG, WebP, ...) goes through the
// same reader as a file, so its orientation and colour profile are honoured; a picture handed
// over by Qt itself is turned to sRGB when it says it is in another colour space. Nothing when
// there is no picture data or it cannot be read completely.
std::optional<QImage> pictureIn(const QMimeData* data);

// A copy of what the data offers as a picture (its local file or its picture data), to be read
// after the data itself is gone: a drop's data lives only as long as the drop.
std::unique_ptr<QMimeData> pictureDataCopy(const QMimeData* data);

}  // namespace tessel
