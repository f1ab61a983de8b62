#include "app/Insertion.h"

#include "platform/Services.h"

namespace tessel {

bool runInsertion(AppState& state, const Insertion& insertion) {
    if (!insertion.accepted || !state.history.hasPicture()) return false;
    if (insertion.requiredText && insertion.requiredText->isEmpty()) {
        platform::inform(insertion.missingTextMessage);
        return false;
    }
    state.history.push();
    bool drawn = false;
    try {
        drawn = insertion.draw && insertion.draw(state.history.current(), state.zero);
    } catch (...) {
        // What was drawn before the failure goes with its level.
        state.history.undo();
        throw;
    }
    if (!drawn) {
        state.history.undo();
        return false;
    }
    return true;
}

}  // namespace tessel
