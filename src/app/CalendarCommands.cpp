#include "app/CalendarCommands.h"

#include "app/Insertion.h"
#include "calendar/HolidayDialog.h"
#include "calendar/MonthDialog.h"
#include "calendar/MonthSheet.h"
#include "platform/Services.h"

namespace tessel {

void HolidaysCommand(AppState& state, QWidget* parent) {
    ShowHolidayDialog(parent, state.calendar.holidays, state.calendar.holidayFilePath(),
                      platform::programColours());
}

bool InsertMonthCommand(AppState& state, QWidget* parent) {
    if (!state.history.hasPicture()) return false;
    ShowMonthDialog(parent, state.calendar, state.text.foreColour, platform::programColours());
    Insertion insertion;
    insertion.accepted = state.calendar.month.monthAccepted == 1;
    insertion.draw = [&state](Surface& canvas, QPoint zero) {
        return drawMonthOnCanvas(canvas, zero, state.calendar.month, state.calendar.holidays,
                                 state.text);
    };
    return runInsertion(state, insertion);
}

}  // namespace tessel
