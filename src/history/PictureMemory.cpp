#include "history/PictureMemory.h"

#include <sys/mman.h>

#include <QColorSpace>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace tessel::pictureMemory {
namespace {

constexpr std::size_t kHuge = std::size_t(2) << 20;

// A mapping of memory that a picture's pixels live in; handedOver once a later picture took it.
struct Mapping {
    void* start;
    std::size_t length;
    bool handedOver = false;
};

// The mappings in use, by their first byte: a picture's pixels are recognised as ours here.
std::mutex registryLock;
std::unordered_map<const void*, Mapping*>& registry() {
    static std::unordered_map<const void*, Mapping*> mappings;
    return mappings;
}

void unmap(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    if (!mapping->handedOver) {
        {
            const std::lock_guard<std::mutex> lock(registryLock);
            registry().erase(mapping->start);
        }
        munmap(mapping->start, mapping->length);
    }
    delete mapping;
}

QImage over(Mapping* mapping, QSize size) {
    {
        const std::lock_guard<std::mutex> lock(registryLock);
        registry()[mapping->start] = mapping;
    }
    return QImage(static_cast<uchar*>(mapping->start), size.width(), size.height(),
                  qsizetype(size.width()) * 4, QImage::Format_RGB32, &unmap, mapping);
}

std::size_t bytesOf(QSize size) {
    if (size.isEmpty()) return 0;
    return std::size_t(size.width()) * 4 * std::size_t(size.height());
}

}  // namespace

QImage blank(QSize size) {
    const std::size_t bytes = bytesOf(size);
    if (bytes < 8 * kHuge) return QImage(size, QImage::Format_RGB32);
    const std::size_t length = (bytes + kHuge - 1) / kHuge * kHuge;
    void* area =
        mmap(nullptr, length + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return QImage(size, QImage::Format_RGB32);
    // Huge pages need an address on a 2 MB boundary: the spare parts before and after go back.
    auto* first = static_cast<char*>(area);
    char* aligned = first + (kHuge - reinterpret_cast<std::uintptr_t>(first) % kHuge) % kHuge;
    if (aligned > first) munmap(first, std::size_t(aligned - first));
    const std::size_t after = std::size_t(first + length + kHuge - (aligned + length));
    if (after > 0) munmap(aligned + length, after);
#if defined(MADV_HUGEPAGE)
    madvise(aligned, length, MADV_HUGEPAGE);
#endif
    return over(new Mapping{aligned, length}, size);
}

QImage copyOf(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage copy = blank(source.size());
    if (copy.isNull() || copy.bytesPerLine() != source.bytesPerLine()) return source.copy();
    std::memcpy(copy.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
    copy.setDotsPerMeterX(source.dotsPerMeterX());
    copy.setDotsPerMeterY(source.dotsPerMeterY());
    copy.setOffset(source.offset());
    copy.setColorSpace(source.colorSpace());
    for (const QString& key : source.textKeys()) copy.setText(key, source.text(key));
    return copy;
}

QImage reuse(QImage&& spent, QSize size) {
    QImage old = std::move(spent);
    spent = QImage();
    if (old.isNull() || !old.isDetached() || bytesOf(old.size()) != bytesOf(size) ||
        old.bytesPerLine() != qsizetype(old.width()) * 4) {
        return blank(size);
    }
    Mapping* next = nullptr;
    {
        const std::lock_guard<std::mutex> lock(registryLock);
        const auto found = registry().find(old.constBits());
        if (found == registry().end()) return blank(size);
        // The old picture lets go of the memory without giving it back; the new one owns it.
        found->second->handedOver = true;
        next = new Mapping{found->second->start, found->second->length};
        found->second = next;
    }
    old = QImage();
    return QImage(static_cast<uchar*>(next->start), size.width(), size.height(),
                  qsizetype(size.width()) * 4, QImage::Format_RGB32, &unmap, next);
}

}  // namespace tessel::pictureMemory
