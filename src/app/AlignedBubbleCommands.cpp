#include "app/AlignedBubbleCommands.h"

#include "app/Insertion.h"
#include "platform/Fonts.h"
#include "text/AlignedText.h"
#include "text/AlignedTextDialog.h"
#include "text/BubbleDialog.h"
#include "text/BubbleShapes.h"

namespace tessel {

bool InsertAlignedTextCommand(AppState& state, QWidget* parent) {
    AlignedTextSettings& settings = state.alignedText;
    const TextProperties& text = state.text;
    const auto drawWith = [&text](const AlignedTextSettings& block) -> LivePreview::Draw {
        return [block, &text](Surface& canvas, QPoint zero) {
            if (block.text.isEmpty() || block.areaWidth <= 0) return false;
            drawAlignedText(canvas, block.text, block.alignment, block.areaWidth, zero.x(),
                            zero.y(), platform::resolveFont(levelFont(text)), text.foreColour,
                            text.backColour);
            return true;
        };
    };
    LivePreview preview(state, parent);
    ShowAlignedTextDialog(parent, settings, preview.follow<AlignedTextSettings>(drawWith));
    Insertion insertion;
    insertion.accepted = settings.accepted == 1;
    insertion.requiredText = &settings.text;
    insertion.missingTextMessage =
        QStringLiteral("Tiene que escribir un texto para poder insertarlo en la imagen ...");
    insertion.draw = drawWith(settings);
    return runInsertion(state, insertion, &preview);
}

bool InsertBubbleCommand(AppState& state, QWidget* parent) {
    BubbleSettings& settings = state.bubble;
    const auto drawWith = [](const BubbleSettings& bubble) -> LivePreview::Draw {
        return [bubble](Surface& canvas, QPoint zero) {
            drawBubble(canvas, zero.x(), zero.y(), bubble);
            return true;
        };
    };
    LivePreview preview(state, parent);
    ShowBubbleDialog(parent, settings, preview.follow<BubbleSettings>(drawWith));
    Insertion insertion;
    insertion.accepted = settings.accepted != 0;
    insertion.draw = drawWith(settings);
    const bool inserted = runInsertion(state, insertion, &preview);
    settings.accepted = 0;
    return inserted;
}

}  // namespace tessel
