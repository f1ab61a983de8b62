#pragma once
// Keeps a recovery copy of unsaved work. While the canvas holds unsaved work, a copy of it is in
// the state folder no later than the delay (30 s) after each change; changes in a row are
// waited for a moment, so a busy user costs one copy now and then rather than one per change.
// The picture is taken on the window thread from the undo history's tiles (a few milliseconds
// at most, a large change in slices between events) and encoded and written on a thread of its
// own. Once the work is saved, discarded or otherwise gone, the copy goes too.
//
// TESSEL_RECOVERY_DELAY_MS shortens the delay for tests and scripts.

#include <QObject>
#include <QPoint>
#include <QSize>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "app/AppState.h"
#include "history/UndoHistorySnapshot.h"
#include "recovery/CopyJob.h"
#include "recovery/RecoveryFolder.h"

namespace tessel::recovery {

class RecoveryKeeper : public QObject {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDelay{30000};

    // Keeps the copies of `state`'s work in `folder`. openedPicture: whether the current
    // picture was opened from a file rather than made as a paper.
    RecoveryKeeper(AppState& state, const QString& folder, std::function<bool()> openedPicture,
                   QObject* parent = nullptr);
    // As finish().
    ~RecoveryKeeper() override;

    // kDelay, or the milliseconds TESSEL_RECOVERY_DELAY_MS gives (at least 1).
    static std::chrono::milliseconds delayFromEnvironment();
    void setDelay(std::chrono::milliseconds delay);
    std::chrono::milliseconds delay() const { return delay_; }

    // At once, on this thread: the copy matches the work (written now unless it already did),
    // or there is none when nothing is unsaved. True when that holds.
    bool writeNow();
    // The program ends: work left unsaved keeps its copy (written now if need be), any other
    // copy goes.
    void finish();
    // A copy recovered into the state becomes this program's copy of it.
    bool adopt(ClaimedCopy& copy);

    QString copyPath() const { return own_.picturePath(); }
    OwnCopy& ownCopy() { return own_; }
    // Whether a copy is on its way (taken or being written).
    bool busy() const { return snapshot_ || job_; }

  private:
    // What a copy shows: the picture's state and what restoring it takes.
    struct Key {
        std::uint64_t stateId = 0;
        std::uint64_t writes = 0;
        QSize size;
        QPoint zero;
        QString fileName;
        bool operator==(const Key&) const = default;
    };
    Key currentKey() const;
    CopyDescription description() const;
    void poll();
    void startSnapshot();
    void continueSnapshot();
    void startJob();
    void jobFinished(unsigned generation);
    void settleJob();
    void removeCopy();

    AppState& state_;
    std::function<bool()> openedPicture_;
    OwnCopy own_;
    std::chrono::milliseconds delay_;
    QTimer poll_;
    // The copy on disk, and what the next one will show.
    std::optional<Key> written_;
    std::optional<Key> taken_;  // the key of the copy on its way
    std::optional<Key> seen_;   // at the last look
    Clock::time_point seenSince_;
    std::optional<Clock::time_point> waitingSince_;  // first change not yet on disk
    std::unique_ptr<UndoHistory::Snapshot> snapshot_;
    Key snapshotKey_;
    CopyDescription snapshotDescription_;
    std::unique_ptr<CopyJob> job_;
    unsigned generation_ = 0;
    // Snapshots given up for changes (between slices, or while the worker copied the picture)
    // since the last copy.
    int restarts_ = 0;
    bool finished_ = false;
};

}  // namespace tessel::recovery
