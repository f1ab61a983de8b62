#pragma once
// A copy of the undo history's current picture for another thread, taken without holding up the
// window. The current picture is the newest stored level (the segment's base with the tiles of
// top_, which never change while referenced), the tiles of the level last undone or redone that
// wait as pending, and what was drawn since the last push. The snapshot takes references to the
// stored tiles and the base, and copies only the tiles drawn on since the last push: a short
// stroke costs a few tiles, and a change of the whole picture is copied in slices between
// events, never in one go.
//
// The tiles' reference counts are not atomic: the snapshot is made, sliced and destroyed on the
// thread that owns the history, which must outlive it. Once complete, its pixels are read-only
// and any thread may put the picture together (writeInto, picture()); the references go back
// when the owning thread destroys it, after that thread has heard the reader is done.

#include <QImage>
#include <QSize>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "history/UndoHistory.h"

namespace tessel {

class UndoHistory::Snapshot {
  public:
    using Clock = std::chrono::steady_clock;

    // Owning thread: starts a copy of the current picture (an empty snapshot without one).
    explicit Snapshot(UndoHistory& history);
    // Owning thread: gives back every reference taken.
    ~Snapshot();
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;

    // Owning thread: copies tiles drawn since the last push until `deadline` passes (at least
    // one slice of them); true once every tile is copied. The picture must not have changed
    // since the snapshot was started (isCurrent); copying goes on where it stopped.
    bool copyDrawnTiles(const UndoHistory& history, Clock::time_point deadline);
    // Owning thread: whether the history still shows the picture this snapshot started from:
    // nothing pushed, drawn, undone, redone, turned or started since.
    bool isCurrent(const UndoHistory& history) const;

    bool isEmpty() const { return size_.isEmpty(); }
    bool isComplete() const { return copied_ == drawn_.size(); }
    QSize size() const { return size_; }
    // history.stateId() when the snapshot was started.
    std::uint64_t stateId() const { return stateId_; }
    // How many tiles are copied rather than shared.
    std::size_t copiedTiles() const { return drawn_.size(); }

    // Any thread, once complete: the picture written into `target`, a Format_RGB32 image of
    // size(); false (nothing written) for a target of another size or format, or when
    // incomplete.
    bool writeInto(QImage& target) const;
    // Any thread, once complete: the picture as a new image; null when incomplete or when memory
    // runs out.
    QImage picture() const;

  private:
    void pin(const TilePtr& tile, int index);

    TilePool* pool_ = nullptr;
    QSize size_;
    int across_ = 0;
    std::uint64_t stateId_ = 0;
    std::uint64_t writes_ = 0;
    // The picture the tiles lie over: the segment's base, or (when the history's picture is not
    // one it can hold tiles of) a copy of the whole current picture.
    QImage base_;
    // For each tile: its pixels (rows kSide pixels apart), or null where it is as the base.
    std::vector<const std::uint32_t*> pixels_;
    // The stored tiles pinned, once per pin.
    std::vector<Tile*> pinned_;
    // The tiles drawn on since the last push, and how many of them are copied into own_.
    std::vector<int> drawn_;
    std::size_t copied_ = 0;
    struct Free {
        void operator()(std::uint32_t* pixels) const;
    };
    std::unique_ptr<std::uint32_t[], Free> own_;
};

}  // namespace tessel
