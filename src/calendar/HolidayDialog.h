#pragma once
// The "Configurador Dias Festivos" dialog: insert, delete, save and erase the holidays, each a
// day of a month with a colour of its own. It edits the holiday table in memory; only "Grabar
// fichero" (or the Yes to the question on leaving) writes the file.

#include <QDate>
#include <QDialog>

#include "calendar/HolidayTable.h"
#include "platform/Services.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel {

namespace platform {
class DrawingArea;
}
class HolidayList;

// What the dialog tracks of the changes since it opened.
enum class HolidayChanges { None = -1, Unsaved = 0, Saved = 1 };

class HolidayDialog : public QDialog {
    Q_OBJECT
  public:
    // `today` gives the year in which an inserted day must exist.
    HolidayDialog(QWidget* parent, HolidayTable& table, const QString& filePath,
                  platform::CustomColours& colours, QDate today = QDate::currentDate());

    QLineEdit* dayBox() const { return dayBox_; }
    QComboBox* monthList() const { return monthList_; }
    platform::DrawingArea* swatch() const { return swatch_; }
    QPushButton* colourButton() const { return colourButton_; }
    HolidayList* list() const { return list_; }
    QPushButton* exitButton() const { return exitButton_; }
    QPushButton* eraseFileButton() const { return eraseFileButton_; }
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* insertButton() const { return insertButton_; }
    QPushButton* deleteButton() const { return deleteButton_; }
    QLabel* hint() const { return hint_; }

    Colour currentColour() const { return currentColour_; }
    HolidayChanges changes() const { return changes_; }

    // The text of a list row for a slot: "004 dia 25 de Diciembre", or "001 " when deleted.
    static QString rowText(int index, const Holiday& holiday);

  public slots:
    // Leaving asks whether unsaved changes are to be written ("Salir", Escape, the close box).
    void reject() override;

  private:
    void fillList();
    void chooseColour();
    void takeRowColour();
    void insertHoliday();
    void deleteHoliday();
    bool saveFile();
    void eraseFile();
    void showColour(Colour colour);
    // The slot of the selected row, or -1 without a selection.
    int selectedSlot() const;

    HolidayTable& table_;
    QString filePath_;
    platform::CustomColours& colours_;
    QDate today_;
    Colour currentColour_ = 0;
    HolidayChanges changes_ = HolidayChanges::None;

    QLineEdit* dayBox_ = nullptr;
    QComboBox* monthList_ = nullptr;
    platform::DrawingArea* swatch_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    HolidayList* list_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* eraseFileButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* insertButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    QLabel* hint_ = nullptr;
};

// Modal; returns when the user leaves.
void ShowHolidayDialog(QWidget* parent, HolidayTable& table, const QString& filePath,
                       platform::CustomColours& colours);

}  // namespace tessel
