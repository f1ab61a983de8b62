#pragma once
// Where a picture goes, chosen on the canvas. "Insertar Imagen", "Insertar Icono", "Pegar" and
// the line textured with a picture file have no settings to show once their picture is known;
// while the window shows previews, that picture appears on the canvas at the zero position
// with a small window beside it: a click or a drag in the view (or the trackbars) moves it, and
// "Aceptar" leaves it there as "Aceptar" of any insertion dialog does.

#include <QDialog>
#include <QString>

#include "app/LivePreview.h"

class QPushButton;

namespace tessel {

class PlaceDialog : public QDialog {
    Q_OBJECT
  public:
    PlaceDialog(QWidget* parent, const QString& title);

    QPushButton* acceptButton() const { return accept_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    QPushButton* accept_;
    QPushButton* cancel_;
};

// True when the element `draw` draws is to be inserted: at once when `preview` is off (no window
// that shows previews, no picture), else when the placing window was accepted, the element
// having been shown on the picture meanwhile.
bool placeOnPicture(QWidget* parent, const QString& title, LivePreview& preview,
                    const LivePreview::Draw& draw);

}  // namespace tessel
