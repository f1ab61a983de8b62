#pragma once
// The two dialogs that ask for one line of text: "Texto a Insertar" (level or slanted text, a
// multi-line box whose text is printed as one line) and "Inserta Texto" (hollow and textured
// text, refusing an empty line).

#include <QDialog>
#include <functional>

#include "text/LineText.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QLabel;

namespace tessel {

class AngularTextDialog : public QDialog {
    Q_OBJECT
  public:
    AngularTextDialog(QWidget* parent, LineTextSettings& settings);

    QPlainTextEdit* textBox() const { return textBox_; }
    QPushButton* acceptButton() const { return acceptButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }
    QLabel* note() const { return note_; }

    // The settings as "Aceptar" would take them now.
    LineTextSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    LineTextSettings& settings_;
    QPlainTextEdit* textBox_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QLabel* note_ = nullptr;
};

class LineTextDialog : public QDialog {
    Q_OBJECT
  public:
    LineTextDialog(QWidget* parent, LineTextSettings& settings);

    QLineEdit* textBox() const { return textBox_; }
    QPushButton* acceptButton() const { return acceptButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // The settings as "Aceptar" would take them now.
    LineTextSettings current() const;

  signals:
    // Any setting changed.
    void changed();

  protected:
    void done(int result) override;

  private:
    void acceptLine();

    LineTextSettings& settings_;
    QLineEdit* textBox_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// Leave settings.accepted at 1 ("Aceptar") or 0 and, when accepted, the text remembered. Modal;
// with `watch`, the dialog runs beside its window and tells every change of its settings.
void AskAngularText(QWidget* parent, LineTextSettings& settings,
                    const std::function<void(const LineTextSettings&)>& watch = {});
void AskLineText(QWidget* parent, LineTextSettings& settings,
                 const std::function<void(const LineTextSettings&)>& watch = {});

}  // namespace tessel
