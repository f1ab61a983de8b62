#pragma once
// The "Insertar flechas" dialog: length and head size in pixels or millimetres, colour, line
// width, closed heads, number of heads, direction and a preview. The choices are written to the
// settings at once; the length only on a valid "Aceptar".

#include <QDialog>
#include <functional>

#include "platform/Services.h"
#include "shapes/ArrowSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class ArrowDialog : public QDialog {
    Q_OBJECT
  public:
    ArrowDialog(QWidget* parent, ArrowSettings& settings, platform::CustomColours& colours);

    QLineEdit* pixelLengthBox() const { return pixelLength_; }
    QLineEdit* millimetreLengthBox() const { return millimetreLength_; }
    QLineEdit* pixelHeadBox() const { return pixelHead_; }
    QLineEdit* millimetreHeadBox() const { return millimetreHead_; }
    QPushButton* colourButton() const { return colourButton_; }
    platform::DrawingArea* swatch() const { return swatch_; }
    QComboBox* widthList() const { return widthList_; }
    QCheckBox* closedCheck() const { return closedCheck_; }
    QComboBox* headsList() const { return headsList_; }
    QComboBox* directionList() const { return directionList_; }
    platform::DrawingArea* preview() const { return preview_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The settings as "Aceptar" would take them now: the sizes typed when they make a complete
    // pair, the last ones taken otherwise.
    ArrowSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void chooseColour();
    void acceptSize();
    void drawPreview();

    ArrowSettings& settings_;
    platform::CustomColours& colours_;
    bool accepting_ = false;
    QLineEdit* pixelLength_ = nullptr;
    QLineEdit* millimetreLength_ = nullptr;
    QLineEdit* pixelHead_ = nullptr;
    QLineEdit* millimetreHead_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    platform::DrawingArea* swatch_ = nullptr;
    QComboBox* widthList_ = nullptr;
    QCheckBox* closedCheck_ = nullptr;
    QComboBox* headsList_ = nullptr;
    QComboBox* directionList_ = nullptr;
    platform::DrawingArea* preview_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// The texts of the lists: "01 - Grosor lineas flecha" to "30 - ...", and the eight directions.
QStringList arrowWidthEntries();
QStringList arrowDirectionEntries();

// Modal; leaves arrowAccepted at 1 when a valid "Aceptar" closed the dialog, otherwise 0 (also
// when a refused "Aceptar" was followed by the close box).
// With `watch`, the dialog runs beside its window and tells every change of its settings.
int ShowArrowDialog(QWidget* parent, ArrowSettings& settings, platform::CustomColours& colours,
                    const std::function<void(const ArrowSettings&)>& watch = {});

}  // namespace tessel
