#pragma once
// Helpers of the calendar tests: holiday records as raw bytes, files in a temporary folder.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>

#include "support/FileBytes.h"

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

}  // namespace tessel::testing
