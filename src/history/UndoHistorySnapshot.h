#pragma once
// A copy of the undo history's current picture for another thread, taken without holding up the
// window. The current picture is the newest stored level (the segment's base with the tiles of
// top_, which never change while referenced), the tiles of the level last undone or redone that
// wait as pending, and what was drawn since the last push. The snapshot takes references to the
// stored tiles and the base, and copies only the tiles drawn on since the last push: a short
// stroke costs a few tiles. A larger change (a whole picture turned grey) is not copied by the
// window thread at all: the snapshot shares the current picture, and the thread that puts the
// picture together copies it and lets go of it; a write to the current picture meanwhile waits
// for that copy (SharedReads.h), so the window never copies the whole picture.
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
    bool isComplete() const { return reads_ || copied_ == drawn_.size(); }
    QSize size() const { return size_; }
    // history.stateId() when the snapshot was started.
    std::uint64_t stateId() const { return stateId_; }
    // How many tiles were drawn on since the last push: copied by the window thread, or (when
    // the snapshot shares the current picture) with the whole picture by the reader.
    std::size_t copiedTiles() const { return drawn_.size(); }

    // Any one thread, once complete: the picture written into `target`, a Format_RGB32 image
    // of size(); false (nothing written) for a target of another size or format, or when
    // incomplete. A snapshot that shares the current picture copies it and lets go of it, also
    // when the target does not fit: a snapshot is put together once.
    bool writeInto(QImage& target);
    // Any one thread, once complete: the picture as a new image; null when incomplete, when
    // memory runs out or when it yielded.
    QImage picture();

    // Owning thread, before another reads it: whether a snapshot that shares the current picture
    // gives up (yielded() then says so) when the window waits to write while it is being copied,
    // rather than holding the window up for the rest of the copy. It does by default.
    void setYieldToWrites(bool yields) { yields_ = yields; }
    // Once read: whether it gave up for a write, and should be taken again.
    bool yielded() const { return yielded_; }

  private:
    void pin(const TilePtr& tile, int index);
    void releaseShared();

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
    // While it shares the current picture: that picture, and the history's count of readers.
    QImage shared_;
    std::shared_ptr<SharedReads> reads_;
    bool yields_ = true;
    bool yielded_ = false;
};

}  // namespace tessel
