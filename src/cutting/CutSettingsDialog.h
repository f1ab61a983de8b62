#pragma once
// The "Configuracion Tessel ..." dialog: axis colours, the pieces to save and the image format.
// Every change goes into the settings at once; there is nothing to cancel.

#include <QDialog>
#include <array>
#include <functional>

#include "cutting/CutSettings.h"
#include "platform/Services.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

// Dialog units of an 8-point sans dialog font: 1.5 pixels across and 1.625 pixels down.
int dialogUnitsAcross(int units);
int dialogUnitsDown(int units);
QRect dialogUnitRect(int x, int y, int width, int height);

class CutSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    CutSettingsDialog(QWidget* parent, CutSettings& settings, platform::CustomColours& colours,
                      std::function<void()> redisplay);

    QPushButton* horizontalColourButton() const { return horizontalButton_; }
    QPushButton* verticalColourButton() const { return verticalButton_; }
    platform::DrawingArea* horizontalSwatch() const { return horizontalSwatch_; }
    platform::DrawingArea* verticalSwatch() const { return verticalSwatch_; }
    // Pieces A to D.
    QCheckBox* pieceBox(int piece) const { return pieceBoxes_.at(piece); }
    // The option button of a format choice (1030 to 1034), or null.
    QRadioButton* formatButton(int formatChoice) const;
    QPushButton* acceptButton() const { return acceptButton_; }

  private:
    void chooseColour(Colour& axisColour, platform::DrawingArea* swatch);

    CutSettings& settings_;
    platform::CustomColours& colours_;
    std::function<void()> redisplay_;
    QPushButton* horizontalButton_ = nullptr;
    QPushButton* verticalButton_ = nullptr;
    platform::DrawingArea* horizontalSwatch_ = nullptr;
    platform::DrawingArea* verticalSwatch_ = nullptr;
    std::array<QCheckBox*, 4> pieceBoxes_{};
    QButtonGroup* formats_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal. "Aceptar" redisplays the view and closes; the close box keeps every change too.
void ShowCutSettingsDialog(QWidget* parent, CutSettings& settings, platform::CustomColours& colours,
                           const std::function<void()>& redisplay);

}  // namespace tessel
