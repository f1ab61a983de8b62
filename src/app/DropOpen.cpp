#include "app/DropOpen.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include "app/PictureData.h"

namespace tessel {

DropOpen::DropOpen(QWidget* window, std::function<void(std::shared_ptr<const QMimeData>)> open)
    : QObject(window), open_(std::move(open)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool DropOpen::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (!offersPicture(drag->mimeData())) {
                drag->ignore();
            } else {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!offersPicture(drop->mimeData())) {
                drop->ignore();
                return true;
            }
            std::shared_ptr<const QMimeData> copy = pictureDataCopy(drop->mimeData());
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            QTimer::singleShot(0, this, [this, copy] { open_(copy); });
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
    }
}

}  // namespace tessel
