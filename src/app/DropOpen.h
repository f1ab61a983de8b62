#pragma once
// Pictures dropped on the main window: a drop of local files opens the first of them (later ones
// are ignored); a drop holding no local file (a web address, a piece of text) is refused.

#include <QObject>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

namespace tessel {

// The first local file among the dropped addresses; empty when there is none.
QString firstLocalFile(const QMimeData* data);

// Lets `window` take dropped files. Each accepted drop calls `open` with the file's path once the
// drop itself has ended, so that the program that sent it is not held while the picture loads or
// a question waits for its answer.
class DropOpen : public QObject {
  public:
    DropOpen(QWidget* window, std::function<void(const QString&)> open);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void(const QString&)> open_;
};

}  // namespace tessel
