#pragma once
// The "Bocaditos" dialog: ten bubble shapes, the colour, the size and the shadow, with a live
// preview. Every change goes into the settings at once, also when the dialog is then cancelled.

#include <QDialog>
#include <functional>
#include <array>

#include "text/BubbleSettings.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class BubbleDialog : public QDialog {
    Q_OBJECT
  public:
    BubbleDialog(QWidget* parent, BubbleSettings& settings);

    // In the order of the shape keys.
    QRadioButton* shapeOption(int index) const { return shapes_.at(index); }
    platform::DrawingArea* preview() const { return preview_; }
    platform::DrawingArea* swatch() const { return swatch_; }
    QPushButton* colourButton() const { return colourButton_; }
    QPushButton* smallerButton() const { return smallerButton_; }
    QPushButton* largerButton() const { return largerButton_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QCheckBox* shadowBox() const { return shadowBox_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The settings as "Aceptar" would take them now.
    const BubbleSettings& current() const { return settings_; }

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void redrawPreview();
    void chooseColour();
    void changeSize(int step);

    BubbleSettings& settings_;
    std::array<QRadioButton*, 10> shapes_{};
    platform::DrawingArea* preview_ = nullptr;
    platform::DrawingArea* swatch_ = nullptr;
    QPushButton* colourButton_ = nullptr;
    QPushButton* smallerButton_ = nullptr;
    QPushButton* largerButton_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QCheckBox* shadowBox_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal; leaves accepted at 1 ("Aceptar") or 0.
// With `watch`, the dialog runs beside its window and tells every change of its settings.
void ShowBubbleDialog(QWidget* parent, BubbleSettings& settings,
                      const std::function<void(const BubbleSettings&)>& watch = {});

}  // namespace tessel
