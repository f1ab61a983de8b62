#pragma once
// What the calendar keeps for the whole run: the holiday table with its colour map, the month
// settings and where the holiday file lives.

#include <QString>

#include "calendar/HolidayFile.h"
#include "calendar/HolidayTable.h"
#include "calendar/MonthSettings.h"

namespace tessel {

struct CalendarRecords {
    HolidayTable holidays;
    MonthSettings month;
    QString holidayFile;  // empty: the default place (defaultHolidayFilePath)

    QString holidayFilePath() const {
        return holidayFile.isEmpty() ? defaultHolidayFilePath() : holidayFile;
    }
};

}  // namespace tessel
