#include "textures/TextureCache.h"

#include <QMutexLocker>
#include <algorithm>
#include <utility>

namespace tessel::textures {

TextureCache::TextureCache(int capacity, Maker maker)
    : capacity_(std::max(1, capacity)), maker_(std::move(maker)) {}

QImage TextureCache::get(int number) {
    QMutexLocker lock(&mutex_);
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        if (entries_[i].number == number) {
            entries_.move(i, 0);
            return entries_.front().picture;
        }
    }
    QImage picture = maker_(number);
    if (picture.isNull()) return picture;
    entries_.prepend(Entry{number, picture});
    while (entries_.size() > capacity_) entries_.removeLast();
    return picture;
}

int TextureCache::size() const {
    QMutexLocker lock(&mutex_);
    return int(entries_.size());
}

bool TextureCache::contains(int number) const {
    QMutexLocker lock(&mutex_);
    return std::any_of(entries_.begin(), entries_.end(),
                       [number](const Entry& e) { return e.number == number; });
}

void TextureCache::clear() {
    QMutexLocker lock(&mutex_);
    entries_.clear();
}

}  // namespace tessel::textures
