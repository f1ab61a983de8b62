#pragma once
// A recovery copy: one PNG file holding the picture of unsaved work and, in a text chunk of its
// own, what restoring it needs (the file name for the next save, the zero position, the paper
// settings, whether it came from a file or a new paper) and who wrote it when. One file, written
// at once through the safe writer, so a copy is either there whole or not at all.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QString>
#include <optional>

#include "page/PaperSettings.h"

namespace tessel::recovery {

// The key of the text chunk that holds the description.
inline const QString kDescriptionKey = QStringLiteral("tessel-recovery");

struct CopyDescription {
    QString fileName;            // the name the next save proposes
    QPoint zero;                 // the zero position
    PaperSettings paper;         // sizes, colour and texture of the paper settings
    bool openedPicture = false;  // opened from a file rather than made as a new paper
    qint64 pid = 0;              // the program that wrote it
    QDateTime time;              // when the picture was taken, in UTC
    QSize size;                  // the picture's size, checked against the pixels when read
};

// The bytes of the copy file: the picture (Format_RGB32) as a PNG with the description. Nothing
// for an empty picture or when memory runs out.
std::optional<QByteArray> encodeCopy(const QImage& picture, const CopyDescription& description);

// The description alone, read from the file's header without its pixels; nothing when the file
// is no copy this program can read.
std::optional<CopyDescription> readCopyDescription(const QString& path);

struct Copy {
    QImage picture;  // Format_RGB32
    CopyDescription description;
};
// The whole copy; nothing when any part of the file is missing or damaged, or its picture is
// not the size its description gives.
std::optional<Copy> readCopy(const QString& path);

// "9 de diciembre de 2026, 21:40": the date and time of a copy in the local time zone.
QString spokenTime(const QDateTime& time);

// The question offering a copy back.
QString recoveryQuestion(const QDateTime& time);
// The message for a copy that cannot be read, left at `path`.
QString damagedCopyMessage(const QString& path);

}  // namespace tessel::recovery
