// Trials: a change drawn on the current picture as a level of its own that can still be taken
// back without a trace.

#include <algorithm>
#include <utility>

#include "history/UndoHistory.h"

namespace tessel {

void UndoHistory::beginTrial() {
    if (!hasPicture_ || trial_) return;
    // Drawn on since it was stored: the levels to redo continued another picture.
    if (!redo_.empty() && drawnSinceStored()) dropRedo();
    trialDirty_ = current_.dirtyParts();
    if (trialDirty_.empty() && !current_.dirtyRect().isEmpty()) {
        trialDirty_.push_back(current_.dirtyRect());
    }
    storeCurrent();
    trial_ = true;
}

// Every tile drawn on since the trial began (or since the last take-back, with the tiles taken
// back then) that differs from the level below gets that level's pixels again.
QRect UndoHistory::takeBackTrial() {
    // The tiles are found first: writing them widens nothing, the record is set by the caller.
    std::vector<int> differing;
    for (const int index : dirtyTiles()) {
        const Tile* below = top_.empty() ? nullptr : top_[std::size_t(index)].get();
        if (!sameAsTile(index, below)) differing.push_back(index);
    }
    QRect written;
    QImage& image = current_.imageFor(QRect());
    for (const int index : differing) {
        writeTile(image, index, top_.empty() ? nullptr : top_[std::size_t(index)].get());
        written |= tilePixels(index);
    }
    return written;
}

void UndoHistory::reviseTrial() {
    if (!trial_) return;
    const QRect written = takeBackTrial();
    // Only what was taken back stays recorded: the level below is what the trial's own
    // drawing is told apart from, and a viewer redraws the pixels given back.
    current_.clearDirty();
    if (!written.isEmpty()) current_.markDirty(written);
}

void UndoHistory::keepTrial() {
    if (!trial_) return;
    trial_ = false;
    dropRedo();
    afterChange();
}

void UndoHistory::withdrawTrial() {
    if (!trial_) return;
    trial_ = false;
    takeBackTrial();
    current_.clearDirty();
    popTop();
    --level_;
    marks_.pop_back();
    // The tiles the trial's level copied from what had been drawn since the last push go again:
    // those pixels are recorded as drawn once more, as they were, so the history holds no more
    // than before the trial.
    // (Waiting tiles do not count as stored.)
    std::erase_if(pending_, [this](const Change& change) {
        const QRect pixels = tilePixels(change.index);
        return std::any_of(trialDirty_.begin(), trialDirty_.end(),
                           [&](const QRect& part) { return part.intersects(pixels); });
    });
    pending_.shrink_to_fit();
    for (const QRect& part : trialDirty_) current_.markDirty(part);
    trialDirty_.clear();
    trimIfMuchWasFreed();
}

}  // namespace tessel
