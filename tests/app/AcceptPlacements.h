#pragma once
// A user who accepts every placing window as soon as it shows: the picture of "Insertar Imagen",
// "Insertar Icono", "Pegar" and the file-textured line goes where the zero position is, as it
// does when the window shows no previews.

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include "app/PlaceDialog.h"

namespace tessel::testing {

class AcceptPlacements : public QObject {
  public:
    AcceptPlacements() { qApp->installEventFilter(this); }
    ~AcceptPlacements() override { qApp->removeEventFilter(this); }

    int shown = 0;  // placing windows seen

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<PlaceDialog*>(watched)) {
                ++shown;
                QTimer::singleShot(0, dialog, [dialog] { dialog->acceptButton()->click(); });
            }
        }
        return false;
    }
};

}  // namespace tessel::testing
