#pragma once
// A look at the screen a while after long work has started: whether a progress window shows and
// what it says. The look is taken by the main thread's event loop, which runs while long work
// does; work done without that loop is never looked at.

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

namespace tessel::testing {

class ProgressWatch {
  public:
    explicit ProgressWatch(int afterMs) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            looked = true;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(widget);
                if (progress && progress->isVisible()) {
                    shown = true;
                    label = progress->labelText();
                }
            }
        });
        timer_.start(afterMs);
    }

    bool looked = false;
    bool shown = false;
    QString label;

  private:
    QTimer timer_;
};

}  // namespace tessel::testing
