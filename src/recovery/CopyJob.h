#pragma once
// One recovery copy being written: the snapshot of the picture is put together, encoded and
// written through the safe writer, on a thread of its own or on the caller's.
//
// The snapshot holds references into the undo history that only the history's thread may let
// go: the job is made and destroyed there, and the worker thread only reads it.

#include <QString>
#include <functional>
#include <memory>
#include <thread>

#include "history/UndoHistorySnapshot.h"
#include "recovery/RecoveryCopy.h"

namespace tessel::recovery {

class CopyJob {
  public:
    // `snapshot` must be complete.
    CopyJob(std::unique_ptr<UndoHistory::Snapshot> snapshot, CopyDescription description,
            QString path);
    // Waits for the worker, if any.
    ~CopyJob();
    CopyJob(const CopyJob&) = delete;
    CopyJob& operator=(const CopyJob&) = delete;

    // Runs on a new thread; `finished` is called on that thread at the end (and must only
    // hand the news on to the owning thread).
    void start(std::function<void()> finished);
    // Runs on the calling thread; true when the file was written.
    bool run();
    // Waits for the worker; true when the file was written.
    bool wait();

    std::uint64_t stateId() const { return snapshot_->stateId(); }
    // After wait(): whether nothing was written because the snapshot gave up for a change.
    bool yielded() const { return snapshot_->yielded(); }

  private:
    void work();

    std::unique_ptr<UndoHistory::Snapshot> snapshot_;
    CopyDescription description_;
    QString path_;
    std::thread worker_;
    bool written_ = false;  // set by the worker, read after it was joined
};

}  // namespace tessel::recovery
