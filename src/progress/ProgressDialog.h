#pragma once
// The "Creador de barras de progreso" dialog: size, frame, colours, gap, text alignment and
// percentage of a bar, with a preview drawn on "Render". Colours and alignment are written to
// the settings at once; the boxes and lists on "Crear" and "Render".

#include <QDialog>
#include <functional>

#include "platform/Services.h"
#include "progress/ProgressSettings.h"
#include "text/TextProperties.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class ProgressDialog : public QDialog {
    Q_OBJECT
  public:
    ProgressDialog(QWidget* parent, ProgressSettings& settings, const TextProperties& text,
                   platform::CustomColours& colours);

    QLineEdit* heightBox() const { return heightBox_; }
    QLineEdit* widthBox() const { return widthBox_; }
    QComboBox* borderWidthList() const { return borderWidthList_; }
    platform::DrawingArea* borderSwatch() const { return borderSwatch_; }
    platform::DrawingArea* fillSwatch() const { return fillSwatch_; }
    // The option button of an alignment code (131, 132, 133).
    QRadioButton* alignmentOption(int code) const;
    QLineEdit* percentBox() const { return percentBox_; }
    QComboBox* gapList() const { return gapList_; }
    QPushButton* exitButton() const { return exitButton_; }
    QPushButton* createButton() const { return createButton_; }
    QPushButton* renderButton() const { return renderButton_; }
    platform::DrawingArea* preview() const { return preview_; }

    // The settings as "Crear" would take them now: the boxes and lists when all the numbers
    // read, the last ones taken otherwise.
    ProgressSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void chooseColour(Colour& colour, platform::DrawingArea* swatch);
    // Takes the boxes and lists into the settings; false (and nothing taken) when the
    // percentage is not a number.
    bool readDialog();
    void drawPreview();

    ProgressSettings& settings_;
    const TextProperties& text_;
    platform::CustomColours& colours_;
    bool creating_ = false;
    QLineEdit* heightBox_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QComboBox* borderWidthList_ = nullptr;
    platform::DrawingArea* borderSwatch_ = nullptr;
    platform::DrawingArea* fillSwatch_ = nullptr;
    QButtonGroup* alignment_ = nullptr;
    QLineEdit* percentBox_ = nullptr;
    QComboBox* gapList_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* renderButton_ = nullptr;
    platform::DrawingArea* preview_ = nullptr;
};

// Modal; leaves barAccepted at 1 after "Crear", otherwise 0.
// With `watch`, the dialog runs beside its window and tells every change of its settings.
int ShowProgressDialog(QWidget* parent, ProgressSettings& settings, const TextProperties& text,
                       platform::CustomColours& colours,
                       const std::function<void(const ProgressSettings&)>& watch = {});

}  // namespace tessel
