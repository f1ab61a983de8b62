#pragma once
// The "Texto FX" dialog: the effect (written as soon as an option is clicked), the three band
// colours and the text (taken on "Aceptar").

#include <QDialog>
#include <functional>

#include "platform/Services.h"
#include "text/FxText.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class FxTextDialog : public QDialog {
    Q_OBJECT
  public:
    // accepted: the flag shared with the text-line dialogs.
    FxTextDialog(QWidget* parent, FxTextSettings& settings, int& accepted,
                 platform::CustomColours& colours);

    QRadioButton* threeColourOption() const { return threeColour_; }
    QRadioButton* raisedOption() const { return raised_; }
    QRadioButton* sunkOption() const { return sunk_; }
    QLabel* colourLabel(int band) const { return labels_[band]; }
    QPushButton* colourButton(int band) const { return buttons_[band]; }
    platform::DrawingArea* colourSwatch(int band) const { return swatches_[band]; }
    QLineEdit* textBox() const { return textBox_; }
    QGroupBox* frame() const { return frame_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The settings as "Aceptar" would take them now.
    FxTextSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void setMode(FxMode mode);
    void chooseColour(int band);
    void acceptText();

    FxTextSettings& settings_;
    int& accepted_;
    platform::CustomColours& colours_;
    Colour working_[3];

    QRadioButton* threeColour_ = nullptr;
    QRadioButton* raised_ = nullptr;
    QRadioButton* sunk_ = nullptr;
    QLabel* labels_[3] = {};
    QPushButton* buttons_[3] = {};
    platform::DrawingArea* swatches_[3] = {};
    QLineEdit* textBox_ = nullptr;
    QGroupBox* frame_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal; leaves accepted at 1 ("Aceptar") or 0.
void AskFxText(QWidget* parent, FxTextSettings& settings, int& accepted,
               platform::CustomColours& colours,
               const std::function<void(const FxTextSettings&)>& watch = {});

}  // namespace tessel
