#pragma once
// Helpers of the calendar tests: holiday records as raw bytes, files in a temporary folder.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <initializer_list>

namespace tessel::testing {

struct RawRecord {
    std::int32_t day, month, colour, deleted;
};

// Four 32-bit little-endian numbers per record, written out byte by byte.
inline QByteArray recordBytes(std::initializer_list<RawRecord> records) {
    QByteArray bytes;
    auto put = [&bytes](std::int32_t value) {
        const auto u = std::uint32_t(value);
        for (int shift = 0; shift < 32; shift += 8) bytes.append(char((u >> shift) & 0xFF));
    };
    for (const RawRecord& r : records) {
        put(r.day);
        put(r.month);
        put(r.colour);
        put(r.deleted);
    }
    return bytes;
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tessel::testing
