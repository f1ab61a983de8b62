#pragma once
// Pictures dropped on the main window: a drop of local files opens the first of them (later ones
// are ignored), a drop of picture data (an image dragged from a browser) opens that picture; a
// drop holding neither (a web address alone, a piece of text) is refused.

#include <QObject>
#include <functional>
#include <memory>

class QMimeData;
class QWidget;

namespace tessel {

// Lets `window` take dropped pictures. Each accepted drop calls `open` with a copy of what it
// offered (app/PictureData.h) once the drop itself has ended, so that the program that sent it
// is not held while the picture loads or a question waits for its answer.
class DropOpen : public QObject {
  public:
    DropOpen(QWidget* window, std::function<void(std::shared_ptr<const QMimeData>)> open);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(std::shared_ptr<const QMimeData>)> open_;
};

}  // namespace tessel
