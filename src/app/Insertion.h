#pragma once
// The one transaction every insertion runs through: check, make an undo level, draw at the zero
// position. The caller redisplays afterwards.

#include <QString>
#include <functional>

#include "app/AppState.h"
#include "app/LivePreview.h"

namespace tessel {

struct Insertion {
    bool accepted = false;                  // the dialog was accepted / a file was chosen
    const QString* requiredText = nullptr;  // when set, must not be empty
    QString missingTextMessage;             // shown (caption "Programador") when it is empty
    // Draws the element with its reference point at the zero position; false when it drew
    // nothing after all, and then no level is left behind.
    LivePreview::Draw draw;
};

// True when a new undo level holds the element. With the dialog's preview, its trial becomes
// that level (drawn once more, so the level holds exactly what the insertion draws), or is
// withdrawn when the insertion is cancelled or refused.
bool runInsertion(AppState& state, const Insertion& insertion, LivePreview* preview = nullptr);

}  // namespace tessel
