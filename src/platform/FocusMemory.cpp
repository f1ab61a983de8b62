#include "platform/FocusMemory.h"

#include <QApplication>
#include <QEvent>

namespace tessel::platform {

void FocusMemory::install(QWidget* window) { new FocusMemory(window); }

FocusMemory::FocusMemory(QWidget* window) : QObject(window), window_(window) {
    window->installEventFilter(this);
}

bool FocusMemory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::WindowDeactivate) {
            QWidget* focus = window_->focusWidget();
            if (focus && window_->isAncestorOf(focus)) remembered_ = focus;
        } else if (event->type() == QEvent::WindowActivate && remembered_) {
            remembered_->setFocus(Qt::ActiveWindowFocusReason);
            remembered_ = nullptr;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tessel::platform
