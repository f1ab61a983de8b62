#pragma once
// The calendar's two commands: the holiday list and the month inserted at the zero position.

#include "app/AppState.h"

class QWidget;

namespace tessel {

// "Dias Festivos": the holiday dialog over the holiday file.
void HolidaysCommand(AppState& state, QWidget* parent);
// "Insertar Mes de Almanaque": true when a new undo level holds the month.
bool InsertMonthCommand(AppState& state, QWidget* parent);

}  // namespace tessel
