#pragma once
// The holidays in memory: the table of slots the holiday dialog edits and the colour map the
// month sheet reads.
//
// A slot's index is its identity while the dialog is open: deleting only marks the slot (and
// blackens its colour), so indices never shift. The table starts with 401 empty slots and grows
// when more are needed, up to kMaxHolidaySlots.

#include <QByteArray>
#include <array>
#include <cstdint>
#include <vector>

#include "surface/Colour.h"

namespace tessel {

struct Holiday {
    std::int32_t day = 0;      // 1..31
    std::int32_t month = 0;    // 1..12
    Colour colour = 0;         // 0x00BBGGRR
    std::int32_t deleted = 0;  // 1 once deleted in the dialog; 0 on disk
};

inline constexpr int kHolidaySlots = 401;
// More slots than this are refused: the list names a slot by three digits. The program itself
// never writes more than 366 records.
inline constexpr int kMaxHolidaySlots = 1000;

// A day and month that exist in some year (29 February included).
bool isCalendarDay(int day, int month);

class HolidayTable {
  public:
    HolidayTable() { reset(); }

    // Empty slots, count 0, colour map all 0, nothing kept.
    void reset();

    int count() const { return count_; }
    const Holiday& slot(int index) const { return slots_[std::size_t(index)]; }
    // The slots in use, 0 to count() - 1.
    std::vector<Holiday> used() const;

    // Counts one more slot holding the holiday; false when the table is full.
    bool append(const Holiday& holiday);
    // Marks a slot in use as deleted and blackens it; false for an index outside the table.
    bool remove(int index);
    // True when a live slot in use has this day and month (both above 0).
    bool isDuplicate(int day, int month) const;

    // Records of the file that the table does not show (days that do not exist, records beyond
    // kMaxHolidaySlots), in file order, exactly as stored: a save writes them back after the
    // slots, so that no record of the file is ever lost.
    const std::vector<Holiday>& kept() const { return kept_; }
    void keep(const Holiday& record) { kept_.push_back(record); }
    // The bytes after the file's last whole record, kept the same way and written back last.
    const QByteArray& keptTail() const { return keptTail_; }
    void keepTail(const QByteArray& bytes) { keptTail_ = bytes; }

    // The colour map, filled from the slots in use: each live record of a real calendar day
    // writes its colour, a later one overwriting an earlier one. Inserting and deleting in
    // the dialog never change it; loading the file calls this.
    void rebuildColourMap();
    // The colour of a day in the map; 0 (no holiday) outside 1..31 x 1..12.
    Colour mapColour(int day, int month) const;

  private:
    std::vector<Holiday> slots_;
    int count_ = 0;
    std::vector<Holiday> kept_;
    QByteArray keptTail_;
    std::array<Colour, 31 * 12> map_{};
};

}  // namespace tessel
