#pragma once
// The "Papel Formato" dialog: the paper size in millimetres with its pixel equivalent, the
// paper colour and the texture choice.

#include <QDialog>

#include "page/PaperSettings.h"
#include "platform/Services.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class PaperDialog : public QDialog {
    Q_OBJECT
  public:
    PaperDialog(QWidget* parent, PaperSettings& paper, platform::CustomColours& colours);

    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* heightBox() const { return heightBox_; }
    QLabel* widthPixels() const { return widthPixels_; }
    QLabel* heightPixels() const { return heightPixels_; }
    QPushButton* colourButton() const { return colourButton_; }
    QCheckBox* textureBox() const { return textureBox_; }
    platform::DrawingArea* swatch() const { return swatch_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The text of a pixel label for a size in millimetres: "378px" for 100, empty for 0.
    static QString pixelText(int millimetres);

  protected:
    void done(int result) override;

  private:
    void chooseColour();
    void showTexture(bool ticked);
    void readSizes();

    PaperSettings& paper_;
    platform::CustomColours& colours_;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
    QLabel* widthPixels_ = nullptr;
    QLabel* heightPixels_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QCheckBox* textureBox_ = nullptr;
    platform::DrawingArea* swatch_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal; edits the paper settings as the user works and leaves accepted at 1 ("Aceptar") or 0.
void ShowPaperDialog(QWidget* parent, PaperSettings& paper, platform::CustomColours& colours);

}  // namespace tessel
