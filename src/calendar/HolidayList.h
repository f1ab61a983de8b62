#pragma once
// The holiday dialog's list: one row per slot, each drawn in its holiday's colour on black
// with a black separator under it, or in the highlight colours when selected. Rows are a
// fixed 14 pixels taller than the font's own line.

#include <QListWidget>
#include <functional>

#include "surface/Colour.h"

namespace tessel {

class HolidayList : public QListWidget {
    Q_OBJECT
  public:
    // rowColour gives the text colour of a row by its index.
    HolidayList(QWidget* parent, const QRect& geometry, const QFont& font,
                std::function<Colour(int)> rowColour);

    int rowHeight() const { return rowHeight_; }
    Colour rowColour(int row) const { return rowColour_(row); }

  private:
    std::function<Colour(int)> rowColour_;
    int rowHeight_ = 0;
};

}  // namespace tessel
