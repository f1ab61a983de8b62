#pragma once
// The "Propiedades Texto" dialog: font, size, styles and colours edited in the working copy and
// committed on "Aceptar"; the transparent background and the slant written at once; a live
// "Prueba" sample.

#include <QDialog>

#include "platform/Services.h"
#include "text/TextProperties.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tessel {

namespace platform {
class DrawingArea;
}
class FontFamilyList;

class TextPropertiesDialog : public QDialog {
    Q_OBJECT
  public:
    TextPropertiesDialog(QWidget* parent, TextProperties& properties,
                         platform::CustomColours& colours);

    // The style boxes in the order of the style word: "Negrita", "Italica", "Subrayado",
    // "Tachado", "Leading".
    static constexpr int kStyleCount = 5;

    FontFamilyList* fontList() const { return fontList_; }
    QComboBox* sizeList() const { return sizeList_; }
    QCheckBox* styleBox(int index) const { return styleBoxes_[index]; }
    QGroupBox* stylesFrame() const { return stylesFrame_; }
    platform::DrawingArea* sample() const { return sample_; }
    QLabel* backLabel() const { return backLabel_; }
    QPushButton* backButton() const { return backButton_; }
    platform::DrawingArea* backSwatch() const { return backSwatch_; }
    QLabel* foreLabel() const { return foreLabel_; }
    QPushButton* foreButton() const { return foreButton_; }
    platform::DrawingArea* foreSwatch() const { return foreSwatch_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }
    QCheckBox* transparentBox() const { return transparentBox_; }
    QCheckBox* angledBox() const { return angledBox_; }
    QLineEdit* angleBox() const { return angleBox_; }

  private:
    void buildControls();
    void loadFromRecord();
    void drawSample();
    void styleClicked(int index, bool ticked);
    void transparentClicked(bool ticked);
    void angledClicked(bool ticked);
    void chooseBackColour();
    void chooseForeColour();
    void commit();
    void enableBackground(bool enabled);

    TextProperties& properties_;
    TextPropertiesWorking& working_;
    platform::CustomColours& colours_;

    FontFamilyList* fontList_ = nullptr;
    QComboBox* sizeList_ = nullptr;
    QCheckBox* styleBoxes_[kStyleCount] = {};
    QGroupBox* stylesFrame_ = nullptr;
    platform::DrawingArea* sample_ = nullptr;
    QLabel* backLabel_ = nullptr;
    QPushButton* backButton_ = nullptr;
    platform::DrawingArea* backSwatch_ = nullptr;
    QLabel* foreLabel_ = nullptr;
    QPushButton* foreButton_ = nullptr;
    platform::DrawingArea* foreSwatch_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QCheckBox* transparentBox_ = nullptr;
    QCheckBox* angledBox_ = nullptr;
    QLineEdit* angleBox_ = nullptr;
};

// The size list's entries: "06" to "09", then "10" to "90".
QStringList textSizeEntries();

// Modal; on return the record holds the committed settings.
void ShowTextPropertiesDialog(QWidget* parent, TextProperties& properties,
                              platform::CustomColours& colours);

}  // namespace tessel
