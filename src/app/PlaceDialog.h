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

// The element `draw` draws, placed on the picture in a window captioned `title` (at once when
// `window` shows no previews), then inserted at the zero position through the one insertion
// transaction. True when a new undo level holds it; cancelling the placing leaves nothing.
bool placeAndInsert(AppState& state, QWidget* window, const QString& title,
                    LivePreview::Draw draw);

}  // namespace tessel
