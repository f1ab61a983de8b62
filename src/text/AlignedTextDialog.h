#pragma once
// The "Insertar texto alineado" dialog: the text, its alignment and the size of the area it is
// aligned in. An alignment option takes effect at once; text and sizes are read on "Aceptar",
// which refuses an empty text and sizes outside 1..1200 x 1..900.

#include <QDialog>
#include <functional>
#include <array>

#include "text/AlignedTextSettings.h"

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace tessel {

class AlignedTextDialog : public QDialog {
    Q_OBJECT
  public:
    AlignedTextDialog(QWidget* parent, AlignedTextSettings& settings);

    // 0 left, 1 right, 2 centre, 3 justified.
    QRadioButton* alignmentOption(int index) const { return options_.at(index); }
    QLineEdit* widthBox() const { return widthBox_; }
    QLineEdit* heightBox() const { return heightBox_; }
    QPlainTextEdit* textBox() const { return textBox_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QPushButton* acceptButton() const { return acceptButton_; }

    // The text with every CR LF, then every CR, then every LF turned into one blank.
    static QString blanksForLineBreaks(QString text);

    // The settings as "Aceptar" would take them now: the sizes typed when they are allowed, the
    // last ones taken otherwise.
    AlignedTextSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void chooseAlignment(int index);
    void tryAccept();

    AlignedTextSettings& settings_;
    std::array<QRadioButton*, 4> options_{};
    QButtonGroup* optionGroup_ = nullptr;
    QLineEdit* widthBox_ = nullptr;
    QLineEdit* heightBox_ = nullptr;
    QPlainTextEdit* textBox_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
};

// Modal; leaves accepted at 1 with the text, sizes and alignment code, or at 0.
// With `watch`, the dialog runs beside its window and tells every change of its settings.
void ShowAlignedTextDialog(QWidget* parent, AlignedTextSettings& settings,
                           const std::function<void(const AlignedTextSettings&)>& watch = {});

}  // namespace tessel
