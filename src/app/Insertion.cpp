#include "app/Insertion.h"

#include "platform/Services.h"

namespace tessel {

bool runInsertion(AppState& state, const Insertion& insertion) {
    if (!insertion.accepted || !state.history.hasPicture()) return false;
    if (insertion.requiredText && insertion.requiredText->isEmpty()) {
        platform::inform(insertion.missingTextMessage);
        return false;
    }
    // A trial until it drew: an element that drew nothing leaves no level and keeps the levels
    // to redo.
    state.history.beginTrial();
    if (!insertion.draw || !insertion.draw(state.history.current(), state.zero)) {
        state.history.withdrawTrial();
        return false;
    }
    state.history.keepTrial();
    return true;
}

}  // namespace tessel
