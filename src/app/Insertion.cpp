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
    if (!insertion.draw || !insertion.draw(state.history.current(), state.zero)) {
        state.history.undo();
        return false;
    }
    return true;
}

}  // namespace tessel
