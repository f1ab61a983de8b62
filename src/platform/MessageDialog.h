#pragma once
// The program's message box: a caption, a text whose lines break only at its CR LF pairs (each
// line kept whole, the box as wide as its longest line) and either an "Aceptar" button or the
// "Sí" and "No" buttons.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessel::platform {

class MessageDialog : public QDialog {
  public:
    enum class Buttons { Ok, YesNo };

    MessageDialog(const QString& caption, const QString& text, Buttons buttons,
                  QWidget* parent = nullptr);

    QLabel* label() const { return label_; }
    // "Aceptar", or "Sí" for a question.
    QPushButton* acceptButton() const { return accept_; }
    // "No"; null for a plain message.
    QPushButton* rejectButton() const { return reject_; }

  private:
    QLabel* label_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* reject_ = nullptr;
};

}  // namespace tessel::platform
