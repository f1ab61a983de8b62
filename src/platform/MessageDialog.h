#pragma once
// The program's message box: a caption, a text whose lines break only at its CR LF pairs (each
// line kept whole, the box as wide as its longest line) and an "Aceptar" button, the "Sí" and "No"
// buttons, the "Guardar", "Descartar" and "Cancelar" buttons, or the "Recuperar", "Descartar" and
// "Más tarde" buttons; never narrower than its
// caption needs in the title bar. The first button is the default
// one (Enter); Escape closes the box as its last button does.

#include <QDialog>

class QLabel;
class QPushButton;

namespace tessel::platform {

class MessageDialog : public QDialog {
  public:
    enum class Buttons { Ok, YesNo, SaveDiscardCancel, RecoverDiscardLater };
    // The result of exec() when "Descartar" was chosen ("Guardar" and "Recuperar" give Accepted,
    // "Cancelar" and "Más tarde" Rejected).
    static constexpr int kDiscarded = 2;
    // Room a title bar takes beside its caption: the window's icon, its three buttons, margins.
    static constexpr int kTitleBarDecorations = 140;

    MessageDialog(const QString& caption, const QString& text, Buttons buttons,
                  QWidget* parent = nullptr);

    QLabel* label() const { return label_; }
    // "Aceptar", "Sí", "Guardar" or "Recuperar".
    QPushButton* acceptButton() const { return accept_; }
    // "No", "Cancelar" or "Más tarde"; null for a plain message.
    QPushButton* rejectButton() const { return reject_; }
    // "Descartar"; null for the other kinds.
    QPushButton* discardButton() const { return discard_; }

  private:
    QLabel* label_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* reject_ = nullptr;
    QPushButton* discard_ = nullptr;
};

}  // namespace tessel::platform
