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
    const auto drawWith = [&state](const MonthSettings& month) -> LivePreview::Draw {
        return [&state, month = MonthSettings(month)](Surface& canvas, QPoint zero) mutable {
            return drawMonthOnCanvas(canvas, zero, month, state.calendar.holidays, state.text);
        };
    };
    LivePreview preview(state, parent);
    ShowMonthDialog(parent, state.calendar, state.text.foreColour, platform::programColours(),
                    preview.follow<MonthSettings>(drawWith));
    Insertion insertion;
    insertion.accepted = state.calendar.month.monthAccepted == 1;
    insertion.draw = drawWith(state.calendar.month);
    return runInsertion(state, insertion, &preview);
}

}  // namespace tessel
