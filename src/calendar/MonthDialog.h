#pragma once
// The "Configurador de mes" dialog: year, month, the place of the month's name, an optional
// box behind the month and whether holidays are shown, with a live preview of the sheet.

#include <QDate>
#include <QDialog>
#include <functional>

#include "calendar/CalendarRecords.h"
#include "platform/Services.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class MonthDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPreviewWidth = 262;
    static constexpr int kPreviewHeight = 282;

    // titleColour: the text colour the month's name is drawn in.
    MonthDialog(QWidget* parent, CalendarRecords& calendar, Colour titleColour,
                platform::CustomColours& colours, QDate today = QDate::currentDate());

    QLineEdit* yearBox() const { return yearBox_; }
    QComboBox* monthList() const { return monthList_; }
    QRadioButton* leftOption() const { return leftOption_; }
    QRadioButton* centreOption() const { return centreOption_; }
    QRadioButton* rightOption() const { return rightOption_; }
    QCheckBox* boxCheck() const { return boxCheck_; }
    QPushButton* boxColourButton() const { return boxColourButton_; }
    QPushButton* borderColourButton() const { return borderColourButton_; }
    platform::DrawingArea* boxSwatch() const { return boxSwatch_; }
    platform::DrawingArea* borderSwatch() const { return borderSwatch_; }
    QCheckBox* transparentCheck() const { return transparentCheck_; }
    QCheckBox* holidaysCheck() const { return holidaysCheck_; }
    QPushButton* acceptButton() const { return acceptButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    platform::DrawingArea* preview() const { return preview_; }

    // The month as "Aceptar" would take it now.
    const MonthSettings& current() const { return settings_; }

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void applyEnablingRule();
    void refreshPreview();
    void chooseColour(Colour& target, platform::DrawingArea* swatch);
    void setAlignment(int alignment);

    CalendarRecords& calendar_;
    MonthSettings& settings_;
    Colour titleColour_;
    platform::CustomColours& colours_;

    QLineEdit* yearBox_ = nullptr;
    QComboBox* monthList_ = nullptr;
    QRadioButton* leftOption_ = nullptr;
    QRadioButton* centreOption_ = nullptr;
    QRadioButton* rightOption_ = nullptr;
    QCheckBox* boxCheck_ = nullptr;
    QPushButton* boxColourButton_ = nullptr;
    QPushButton* borderColourButton_ = nullptr;
    platform::DrawingArea* boxSwatch_ = nullptr;
    platform::DrawingArea* borderSwatch_ = nullptr;
    QCheckBox* transparentCheck_ = nullptr;
    QCheckBox* holidaysCheck_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    platform::DrawingArea* preview_ = nullptr;
};

// Modal; leaves monthAccepted at 1 ("Aceptar") or 0.
// With `watch`, the dialog runs beside its window and tells every change of its settings.
void ShowMonthDialog(QWidget* parent, CalendarRecords& calendar, Colour titleColour,
                     platform::CustomColours& colours,
                     const std::function<void(const MonthSettings&)>& watch = {});

}  // namespace tessel
