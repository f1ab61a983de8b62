#pragma once
// The one transaction every insertion runs through: check, push an undo level, draw at the zero
// position. The caller redisplays afterwards.

#include <QString>
#include <functional>

#include "app/AppState.h"

namespace tessel {

struct Insertion {
    bool accepted = false;              // the dialog was accepted / a file was chosen
    const QString* requiredText = nullptr;  // when set, must not be empty
    QString missingTextMessage;         // shown (caption "Programador") when it is empty
    // Draws the element with its reference point at the zero position; false when it drew
    // nothing after all, and then no level is left behind.
    std::function<bool(Surface& canvas, QPoint zero)> draw;
};

// True when a new undo level holds the element.
bool runInsertion(AppState& state, const Insertion& insertion);

}  // namespace tessel
