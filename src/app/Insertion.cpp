#include "app/Insertion.h"

#include "platform/Services.h"

namespace tessel {

bool runInsertion(AppState& state, const Insertion& insertion, LivePreview* preview) {
    const bool refused = insertion.requiredText && insertion.requiredText->isEmpty();
    if (!insertion.accepted || !state.history.hasPicture() || refused) {
        if (preview) preview->withdraw();
        if (insertion.accepted && refused && state.history.hasPicture()) {
            platform::inform(insertion.missingTextMessage);
        }
        return false;
    }
    // A trial until it drew: an element that drew nothing leaves no level and keeps the levels
    // to redo.
    if (preview && preview->showing()) {
        preview->handOver();
        state.history.reviseTrial();
    } else {
        state.history.beginTrial();
    }
    bool drawn = false;
    try {
        drawn = insertion.draw && insertion.draw(state.history.current(), state.zero);
    } catch (...) {
        // What was drawn before the failure goes with the trial.
        state.history.withdrawTrial();
        throw;
    }
    if (!drawn) {
        state.history.withdrawTrial();
        return false;
    }
    state.history.keepTrial();
    return true;
}

}  // namespace tessel
