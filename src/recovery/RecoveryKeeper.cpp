#include "recovery/RecoveryKeeper.h"

#include <QCoreApplication>
#include <QDateTime>
#include <algorithm>
#include <system_error>
#include <utility>

#include "app/UnsavedWork.h"

namespace tessel::recovery {
namespace {

using std::chrono::milliseconds;

// The time the window thread spends on one slice of a large change; with the last group of
// tiles begun before it ran out, a slice stays under 5 ms.
constexpr milliseconds kSlice{3};

}  // namespace

RecoveryKeeper::RecoveryKeeper(AppState& state, const QString& folder,
                               std::function<bool()> openedPicture, QObject* parent)
    : QObject(parent),
      state_(state),
      openedPicture_(std::move(openedPicture)),
      own_(folder),
      delay_(kDelay) {
    poll_.setTimerType(Qt::CoarseTimer);
    connect(&poll_, &QTimer::timeout, this, &RecoveryKeeper::poll);
    setDelay(delayFromEnvironment());
}

RecoveryKeeper::~RecoveryKeeper() {
    finish();
}

milliseconds RecoveryKeeper::delayFromEnvironment() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("TESSEL_RECOVERY_DELAY_MS", &ok);
    return ok && ms > 0 ? milliseconds(ms) : kDelay;
}

void RecoveryKeeper::setDelay(milliseconds delay) {
    delay_ = std::max(milliseconds(1), delay);
    // Changes are looked for twenty times within the delay, at most once a second.
    if (!finished_) poll_.start(std::clamp(delay_ / 20, milliseconds(5), milliseconds(1000)));
}

RecoveryKeeper::Key RecoveryKeeper::currentKey() const {
    const Surface& current = state_.history.current();
    return {state_.history.stateId(), current.writes(), current.size(), state_.zero,
            state_.lastFileName};
}

CopyDescription RecoveryKeeper::description() const {
    CopyDescription d;
    d.fileName = state_.lastFileName;
    d.zero = state_.zero;
    d.paper = state_.paper;
    d.openedPicture = openedPicture_ && openedPicture_();
    d.pid = QCoreApplication::applicationPid();
    d.time = QDateTime::currentDateTimeUtc();
    return d;
}

void RecoveryKeeper::poll() {
    if (finished_) return;
    // An element still being placed in its dialog is not work yet: the copy waits for the
    // dialog, and until then the last one holds the picture as it was.
    if (state_.history.inTrial()) return;
    const Clock::time_point now = Clock::now();
    if (!hasUnsavedWork(state_)) {
        seen_.reset();
        waitingSince_.reset();
        if (snapshot_) {
            snapshot_.reset();
            taken_.reset();
        }
        if (!job_ && written_) removeCopy();
        return;
    }
    const Key key = currentKey();
    if (key != seen_) {
        seen_ = key;
        seenSince_ = now;
    }
    if (key == written_) {
        waitingSince_.reset();
        return;
    }
    if (!waitingSince_) waitingSince_ = now;
    if (busy()) return;
    // A moment without changes, or half the delay since the first change not yet copied: the
    // other half is for writing.
    const milliseconds settle = std::min(milliseconds(2000), delay_ / 10);
    if (now - seenSince_ >= settle || now - *waitingSince_ >= delay_ / 2) startSnapshot();
}

void RecoveryKeeper::startSnapshot() {
    auto snapshot = std::make_unique<UndoHistory::Snapshot>(state_.history);
    if (snapshot->isEmpty()) return;
    snapshot_ = std::move(snapshot);
    snapshotKey_ = currentKey();
    snapshotDescription_ = description();
    taken_ = snapshotKey_;
    continueSnapshot();
}

void RecoveryKeeper::continueSnapshot() {
    if (!snapshot_) return;
    if (!snapshot_->isCurrent(state_.history) || currentKey() != snapshotKey_) {
        // Changed between two slices: taken again at a later look, in longer slices.
        snapshot_.reset();
        taken_.reset();
        ++restarts_;
        return;
    }
    // Changes that keep coming never starve the copy: the slices grow with each new start,
    // and half the delay after the first change not yet copied, the rest is taken at once.
    const Clock::time_point now = Clock::now();
    const bool late = waitingSince_ && now - *waitingSince_ >= delay_ / 2;
    const Clock::time_point deadline =
        late ? Clock::time_point::max() : now + kSlice * (1 << std::min(restarts_, 4));
    if (!snapshot_->copyDrawnTiles(state_.history, deadline)) {
        QTimer::singleShot(0, this, &RecoveryKeeper::continueSnapshot);
        return;
    }
    // A copy of a whole changed picture gives way to a change that comes while it is taken,
    // unless it is late or gave way several times already: then that change waits for it.
    snapshot_->setYieldToWrites(!late && restarts_ < 4);
    startJob();
}

void RecoveryKeeper::startJob() {
    if (!own_.lock()) {  // no folder to write in: tried again after a while
        snapshot_.reset();
        taken_.reset();
        waitingSince_ = Clock::now();
        return;
    }
    job_ =
        std::make_unique<CopyJob>(std::move(snapshot_), snapshotDescription_, own_.picturePath());
    const unsigned generation = ++generation_;
    try {
        job_->start([this, generation] {
            QMetaObject::invokeMethod(
                this, [this, generation] { jobFinished(generation); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the snapshot goes (and with it any hold on the picture), and
        // the copy is tried again after a while.
        job_.reset();
        waitingSince_ = Clock::now();
    }
}

void RecoveryKeeper::jobFinished(unsigned generation) {
    if (generation != generation_ || !job_) return;
    settleJob();
    poll();
}

void RecoveryKeeper::settleJob() {
    if (!job_) return;
    if (job_->wait()) {
        written_ = taken_;
        restarts_ = 0;
    } else if (job_->yielded()) {
        ++restarts_;  // taken again at a later look
    } else {
        waitingSince_ = Clock::now();  // a full disk, say: tried again after a while
    }
    taken_.reset();
    job_.reset();
}

void RecoveryKeeper::removeCopy() {
    own_.remove();
    written_.reset();
}

bool RecoveryKeeper::writeNow() {
    // The program is ending: an element still being placed goes, and the work is what it was
    // drawn on.
    if (state_.history.inTrial()) state_.history.withdrawTrial();
    settleJob();
    snapshot_.reset();
    taken_.reset();
    if (!hasUnsavedWork(state_)) {
        removeCopy();
        return true;
    }
    const Key key = currentKey();
    if (written_ == key) return true;
    if (!own_.lock()) return false;
    auto snapshot = std::make_unique<UndoHistory::Snapshot>(state_.history);
    if (snapshot->isEmpty() ||
        !snapshot->copyDrawnTiles(state_.history, Clock::time_point::max())) {
        return false;
    }
    CopyJob job(std::move(snapshot), description(), own_.picturePath());
    if (!job.run()) return false;
    written_ = key;
    waitingSince_.reset();
    return true;
}

void RecoveryKeeper::finish() {
    if (finished_) return;
    if (hasUnsavedWork(state_)) {
        writeNow();
    } else {
        settleJob();
        snapshot_.reset();
        removeCopy();
    }
    finished_ = true;
    poll_.stop();
}

bool RecoveryKeeper::adopt(ClaimedCopy& copy) {
    settleJob();
    snapshot_.reset();
    taken_.reset();
    if (!copy.handOver(own_)) return false;
    written_ = currentKey();
    return true;
}

}  // namespace tessel::recovery
