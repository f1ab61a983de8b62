#pragma once
// Keeps the few textures used most recently, so that going back and forth between textures
// does not make them again while memory stays bounded.

#include <QImage>
#include <QList>
#include <QMutex>
#include <functional>

namespace tessel::textures {

class TextureCache {
  public:
    using Maker = std::function<QImage(int)>;
    // Keeps at most capacity textures (at least one).
    explicit TextureCache(int capacity, Maker maker);

    // Texture n: the kept one, or a new one from the maker (kept unless it is null).
    QImage get(int number);

    int capacity() const { return capacity_; }
    int size() const;
    bool contains(int number) const;
    void clear();

  private:
    struct Entry {
        int number;
        QImage picture;
    };
    const int capacity_;
    Maker maker_;
    mutable QMutex mutex_;
    QList<Entry> entries_;  // the most recently used first
};

}  // namespace tessel::textures
