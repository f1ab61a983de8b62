#include "calendar/HolidayTable.h"

#include "calendar/CalendarDates.h"

namespace tessel {

namespace {
// A leap year, so that 29 February counts.
constexpr int kAnyLeapYear = 2000;

std::size_t mapIndex(int day, int month) {
    return std::size_t((month - 1) * 31 + (day - 1));
}
}  // namespace

bool isCalendarDay(int day, int month) {
    return day >= 1 && day <= daysInMonth(month, kAnyLeapYear);
}

void HolidayTable::reset() {
    slots_.assign(kHolidaySlots, Holiday{});
    count_ = 0;
    kept_.clear();
    keptTail_.clear();
    map_.fill(0);
}

std::vector<Holiday> HolidayTable::used() const {
    return std::vector<Holiday>(slots_.begin(), slots_.begin() + count_);
}

bool HolidayTable::append(const Holiday& holiday) {
    if (count_ >= kMaxHolidaySlots) return false;
    if (std::size_t(count_) >= slots_.size()) slots_.resize(slots_.size() + kHolidaySlots);
    slots_[std::size_t(count_)] = holiday;
    ++count_;
    return true;
}

bool HolidayTable::remove(int index) {
    if (index < 0 || index >= count_) return false;
    Holiday& holiday = slots_[std::size_t(index)];
    holiday.deleted = 1;
    holiday.colour = 0;
    return true;
}

bool HolidayTable::isDuplicate(int day, int month) const {
    if (day <= 0 || month <= 0) return false;
    for (int i = 0; i < count_; ++i) {
        const Holiday& h = slots_[std::size_t(i)];
        if (h.deleted == 0 && h.day == day && h.month == month) return true;
    }
    return false;
}

void HolidayTable::rebuildColourMap() {
    map_.fill(0);
    for (int i = 0; i < count_; ++i) {
        const Holiday& h = slots_[std::size_t(i)];
        if (h.deleted == 0 && isCalendarDay(h.day, h.month))
            map_[mapIndex(h.day, h.month)] = h.colour;
    }
}

Colour HolidayTable::mapColour(int day, int month) const {
    if (day < 1 || day > 31 || month < 1 || month > 12) return 0;
    return map_[mapIndex(day, month)];
}

}  // namespace tessel
