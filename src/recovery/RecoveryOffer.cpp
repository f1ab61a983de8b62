#include "recovery/RecoveryOffer.h"

#include "app/MainWindow.h"
#include "platform/LongWork.h"
#include "platform/Services.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryKeeper.h"

namespace tessel::recovery {

void restoreCopy(MainWindow& window, Copy&& copy) {
    AppState& state = window.state();
    const CopyDescription& d = copy.description;
    state.history.start(copy.picture);
    copy.picture = QImage();
    state.zero = d.zero;
    state.lastFileName = d.fileName;
    state.paper.widthMm = d.paper.widthMm;
    state.paper.heightMm = d.paper.heightMm;
    state.paper.paperColour = d.paper.paperColour;
    state.paper.useTexture = d.paper.useTexture;
    state.paper.textureNumber = d.paper.textureNumber;
    // Never saved: unsaved work from the start (no picture ever has state number 0).
    state.savedStateId = 0;
    window.showReplacedPicture(d.openedPicture ? MenuPhase::PictureLoaded
                                               : MenuPhase::PaperCreated);
}

void offerAbandonedCopies(MainWindow& window, RecoveryKeeper& keeper) {
    std::vector<ClaimedCopy> copies = claimAbandonedCopies(keeper.ownCopy().folder());
    for (ClaimedCopy& claimed : copies) {
        const std::optional<CopyDescription> description = readCopyDescription(claimed.path());
        if (!description) {
            platform::inform(damagedCopyMessage(claimed.path()));
            claimed.release();
            continue;
        }
        const platform::RecoverAnswer answer =
            platform::services().messages->askRecoverDiscardLater(
                platform::kCaption, recoveryQuestion(description->time));
        if (answer == platform::RecoverAnswer::Later) break;
        if (answer == platform::RecoverAnswer::Discard) {
            claimed.remove();
            continue;
        }
        std::optional<Copy> copy;
        {
            const platform::BusyCursor busy;
            copy = readCopy(claimed.path());
        }
        if (!copy) {
            platform::inform(damagedCopyMessage(claimed.path()));
            claimed.release();
            continue;
        }
        restoreCopy(window, std::move(*copy));
        keeper.adopt(claimed);
        break;
    }
    // The copies not offered stay for a later start: their locks go with `copies`.
}

}  // namespace tessel::recovery
