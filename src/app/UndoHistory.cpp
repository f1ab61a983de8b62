#include "app/UndoHistory.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace tessel {

// One stored tile: a header with its sharing count and size, then its pixels row after row,
// without padding, from the next cache line on; one allocation per tile.
struct UndoHistory::Tile {
    static constexpr std::size_t kHeaderBytes = 64;
    static constexpr std::align_val_t kAlignment{64};
    static_assert(sizeof(int) * 3 <= kHeaderBytes);

    int references = 1;
    int width = 0;
    int height = 0;

    static Tile* create(int width, int height) {
        const std::size_t bytes = std::size_t(width) * std::size_t(height) * sizeof(std::uint32_t);
        void* memory = ::operator new(kHeaderBytes + bytes, kAlignment);
        return new (memory) Tile{1, width, height};
    }
    static void destroy(Tile* tile) {
        tile->~Tile();
        ::operator delete(tile, kAlignment);
    }
    std::uint32_t* pixels() {
        return reinterpret_cast<std::uint32_t*>(reinterpret_cast<uchar*>(this) + kHeaderBytes);
    }
    const std::uint32_t* pixels() const {
        return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const uchar*>(this) +
                                                      kHeaderBytes);
    }
};

UndoHistory::TilePtr::TilePtr(const TilePtr& other) : tile_(other.tile_) {
    if (tile_) {
        ++tile_->references;
    }
}

void UndoHistory::TilePtr::reset() {
    if (tile_ && --tile_->references == 0) {
        Tile::destroy(tile_);
    }
    tile_ = nullptr;
}

int UndoHistory::TilePtr::useCount() const {
    return tile_ ? tile_->references : 0;
}

namespace {

// What the header and the allocator add to every tile, roughly.
constexpr std::size_t kTileOverhead = 96;
constexpr std::size_t kPixelBytes = sizeof(std::uint32_t);
constexpr int kCacheLine = 64;
constexpr std::size_t kFullRowBytes = UndoHistory::kTileSize * kPixelBytes;

// Whether two runs of bytes are equal. Inlined, since the runs are short (one row of a tile)
// and many: a library call per run would cost more than the comparison itself.
inline bool sameBytes(const uchar* a, const uchar* b, std::size_t count) {
    std::size_t i = 0;
#ifdef __SSE2__
    __m128i difference = _mm_setzero_si128();
    for (; i + 32 <= count; i += 32) {
        const __m128i x0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i x1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i + 16));
        const __m128i y0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i y1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i + 16));
        difference =
            _mm_or_si128(difference, _mm_or_si128(_mm_xor_si128(x0, y0), _mm_xor_si128(x1, y1)));
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(difference, _mm_setzero_si128())) != 0xFFFF) {
        return false;
    }
#endif
    std::uint32_t rest = 0;
    for (; i < count; i += 4) {
        std::uint32_t x;
        std::uint32_t y;
        std::memcpy(&x, a + i, 4);
        std::memcpy(&y, b + i, 4);
        rest |= x ^ y;
    }
    return rest == 0;
}

int tilesIn(int pixels) {
    return (pixels + UndoHistory::kTileSize - 1) / UndoHistory::kTileSize;
}

}  // namespace

UndoHistory::UndoHistory(std::size_t memoryBudget) : budget_(memoryBudget), current_(QImage()) {}

UndoHistory::~UndoHistory() = default;

std::size_t UndoHistory::defaultMemoryBudget() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::size_t(1) << 30;
    }
    return std::size_t(pages) * std::size_t(pageSize) / 4;
}

void UndoHistory::start(const QImage& picture) {
    clear();
    current_ = Surface(picture);
    hasPicture_ = !current_.isNull();
}

void UndoHistory::clear() {
    stored_.clear();
    storedBytes_ = 0;
    droppedLevels_ = 0;
    level_ = 0;
    hasPicture_ = false;
    current_ = Surface(QImage());
}

QRect UndoHistory::tileRect(int index, QSize size) {
    const int across = tilesIn(size.width());
    const int x = (index % across) * kTileSize;
    const int y = (index / across) * kTileSize;
    return QRect(x, y, std::min(kTileSize, size.width() - x),
                 std::min(kTileSize, size.height() - y));
}

std::size_t UndoHistory::tileCost(const Tile& tile) {
    return std::size_t(tile.width) * tile.height * kPixelBytes + kTileOverhead;
}

std::size_t UndoHistory::levelCost(const Level& level) {
    return sizeof(Level) + level.tiles.capacity() * sizeof(TilePtr);
}

// Cuts the current picture into tiles, sharing every tile that equals the one of the level below.
// The picture is read in bands of tile rows, row by row from the top, so that it streams through
// the cache once; a tile found different is not compared further.
UndoHistory::Level UndoHistory::commitCurrent(const Level* below) {
    QImage& image = current_.image();
    if (image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_RGB32);
    }
    const uchar* bits = image.constBits();
    const qsizetype stride = image.bytesPerLine();
    if (below && below->size != image.size()) {
        below = nullptr;
    }
    const int across = tilesIn(image.width());
    const int down = tilesIn(image.height());

    Level level{image.size(), std::vector<TilePtr>(std::size_t(across) * std::size_t(down))};
    storedBytes_ += levelCost(level);
    std::vector<char> same(static_cast<std::size_t>(across));
    std::vector<const uchar*> oldRows(static_cast<std::size_t>(across));
    for (int band = 0; band < down; ++band) {
        const int top = band * kTileSize;
        const int height = std::min(kTileSize, image.height() - top);
        const std::size_t first = std::size_t(band) * std::size_t(across);
        std::fill(same.begin(), same.end(), below != nullptr);
        if (below) {
            // Where each tile of the band is read next, and the width of the last one.
            for (int t = 0; t < across; ++t) {
                oldRows[t] = reinterpret_cast<const uchar*>(below->tiles[first + t]->pixels());
            }
            const std::size_t lastBytes =
                std::size_t(image.width() - (across - 1) * kTileSize) * kPixelBytes;
            // The tiles of the next band lie scattered in memory, where the processor cannot
            // guess them: ask for two of their cache lines per row compared here.
            const TilePtr* next = band + 1 < down ? &below->tiles[first + across] : nullptr;
            for (int row = 0; row < height; ++row) {
                const uchar* line = bits + (top + row) * stride;
                if (next) {
                    for (int t = 0; t < across; ++t) {
                        // Plain addresses: a narrow tile ends before the last rows asked for,
                        // which a prefetch may do but pointer arithmetic may not.
                        const std::uintptr_t ahead =
                            reinterpret_cast<std::uintptr_t>(next[t].get()) +
                            std::uintptr_t(row) * 2 * kCacheLine;
                        __builtin_prefetch(reinterpret_cast<const void*>(ahead), 0, 2);
                        __builtin_prefetch(reinterpret_cast<const void*>(ahead + kCacheLine), 0, 2);
                    }
                }
                for (int t = 0; t < across - 1; ++t) {
                    if (same[t]) {
                        same[t] = sameBytes(line + t * kFullRowBytes, oldRows[t], kFullRowBytes);
                        oldRows[t] += kFullRowBytes;
                    }
                }
                const int last = across - 1;
                if (same[last]) {
                    same[last] = sameBytes(line + last * kFullRowBytes, oldRows[last], lastBytes);
                    oldRows[last] += lastBytes;
                }
            }
        }
        for (int t = 0; t < across; ++t) {
            if (same[t]) {
                level.tiles[first + t] = below->tiles[first + t];
                continue;
            }
            const QRect r = tileRect(int(first) + t, level.size);
            const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
            const uchar* origin = bits + r.y() * stride + std::size_t(r.x()) * kPixelBytes;
            Tile* tile = Tile::create(r.width(), r.height());
            for (int row = 0; row < r.height(); ++row) {
                std::memcpy(tile->pixels() + row * r.width(), origin + row * stride, rowBytes);
            }
            storedBytes_ += tileCost(*tile);
            level.tiles[first + t] = TilePtr(tile);
        }
    }
    return level;
}

void UndoHistory::restoreCurrent(const Level& level) {
    QImage& image = current_.image();
    if (image.size() != level.size || image.format() != QImage::Format_RGB32) {
        image = QImage(level.size, QImage::Format_RGB32);
    }
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (std::size_t i = 0; i < level.tiles.size(); ++i) {
        const QRect r = tileRect(int(i), level.size);
        const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
        uchar* origin = bits + r.y() * stride + std::size_t(r.x()) * kPixelBytes;
        const std::uint32_t* source = level.tiles[i]->pixels();
        for (int row = 0; row < r.height(); ++row) {
            std::memcpy(origin + row * stride, source + row * r.width(), rowBytes);
        }
    }
}

// Gives back the memory of the tiles that no other level shares.
void UndoHistory::releaseLevel(Level& level) {
    for (TilePtr& tile : level.tiles) {
        if (tile.useCount() == 1) {
            storedBytes_ -= tileCost(*tile);
        }
        tile.reset();
    }
    storedBytes_ -= levelCost(level);
    level.tiles = {};
}

void UndoHistory::dropStoredLevel(std::size_t index) {
    releaseLevel(stored_[index]);
    stored_.erase(stored_.begin() + std::ptrdiff_t(index));
    --level_;
    ++droppedLevels_;
}

// The oldest levels above level 0 go first; level 0 and the current picture always stay.
void UndoHistory::fitInBudget() {
    while (storedBytes_ > budget_ && stored_.size() > 1) {
        dropStoredLevel(1);
    }
}

void UndoHistory::push() {
    if (!hasPicture_) {
        return;
    }
    stored_.push_back(commitCurrent(stored_.empty() ? nullptr : &stored_.back()));
    ++level_;
    if (level_ > kMaxLevel) {
        dropStoredLevel(1);
    }
    fitInBudget();
}

bool UndoHistory::undo() {
    if (!hasPicture_ || level_ == 0) {
        return false;
    }
    restoreCurrent(stored_.back());
    releaseLevel(stored_.back());
    stored_.pop_back();
    --level_;
    return true;
}

QImage UndoHistory::levelPicture(int k) const {
    if (!hasPicture_ || k < 0 || k > level_) {
        return QImage();
    }
    if (k == level_) {
        return current_.image().copy();
    }
    const Level& level = stored_[std::size_t(k)];
    QImage picture(level.size, QImage::Format_RGB32);
    for (std::size_t i = 0; i < level.tiles.size(); ++i) {
        const QRect r = tileRect(int(i), level.size);
        const std::uint32_t* source = level.tiles[i]->pixels();
        for (int row = 0; row < r.height(); ++row) {
            std::memcpy(picture.scanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                        source + row * r.width(), std::size_t(r.width()) * kPixelBytes);
        }
    }
    return picture;
}

}  // namespace tessel
