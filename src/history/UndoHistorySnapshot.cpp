#include "history/UndoHistorySnapshot.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "history/PictureMemory.h"

namespace tessel {
namespace {

constexpr int kSide = UndoHistory::kTileSize;
constexpr std::size_t kTilePixels = std::size_t(kSide) * kSide;
constexpr std::size_t kPixelBytes = 4;
// Tiles copied between two looks at the clock: 256 KB, well under a millisecond.
constexpr std::size_t kTilesPerLook = 64;
// Beyond this many drawn tiles (1 MB), the snapshot shares the current picture and the reading
// thread copies it: a change of the whole picture then costs the window thread nothing. A write
// before the reader is done makes a reader that yields give up, or waits for one that does not.
constexpr std::size_t kShareAbove = 4 * kTilesPerLook;

}  // namespace

void UndoHistory::Snapshot::Free::operator()(std::uint32_t* pixels) const {
    std::free(pixels);
}

UndoHistory::Snapshot::Snapshot(UndoHistory& history) {
    if (!history.hasPicture_) return;
    const QImage& image = std::as_const(history.current_).image();
    if (image.isNull()) return;
    pool_ = &history.pool_;
    stateId_ = history.stateId();
    writes_ = history.current_.writes();
    size_ = image.size();
    across_ = (size_.width() + kSide - 1) / kSide;
    if (image.format() != QImage::Format_RGB32 || size_ != history.size_) {
        // Not a picture the history holds tiles of (its next push starts again from it): the
        // whole of it is copied now.
        base_ = image.format() == QImage::Format_RGB32
                    ? pictureMemory::copyOf(image)
                    : image.convertToFormat(QImage::Format_RGB32);
        if (base_.isNull()) size_ = QSize();
        return;
    }
    base_ = history.base_;
    pixels_.assign(std::size_t(history.across_) * std::size_t(history.down_), nullptr);
    std::size_t stored = history.pending_.size();
    for (const TilePtr& tile : history.top_) stored += tile.get() ? 1 : 0;
    pinned_.reserve(stored);
    for (std::size_t i = 0; i < history.top_.size(); ++i) pin(history.top_[i], int(i));
    // The tiles of the level last undone or redone hold the current pixels where they lie.
    for (const Change& change : history.pending_) pin(change.tile, change.index);
    const std::vector<int>& drawn = history.dirtyTiles();
    drawn_.assign(drawn.begin(), drawn.end());
    if (drawn_.empty()) return;
    if (drawn_.size() > kShareAbove) {
        shared_ = image;
        reads_ = history.reads_;
        reads_->begin();
        return;
    }
    own_.reset(static_cast<std::uint32_t*>(
        std::malloc(drawn_.size() * kTilePixels * sizeof(std::uint32_t))));
    if (!own_) {  // no memory for the copy: an empty snapshot, tried again later
        drawn_.clear();
        size_ = QSize();
    }
}

UndoHistory::Snapshot::~Snapshot() {
    releaseShared();
    for (Tile* tile : pinned_) pool_->unpin(tile);
}

void UndoHistory::Snapshot::releaseShared() {
    if (!reads_) return;
    shared_ = QImage();
    reads_->end();
    reads_.reset();
}

void UndoHistory::Snapshot::pin(const TilePtr& tile, int index) {
    // The tile itself is not const: only the history's handle to it is.
    Tile* stored = const_cast<Tile*>(tile.get());
    if (!stored) return;
    pool_->pin(stored);
    pinned_.push_back(stored);
    pixels_[std::size_t(index)] = stored->pixels;
}

bool UndoHistory::Snapshot::copyDrawnTiles(const UndoHistory& history, Clock::time_point deadline) {
    if (reads_) return true;  // the reading thread copies the shared picture
    const QImage& image = history.current_.image();
    while (copied_ < drawn_.size()) {
        const std::size_t end = std::min(drawn_.size(), copied_ + kTilesPerLook);
        for (; copied_ < end; ++copied_) {
            const int index = drawn_[copied_];
            std::uint32_t* tile = own_.get() + copied_ * kTilePixels;
            const QRect r = tilePixels(index, across_, size_);
            const std::size_t rowBytes = std::size_t(r.width()) * kPixelBytes;
            for (int row = 0; row < r.height(); ++row) {
                std::memcpy(tile + std::size_t(row) * kSide,
                            image.constScanLine(r.y() + row) + std::size_t(r.x()) * kPixelBytes,
                            rowBytes);
            }
            pixels_[std::size_t(index)] = tile;
        }
        if (Clock::now() >= deadline) break;
    }
    return copied_ == drawn_.size();
}

bool UndoHistory::Snapshot::isCurrent(const UndoHistory& history) const {
    const QImage& image = history.current_.image();
    return !isEmpty() && history.hasPicture_ && history.stateId() == stateId_ &&
           history.current_.writes() == writes_ && image.size() == size_;
}

bool UndoHistory::Snapshot::writeInto(QImage& target) {
    if (isEmpty() || !isComplete()) return false;
    const bool fits = target.size() == size_ && target.format() == QImage::Format_RGB32;
    if (reads_) {
        // The shared picture is the whole current picture: copied as it is, a band of rows
        // (about a millisecond) at a time, then let go. A snapshot that yields gives up when
        // the window waits to write.
        const std::size_t bytes = std::size_t(size_.width()) * kPixelBytes;
        for (int y = 0; fits && y < size_.height(); ++y) {
            if (y % kSide == 0 && yields_ && reads_->writerWaiting()) {
                yielded_ = true;
                break;
            }
            std::memcpy(target.scanLine(y), shared_.constScanLine(y), bytes);
        }
        releaseShared();
        return fits && !yielded_;
    }
    if (!fits) return false;
    uchar* bits = target.bits();
    const qsizetype line = target.bytesPerLine();
    const std::size_t rowBytes = std::size_t(size_.width()) * kPixelBytes;
    const int down = (size_.height() + kSide - 1) / kSide;
    // A band of tiles at a time: its rows of the base, then the tiles over them.
    for (int ty = 0; ty < down; ++ty) {
        const int top = ty * kSide;
        const int bottom = std::min(size_.height(), top + kSide);
        for (int y = top; y < bottom; ++y) {
            std::memcpy(bits + y * line, base_.constScanLine(y), rowBytes);
        }
        if (pixels_.empty()) continue;
        for (int tx = 0; tx < across_; ++tx) {
            const int index = ty * across_ + tx;
            const std::uint32_t* tile = pixels_[std::size_t(index)];
            if (!tile) continue;
            const QRect r = tilePixels(index, across_, size_);
            const std::size_t tileRowBytes = std::size_t(r.width()) * kPixelBytes;
            for (int row = 0; row < r.height(); ++row) {
                std::memcpy(bits + (r.y() + row) * line + std::size_t(r.x()) * kPixelBytes,
                            tile + std::size_t(row) * kSide, tileRowBytes);
            }
        }
    }
    return true;
}

QImage UndoHistory::Snapshot::picture() {
    if (isEmpty() || !isComplete()) return QImage();
    QImage picture(size_, QImage::Format_RGB32);
    if (picture.isNull()) releaseShared();  // no memory: the window must not wait for it
    if (picture.isNull() || !writeInto(picture)) return QImage();
    return picture;
}

}  // namespace tessel
