#pragma once
// Whole files as bytes, for tests that make or inspect files byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tessel::testing {

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tessel::testing
