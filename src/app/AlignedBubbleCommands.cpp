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
    ShowAlignedTextDialog(parent, settings);
    const TextProperties& text = state.text;
    Insertion insertion;
    insertion.accepted = settings.accepted == 1;
    insertion.requiredText = &settings.text;
    insertion.missingTextMessage =
        QStringLiteral("Tiene que escribir un texto para poder insertarlo en la imagen ...");
    insertion.draw = [&settings, &text](Surface& canvas, QPoint zero) {
        drawAlignedText(canvas, settings.text, settings.alignment, settings.areaWidth, zero.x(),
                        zero.y(), platform::resolveFont(levelFont(text)), text.foreColour,
                        text.backColour);
        return true;
    };
    return runInsertion(state, insertion);
}

bool InsertBubbleCommand(AppState& state, QWidget* parent) {
    BubbleSettings& settings = state.bubble;
    ShowBubbleDialog(parent, settings);
    Insertion insertion;
    insertion.accepted = settings.accepted != 0;
    insertion.draw = [&settings](Surface& canvas, QPoint zero) {
        drawBubble(canvas, zero.x(), zero.y(), settings);
        return true;
    };
    const bool inserted = runInsertion(state, insertion);
    settings.accepted = 0;
    return inserted;
}

}  // namespace tessel
