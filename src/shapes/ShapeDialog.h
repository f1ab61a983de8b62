#pragma once
// The "Insertar cuadrados y circulos" dialog: kind of shape, size in pixels or millimetres,
// rounding, colours, fill and line style, line width and a preview. The style choices are
// written to the settings at once; the size only on a valid "Aceptar".

#include <QDialog>
#include <functional>

#include "shapes/ShapeSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tessel {

namespace platform {
class DrawingArea;
}

class ShapeDialog : public QDialog {
    Q_OBJECT
  public:
    ShapeDialog(QWidget* parent, ShapeSettings& settings);

    QRadioButton* rectangleOption() const { return rectangleOption_; }
    QRadioButton* ellipseOption() const { return ellipseOption_; }
    QLineEdit* pixelWidthBox() const { return pixelWidth_; }
    QLineEdit* pixelHeightBox() const { return pixelHeight_; }
    QLineEdit* millimetreWidthBox() const { return millimetreWidth_; }
    QLineEdit* millimetreHeightBox() const { return millimetreHeight_; }
    QCheckBox* roundedCheck() const { return roundedCheck_; }
    QLineEdit* roundingBox() const { return roundingBox_; }
    QPushButton* borderButton() const { return borderButton_; }
    QPushButton* interiorButton() const { return interiorButton_; }
    platform::DrawingArea* borderSwatch() const { return borderSwatch_; }
    platform::DrawingArea* interiorSwatch() const { return interiorSwatch_; }
    QCheckBox* transparentCheck() const { return transparentCheck_; }
    QComboBox* fillStyleList() const { return fillStyleList_; }
    QComboBox* lineStyleList() const { return lineStyleList_; }
    QComboBox* widthList() const { return widthList_; }
    platform::DrawingArea* preview() const { return preview_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The settings as "Aceptar" would take them now: the sizes typed when they make a complete
    // pair, the last ones taken otherwise.
    ShapeSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void applyEnablingRule();
    void chooseBorderColour();
    void chooseInteriorColour();
    void setTransparent(bool ticked);
    void acceptSize();
    void drawPreview();

    ShapeSettings& settings_;
    bool accepting_ = false;
    QRadioButton* rectangleOption_ = nullptr;
    QRadioButton* ellipseOption_ = nullptr;
    QLineEdit* pixelWidth_ = nullptr;
    QLineEdit* pixelHeight_ = nullptr;
    QLineEdit* millimetreWidth_ = nullptr;
    QLineEdit* millimetreHeight_ = nullptr;
    QCheckBox* roundedCheck_ = nullptr;
    QLineEdit* roundingBox_ = nullptr;
    QPushButton* borderButton_ = nullptr;
    QPushButton* interiorButton_ = nullptr;
    platform::DrawingArea* borderSwatch_ = nullptr;
    platform::DrawingArea* interiorSwatch_ = nullptr;
    QCheckBox* transparentCheck_ = nullptr;
    QComboBox* fillStyleList_ = nullptr;
    QComboBox* lineStyleList_ = nullptr;
    QComboBox* widthList_ = nullptr;
    platform::DrawingArea* preview_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// The texts of the width list: "01 - Grosor de linea" to "15 - Grosor de linea".
QStringList shapeWidthEntries();

// Modal; leaves shapeAccepted at 1 after a valid "Aceptar", otherwise 0.
// With `watch`, the dialog runs beside its window and tells every change of its settings.
int ShowShapeDialog(QWidget* parent, ShapeSettings& settings,
                    const std::function<void(const ShapeSettings&)>& watch = {});

}  // namespace tessel
